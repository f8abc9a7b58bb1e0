#pragma once

#include <QString>

namespace sorvenka {

// Creates a new database file with the six tables and the first master rows. Refuses to
// touch an existing file, so a user's data is never overwritten. The program itself never
// creates tables; this serves the set-up tool and the tests.
bool CreateFirstDatabase(const QString& path, QString& error);

// Runs a script of statements on a database file, creating the file if needed.
bool RunSqlScript(const QString& path, const QString& script, QString& error);

}  // namespace sorvenka
