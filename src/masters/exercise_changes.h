#pragma once

#include <QString>

#include "masters/master_statements.h"

struct sqlite3;

namespace sorvenka {

// Changes of the exercise master m_exer, refused like those of the groups (false, a Japanese
// reason, nothing written): an empty name, a name another exercise of the same group has, an
// exercise or group that does not exist, a failed write.

// A new shown exercise at the end of its group with the group's next free code (newCode).
bool AddExercise(sqlite3* db, const QString& grpCd, const QString& typedName, QString& newCode,
                 QString& message);
bool RenameExercise(sqlite3* db, const ExerciseKey& key, const QString& typedName,
                    QString& message);
bool SetExerciseShown(sqlite3* db, const ExerciseKey& key, bool shown, QString& message);
// Only an exercise that no stored set names goes.
bool DeleteExercise(sqlite3* db, const ExerciseKey& key, QString& message);
// Puts the exercise at the end of another group under that group's next free code (newCode)
// and re-keys its sets to it, in one transaction. Refused when the target group has an
// exercise of the same name (merge them instead).
bool MoveExerciseToGroup(sqlite3* db, const ExerciseKey& key, const QString& toGrpCd,
                         QString& newCode, QString& message);

}  // namespace sorvenka
