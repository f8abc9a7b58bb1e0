#include "routines/routines_csv.h"

#include <csv.h>
#include <sqlite3.h>

#include <QDate>
#include <QHash>
#include <cmath>

#include "csv/csv_cell_guard.h"
#include "csv/csv_reader.h"
#include "db/prepared_statement.h"
#include "export/export_file.h"
#include "routines/progression.h"
#include "routines/routine_store.h"

namespace sorvenka {

namespace {

// The columns, in this order. A plate line fills 単位, バー and プレート; an item line the rest.
const QStringList& Columns() {
    static const QStringList columns{
        "区分",   "メニュー",     "予定",           "日",       "曜日",     "グループ",
        "種目",   "種類",         "セット数",       "回数下限", "回数上限", "回数単位",
        "時間秒", "重量",         "単位",           "休憩秒",   "進め方",   "刻み",
        "丸め",   "プレート使用", "スーパーセット", "起点日",   "バー",     "プレート"};
    return columns;
}
enum RoutineCsvColumn {
    kKind,
    kRoutine,
    kSchedule,
    kDay,
    kWeekdays,
    kGroup,
    kExercise,
    kItemKind,
    kSets,
    kRepMin,
    kRepMax,
    kCountUnit,
    kDuration,
    kLoad,
    kUnit,
    kRest,
    kRule,
    kStep,
    kRounding,
    kUsesPlates,
    kSuperset,
    kSince,
    kBar,
    kPlates,
    kColumnCount
};

const QString kItemLine = QStringLiteral("項目");
const QString kPlateLine = QStringLiteral("プレート");
const QString kWeekdayChars = QStringLiteral("月火水木金土日");
const QStringList kScheduleNames{QStringLiteral("ローテーション"), QStringLiteral("曜日")};
const QStringList kKindNames{QStringLiteral("回数"), QStringLiteral("時間"),
                             QStringLiteral("距離")};
const QStringList kRuleNames{QStringLiteral("なし"), QStringLiteral("線形"),
                             QStringLiteral("ダブル")};

QString WeekdaysText(int mask) {
    QString text;
    for (int d = 0; d < 7; ++d)
        if (mask & (1 << d)) text += kWeekdayChars[d];
    return text;
}

// One field as written: quoted only where it must be, with the formula guard of the export; an
// empty field is empty (the file has no NULL to tell apart).
void AppendField(QByteArray& out, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    const QByteArray text = NeedsFormulaGuard(utf8.constData(), utf8.size())
                                ? GuardedCellText(utf8.constData(), utf8.size())
                                : utf8;
    bool quote = false;
    for (char c : text)
        if (c == ',' || c == '"' || c == '\r' || c == '\n') quote = true;
    if (!text.isEmpty() && (text.front() == ' ' || text.back() == ' ')) quote = true;
    if (!quote) {
        out.append(text);
        return;
    }
    const size_t needed = csv_write(nullptr, 0, text.constData(), static_cast<size_t>(text.size()));
    const qsizetype at = out.size();
    out.resize(at + static_cast<qsizetype>(needed));
    csv_write(out.data() + at, needed, text.constData(), static_cast<size_t>(text.size()));
}

void AppendLine(QByteArray& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i) out.append(',');
        AppendField(out, fields[i]);
    }
    out.append("\r\n");
}

struct Names {
    QHash<QString, QString> groupName;     // grp_cd → name
    QHash<QString, QString> exerciseName;  // grp_cd \x1f exer_cd → name
    QHash<QString, QString> groupCode;     // name → grp_cd (the first in order)
    QHash<QString, QString> exerciseCode;  // grp_cd \x1f name → exer_cd (the first in order)
};

