#include "cli/command_guard.h"

#include "backups/day_copy.h"
#include "cli/command_line.h"
#include "cli/console_platform.h"
#include "common/data_folders.h"
#include "common/paths.h"
#include "startup/instance_guard.h"

namespace sorvenka {

const QString kCommandWhileRunningMessage = QStringLiteral(
    "Valdrome のウィンドウが開いているか、ほかのコマンドが実行中です。"
    "ウィンドウを閉じてから（コマンドなら終わるのを待ってから）、もう一度実行してください。");

bool GuardCommand(InstanceGuard& guard, const QString& programFolder, const QString& programName,
                  QTextStream& err) {
    if (guard.acquire(programFolder, programName)) {
        // With the lock no copy of this folder is in the making: a hidden one is a leftover.
        const QString base = ParentFolder(programFolder);
        RemoveCopyLeftovers(BackupFolderPath(base), kDbFileName);
        return true;
    }
    if (guard.outcome() == InstanceGuard::Outcome::HeldElsewhere) {
        err << kCommandWhileRunningMessage << Qt::endl;
    } else {
        err << ConsoleText(guard.refusalMessage()) << Qt::endl;
    }
    return false;
}

QString CommandName(const QStringList& arguments) {
    return CommandLineName(arguments.isEmpty() ? nullptr
                                               : arguments.first().toLocal8Bit().constData());
}

}  // namespace sorvenka
