#include "window/record_lines.h"

#include "common/display_width.h"
#include "common/text_tests.h"
#include "db/column_lookup.h"

namespace sorvenka {

namespace {

const QString kKeyMark = QStringLiteral("PK=");
const QString kCrLfText = QStringLiteral("\r\n");

QString Blanks(int count) {
    return QString(count, QLatin1Char(' '));
}

// Piece 9: "(mmm分ss秒) " for two valid times of one day, else 12 blanks.
QString DurationPiece(const QString& start, const QString& end) {
    if (!IsTimeText(start) || !IsTimeText(end)) return Blanks(12);
    QString minutes, seconds;
    SplitDuration(SecondsOfDay(end) - SecondsOfDay(start), minutes, seconds);
    return QStringLiteral("(") + minutes + QStringLiteral("分") + seconds + QStringLiteral("秒) ");
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

QString RecordLineText(const QString& ymd, const QStringList& cells, const DayColumns& col) {
    auto cell = [&cells](int index) { return ColumnLookup::cell(cells, index); };
    const QString setNum = cell(col.setNum);
    const QString start = cell(col.hmsSta);
    const QString end = cell(col.hmsEnd);

    QString line = Blanks(14);
    line += PadToWidth(cell(col.grpName) + QStringLiteral("_") + cell(col.exerName), 28, false);
    line += QLatin1Char(' ') + setNum + QLatin1Char(' ');
    line += start.isEmpty() ? Blanks(8) : start;
    line += QLatin1Char('-');
    line += end.isEmpty() ? Blanks(8) : end;
    line += DurationPiece(start, end);
    line += PadToWidth(cell(col.target), 5, true);
    line += cell(col.unitT) + QLatin1Char(' ');
    const QString count = cell(col.cnt);
    if (!count.isEmpty()) {
        line += PadToWidth(count, 3, true) + cell(col.unit) + Blanks(5);
    } else {
        line += PadToWidth(cell(col.cntMin), 3, true) + QStringLiteral("分") +
                PadToWidth(cell(col.cntSec), 2, true) + QStringLiteral("秒 ");
    }
    line += PadToWidth(cell(col.sweatName), 16, false);
    line += Blanks(50);
    line += kKeyMark + ymd + QLatin1Char(',') + cell(col.grpCd) + QLatin1Char(',') +
            cell(col.exerCd) + QLatin1Char(',') + setNum;
    return line;
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
    for (int row = 1; row <= last; ++row) {
        const QStringList cells = lookup.cells(row);
        lines.push_back({RecordLineText(ymd, cells, columns), LineKind::Record});
        const QString comment = ColumnLookup::cell(cells, columns.comment);
        if (!showComments || comment.isEmpty()) continue;
        for (const QString& piece : comment.split(kCrLfText))
            lines.push_back({Blanks(45) + piece, LineKind::Comment});
    }
    return lines;
}

bool ParseRecordKey(const QString& recordLine, RecordKey& key) {
    const qsizetype mark = recordLine.lastIndexOf(kKeyMark);
    if (mark < 0) return false;
    const QStringList parts = recordLine.mid(mark + kKeyMark.size()).split(QLatin1Char(','));
    if (parts.size() != 4) return false;
    key = {parts[0], parts[1], parts[2], parts[3]};
    return true;
}

QString ExportLineText(const ListLine& line) {
    if (line.kind != LineKind::Record) return line.text;
    const qsizetype mark = line.text.lastIndexOf(kKeyMark);
    QString text = mark < 0 ? line.text : line.text.left(mark);
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' ')) --end;
    text.truncate(end);
    return text;
}

}  // namespace sorvenka
