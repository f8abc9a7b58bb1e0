#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace sorvenka {

class InstanceGuard;

// What every command says when the window (or another command) of the same folder runs: one
// line, so that scripts can look for it.
extern const QString kCommandWhileRunningMessage;

// Takes the lock of the program folder for a command. False, with the reason written to err
// (the window to close first, or the lock file that cannot be made), when it is not had. With
// the lock, the copies in the making that a killed process left in db_backup are removed.
bool GuardCommand(InstanceGuard& guard, const QString& programFolder, const QString& programName,
                  QTextStream& err);

// The name the commands' usage lines and hints show: the launcher's, as the help does, else
// the one the program was started under (arguments' first word).
QString CommandName(const QStringList& arguments);

}  // namespace sorvenka
