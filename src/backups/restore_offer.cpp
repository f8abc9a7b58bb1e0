#include "backups/restore_offer.h"

#include <QFileInfo>

#include "backups/backup_list.h"
#include "backups/backup_texts.h"
#include "backups/restore.h"
#include "common/data_folders.h"
#include "common/log.h"
#include "common/platform.h"

namespace sorvenka {

bool OfferRestoreAtStart(Platform& platform, Log& log, const QString& baseFolder,
                         const QString& problem, const QString& keptKind) {
    const QString backupFolder = BackupFolderPath(baseFolder);
    BackupEntry newest;
    if (!NewestSoundBackup(backupFolder, newest)) {
        log.write(QStringLiteral("no sound backup to restore"));
        platform.message(NoSoundBackupText(problem, backupFolder));
        return false;
    }
    const bool keepsCurrent = QFileInfo::exists(DatabaseFilePath(baseFolder));
    if (platform.message(RestoreOfferText(problem, backupFolder, newest, keepsCurrent),
                         Buttons::YesNo) != Answer::Yes)
        return false;
    QString kept, message;
    if (!RestoreBackup(baseFolder, newest.name, platform.now(), keptKind, kept, message)) {
        log.write(QStringLiteral("restore failed: ") + message);
        platform.message(message);
        return false;
    }
    log.write(QStringLiteral("restored ") + newest.name + QStringLiteral(", kept ") + kept);
    platform.message(RestoredText(newest.name, kept));
    return true;
}

}  // namespace sorvenka
