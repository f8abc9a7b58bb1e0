#pragma once

#include <QString>

struct sqlite3;

namespace sorvenka {

// Whether a database holds the program's six tables as real tables with the columns the
// program uses (the record table exactly its fourteen, in their order and with their kind of
// value), and no trigger or view: the program makes none, and one could change or hide the
// sets behind its back. subject names the file in the reason ("バックアップ", "データベース").
// False with a plain reason, also when the tables cannot be read.
bool CheckProgramTables(sqlite3* connection, const QString& subject, QString& reason);

// The same on a file, opened read-only.
bool CheckProgramTables(const QString& path, const QString& subject, QString& reason);

}  // namespace sorvenka
