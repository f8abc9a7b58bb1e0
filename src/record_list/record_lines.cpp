#include "record_list/record_lines.h"

#include <QHash>
#include <QStringView>
#include <optional>
#include <string>

#include "common/display_width.h"
#include "common/text_tests.h"
#include "db/column_lookup.h"
#include "db/database.h"
#include "db/record_reads.h"
#include "db/row_cells.h"
#include "record_list/record_key.h"

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

// A two-digit field of a time, or -1 when it is not two ASCII digits up to max.
int TimeField(QStringView time, int at, int max) {
    const char16_t tens = time[at].unicode(), ones = time[at + 1].unicode();
    if (tens < u'0' || tens > u'9' || ones < u'0' || ones > u'9') return -1;
    const int value = (tens - u'0') * 10 + (ones - u'0');
    return value <= max ? value : -1;
}

// Seconds since midnight of a text that passes IsTimeText, else -1; read in place, since
// every record line reads two times.
int TimeSeconds(QStringView time) {
    if (time.size() != 8 || time[2] != u':' || time[5] != u':') return -1;
    const int hours = TimeField(time, 0, 23), minutes = TimeField(time, 3, 59),
              seconds = TimeField(time, 6, 59);
    if (hours < 0 || minutes < 0 || seconds < 0) return -1;
    return hours * 3600 + minutes * 60 + seconds;
}

// The columns of DBSelectDayExer's result that a line reads, looked up once per day, in the
// order the lines read them; the first missing one is reported.
struct DayColumns {
    template <typename IndexOf>
    explicit DayColumns(IndexOf index)
        : grpCd(index(QStringLiteral("grp_cd"))),
          grpName(index(QStringLiteral("grp_name"))),
          exerCd(index(QStringLiteral("exer_cd"))),
          exerName(index(QStringLiteral("exer_name"))),
          setNum(index(QStringLiteral("set_num"))),
          hmsSta(index(QStringLiteral("hms_sta"))),
          hmsEnd(index(QStringLiteral("hms_end"))),
          target(index(QStringLiteral("target"))),
          unitT(index(QStringLiteral("unit_t"))),
          cnt(index(QStringLiteral("cnt"))),
          unit(index(QStringLiteral("unit"))),
          cntMin(index(QStringLiteral("cnt_min"))),
          cntSec(index(QStringLiteral("cnt_sec"))),
          sweatName(index(QStringLiteral("sweat_name"))),
          comment(index(QStringLiteral("comment"))) {}

    int grpCd, grpName, exerCd, exerName, setNum, hmsSta, hmsEnd, target, unitT, cnt, unit, cntMin,
        cntSec, sweatName, comment;
};

// The text of a line while it is built: plain appends without the string's sharing checks,
// made into a string of its exact length at the end.
class LineBuffer {
  public:
    LineBuffer& operator<<(QStringView text) {
        text_.append(reinterpret_cast<const char16_t*>(text.utf16()),
                     static_cast<size_t>(text.size()));
        return *this;
    }
    LineBuffer& operator<<(char16_t c) {
        text_.push_back(c);
        return *this;
    }
    void clear() { text_.clear(); }
    QString text() const {
        return QString(reinterpret_cast<const QChar*>(text_.data()),
                       static_cast<qsizetype>(text_.size()));
    }

  private:
    std::u16string text_;
};

// One padded column of the record line (PadToWidth). An ASCII text is as wide as it is long in
// Shift_JIS, so it is cut or filled directly; other texts (names, mostly) repeat from line to
// line and are padded once through the conversion and kept.
class PaddedColumn {
  public:
    PaddedColumn(int width, bool rightAligned) : width_(width), rightAligned_(rightAligned) {}

    void append(LineBuffer& line, QStringView text) {
        if (IsAscii(text)) {
            const QStringView cut = text.left(width_);
            const QStringView fill = Blanks(width_ - static_cast<int>(cut.size()));
            if (rightAligned_) line << fill;
            line << cut;
            if (!rightAligned_) line << fill;
            return;
        }
        // The same name as on the line before is the common case.
        if (text != lastText_) {
            lastText_ = text.toString();
            auto found = kept_.constFind(lastText_);
            if (found == kept_.constEnd()) {
                if (kept_.size() >= kMaxKept) kept_.clear();
                found = kept_.insert(lastText_, PadToWidth(lastText_, width_, rightAligned_));
            }
            lastPadded_ = *found;
        }
        line << lastPadded_;
    }

  private:
    static constexpr qsizetype kMaxKept = 4096;
    int width_;
    bool rightAligned_;
    QString lastText_, lastPadded_;
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

