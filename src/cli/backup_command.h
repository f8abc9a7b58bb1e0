#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTextStream>

namespace sorvenka {

// The commands of the copies, as their rows in the command table say:
// --list-backups
//   one line per daily copy, newest first: name, time taken, sets, last day with sets and
//   whether it passes the integrity check, separated by TAB.
// --restore-backup NAME
//   puts that copy in the place of the database; the current file is kept beside it.
// --check-database
//   the engine's integrity check and the master code checks of the database.
// Works on the folder layout around programFolder and is refused while the program (or
// another command) runs there. Exit status 0 done (database sound), 1 failed (or damaged),
// 2 wrong arguments.
int RunBackupCommand(const QStringList& arguments, const QString& programFolder,
                     const QString& programName, const QDateTime& now, QTextStream& out,
                     QTextStream& err);

// RunBackupCommand on the running executable's folder, standard output and standard error.
int RunBackupCommandLine(const QStringList& arguments);

}  // namespace sorvenka
