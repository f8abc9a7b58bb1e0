#pragma once

#include <QDateTime>
#include <QString>

namespace sorvenka {

// A daily copy's name: exercise_yyyy_mmdd-hhnn_ss.sqlite3 with a real date and time.
bool IsBackupName(const QString& name);
// The moment in a backup's name; invalid for other names.
QDateTime BackupMoment(const QString& name);
// The copies the program takes, each a whole database that a restore can put back.
enum class CopyKind {
    Daily,          // db_backup: exercise_yyyy_mmdd-hhnn_ss.sqlite3
    BeforeMerge,    // db_backup: merge_exercise_yyyymmdd-hhnnss.sqlite3 ("-2" ... when taken)
    BeforeImport,   // db_backup: import_exercise_yyyymmdd-hhnnss.sqlite3 (the same)
    BeforeRestore,  // db: exercise_before_restore_yyyy_mmdd-hhnn_ss.sqlite3 ("_2" ...)
};
// Whether the name is exactly one of those names with a real date and time: its kind and moment.
bool ParseCopyName(const QString& name, CopyKind& kind, QDateTime& taken);
// "毎日" / "統合の前" / "取り込みの前" / "復元の前".
QString CopyKindText(CopyKind kind);

// "2024/05/14 09:30:15".
QString MomentText(const QDateTime& moment);

// The name under which a database file replaced by a restore is kept beside it:
// exercise_<kind>_yyyy_mmdd-hhnn_ss.sqlite3, with "_2", "_3" ... added when that is taken.
QString KeptFileName(const QString& kind, const QDateTime& now, int attempt);

// Where a copy that failed the integrity check is moved: out of the backups' names, never
// deleted.
inline const QString kSetAsideFolderName = QStringLiteral("damaged");
inline const QString kSetAsideSuffix = QStringLiteral(".damaged");

}  // namespace sorvenka
