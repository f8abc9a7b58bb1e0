#include "csv/csv_mapping.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/text_tests.h"
#include "csv/csv_cell_guard.h"

namespace sorvenka {

namespace {

const QString kRepetitionUnit = QStringLiteral("回");
const QString kJoin = QStringLiteral(" / ");

QString Cell(const CsvRow& row, int position) {
    if (position < 0 || position >= static_cast<int>(row.fields.size())) return QString();
    return FieldText(row.fields[position]).trimmed();
}

bool IsDigitsBytes(const QByteArray& bytes) {
    if (bytes.isEmpty()) return false;
    for (char c : bytes)
        if (c < '0' || c > '9') return false;
    return true;
}

// The value of a text of at most 18 ASCII digits.
qint64 DigitsValue(const QByteArray& digits) {
    qint64 value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

// hh:mm:ss, checked on the bytes as read: every character of a time is ASCII, so a text
// with any other byte is no time.
bool IsTimeBytes(const QByteArray& bytes) {
    if (bytes.size() != 8 || bytes[2] != ':' || bytes[5] != ':') return false;
    auto field = [&](int from, int max) {
        const char high = bytes[from], low = bytes[from + 1];
        return high >= '0' && high <= '9' && low >= '0' && low <= '9' &&
               (high - '0') * 10 + (low - '0') <= max;
    };
    return field(0, 23) && field(3, 59) && field(6, 59);
}

// yyyy/mm/dd naming a real day, checked on the bytes as read.
bool IsYmdBytes(const QByteArray& bytes) {
    if (bytes.size() != 10 || bytes[4] != '/' || bytes[7] != '/') return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (bytes[i] < '0' || bytes[i] > '9') return false;
    auto number = [&](int from, int count) {
        int n = 0;
        for (int i = from; i < from + count; ++i) n = n * 10 + (bytes[i] - '0');
        return n;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

// The length the text has in the masters' terms: UTF-16 code units.
qsizetype CharacterCount(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return QString::fromUtf8(bytes).size();
    return bytes.size();
}

// A code of the masters: two characters, no apostrophe.
bool IsCodeBytes(const QByteArray& bytes) {
    if (bytes.size() == 2 && static_cast<unsigned char>(bytes[0]) < 0x80 &&
        static_cast<unsigned char>(bytes[1]) < 0x80)
        return bytes[0] != '\'' && bytes[1] != '\'';
    return CharacterCount(bytes) == 2 && !bytes.contains('\'');
}

// A number that is not negative (unless negative is allowed): digits with at most one
// decimal point (a decimal comma in the semicolon form). Absent for an empty cell.
bool ReadNumber(const QString& text, bool decimalComma, const QString& column,
                std::optional<double>& value, QString& reason, bool negative = false) {
    value.reset();
    if (text.isEmpty()) return true;
    QString number = text;
    if (decimalComma) number.replace(QLatin1Char(','), QLatin1Char('.'));
    const bool minus = number.startsWith(QLatin1Char('-'));
    if (minus) number.remove(0, 1);
    if (!IsDecimalText(number)) {
        reason = QStringLiteral("%1が数ではありません（%2）").arg(column, text);
        return false;
    }
    if (minus && !negative) {
        reason = QStringLiteral("%1が負の数です（%2）").arg(column, text);
        return false;
    }
    value = minus ? -number.toDouble() : number.toDouble();
    return true;
}

// The load column: a negative load is the help of an assisted exercise (Hevy).
bool ReadLoad(const QString& text, bool decimalComma, std::optional<double>& value,
              QString& reason) {
    return ReadNumber(text, decimalComma, QStringLiteral("重量"), value, reason, true);
}

bool ReadWhole(const QString& text, bool decimalComma, const QString& column,
               std::optional<qint64>& value, QString& reason) {
    std::optional<double> number;
    if (!ReadNumber(text, decimalComma, column, number, reason)) return false;
    value.reset();
    if (!number) return true;
    if (*number != std::floor(*number) || *number > 1e15) {
        reason = QStringLiteral("%1が整数ではありません（%2）").arg(column, text);
        return false;
    }
    value = static_cast<qint64>(*number);
    return true;
}

// h:mm:ss, mm:ss or plain seconds. Minutes and seconds after a larger part are below 60;
// more parts, or a value too large for the stored minutes, are no duration.
bool ReadDuration(const QString& text, const QString& column, std::optional<qint64>& seconds,
                  QString& reason) {
    seconds.reset();
    if (text.isEmpty()) return true;
    if (!text.contains(QLatin1Char(':'))) return ReadWhole(text, false, column, seconds, reason);
    const QStringList parts = text.split(QLatin1Char(':'));
    qint64 total = 0;
    bool fits = parts.size() <= 3;
    for (qsizetype i = 0; fits && i < parts.size(); ++i) {
        const QString& part = parts[i];
        fits = IsDigitsText(part) && part.size() <= (i == 0 ? 9 : 2);
        if (!fits) break;
        const qint64 value = part.toLongLong();
        if (i > 0 && value > 59) fits = false;
        total = total * 60 + value;
    }
    if (!fits) {
        reason = QStringLiteral("%1が時間ではありません（時:分:秒まで）（%2）").arg(column, text);
        return false;
    }
    seconds = total;
    return true;
}

QString LoadUnit(const QString& text) {
    const QString unit = text.trimmed().toLower();
    if (unit.startsWith(QLatin1String("lb"))) return QStringLiteral("lb");
    if (unit.startsWith(QLatin1String("kg"))) return QStringLiteral("kg");
    return text.trimmed();
}

QString DistanceUnit(const QString& text) {
    const QString unit = text.trimmed().toLower();
    if (unit == QLatin1String("km") || unit == QLatin1String("kms")) return QStringLiteral("km");
    if (unit == QLatin1String("m") || unit == QLatin1String("meters") ||
        unit == QLatin1String("metres"))
        return QStringLiteral("m");
    if (unit.startsWith(QLatin1String("mi"))) return QStringLiteral("mi");
    return text.trimmed();
}

QString SetTypeText(const QString& text) {
    const QString type = text.trimmed().toLower();
    if (type == QLatin1String("warmup") || type == QLatin1String("warm-up") ||
        type == QLatin1String("warm up") || type == QLatin1String("w"))
        return QStringLiteral("ウォームアップ");
    if (type == QLatin1String("dropset") || type == QLatin1String("drop set") ||
        type == QLatin1String("drop") || type == QLatin1String("d"))
        return QStringLiteral("ドロップセット");
    if (type == QLatin1String("failure") || type == QLatin1String("f"))
        return QStringLiteral("限界まで");
    return QString();
}

QString NumberText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

}  // namespace

QString PeerDay(const QString& text) {
    const QString trimmed = text.trimmed();
    int y = 0, m = 0, d = 0;
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})(?:[ T].*)?$"));
    static const QRegularExpression named(
        QStringLiteral("^(\\d{1,2}) ([A-Za-z]{3})[a-z]* (\\d{4})(?:,? .*)?$"));
    if (const auto match = iso.match(trimmed); match.hasMatch()) {
        y = match.captured(1).toInt(), m = match.captured(2).toInt(), d = match.captured(3).toInt();
    } else if (const auto match = named.match(trimmed); match.hasMatch()) {
        static const QStringList months{"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
        d = match.captured(1).toInt();
        m = static_cast<int>(months.indexOf(match.captured(2).toLower())) + 1;
        y = match.captured(3).toInt();
    } else {
        return QString();
    }
    const QDate day(y, m, d);
    return day.isValid() ? FormatYmd(day) : QString();
}

bool CheckFieldCount(const CsvHeader& header, const CsvRow& row, QString& reason) {
    const int count = static_cast<int>(row.fields.size());
    if (count == header.columnCount()) return true;
    reason = QStringLiteral("列の数が見出しと違います（見出し%1列、この行%2列）")
                 .arg(header.columnCount())
                 .arg(count);
    return false;
}

bool MapPeerRow(const CsvHeader& header, const CsvRow& row, char delimiter, PeerSet& set,
                QString& reason, const QString& loadUnit, const QString& distanceUnitGiven) {
    set = PeerSet();
    const bool decimalComma = delimiter == ';';
    const CsvFormat format = header.format();
    const bool hevy = format == CsvFormat::Hevy;

    const int dateColumn = header.peer(PeerColumn::Date);
    const QString dateText = Cell(row, dateColumn);
    set.ymd = PeerDay(dateText);
    if (set.ymd.isEmpty()) {
        reason = QStringLiteral("日付が正しくありません（%1）").arg(dateText);
        return false;
    }
    set.exerciseName = Cell(row, header.peer(PeerColumn::Exercise));
    if (set.exerciseName.isEmpty()) {
        reason = QStringLiteral("種目名がありません");
        return false;
    }
    set.category = Cell(row, header.peer(PeerColumn::Category));

    // The load: a column per unit, or one column with a unit column beside it.
    std::optional<double> weight;
    QString weightUnit = loadUnit;
    if (const int kg = header.peer(PeerColumn::WeightKg); kg >= 0) {
        if (!ReadLoad(Cell(row, kg), decimalComma, weight, reason)) return false;
    } else if (const int lb = header.peer(PeerColumn::WeightLb); lb >= 0) {
        if (!ReadLoad(Cell(row, lb), decimalComma, weight, reason)) return false;
        weightUnit = QStringLiteral("lb");
    } else {
        if (!ReadLoad(Cell(row, header.peer(PeerColumn::Weight)), decimalComma, weight, reason))
            return false;
        const int unitColumn = header.peer(PeerColumn::WeightUnit);
        const QString unit = Cell(row, unitColumn);
        if (!unit.isEmpty()) weightUnit = LoadUnit(unit);
        // A unit column left empty says nothing about the unit: the kilogram, as before.
        else if (unitColumn >= 0)
            weightUnit = QStringLiteral("kg");
    }

    std::optional<double> distance;
    QString distanceUnit = distanceUnitGiven;
    if (const int km = header.peer(PeerColumn::DistanceKm); km >= 0) {
        if (!ReadNumber(Cell(row, km), decimalComma, QStringLiteral("距離"), distance, reason))
            return false;
    } else if (const int mi = header.peer(PeerColumn::DistanceMi); mi >= 0) {
        if (!ReadNumber(Cell(row, mi), decimalComma, QStringLiteral("距離"), distance, reason))
            return false;
        distanceUnit = QStringLiteral("mi");
    } else if (const int m = header.peer(PeerColumn::DistanceM); m >= 0) {
        if (!ReadNumber(Cell(row, m), decimalComma, QStringLiteral("距離"), distance, reason))
            return false;
        distanceUnit = QStringLiteral("m");
    } else {
        if (!ReadNumber(Cell(row, header.peer(PeerColumn::Distance)), decimalComma,
                        QStringLiteral("距離"), distance, reason))
            return false;
        const QString unit = Cell(row, header.peer(PeerColumn::DistanceUnit));
        if (!unit.isEmpty()) distanceUnit = DistanceUnit(unit);
    }

    std::optional<qint64> reps;
    if (!ReadWhole(Cell(row, header.peer(PeerColumn::Reps)), decimalComma, QStringLiteral("回数"),
                   reps, reason))
        return false;
    std::optional<qint64> seconds;
    if (const int time = header.peer(PeerColumn::Time); time >= 0 && !hevy) {
        if (!ReadDuration(Cell(row, time), QStringLiteral("時間"), seconds, reason)) return false;
    } else if (!ReadWhole(Cell(row, header.peer(PeerColumn::Seconds)), decimalComma,
                          QStringLiteral("秒数"), seconds, reason)) {
        return false;
    }
    std::optional<double> rpe;
    if (!ReadNumber(Cell(row, header.peer(PeerColumn::Rpe)), decimalComma, QStringLiteral("RPE"),
                    rpe, reason))
        return false;

    // Strong writes W, D or F in place of the number of a warm-up, drop or failure set.
    QString setType = Cell(row, header.peer(PeerColumn::SetType));
    const QString order = Cell(row, header.peer(PeerColumn::SetOrder));
    if (!order.isEmpty() && !IsDigitsText(order)) {
        const QString type = SetTypeText(order);
        if (type.isEmpty()) {
            reason = QStringLiteral("セットの順番が数ではありません（%1）").arg(order);
            return false;
        }
        setType = order;
    }

    const auto positive = [](const auto& value) { return value && *value > 0; };
    set.nothingDone =
        !positive(weight) && !positive(distance) && !positive(reps) && !positive(seconds);

    QStringList comment;
    if (const QString type = SetTypeText(setType); !type.isEmpty()) comment << type;
    if (rpe) comment << QStringLiteral("RPE ") + NumberText(*rpe);
    if (weight && *weight < 0) {
        set.assisted = true;
        comment << QStringLiteral("アシスト %1 %2").arg(NumberText(-*weight), weightUnit);
    }

    if (weight && *weight > 0) {
        set.target = *weight;
        set.unitT = weightUnit;
        if (distance && *distance > 0)
            comment << QStringLiteral("距離 %1 %2").arg(NumberText(*distance), distanceUnit);
    } else if (distance && *distance > 0) {
        set.target = *distance;
        set.unitT = distanceUnit;
    }

    if (reps && (*reps > 0 || !seconds || *seconds == 0)) {
        set.cnt = *reps;
        set.unit = kRepetitionUnit;
        if (seconds && *seconds > 0)
            comment << QStringLiteral("時間 %1:%2")
                           .arg(*seconds / 60)
                           .arg(*seconds % 60, 2, 10, QLatin1Char('0'));
    } else if (seconds) {
        set.cntMin = *seconds / 60;
        set.cntSec = *seconds % 60;
    }

    const QString notes =
        row.fields.empty() ? QString() : Cell(row, header.peer(PeerColumn::Notes));
    if (!notes.isEmpty()) comment << notes;
    set.comment = comment.join(kJoin);
    set.workoutNote = Cell(row, header.peer(PeerColumn::WorkoutNotes));
    if (!set.workoutNote.isEmpty())
        set.workout = dateText + QLatin1Char('\t') + Cell(row, header.peer(PeerColumn::Workout));
    return true;
}

bool MendSplitExerciseName(const CsvHeader& header, const CsvRow& row, char delimiter,
                           CsvRow& mended) {
    const int exercise = header.peer(PeerColumn::Exercise);
    if (header.format() != CsvFormat::FitNotes || exercise < 0 ||
        static_cast<int>(row.fields.size()) != header.columnCount() + 1)
        return false;
    mended.line = row.line;
    mended.refusal.clear();
    mended.fields = row.fields;
    // The reader dropped the blank after the comma with the field break.
    const QByteArray joined = (row.fields[exercise] ? *row.fields[exercise] : QByteArray()) +
                              QByteArray(", ") +
                              (row.fields[exercise + 1] ? *row.fields[exercise + 1] : QByteArray());
    mended.fields[exercise] = joined;
    mended.fields.erase(mended.fields.begin() + exercise + 1);
    PeerSet probe;
    QString reason;
    if (!MapPeerRow(header, mended, delimiter, probe, reason)) return false;
    // FitNotes names every category: a number in its place means the row shifted elsewhere.
    const QString category = Cell(mended, header.peer(PeerColumn::Category));
    return category.isEmpty() || !IsDecimalText(category);
}

const CsvField OwnSet::kAbsent;

namespace {

// Whether the export may have changed the text on the way out: an apostrophe first, a
// semicolon or a backslash anywhere. Most fields hold none of them and are taken as read.
bool MayHoldGuard(const QByteArray& text) {
    const char* bytes = text.constData();
    const qsizetype size = text.size();
    if (size > 0 && bytes[0] == '\'') return true;
    qsizetype i = 0;
    // Eight bytes at a time: a byte equal to the one looked for leaves a zero byte in the
    // word's exclusive or with that byte repeated.
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;
    auto holdsZero = [](std::uint64_t word) { return (word - kOnes) & ~word & kHighs; };
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        if (holdsZero(word ^ (kOnes * ';')) | holdsZero(word ^ (kOnes * '\\'))) return true;
    }
    for (; i < size; ++i)
        if (bytes[i] == ';' || bytes[i] == '\\') return true;
    return false;
}

// A load as the engine writes it: digits with at most one decimal point, read by the correctly
// rounded conversion of the standard library; any other form (an exponent, a sign, blanks)
// through Qt's reading as before.
bool ReadLoadBytes(const QByteArray& text, double& value) {
    const char* first = text.constData();
    const char* last = first + text.size();
    bool plain = text.size() > 0;
    int points = 0;
    for (const char* c = first; plain && c < last; ++c) {
        if (*c == '.')
            plain = ++points == 1;
        else
            plain = *c >= '0' && *c <= '9';
    }
    if (plain) {
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
        if (error == std::errc() && end == last) return true;
    }
    bool ok = false;
    value = text.toDouble(&ok);
    return ok;
}

}  // namespace

bool MapOwnRow(const CsvHeader& header, const CsvRow& row, OwnSet& set, QString& reason) {
    const QStringList& columns = SorvenkaCsvColumns();
    set.changed_ = 0;
    for (int i = 0; i < 16; ++i) {
        const int position = header.own(i);
        const CsvField& field = position >= 0 ? row.fields[position] : OwnSet::kAbsent;
        set.fields_[i] = &field;
        // The export's apostrophe before a formula-like text is no part of the value.
        if (field && MayHoldGuard(*field)) {
            set.own_[i] = field;
            RemoveFormulaGuard(set.own_[i]);
            set.changed_ |= 1u << i;
        }
    }
    static const QByteArray kNone;
    std::array<const QByteArray*, 14> texts;
    for (int i = 0; i < 14; ++i) {
        const CsvField& value = set.value(i);
        texts[i] = value ? &*value : &kNone;
    }
    auto bytes = [&](int i) -> const QByteArray& { return *texts[i]; };
    auto fail = [&](const QString& why, int i) {
        reason = why.arg(FieldText(set.value(i)));
        return false;
    };

    if (!IsYmdBytes(bytes(0))) return fail(QStringLiteral("日付が正しくありません（%1）"), 0);
    for (int i : {1, 2}) {
        if (!IsCodeBytes(bytes(i)))
            return fail(columns[i] + QStringLiteral("は2文字のコードです（%1）"), i);
    }
    if (!IsDigitsBytes(bytes(3)) || bytes(3).size() > 9 || DigitsValue(bytes(3)) < 1)
        return fail(QStringLiteral("set_numが1以上の整数ではありません（%1）"), 3);
    set.whole[3] = DigitsValue(bytes(3));
    for (int i : {4, 5}) {
        if (!bytes(i).isEmpty() && !IsTimeBytes(bytes(i)))
            return fail(columns[i] + QStringLiteral("が時刻ではありません（%1）"), i);
    }
    // The load: a number that is not negative, as the engine writes it.
    if (!bytes(6).isEmpty()) {
        double value = 0;
        if (!ReadLoadBytes(bytes(6), value) || !std::isfinite(value))
            return fail(QStringLiteral("targetが数ではありません（%1）"), 6);
        if (value < 0) return fail(QStringLiteral("targetが負の数です（%1）"), 6);
        set.target = value;
    }
    for (int i : {8, 10, 11}) {
        if (bytes(i).isEmpty()) continue;
        if (bytes(i).startsWith('-'))
            return fail(columns[i] + QStringLiteral("が負の数です（%1）"), i);
        if (!IsDigitsBytes(bytes(i)) || bytes(i).size() > 15)
            return fail(columns[i] + QStringLiteral("が整数ではありません（%1）"), i);
        set.whole[i] = DigitsValue(bytes(i));
    }
    if (!bytes(11).isEmpty() && set.whole[11] > 59)
        return fail(QStringLiteral("cnt_secが59を超えています（%1）"), 11);
    if (CharacterCount(bytes(12)) > 1)
        return fail(QStringLiteral("sweat_cdは1文字のコードです（%1）"), 12);

    // The key columns are never NULL.
    for (int i : {0, 1, 2, 3}) {
        if (set.value(i)) continue;
        set.own_[i] = QByteArray("");
        set.changed_ |= 1u << i;
    }
    return true;
}

}  // namespace sorvenka
