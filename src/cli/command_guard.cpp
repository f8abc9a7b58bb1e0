#include "cli/command_guard.h"

#include "backups/day_copy.h"
#include "cli/command_line.h"
#include "common/data_folders.h"
#include "common/paths.h"
#include "startup/instance_guard.h"
#include "startup/startup.h"

namespace sorvenka {

const QString kCommandWhileRunningMessage =
    kSecondInstanceMessage +
    QStringLiteral(
        "ウィンドウが開いている間はコマンドを実行できません。ウィンドウを閉じてから、"
        "もう一度実行してください（ほかのコマンドの実行中なら、終わるのを待ってください）。");

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
        // Messages of the window break lines with CR LF; a terminal takes LF.
        err << guard.refusalMessage().replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            << Qt::endl;
    }
    return false;
}

QString CommandName(const QStringList& arguments) {
    return CommandLineName(arguments.isEmpty() ? nullptr
                                               : arguments.first().toLocal8Bit().constData());
}

}  // namespace sorvenka
