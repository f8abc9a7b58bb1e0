#include "backups/restore.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

#include "backups/backup_names.h"
#include "backups/data_layout.h"
#include "backups/database_copy.h"
#include "backups/integrity.h"

namespace sorvenka {

namespace {

// More attempts than restores in one second can ask for.
constexpr int kKeptNameAttempts = 100;

bool Exists(const QByteArray& path) {
    return ::access(path.constData(), F_OK) == 0;
}

// A second name for the file (a hard link: no byte is copied and nothing can be half-written),
// or a copy where the file system has no links. False when target exists.
bool KeepAs(const QByteArray& source, const QByteArray& target) {
    if (::link(source.constData(), target.constData()) == 0) return true;
    if (errno == EEXIST) return false;
    return QFile::copy(QFile::decodeName(source), QFile::decodeName(target));
}

// Keeps the database file, with any journal beside it (which belongs to it), under a free
// kept name in the same folder.
bool KeepCurrentFile(const QString& dbPath, const QString& kind, const QDateTime& now,
                     QString& keptPath) {
    const QByteArray db = QFile::encodeName(dbPath);
    const QString folder = QFileInfo(dbPath).absolutePath();
    for (int attempt = 1; attempt <= kKeptNameAttempts; ++attempt) {
        const QString candidate = JoinPath(folder, KeptFileName(kind, now, attempt));
        const QByteArray kept = QFile::encodeName(candidate);
        bool taken = Exists(kept);
        for (const char* suffix : kJournalSuffixes) taken = taken || Exists(kept + suffix);
        if (taken || !KeepAs(db, kept)) continue;
        for (const char* suffix : kJournalSuffixes) {
            if (!Exists(db + suffix)) continue;
            if (!KeepAs(db + suffix, kept + suffix)) {
                RemoveWithJournals(candidate);
                return false;
            }
        }
        keptPath = candidate;
        return true;
    }
    return false;
}

void SyncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

QString RestoringCopyPath(const QString& baseFolder) {
    return JoinPath(JoinPath(baseFolder, kDbFolderName),
                    QStringLiteral(".exercise.sqlite3.restoring"));
}

void RemoveRestoreLeftover(const QString& baseFolder) {
    RemoveWithJournals(RestoringCopyPath(baseFolder));
}

bool RestoreBackup(const QString& baseFolder, const QString& backupName, const QDateTime& now,
                   const QString& keptKind, QString& keptPath, QString& message) {
    keptPath.clear();
    message.clear();
    // A copy left by a restore that was killed is of no use to this one.
    RemoveRestoreLeftover(baseFolder);
    if (!IsBackupName(backupName)) {
        message = QStringLiteral("バックアップの名前ではありません: ") + backupName;
        return false;
    }
    const QString backupPath = JoinPath(BackupFolderPath(baseFolder), backupName);
    if (!QFileInfo(backupPath).isFile()) {
        message = QStringLiteral("そのバックアップはありません。\r\n\u3000") + backupPath;
        return false;
    }
    const Integrity verdict = CheckIntegrity(backupPath).verdict;
    if (verdict != Integrity::Sound) {
        message = verdict == Integrity::Damaged
                      ? QStringLiteral("このバックアップは壊れているため、復元できません。")
                      : QStringLiteral("このバックアップを読めないため、復元できません。");
        message += QStringLiteral("\r\n\u3000") + backupPath;
        return false;
    }

    const QString dbPath = DatabaseFilePath(baseFolder);
    const QString dbFolder = QFileInfo(dbPath).absolutePath();
    // Hidden, so that nothing takes it for the database or a backup while it is written.
    const QString partial = RestoringCopyPath(baseFolder);
    if (!CopyThroughEngine(backupPath, partial) ||
        CheckIntegrity(partial).verdict != Integrity::Sound) {
        RemoveWithJournals(partial);
        message =
            QStringLiteral(
                "バックアップを書き写せなかったため、復元していません。\r\n"
                "ディスクの空きと、次のフォルダに書き込めるかを確かめてください。\r\n\u3000") +
            dbFolder;
        return false;
    }
    if (QFileInfo::exists(dbPath) && !KeepCurrentFile(dbPath, keptKind, now, keptPath)) {
        RemoveWithJournals(partial);
        message =
            QStringLiteral(
                "今のデータベースのファイルを残せなかったため、復元していません。\r\n"
                "ディスクの空きと、次のフォルダに書き込めるかを確かめてください。\r\n\u3000") +
            dbFolder;
        return false;
    }
    const QByteArray db = QFile::encodeName(dbPath);
    if (std::rename(QFile::encodeName(partial).constData(), db.constData()) != 0) {
        RemoveWithJournals(partial);
        // The kept name is a second name of the untouched file: nothing is lost by leaving it.
        message = QStringLiteral(
                      "データベースのファイルを置き換えられなかったため、"
                      "復元していません。\r\n\u3000") +
                  dbPath;
        return false;
    }
    // A journal beside the database belonged to the file that was replaced (it is kept with
    // it); left here it would be played into the restored file.
    for (const char* suffix : kJournalSuffixes) std::remove((db + suffix).constData());
    SyncFolder(dbFolder);
    return true;
}

}  // namespace sorvenka