        LineBuffer& line = line_;
        line.clear();
        line << Blanks(14);
        nameText_.truncate(0);
        nameText_.append(cell(col.grpName)).append(QLatin1Char('_')).append(cell(col.exerName));
        name_.append(line, nameText_);
        line << u' ' << setNum << u' ';
        line << (start.isEmpty() ? Blanks(8) : start) << u'-' << (end.isEmpty() ? Blanks(8) : end);
        appendDuration(line, start, end);
        target_.append(line, cell(col.target));
        line << cell(col.unitT) << u' ';
        const QStringView count = cell(col.cnt);
        if (!count.isEmpty()) {
            count_.append(line, count);
            line << cell(col.unit) << Blanks(5);
        } else {
            count_.append(line, cell(col.cntMin));
            line << u'分';
            seconds_.append(line, cell(col.cntSec));
            line << u'秒' << u' ';
        }
        sweat_.append(line, cell(col.sweatName));
        line << Blanks(50);
        // A row whose key cells are not of their form is listed without a key, so that
        // nothing can be loaded, changed or deleted through it.
        const QStringView grpCd = cell(col.grpCd);
        const QStringView exerCd = cell(col.exerCd);
        if (IsRecordKeyOfForm(ymd, grpCd, exerCd, setNum)) {
            line << kKeyMark << ymd << u',';
            line << grpCd << u',' << exerCd;
            line << u',' << setNum;
        }
        // Built in the kept buffer and copied at its length: no line keeps spare capacity.
        return line.text();
    }

  private:
    // "(mmm分ss秒) " for two valid times taken on one day, else 12 blanks.
    void appendDuration(LineBuffer& line, QStringView start, QStringView end) {
        const int startSeconds = TimeSeconds(start), endSeconds = TimeSeconds(end);
        if (startSeconds < 0 || endSeconds < 0) {
            line << Blanks(12);
            return;
        }
        const int seconds = endSeconds - startSeconds;
        auto found = durations_.constFind(seconds);
        if (found == durations_.constEnd()) {
            if (durations_.size() >= 4096) durations_.clear();
            QString minutesText, secondsText;
            SplitDuration(seconds, minutesText, secondsText);
            found = durations_.insert(seconds, QStringLiteral("(") + minutesText +
                                                   QStringLiteral("分") + secondsText +
                                                   QStringLiteral("秒) "));
        }
        line << *found;
    }

    PaddedColumn name_{28, false};
    PaddedColumn target_{5, true};
    PaddedColumn count_{3, true};
    PaddedColumn seconds_{2, true};
    PaddedColumn sweat_{16, false};
    QHash<int, QString> durations_;
    LineBuffer line_;
    QString nameText_;
};

RecordLineBuilder& builder() {
    thread_local RecordLineBuilder instance;
    return instance;
}

// The record line of one row, then (when shown) its comment lines.
void AppendRowLines(const QString& ymd, const RowCells& cells, const DayColumns& columns,
                    bool showComments, std::vector<ListLine>& lines) {
    lines.push_back({builder().build(ymd, cells, columns), LineKind::Record});
    const QStringView comment = cells.value(columns.comment);
    if (!showComments || comment.isEmpty()) return;
    for (const QStringView piece : comment.split(QStringLiteral("\r\n"))) {
        QString text;
        text.reserve(45 + piece.size());
        text.append(Blanks(45)).append(piece);
        lines.push_back({std::move(text), LineKind::Comment});
    }
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
    const DayColumns columns([&lookup](const QString& name) { return lookup.index(name); });
    for (int row = 1; row <= last; ++row)
        AppendRowLines(ymd, RowCells(table[row]), columns, showComments, lines);
    return lines;
}

namespace {

// Turns the rows of one day's read into lines as the engine hands them over.
class DayLineSink : public RowSink {
  public:
    DayLineSink(Database& db, const QString& ymd, bool showComments, std::vector<ListLine>& lines)
        : db_(db), ymd_(ymd), showComments_(showComments), lines_(lines) {}

    void columns(const RowCells& names) override {
        columns_.emplace([this, &names](const QString& name) { return indexOf(names, name); });
    }
    void row(const RowCells& cells) override {
        AppendRowLines(ymd_, cells, *columns_, showComments_, lines_);
    }

  private:
    // A missing column ends the program with the report that a table lookup gives.
    int indexOf(const RowCells& names, const QString& name) {
        for (int i = 0; i < names.size(); ++i)
            if (names.value(i) == name) return i;
        QStringList header;
        for (int i = 0; i < names.size(); ++i) header << names.value(i).toString();
        db_.colValue(ResultTable{header.join(QLatin1Char('\t'))}, 1, name);
        return -1;
    }

    Database& db_;
    const QString& ymd_;
    bool showComments_;
    std::vector<ListLine>& lines_;
    std::optional<DayColumns> columns_;
};

}  // namespace

void AppendDayRecords(Database& db, const QString& ymd, int range, const QString& grpCd,
                      const QString& exerCd, bool showComments, std::vector<ListLine>& lines) {
    DayLineSink sink(db, ymd, showComments, lines);
    DBStreamDayExer(db, ymd, range, grpCd, exerCd, sink);
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
