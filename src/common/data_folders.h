#pragma once

#include <QString>

#include "common/paths.h"

namespace sorvenka {

// The data folders beside the program's folder (in the base folder) and the names in them.
inline const QString kDbFolderName = QStringLiteral("db");
inline const QString kDbFileName = QStringLiteral("exercise.sqlite3");
inline const QString kBackupFolderName = QStringLiteral("db_backup");
// Where exports, CSV files and saved charts go.
inline const QString kRecordsFolderName = QStringLiteral("rec");
inline const QString kSoundFolderName = QStringLiteral("wav");
inline const QString kHelpFolderName = QStringLiteral("htm");
// The number of daily copies kept.
inline constexpr int kBackupsKept = 20;

inline QString DatabaseFilePath(const QString& baseFolder) {
    return JoinPath(JoinPath(baseFolder, kDbFolderName), kDbFileName);
}
inline QString BackupFolderPath(const QString& baseFolder) {
    return JoinPath(baseFolder, kBackupFolderName);
}
inline QString RecordsFolderPath(const QString& baseFolder) {
    return JoinPath(baseFolder, kRecordsFolderName);
}
// The sound played when a rest ends and when an export is done.
inline QString StartSoundPath(const QString& baseFolder) {
    return JoinPath(JoinPath(baseFolder, kSoundFolderName), QStringLiteral("start.wav"));
}
inline QString HelpPagePath(const QString& baseFolder) {
    return JoinPath(JoinPath(baseFolder, kHelpFolderName), QStringLiteral("index.htm"));
}

}  // namespace sorvenka
