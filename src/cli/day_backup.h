#pragma once

#include <QDateTime>
#include <QString>
#include <QTextStream>

namespace sorvenka {

// The day's copy of the database, taken by a command before it writes, as at a start of the
// window. False, with the reason written to err, when it could not be taken; the command then
// writes nothing. A database that fails the integrity check is said to be damaged in plain
// words (never as a copy that could not be made), with the folder of the good copies and the
// commands that list and restore them, under the command's name.
bool TakeDayBackupBeforeWriting(const QString& baseFolder, const QDateTime& now,
                                const QString& commandName, QTextStream& err);

}  // namespace sorvenka
