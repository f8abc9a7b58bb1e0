#pragma once

#include <QHash>
#include <QString>

#include "csv/import_name_map.h"

namespace sorvenka {

struct ImportSummary;

// The mapping of a file's exercise names as a CSV file for editing: one row per name with
// the group code and the exercise code (empty: a new exercise in that group), then the
// group's and exercise's names, the sets and the first and last day, which are read back as
// nothing but help the reader. UTF-8, CR LF; replaced whole or not at all, and only a regular file.
bool WriteNameMapFile(const QString& path, const ImportSummary& summary, QString& message);

// Reads such a file (a header row is optional; of the columns after the third only the
// exercise's name is read, and only on a row of a new exercise: the name it gets, in newNames).
// False with the line and the reason for a row without a name or with malformed codes.
bool ReadNameMapFile(const QString& path, QHash<QString, ExerciseTarget>& mapping, QString& message,
                     QHash<QString, QString>* newNames = nullptr);

}  // namespace sorvenka
