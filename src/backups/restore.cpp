#include "backups/restore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

#include "backups/backup_list.h"
#include "backups/backup_names.h"
#include "backups/database_copy.h"
#include "backups/integrity.h"
#include "common/data_folders.h"

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

RestoreStepHook& StepHook() {
    static RestoreStepHook hook = nullptr;
    return hook;
}

void Reached(RestoreStep step) {
    if (StepHook() != nullptr) StepHook()(step);
}

bool IsLink(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

void SyncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void SetRestoreStepHook(RestoreStepHook hook) {
    StepHook() = hook;
}

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
    QString backupPath;
    if (!CopyPath(baseFolder, backupName, backupPath)) {
        message = QStringLiteral("バックアップの名前ではありません: ") + backupName;
        return false;
    }
    if (!QFileInfo(backupPath).isFile()) {
        message = QStringLiteral("そのバックアップはありません。\r\n\u3000") + backupPath;
        return false;
    }
    const IntegrityReport verdict = CheckCopy(backupPath);
    if (verdict.verdict != Integrity::Sound) {
        message =
            verdict.verdict == Integrity::Damaged
                ? QStringLiteral("このバックアップは壊れているため、復元できません。")
            : verdict.verdict == Integrity::Foreign
                ? verdict.firstProblem +
                      QStringLiteral("\r\nこのプログラムのデータではないため、復元できません。")
                : QStringLiteral("このバックアップを読めないため、復元できません。");
        message += QStringLiteral("\r\n\u3000") + backupPath;
        return false;
    }

    const QString dbPath = DatabaseFilePath(baseFolder);
    const QString dbFolder = QFileInfo(dbPath).absolutePath();
    // Renamed over, a link would become a plain file and the file it points to (kept in step
    // elsewhere) would silently stay as it was.
    if (IsLink(dbPath)) {
        message = QStringLiteral(
                      "データベースのファイルが別の場所へのリンクのため、復元していません。"
                      "リンクもその先のファイルも、そのままです。\r\n\u3000") +
                  dbPath + QStringLiteral(" → ") + QFileInfo(dbPath).symLinkTarget();
        return false;
    }
    // Hidden, so that nothing takes it for the database or a backup while it is written.
    const QString partial = RestoringCopyPath(baseFolder);
    if (!CopyThroughEngine(backupPath, partial) || CheckCopy(partial).verdict != Integrity::Sound) {
        RemoveWithJournals(partial);
        message =
            QStringLiteral(
                "バックアップを書き写せなかったため、復元していません。\r\n"
                "ディスクの空きと、次のフォルダに書き込めるかを確かめてください。\r\n\u3000") +
            dbFolder;
        return false;
    }
    Reached(RestoreStep::CopyWritten);
    // A commit cut short leaves a journal that belongs to the current file: rolled back into it
    // now, so that the file is whole by itself and no journal is left to be played into the
    // restored one.
    if (!SettleJournal(dbPath)) {
        RemoveWithJournals(partial);
        message = QStringLiteral(
                      "今のデータベースの書きかけの変更を戻せなかったため、復元していません。\r\n"
                      "ほかのプログラムがファイルを開いていないか、書き込めるかを確かめてください。"
                      "\r\n\u3000") +
                  dbPath;
        return false;
    }
    Reached(RestoreStep::JournalSettled);
    if (QFileInfo::exists(dbPath) && !KeepCurrentFile(dbPath, keptKind, now, keptPath)) {
        RemoveWithJournals(partial);
        message =
            QStringLiteral(
                "今のデータベースのファイルを残せなかったため、復元していません。\r\n"
                "ディスクの空きと、次のフォルダに書き込めるかを確かめてください。\r\n\u3000") +
            dbFolder;
        return false;
    }
    Reached(RestoreStep::CurrentKept);
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
    Reached(RestoreStep::Renamed);
    // Nothing of the replaced file's journal is left after SettleJournal; whatever another
    // program may have put here since would be played into the restored file.
    for (const char* suffix : kJournalSuffixes) std::remove((db + suffix).constData());
    SyncFolder(dbFolder);
    Reached(RestoreStep::Finished);
    return true;
}

}  // namespace sorvenka
