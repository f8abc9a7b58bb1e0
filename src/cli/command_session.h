#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include "cli/console_platform.h"
#include "common/log.h"
#include "db/database.h"
#include "startup/instance_guard.h"

namespace sorvenka {

// How far a command opens the data folder before its own work.
enum class CommandAccess {
    Lock,   // the lock alone: the command lists, checks or replaces the files itself
    Read,   // the database open
    Write,  // the database open after the day's copy is taken
};

// What differs between the commands.
struct CommandNeeds {
    CommandAccess access = CommandAccess::Read;
    bool recordsFolder = true;  // rec must exist beside db and db_backup (Read and Write)
};

// The lock of the program folder, the log and the open database, held for a command's life.
// open() takes them in the order every command checks: the lock, the folders, the database
// file, the day's copy (when the command writes), the log, the database and its master codes.
class CommandSession {
  public:
    CommandSession(const QString& programFolder, const QString& programName, QTextStream& err);
    CommandSession(const CommandSession&) = delete;
    CommandSession& operator=(const CommandSession&) = delete;

    // kCommandOk when the folder is had as far as `needs` asks, else the status to end the
    // command with, the reason written to err.
    int open(const QStringList& arguments, const QDateTime& now, const CommandNeeds& needs);
    // The last steps of open(): the log of this run, the database and its master codes. For a
    // command that holds the lock alone and has checked the file itself.
    int openDatabase(const QStringList& arguments);

    const QString& baseFolder() const { return base_; }
    const QString& databasePath() const { return dbFilePath_; }
    Log& log() { return log_; }
    Database& database() { return db_; }

  private:
    QString programFolder_, programName_, base_, dbFilePath_;
    QTextStream& err_;
    InstanceGuard guard_;
    ConsolePlatform platform_;
    Log log_;
    Database db_;
};

}  // namespace sorvenka
