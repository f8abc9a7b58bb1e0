#include "cli/day_backup.h"

#include "backups/backup_list.h"
#include "backups/backup_texts.h"
#include "backups/day_copy.h"
#include "cli/console_platform.h"
#include "common/data_folders.h"

namespace sorvenka {

namespace {

void SayDamaged(const QString& baseFolder, const QString& name, QTextStream& err) {
    const QString backupFolder = BackupFolderPath(baseFolder);
    err << ConsoleText(DamagedDatabaseText(DatabaseFilePath(baseFolder))) << "\n\n";
    BackupEntry newest;
    if (NewestSoundBackup(backupFolder, newest)) {
        err << QStringLiteral("正常なバックアップは次のフォルダにあります。") << '\n'
            << kMessageIndent << backupFolder << "\n\n"
            << QStringLiteral("いちばん新しい正常なバックアップ:") << '\n'
            << kMessageIndent << newest.name << '\n'
            << kMessageIndent << BackupSummaryText(newest) << "\n\n"
            << QStringLiteral("一覧を見る:  %1 --list-backups").arg(name) << '\n'
            << QStringLiteral("復元する:    %1 --restore-backup ").arg(name) << newest.name
            << "\n\n";
    } else {
        err << QStringLiteral("復元できる正常なバックアップが次のフォルダにありません。") << '\n'
            << kMessageIndent << backupFolder << '\n'
            << QStringLiteral("一覧を見る:  %1 --list-backups").arg(name) << "\n\n";
    }
    err << QStringLiteral("何も書き込んでいません。") << Qt::endl;
}

}  // namespace

bool TakeDayBackupBeforeWriting(const QString& baseFolder, const QDateTime& now,
                                const QString& commandName, QTextStream& err) {
    QString message;
    BackupReport report;
    if (BackupDB(baseFolder, now, kDbFolderName, kDbFileName, kBackupFolderName, kBackupsKept,
                 message, &report)) {
        // The day's copy is there; what kept a damaged copy from being set aside is said.
        if (!report.notice.isEmpty()) err << ConsoleText(report.notice) << '\n' << Qt::endl;
        return true;
    }
    if (report.databaseDamaged) {
        SayDamaged(baseFolder, commandName, err);
        return false;
    }
    // The window's message of a failed copy (a full disk's says so itself), or the reason of
    // a failed search or pruning.
    if (!report.diskFull)
        err << QStringLiteral("データベースのバックアップができませんでした。") << '\n';
    err << ConsoleText(message.isEmpty() ? report.notice : message) << '\n'
        << QStringLiteral("何も書き込んでいません。") << Qt::endl;
    return false;
}

}  // namespace sorvenka