bool ReadNames(sqlite3* db, Names& names) {
    PreparedStatement groups(db, "SELECT grp_cd, grp_name FROM m_grp ORDER BY order_id DESC");
    while (groups.next()) {
        names.groupName.insert(groups.columnText(0), groups.columnText(1));
        names.groupCode.insert(groups.columnText(1), groups.columnText(0));
    }
    PreparedStatement exercises(
        db, "SELECT grp_cd, exer_cd, exer_name FROM m_exer ORDER BY order_id DESC");
    while (exercises.next()) {
        const QString grp = exercises.columnText(0);
        names.exerciseName.insert(grp + QChar(0x1f) + exercises.columnText(1),
                                  exercises.columnText(2));
        names.exerciseCode.insert(grp + QChar(0x1f) + exercises.columnText(2),
                                  exercises.columnText(1));
    }
    return groups.ok() && exercises.ok();
}

QStringList ItemFields(const Routine& routine, const RoutineDay* day, const RoutineItem* item,
                       const Names& names) {
    QStringList f(kColumnCount);
    f[kKind] = kItemLine;
    f[kRoutine] = routine.name;
    f[kSchedule] = kScheduleNames[static_cast<int>(routine.schedule)];
    if (!day) return f;
    f[kDay] = day->name;
    f[kWeekdays] = WeekdaysText(day->weekdays);
    if (!item) return f;
    f[kGroup] = names.groupName.value(item->grpCd, item->grpCd);
    f[kExercise] = names.exerciseName.value(item->grpCd + QChar(0x1f) + item->exerCd, item->exerCd);
    f[kItemKind] = kKindNames[static_cast<int>(item->kind)];
    f[kSets] = QString::number(item->workingSets);
    f[kRepMin] = QString::number(item->repMin);
    f[kRepMax] = QString::number(item->repMax);
    f[kCountUnit] = item->countUnit;
    f[kDuration] = QString::number(item->durationSec);
    f[kLoad] = LoadText(item->startLoad);
    f[kUnit] = item->loadUnit;
    f[kRest] = QString::number(item->restSec);
    f[kRule] = kRuleNames[static_cast<int>(item->rule)];
    f[kStep] = LoadText(item->step);
    f[kRounding] = LoadText(item->rounding);
    f[kUsesPlates] = item->usesPlates ? QStringLiteral("1") : QStringLiteral("0");
    f[kSuperset] = item->superset;
    f[kSince] = item->since;
    return f;
}

// One line of the file as read.
struct FileLine {
    qint64 line = 0;
    bool plates = false;
    PlateInventory inventory;
    Routine routine;
    bool hasDay = false;
    RoutineDay day;
    bool hasItem = false;
    RoutineItem item;
};

// Parsers of one field: false with the reason.
bool WholeNumber(const QString& text, int low, int high, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

bool Amount(const QString& text, double& value) {
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value) && value >= 0 && value <= 1e6;
}

