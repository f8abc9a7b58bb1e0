#pragma once

#include <QString>

#include "masters/master_statements.h"

struct sqlite3;

namespace sorvenka {

// The one place that writes new rows of m_grp and m_exer: a shown row at orderId, inside the
// caller's transaction on its connection. The caller has checked the name and chosen the code;
// false when the write fails (the engine's error stays on the connection).
bool InsertGroupRow(sqlite3* db, const QString& grpCd, const QString& name, qint64 orderId);
bool InsertExerciseRow(sqlite3* db, const ExerciseKey& key, const QString& name, qint64 orderId);

}  // namespace sorvenka
