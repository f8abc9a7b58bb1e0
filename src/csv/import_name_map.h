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

// The destinations of earlier imports, by the file's exercise name: every name an import
// wrote is kept with the exercise its sets went to, and renames, moves and merges of the
// exercises carry it along (masters/source_names.h). False only when they cannot be read.
bool ReadSavedNameChoices(sqlite3* db, QHash<QString, ExerciseTarget>& choices);

// Keeps the destination of the name, replacing an earlier one; inside the caller's transaction.
bool SaveNameChoice(sqlite3* db, const QString& name, const ExerciseTarget& target);

}  // namespace sorvenka
