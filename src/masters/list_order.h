#pragma once

#include <QString>

struct sqlite3;

namespace sorvenka {

// Moves a group (grpCd empty) or an exercise of a group one place up (step -1) or down (+1) in
// its list by exchanging order_id with its neighbour. Rows sharing one order_id are first
// numbered 1, 2, ... in their shown order, so that the exchange always moves the row. The first
// row up or the last row down stays: true, nothing written. False with the reason when the row
// does not exist or the write failed (nothing changed then).
bool MoveGroupInOrder(sqlite3* db, const QString& grpCd, int step, QString& message);
bool MoveExerciseInOrder(sqlite3* db, const QString& grpCd, const QString& exerCd, int step,
                         QString& message);

}  // namespace sorvenka
