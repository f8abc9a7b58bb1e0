#pragma once

#include <QString>
#include <QStringList>

namespace sorvenka {

// The result of a query as texts: element 0 the column names joined by TAB, elements 1..n
// the rows, each its cell texts joined by TAB (NULL reads as the empty text). A query
// without rows gives the single element "" and no header.
using ResultTable = QStringList;

// The last row index of a table (0 when it has no rows).
inline int UpperBound(const ResultTable& table) {
    return static_cast<int>(table.size()) - 1;
}

}  // namespace sorvenka