QString ParseItem(const std::vector<QString>& f, const Names& names, FileLine& out) {
    out.routine.name = f[kRoutine];
    if (out.routine.name.trimmed().isEmpty()) return QStringLiteral("メニューの名前がありません");
    const int schedule = kScheduleNames.indexOf(f[kSchedule]);
    if (schedule < 0) return QStringLiteral("予定「%1」は使えません").arg(f[kSchedule]);
    out.routine.schedule = static_cast<Schedule>(schedule);
    if (f[kDay].isEmpty()) {
        for (int c = kWeekdays; c < kColumnCount; ++c)
            if (!f[c].isEmpty()) return QStringLiteral("日のない行に項目があります");
        return {};
    }
    out.hasDay = true;
    out.day.name = f[kDay];
    for (QChar c : f[kWeekdays]) {
        const qsizetype d = kWeekdayChars.indexOf(c);
        if (d < 0) return QStringLiteral("曜日「%1」は使えません").arg(f[kWeekdays]);
        out.day.weekdays |= 1 << d;
    }
    if (f[kGroup].isEmpty() && f[kExercise].isEmpty()) return {};
    out.hasItem = true;
    RoutineItem& item = out.item;
    item.grpCd = names.groupCode.value(f[kGroup]);
    if (item.grpCd.isEmpty()) return QStringLiteral("グループ「%1」がありません").arg(f[kGroup]);
    item.exerCd = names.exerciseCode.value(item.grpCd + QChar(0x1f) + f[kExercise]);
    if (item.exerCd.isEmpty())
        return QStringLiteral("種目「%1」が「%2」にありません").arg(f[kExercise], f[kGroup]);
    const int kind = kKindNames.indexOf(f[kItemKind]);
    if (kind < 0) return QStringLiteral("種類「%1」は使えません").arg(f[kItemKind]);
    item.kind = static_cast<ItemKind>(kind);
    if (!WholeNumber(f[kSets], 1, 99, item.workingSets))
        return QStringLiteral("セット数「%1」は 1〜99 ではありません").arg(f[kSets]);
    if (!WholeNumber(f[kRepMin], 0, 9999, item.repMin) ||
        !WholeNumber(f[kRepMax], 0, 9999, item.repMax) || item.repMin > item.repMax)
        return QStringLiteral("回数「%1〜%2」は使えません").arg(f[kRepMin], f[kRepMax]);
    item.countUnit = f[kCountUnit];
    if (!WholeNumber(f[kDuration], 0, 86400, item.durationSec))
        return QStringLiteral("時間秒「%1」は使えません").arg(f[kDuration]);
    if (!Amount(f[kLoad], item.startLoad))
        return QStringLiteral("重量「%1」は使えません").arg(f[kLoad]);
    item.loadUnit = f[kUnit];
    if (!WholeNumber(f[kRest], 0, 86400, item.restSec))
        return QStringLiteral("休憩秒「%1」は使えません").arg(f[kRest]);
    const int rule = kRuleNames.indexOf(f[kRule]);
    if (rule < 0) return QStringLiteral("進め方「%1」は使えません").arg(f[kRule]);
    item.rule = static_cast<ProgressionRule>(rule);
    if (!Amount(f[kStep], item.step)) return QStringLiteral("刻み「%1」は使えません").arg(f[kStep]);
    if (!Amount(f[kRounding], item.rounding))
        return QStringLiteral("丸め「%1」は使えません").arg(f[kRounding]);
    if (f[kUsesPlates] != QStringLiteral("0") && f[kUsesPlates] != QStringLiteral("1"))
        return QStringLiteral("プレート使用「%1」は 0 か 1 です").arg(f[kUsesPlates]);
    item.usesPlates = f[kUsesPlates] == QStringLiteral("1");
    item.superset = f[kSuperset];
    item.since = f[kSince];
    if (!item.since.isEmpty() &&
        !QDate::fromString(item.since, QStringLiteral("yyyy/MM/dd")).isValid())
        return QStringLiteral("起点日「%1」は yyyy/mm/dd の日付ではありません").arg(item.since);
    return {};
}

QString ParsePlates(const std::vector<QString>& f, FileLine& out) {
    out.plates = true;
    PlateInventory& p = out.inventory;
    p.unit = f[kUnit];
    if (p.unit != QStringLiteral("kg") && p.unit != QStringLiteral("lb"))
        return QStringLiteral("プレートの単位「%1」は kg か lb です").arg(p.unit);
    if (!Amount(f[kBar], p.bar)) return QStringLiteral("バー「%1」は使えません").arg(f[kBar]);
    p.plates.clear();
    for (const QString& part : f[kPlates].split(' ', Qt::SkipEmptyParts)) {
        const QStringList pair = part.split(QStringLiteral("×"));
        PlatePair plate;
        if (pair.size() != 2 || !Amount(pair[0], plate.weight) || !(plate.weight > 0) ||
            !WholeNumber(pair[1], 1, 99, plate.pairs))
            return QStringLiteral("プレート「%1」は 重さ×組数 ではありません").arg(part);
        p.plates.push_back(plate);
    }
    return {};
}

