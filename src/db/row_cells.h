#pragma once

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

namespace sorvenka {

// The cells of one result row as views, in the order a result table splits its row text at
// TAB: a cell holding a TAB gives two pieces, exactly as the joined row would. Views stay
// valid until the next row is read.
class RowCells {
  public:
    RowCells() = default;
    // Splits a row text of a result table.
    explicit RowCells(QStringView row) { appendSplit(row); }

    // The empty text for a column beyond the row.
    QStringView value(int index) const {
        return index >= 0 && index < cells_.size() ? cells_[index] : QStringView();
    }
    int size() const { return static_cast<int>(cells_.size()); }

    void clear() { cells_.clear(); }
    // Adds one cell's text that holds no TAB.
    void append(QStringView text) { cells_.append(text); }
    // Adds one cell's text, split at TAB.
    void appendSplit(QStringView text) {
        qsizetype start = 0;
        for (;;) {
            const qsizetype tab = text.indexOf(QLatin1Char('\t'), start);
            cells_.append(text.mid(start, tab < 0 ? -1 : tab - start));
            if (tab < 0) break;
            start = tab + 1;
        }
    }

  private:
    QVarLengthArray<QStringView, 32> cells_;
};

// Receives the rows of a query one by one (Database::queryRows): first the column names,
// once, when the first row arrives, then every row.
class RowSink {
  public:
    virtual ~RowSink() = default;
    virtual void columns(const RowCells& names) = 0;
    virtual void row(const RowCells& cells) = 0;
};

}  // namespace sorvenka
