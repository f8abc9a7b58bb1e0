#include "startup/startup.h"

#include <QFileInfo>

#include "backups/backup_texts.h"
#include "backups/day_copy.h"
#include "backups/restore.h"
#include "backups/restore_offer.h"
#include "common/data_folders.h"
#include "common/log.h"
#include "common/paths.h"
#include "common/platform.h"
#include "db/database.h"
#include "startup/folder_check.h"
#include "startup/instance_guard.h"
#include "startup/master_codes.h"

namespace sorvenka {

namespace {

// Tested in this order at start: the first one missing ends the program.
const QString kDataFolders =
    QStringList{kDbFolderName, kBackupFolderName, kRecordsFolderName}.join(QLatin1Char(','));

bool HasDatabaseFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.size() > 0;
}

[[noreturn]] void ShowAndEnd(Platform& platform, const QString& message) {
    platform.message(message);
    platform.endProgram(kFailureExitStatus);
}

}  // namespace

void GuardSingleInstance(Platform& platform, InstanceGuard& guard, const QString& programFolder,
                         const QString& programName) {
    if (!guard.acquire(programFolder, programName)) ShowAndEnd(platform, guard.refusalMessage());
}

QString StartUp(Platform& platform, Log& log, Database& db, const QString& programFolder,
                const std::vector<RuntimeFile>& runtimeFiles) {
    // A log that cannot be written is skipped: the program goes on without it.
    log.start();
    CheckRuntimeFiles(platform, log, programFolder, runtimeFiles);
    const QString base = ParentFolder(programFolder);
    CheckFolders(platform, log, base, kDataFolders);

    QString message;
    const QString dbFilePath = DatabaseFilePath(base);
    // A restore killed mid-copy leaves its hidden copy; the lock held by this start means no
    // restore is running now.
    RemoveRestoreLeftover(base);
    // A daily copy or a merge's copy killed mid-copy leaves its hidden file the same way.
    RemoveCopyLeftovers(BackupFolderPath(base), kDbFileName);
    // The copy is taken before this process opens the database; the database is checked fully
    // with it, so only the day's first start pays for the check.
    BackupReport backup;
    if (!BackupDB(base, platform.now(), kDbFolderName, kDbFileName, kBackupFolderName, kBackupsKept,
                  message, &backup)) {
        if (!backup.databaseDamaged) {
            if (!backup.notice.isEmpty()) log.write(QStringLiteral("backup: ") + backup.notice);
            ShowAndEnd(platform, message);
        }
        log.write(QStringLiteral("database damaged: ") + backup.problem);
        if (!OfferRestoreAtStart(platform, log, base, message, kKeptDamaged))
            platform.endProgram(kFailureExitStatus);
    }
    // A damaged copy that could not be set aside: the day's copy is there, the start goes on.
    if (!backup.notice.isEmpty()) {
        log.write(QStringLiteral("backup: ") + backup.notice);
        platform.message(backup.notice);
    }
    // Opening never creates it: an empty file in its place would hide the missing database
    // from the launcher, which makes a first one only where there is none.
    if (!HasDatabaseFile(dbFilePath)) {
        log.write(QStringLiteral("database missing"));
        if (!OfferRestoreAtStart(platform, log, base, MissingDatabaseText(dbFilePath),
                                 kKeptBeforeRestore))
            platform.endProgram(kFailureExitStatus);
    }
    if (!db.open(dbFilePath, message)) ShowAndEnd(platform, message);
    if (!CheckMasterCodes(db, message)) ShowAndEnd(platform, message);
    return dbFilePath;
}

int Main(Platform& platform, const QString& programFolder, const QString& programName,
         const WindowRunner& runWindow) {
    InstanceGuard guard;  // held until the process ends
    GuardSingleInstance(platform, guard, programFolder, programName);
    Log log(platform, programFolder, programName);
    Database db(platform, log);
    const QString dbFilePath = StartUp(platform, log, db, programFolder, ShippedRuntimeFiles());
    return runWindow(db, dbFilePath);
}

}  // namespace sorvenka
