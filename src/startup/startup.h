#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "startup/runtime_files.h"

namespace sorvenka {

class Database;
class InstanceGuard;
class Log;
class Platform;

// Shown to a second start while the program runs.
inline const QString kSecondInstanceMessage =
    QStringLiteral("このプログラムは多重起動できません。");

// Runs the main window on the open database and returns its event loop's exit status.
// The window lives in the GUI library; start-up only hands it the database.
using WindowRunner = std::function<int(Database& db, const QString& dbFilePath)>;

// The entry procedure: single-instance guard, then StartUp, then the main window and its
// event loop. Returns the exit status of the event loop; every failing step ends the program
// through the platform.
int Main(Platform& platform, const QString& programFolder, const QString& programName,
         const WindowRunner& runWindow);

// The guard: takes the lock, or shows the second-instance message and ends the program.
// Nothing is logged, so the running instance's log stays as it is.
void GuardSingleInstance(Platform& platform, InstanceGuard& guard, const QString& programFolder,
                         const QString& programName);

// The checks between the guard and the window, in their fixed order: start the log, verify
// the runtime files, check the data folders db, db_backup and rec, back up the database, open
// it and check the master codes. Ends the program at the first failure; otherwise returns the
// database file's path (DBFilePath) with the database open on it.
QString StartUp(Platform& platform, Log& log, Database& db, const QString& programFolder,
                const std::vector<RuntimeFile>& runtimeFiles);

}  // namespace sorvenka
