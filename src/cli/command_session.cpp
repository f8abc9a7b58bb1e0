#include "cli/command_session.h"

#include "cli/command_guard.h"
#include "cli/command_table.h"
#include "cli/day_backup.h"
#include "common/data_folders.h"
#include "common/paths.h"
#include "startup/master_codes.h"

namespace sorvenka {

CommandSession::CommandSession(const QString& programFolder, const QString& programName,
                               QTextStream& err)
    : programFolder_(programFolder),
      programName_(programName),
      base_(ParentFolder(programFolder)),
      dbFilePath_(DatabaseFilePath(base_)),
      err_(err),
      platform_(err),
      log_(platform_, programFolder, programName),
      db_(platform_, log_) {}

int CommandSession::open(const QStringList& arguments, const QDateTime& now,
                         const CommandNeeds& needs) {
    if (!GuardCommand(guard_, programFolder_, programName_, err_)) return kCommandFailed;
    if (needs.access == CommandAccess::Lock) return kCommandOk;
    QStringList folders = {kDbFolderName, kBackupFolderName};
    if (needs.recordsFolder) folders << kRecordsFolderName;
    for (const QString& folder : folders) {
        const QString path = JoinPath(base_, folder);
        if (!FolderExists(path)) {
            err_ << QStringLiteral("次のフォルダが存在しません。") << '\n' << path << Qt::endl;
            return kCommandFailed;
        }
    }
    // Never created here: an empty file would take the place of the missing database.
    if (!FileExists(dbFilePath_)) {
        err_ << QStringLiteral("データベースのファイルがありません。") << '\n'
             << dbFilePath_ << Qt::endl;
        return kCommandFailed;
    }
    if (needs.access == CommandAccess::Write &&
        !TakeDayBackupBeforeWriting(base_, now, CommandName(arguments), err_))
        return kCommandFailed;
    return openDatabase(arguments);
}

int CommandSession::openDatabase(const QStringList& arguments) {
    log_.start();
    log_.write(arguments.mid(1).join(QLatin1Char(' ')));
    QString message;
    if (!db_.open(dbFilePath_, message) || !CheckMasterCodes(db_, message)) {
        err_ << message << Qt::endl;
        return kCommandFailed;
    }
    return kCommandOk;
}

}  // namespace sorvenka
