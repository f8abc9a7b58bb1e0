#pragma once

#include <QStringList>
#include <vector>

#include "db/result_table.h"

namespace sorvenka {

class Database;

// Reads many cells of one result table: the header and each row are split once, where
// Database::colValue splits them on every call. A missing column takes the same path as
// colValue: the "Error!" box and the fatal report.
class ColumnLookup {
  public:
    ColumnLookup(Database& db, const ResultTable& table);

    // The column's index; ends the program when the column is missing.
    int index(const QString& name) const;
    // The cells of one row (1..n); an empty row text gives no cells.
    QStringList cells(int row) const;
    static QString cell(const QStringList& cells, int index) { return cells.value(index); }

  private:
    Database& db_;
    const ResultTable& table_;
    QStringList names_;
};

}  // namespace sorvenka