// Everything an item is, but its place: equal items are the same item.
QString Signature(const RoutineItem& i) {
    return QStringList{i.grpCd,
                       i.exerCd,
                       QString::number(static_cast<int>(i.kind)),
                       QString::number(i.workingSets),
                       QString::number(i.repMin),
                       QString::number(i.repMax),
                       i.countUnit,
                       QString::number(i.durationSec),
                       LoadText(i.startLoad),
                       i.loadUnit,
                       QString::number(i.restSec),
                       QString::number(static_cast<int>(i.rule)),
                       LoadText(i.step),
                       LoadText(i.rounding),
                       i.usesPlates ? "1" : "0",
                       i.superset,
                       i.since}
        .join(QChar(0x1f));
}

}  // namespace

RoutinesCsvResult ExportRoutinesCsv(sqlite3* db, const QString& path) {
    RoutinesCsvResult result;
    RoutineBook book;
    Names names;
    std::vector<PlateInventory> inventories;
    if (!ReadRoutineBook(db, book) || !ReadNames(db, names) || !ReadAllPlates(db, inventories)) {
        result.error = QStringLiteral("メニューを読めませんでした: %1")
                           .arg(QString::fromUtf8(sqlite3_errmsg(db)));
        return result;
    }
    QByteArray out("\xEF\xBB\xBF");
    AppendLine(out, Columns());
    for (const Routine& routine : book.routines) {
        ++result.routines;
        const std::vector<RoutineDay> days = book.daysOf(routine.id);
        if (days.empty()) AppendLine(out, ItemFields(routine, nullptr, nullptr, names));
        for (const RoutineDay& day : days) {
            ++result.days;
            const std::vector<RoutineItem> items = book.itemsOf(day.id);
            if (items.empty()) AppendLine(out, ItemFields(routine, &day, nullptr, names));
            for (const RoutineItem& item : items) {
                ++result.items;
                AppendLine(out, ItemFields(routine, &day, &item, names));
            }
        }
    }
    for (const PlateInventory& p : inventories) {
        ++result.plates;
        QStringList f(kColumnCount);
        f[kKind] = kPlateLine;
        f[kUnit] = p.unit;
        f[kBar] = LoadText(p.bar);
        QStringList plates;
        for (const PlatePair& pair : p.plates)
            plates.push_back(LoadText(pair.weight) + QStringLiteral("×") +
                             QString::number(pair.pairs));
        f[kPlates] = plates.join(' ');
        AppendLine(out, f);
    }
    result.ok = WriteFileSafely(path, out, result.error);
    return result;
}

