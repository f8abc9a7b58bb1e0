#pragma once

#include <QHash>
#include <QString>

struct sqlite3;

namespace sorvenka {

// Where the sets of one exercise name of a file go: an exercise of the masters, or a new
// exercise in a group (exerCd empty).
struct ExerciseTarget {
    QString grpCd;
    QString exerCd;
    bool isNew() const { return exerCd.isEmpty(); }
    bool operator==(const ExerciseTarget&) const = default;
};

// The choices made at earlier imports, by the file's exercise name. They live in a table of
// their own beside the six of the log, made by the import that first keeps a choice, so the
// log's tables keep their meaning and a database without it reads as one without choices.
// False only when the table exists and cannot be read.
bool ReadSavedNameChoices(sqlite3* db, QHash<QString, ExerciseTarget>& choices);

// Keeps the choice for the name, replacing an earlier one; inside the caller's transaction.
bool SaveNameChoice(sqlite3* db, const QString& name, const ExerciseTarget& target);

}  // namespace sorvenka
