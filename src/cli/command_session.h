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

// What differs between the commands that work on the database.
struct CommandNeeds {
    bool recordsFolder = true;  // rec must exist beside db and db_backup
    bool writes = false;        // the day's copy is taken before the database opens
};

// The lock of the program folder, the log and the open database, held for a command's life.
// open() takes them in the order every command checks: the lock, the folders, the database
// file, the day's copy (when the command writes), the log, the database and its master codes.
class CommandSession {
  public:
    CommandSession(const QString& programFolder, const QString& programName, QTextStream& err);
    CommandSession(const CommandSession&) = delete;
    CommandSession& operator=(const CommandSession&) = delete;

    // kCommandOk when the database is open, else the status to end the command with, the
    // reason written to err.
    int open(const QStringList& arguments, const QDateTime& now, const CommandNeeds& needs);

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