RoutinesCsvResult ImportRoutinesCsv(sqlite3* db, const QString& path, bool dryRun) {
    RoutinesCsvResult result;
    Names names;
    if (!ReadNames(db, names)) {
        result.error = QStringLiteral("種目を読めませんでした");
        return result;
    }
    CsvReader reader;
    if (!reader.open(path, result.error)) return result;
    std::vector<FileLine> lines;
    bool header = true;
    QString message;
    qint64 errorLine = 0;
    const bool read = reader.read(
        [&](CsvRow& row) {
            const QString where = QStringLiteral("%1行目: ").arg(row.line);
            if (!row.refusal.isEmpty()) {
                result.refused.push_back(where + row.refusal);
                header = false;
                return true;
            }
            std::vector<QString> f;
            for (CsvField& field : row.fields) {
                RemoveFormulaGuard(field);
                f.push_back(FieldText(field));
            }
            if (header) {
                header = false;
                if (QStringList(f.begin(), f.end()) != Columns())
                    result.refused.push_back(
                        where +
                        QStringLiteral("見出しが「%1」ではありません").arg(Columns().join(',')));
                return true;
            }
            if (f.size() == 1 && f[0].isEmpty()) return true;  // an empty line
            if (f.size() != kColumnCount) {
                result.refused.push_back(where + QStringLiteral("列が %1 あります(%2 列のはずです)")
                                                     .arg(f.size())
                                                     .arg(static_cast<int>(kColumnCount)));
                return true;
            }
            FileLine line;
            line.line = row.line;
            QString reason;
            if (f[kKind] == kItemLine)
                reason = ParseItem(f, names, line);
            else if (f[kKind] == kPlateLine)
                reason = ParsePlates(f, line);
            else
                reason = QStringLiteral("区分「%1」は 項目 か プレート です").arg(f[kKind]);
            if (!reason.isEmpty())
                result.refused.push_back(where + reason);
            else
                lines.push_back(line);
            return true;
        },
        message, errorLine);
    if (!read) {
        result.error = QStringLiteral("%1行目: %2").arg(errorLine).arg(message);
        return result;
    }
    if (header) result.refused.push_back(QStringLiteral("1行目: 見出しがありません"));
    if (!result.refused.isEmpty()) return result;

    // All or nothing; a dry run writes as the import would and then takes it back.
    Transaction transaction(db);
    RoutineBook book;
    if (!transaction.begun() || !ReadRoutineBook(db, book)) {
        result.error = QStringLiteral("データベースに書けませんでした: %1")
                           .arg(QString::fromUtf8(sqlite3_errmsg(db)));
        return result;
    }
    auto failed = [&] {
        result.error = QStringLiteral("データベースに書けませんでした: %1")
                           .arg(QString::fromUtf8(sqlite3_errmsg(db)));
        return result;
    };
    QHash<QString, qint64> routineIds;  // by name
    for (const Routine& r : book.routines)
        if (!routineIds.contains(r.name)) routineIds.insert(r.name, r.id);
    QHash<QString, qint64> dayIds;  // routine id \x1f day name
    for (const RoutineDay& d : book.days) {
        const QString key = QString::number(d.routineId) + QChar(0x1f) + d.name;
        if (!dayIds.contains(key)) dayIds.insert(key, d.id);
    }
    QHash<QString, int> storedItems;  // day id \x1f signature → how many not yet matched
    for (const RoutineItem& i : book.items)
        ++storedItems[QString::number(i.dayId) + QChar(0x1f) + Signature(i)];

    for (FileLine& line : lines) {
        if (line.plates) {
            std::vector<PlateInventory> all;
            if (!ReadAllPlates(db, all)) return failed();
            bool same = false;
            for (const PlateInventory& p : all) same = same || p == line.inventory;
            if (same) continue;
            if (!SavePlates(db, line.inventory)) return failed();
            ++result.plates;
            continue;
        }
        auto routine = routineIds.constFind(line.routine.name);
        if (routine == routineIds.constEnd()) {
            if (!AddRoutine(db, line.routine)) return failed();
            ++result.routines;
            routine = routineIds.insert(line.routine.name, line.routine.id);
        }
        if (!line.hasDay) continue;
        const QString dayKey = QString::number(*routine) + QChar(0x1f) + line.day.name;
        auto day = dayIds.constFind(dayKey);
        if (day == dayIds.constEnd()) {
            line.day.routineId = *routine;
            if (!AddDay(db, line.day)) return failed();
            ++result.days;
            day = dayIds.insert(dayKey, line.day.id);
        }
        if (!line.hasItem) continue;
        line.item.dayId = *day;
        int& unmatched = storedItems[QString::number(*day) + QChar(0x1f) + Signature(line.item)];
        if (unmatched > 0) {
            --unmatched;
            continue;
        }
        if (!AddItem(db, line.item)) return failed();
        ++result.items;
    }
    if (dryRun) {
        result.ok = true;
        return result;  // rolled back by the transaction
    }
    if (!transaction.commit()) return failed();
    result.ok = true;
    return result;
}

}  // namespace sorvenka
