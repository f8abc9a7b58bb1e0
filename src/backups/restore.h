#pragma once

#include <QDateTime>
#include <QString>

namespace sorvenka {

// Why the current database file is kept aside by a restore: it goes on living beside the
// restored one as exercise_<kind>_<stamp>.sqlite3.
inline const QString kKeptBeforeRestore = QStringLiteral("before_restore");
inline const QString kKeptDamaged = QStringLiteral("damaged");

// Puts the copy of that name (a daily copy or one taken before a merge or an import, in
// db_backup, or a file kept by an earlier restore, in db) in the place of db/exercise.sqlite3. The
// backup must pass CheckCopy; it is copied beside the database under a hidden name and checked
// again; a journal a crash left beside the current file is rolled back into it; the current
// file is then kept under its own name in db (keptPath; empty when there was no file), and
// only then is the copy renamed over
// it, so that at every moment a whole database stands at its place. No connection may be
// open on the database; a database that is a link to a file elsewhere is refused. False with a
// plain message when anything fails; the current file is then untouched.
bool RestoreBackup(const QString& baseFolder, const QString& backupName, const QDateTime& now,
                   const QString& keptKind, QString& keptPath, QString& message);

// The steps of a restore, in their order. A test stops a restore at one of them as a kill
// would; the program sets no hook.
enum class RestoreStep { CopyWritten, JournalSettled, CurrentKept, Renamed, Finished };
using RestoreStepHook = void (*)(RestoreStep);
void SetRestoreStepHook(RestoreStepHook hook);

// The hidden copy a restore writes beside the database before renaming it into place.
QString RestoringCopyPath(const QString& baseFolder);
// Removes the hidden copy (and its journals) that a restore killed mid-copy left behind; nothing
// else is touched. Only while no restore runs: at start under the single-instance lock.
void RemoveRestoreLeftover(const QString& baseFolder);

}  // namespace sorvenka
