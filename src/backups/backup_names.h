#pragma once

#include <QDateTime>
#include <QString>

namespace sorvenka {

// A daily copy's name: exercise_yyyy_mmdd-hhnn_ss.sqlite3 with a real date and time.
bool IsBackupName(const QString& name);
// The moment in a backup's name; invalid for other names.
QDateTime BackupMoment(const QString& name);
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
