#pragma once

#include <QString>

#include "common/paths.h"

namespace sorvenka {

// The data folders beside the program's folder and the names in them.
inline const QString kDbFolderName = QStringLiteral("db");
inline const QString kDbFileName = QStringLiteral("exercise.sqlite3");
inline const QString kBackupFolderName = QStringLiteral("db_backup");
// The number of daily copies kept.
inline constexpr int kBackupsKept = 20;

inline QString DatabaseFilePath(const QString& baseFolder) {
    return JoinPath(JoinPath(baseFolder, kDbFolderName), kDbFileName);
}
inline QString BackupFolderPath(const QString& baseFolder) {
    return JoinPath(baseFolder, kBackupFolderName);
}

}  // namespace sorvenka
