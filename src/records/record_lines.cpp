#include "records/record_lines.h"

#include <QHash>
#include <QStringView>
#include <QVarLengthArray>

#include "common/display_width.h"
#include "common/text_tests.h"
#include "db/column_lookup.h"
#include "records/record_key.h"

namespace sorvenka {

namespace {

const QString kKeyMark = QStringLiteral("PK=");
const QString kBlanks(64, QLatin1Char(' '));

QStringView Blanks(int count) {
    return QStringView(kBlanks).left(count);
}

bool IsAscii(QStringView text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

// Seconds since midnight of a time that passed IsTimeText, read without copying it.
int SecondsOf(QStringView time) {
    return time.mid(0, 2).toInt() * 3600 + time.mid(3, 2).toInt() * 60 + time.mid(6, 2).toInt();
}

// The columns of DBSelectDayExer's result that a line reads, looked up once per table.
struct DayColumns {
    explicit DayColumns(const ColumnLookup& lookup)
        : grpCd(lookup.index(QStringLiteral("grp_cd"))),
          grpName(lookup.index(QStringLiteral("grp_name"))),
          exerCd(lookup.index(QStringLiteral("exer_cd"))),
          exerName(lookup.index(QStringLiteral("exer_name"))),
          setNum(lookup.index(QStringLiteral("set_num"))),
          hmsSta(lookup.index(QStringLiteral("hms_sta"))),
          hmsEnd(lookup.index(QStringLiteral("hms_end"))),
          target(lookup.index(QStringLiteral("target"))),
          unitT(lookup.index(QStringLiteral("unit_t"))),
          cnt(lookup.index(QStringLiteral("cnt"))),
          unit(lookup.index(QStringLiteral("unit"))),
          cntMin(lookup.index(QStringLiteral("cnt_min"))),
          cntSec(lookup.index(QStringLiteral("cnt_sec"))),
          sweatName(lookup.index(QStringLiteral("sweat_name"))),
          comment(lookup.index(QStringLiteral("comment"))) {}

    int grpCd, grpName, exerCd, exerName, setNum, hmsSta, hmsEnd, target, unitT, cnt, unit, cntMin,
        cntSec, sweatName, comment;
};

// The cells of one row as views of its text, split at TAB without copying.
class RowCells {
  public:
    explicit RowCells(QStringView row) {
        qsizetype start = 0;
        for (;;) {
            const qsizetype tab = row.indexOf(QLatin1Char('\t'), start);
            cells_.append(row.mid(start, tab < 0 ? -1 : tab - start));
            if (tab < 0) break;
            start = tab + 1;
        }
    }
    // The empty text for a column beyond the row.
    QStringView value(int index) const {
        return index >= 0 && index < cells_.size() ? cells_[index] : QStringView();
    }

  private:
    QVarLengthArray<QStringView, 16> cells_;
};

// One padded column of the record line (PadToWidth). An ASCII text is as wide as it is long in
// Shift_JIS, so it is cut or filled directly; other texts (names, mostly) repeat from line to
// line and are padded once through the conversion and kept.
class PaddedColumn {
  public:
    PaddedColumn(int width, bool rightAligned) : width_(width), rightAligned_(rightAligned) {}

    void append(QString& line, QStringView text) {
        if (IsAscii(text)) {
            const QStringView cut = text.left(width_);
            const QStringView fill = Blanks(width_ - static_cast<int>(cut.size()));
            if (rightAligned_) line.append(fill);
            line.append(cut);
            if (!rightAligned_) line.append(fill);
            return;
        }
        scratch_.truncate(0);
        scratch_.append(text);
        auto found = kept_.constFind(scratch_);
        if (found == kept_.constEnd()) {
            if (kept_.size() >= kMaxKept) kept_.clear();
            found = kept_.insert(scratch_, PadToWidth(scratch_, width_, rightAligned_));
        }
        line.append(*found);
    }

  private:
    static constexpr qsizetype kMaxKept = 4096;
    int width_;
    bool rightAligned_;
    QString scratch_;
    QHash<QString, QString> kept_;
};

// Builds the record lines of a list. A year's list has thousands of lines, so cells are read
// as views of the row text and repeated pieces are made once.
class RecordLineBuilder {
  public:
    QString build(const QString& ymd, const RowCells& cells, const DayColumns& col) {
        auto cell = [&cells](int index) { return cells.value(index); };
        const QStringView setNum = cell(col.setNum);
        const QStringView start = cell(col.hmsSta);
        const QStringView end = cell(col.hmsEnd);

        QString line;
        line.reserve(256);
        line.append(Blanks(14));
        nameText_.truncate(0);
        nameText_.append(cell(col.grpName)).append(QLatin1Char('_')).append(cell(col.exerName));
        name_.append(line, nameText_);
        line.append(QLatin1Char(' ')).append(setNum).append(QLatin1Char(' '));
        line.append(start.isEmpty() ? Blanks(8) : start);
        line.append(QLatin1Char('-'));
        line.append(end.isEmpty() ? Blanks(8) : end);
        appendDuration(line, start, end);
        target_.append(line, cell(col.target));
        line.append(cell(col.unitT)).append(QLatin1Char(' '));
        const QStringView count = cell(col.cnt);
        if (!count.isEmpty()) {
            count_.append(line, count);
            line.append(cell(col.unit)).append(Blanks(5));
        } else {
            count_.append(line, cell(col.cntMin));
            line.append(QStringLiteral("分"));
            seconds_.append(line, cell(col.cntSec));
            line.append(QStringLiteral("秒 "));
        }
        sweat_.append(line, cell(col.sweatName));
        line.append(Blanks(50));
        // A row whose key cells are not of their form is listed without a key, so that
        // nothing can be loaded, changed or deleted through it.
        const QStringView grpCd = cell(col.grpCd);
        const QStringView exerCd = cell(col.exerCd);
        if (!IsRecordKeyOfForm(ymd, grpCd, exerCd, setNum)) return line;
        line.append(kKeyMark).append(ymd).append(QLatin1Char(','));
        line.append(grpCd).append(QLatin1Char(',')).append(exerCd);
        line.append(QLatin1Char(',')).append(setNum);
        return line;
    }

  private:
    // "(mmm分ss秒) " for two valid times taken on one day, else 12 blanks.
    void appendDuration(QString& line, QStringView start, QStringView end) {
        startText_.truncate(0);
        startText_.append(start);
        endText_.truncate(0);
        endText_.append(end);
        if (!IsTimeText(startText_) || !IsTimeText(endText_)) {
            line.append(Blanks(12));
            return;
        }
        const int seconds = SecondsOf(end) - SecondsOf(start);
        auto found = durations_.constFind(seconds);
        if (found == durations_.constEnd()) {
            if (durations_.size() >= 4096) durations_.clear();
            QString minutesText, secondsText;
            SplitDuration(seconds, minutesText, secondsText);
            found = durations_.insert(seconds, QStringLiteral("(") + minutesText +
                                                   QStringLiteral("分") + secondsText +
                                                   QStringLiteral("秒) "));
        }
        line.append(*found);
    }

    PaddedColumn name_{28, false};
    PaddedColumn target_{5, true};
    PaddedColumn count_{3, true};
    PaddedColumn seconds_{2, true};
    PaddedColumn sweat_{16, false};
    QHash<int, QString> durations_;
    QString nameText_, startText_, endText_;
};

RecordLineBuilder& builder() {
    thread_local RecordLineBuilder instance;
    return instance;
}

}  // namespace

QString DayLineText(const QString& ymd) {
    return ymd + QLatin1Char('(') + WeekdayText(ParseYmd(ymd)) + QLatin1Char(')');
}

std::vector<ListLine> FormatDayRecords(Database& db, const QString& ymd, const ResultTable& table,
                                       bool showComments) {
    std::vector<ListLine> lines;
    const int last = UpperBound(table);
    if (last < 1) return lines;
    const ColumnLookup lookup(db, table);
    const DayColumns columns(lookup);
    RecordLineBuilder& records = builder();
    lines.reserve(static_cast<size_t>(last) * 2);
    for (int row = 1; row <= last; ++row) {
        const RowCells cells(table[row]);
        lines.push_back({records.build(ymd, cells, columns), LineKind::Record});
        const QStringView comment = cells.value(columns.comment);
        if (!showComments || comment.isEmpty()) continue;
        for (const QStringView piece : comment.split(QStringLiteral("\r\n")))
            lines.push_back({Blanks(45).toString().append(piece), LineKind::Comment});
    }
    return lines;
}

bool ParseRecordKey(const QString& recordLine, RecordKey& key) {
    const qsizetype mark = recordLine.lastIndexOf(kKeyMark);
    if (mark < 0) return false;
    const QStringList parts = recordLine.mid(mark + kKeyMark.size()).split(QLatin1Char(','));
    if (parts.size() != 4) return false;
    const RecordKey found{parts[0], parts[1], parts[2], parts[3]};
    // A line without a key part may still hold "PK=" in a name; what follows it there is
    // never a key of its form.
    if (!IsRecordKeyOfForm(found)) return false;
    key = found;
    return true;
}

QString ExportLineText(const ListLine& line) {
    if (line.kind != LineKind::Record) return line.text;
    // Only a key part is cut: a line listed without one keeps a "PK=" of its names.
    RecordKey key;
    const qsizetype mark = ParseRecordKey(line.text, key) ? line.text.lastIndexOf(kKeyMark) : -1;
    QString text = mark < 0 ? line.text : line.text.left(mark);
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' ')) --end;
    text.truncate(end);
    return text;
}

}  // namespace sorvenka
