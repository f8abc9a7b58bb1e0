#pragma once

#include <QHash>
#include <QString>

#include "masters/master_statements.h"

struct sqlite3;

namespace sorvenka {

// The exercise names of other loggers' files, each with the exercise its sets went to when it
// was imported, so that the next import of the same history finds them there whatever the
// user renamed, moved or merged since. They live in a table of their own beside the six of
// the log, made by the import that first keeps a name; a database without it reads as one
// without names. Every change here runs inside the caller's transaction.

// False only when the table exists and cannot be read.
bool ReadSourceNames(sqlite3* db, QHash<QString, ExerciseKey>& names);

// Keeps the destination of the name, replacing an earlier one.
bool SaveSourceName(sqlite3* db, const QString& name, const ExerciseKey& exercise);

// The names of `from` now name `to`: its new place after a move, the target of a merge.
bool CarrySourceNames(sqlite3* db, const ExerciseKey& from, const ExerciseKey& to);

// The names of an exercise that is deleted are forgotten: a later exercise that takes its
// code is another one.
bool ForgetSourceNames(sqlite3* db, const ExerciseKey& exercise);

}  // namespace sorvenka
