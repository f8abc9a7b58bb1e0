#pragma once

#include <QDateTime>
#include <QString>

namespace sorvenka {

// Why the current database file is kept aside by a restore: it goes on living beside the
// restored one as exercise_<kind>_<stamp>.sqlite3.
inline const QString kKeptBeforeRestore = QStringLiteral("before_restore");
inline const QString kKeptDamaged = QStringLiteral("damaged");

// Puts the backup of that name (in db_backup) in the place of db/exercise.sqlite3. The backup
// must pass the integrity check; it is copied beside the database under a hidden name and
// checked again; the current file (with its journal, if any) is first kept under its own
// name in db (keptPath; empty when there was no file), and only then is the copy renamed over
// it, so that at every moment a whole database stands at its place. No connection may be
// open on the database. False with a plain message when anything fails; the current file is
// then untouched.
bool RestoreBackup(const QString& baseFolder, const QString& backupName, const QDateTime& now,
                   const QString& keptKind, QString& keptPath, QString& message);

// The hidden copy a restore writes beside the database before renaming it into place.
QString RestoringCopyPath(const QString& baseFolder);
// Removes the hidden copy (and its journals) that a restore killed mid-copy left behind; nothing
// else is touched. Only while no restore runs: at start under the single-instance lock.
void RemoveRestoreLeftover(const QString& baseFolder);

}  // namespace sorvenka
