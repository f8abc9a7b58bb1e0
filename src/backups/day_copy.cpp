#include "backups/day_copy.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "backups/backup_names.h"
#include "backups/backup_texts.h"
#include "backups/database_copy.h"
#include "backups/file_search.h"
#include "backups/integrity.h"
#include "backups/verified_copies.h"
#include "common/paths.h"
#include "common/system_error_text.h"
#include "common/version.h"

namespace sorvenka {

QString BackupDiskFullMessage(const QString& backupFolder) {
    return QStringLiteral("データベースのバックアップを作れませんでした。") + kCrLf +
           QStringLiteral("\u3000") + backupFolder + kCrLf + SystemErrorText(ENOSPC) + kCrLf +
           kCrLf +
           QStringLiteral("このフォルダのディスクの空きを増やしてから、もう一度起動してください。");
}

QString BackupCopyFailedMessage() {
    return QStringLiteral("DBファイルを開いたままになっているとエラーになります。") + kCrLf +
           kCrLf +
           QStringLiteral(
               "DB Browser for SQLite でファイルを開いていたら，DB Browserを閉じてください。") +
           kCrLf + kCrLf + QStringLiteral("それでもダメな場合は，") + kCrLf +
           QStringLiteral("いったんWindowsからログオフ。") + kCrLf +
           QStringLiteral("再度ログオンしてからこのアプリを再起動してください。");
}

namespace {

// How far BackupDB got; a failure's message depends on it.
enum class BackupStep { Start, FileCopy, FileCopyFinished, KillOldBackup };

enum class CopyResult { Copied, Failed, DatabaseDamaged };

struct CopyOutcome {
    CopyResult result;
    QString problem;
    bool diskFull = false;
};

bool OrdinalLess(const QString& a, const QString& b) {
    const auto* x = a.utf16();
    const auto* y = b.utf16();
    return std::lexicographical_compare(x, x + a.size(), y, y + b.size());
}

// Copies the database under a hidden name that no day check or pruning sees, checks the copy
// fully (indexes against their tables) and only then renames it to its name (replacing a file
// of that name). A copy that fails never gets a backup's name.
CopyOutcome CopyAndCheck(const QString& source, const QString& target, const QString& partial) {
    int code = SQLITE_OK;
    if (CopyThroughEngine(source, partial, &code) &&
        CheckIntegrity(partial).verdict == Integrity::Sound &&
        std::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(target).constData()) == 0)
        return {CopyResult::Copied, QString()};
    RemoveWithJournals(partial);
    if ((code & 0xff) == SQLITE_FULL) return {CopyResult::Failed, QString(), true};
    // The copy is the database page by page: when it is damaged, or the engine could not read
    // the database, the database itself is asked.
    const IntegrityReport database = CheckIntegrity(source);
    if (database.verdict == Integrity::Damaged)
        return {CopyResult::DatabaseDamaged, database.firstProblem};
    return {CopyResult::Failed, QString()};
}

// Moves a backup that fails the integrity check out of the backups' names into the folder's
// "damaged" subfolder, so that it is neither counted nor restored nor lost. Only a real folder
// of that name takes it: a file or a link there (a dangling one too) is left alone, and the
// reason names it.
bool SetAside(const QString& folder, const QString& name, QString& reason) {
    const QString aside = JoinPath(folder, kSetAsideFolderName);
    const QByteArray asideName = QFile::encodeName(aside);
    struct stat info {};
    int found = ::lstat(asideName.constData(), &info);
    if (found != 0 && errno == ENOENT && ::mkdir(asideName.constData(), 0777) == 0)
        found = ::lstat(asideName.constData(), &info);
    if (found != 0) {
        reason = SetAsideFailedText(aside, JoinPath(folder, name), SystemErrorText(errno));
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        reason = SetAsideFailedText(
            aside, JoinPath(folder, name),
            QStringLiteral("この名前のものがフォルダではありません（ファイルやリンクなど）。"
                           "消すか名前を変えてください。"));
        return false;
    }
    QString target = JoinPath(aside, name + kSetAsideSuffix);
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = JoinPath(aside, name + QStringLiteral(".%1").arg(n) + kSetAsideSuffix);
    if (std::rename(QFile::encodeName(JoinPath(folder, name)).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        reason = SetAsideFailedText(aside, JoinPath(folder, name), SystemErrorText(errno));
        return false;
    }
    return true;
}

}  // namespace

QString DayCopyPartialName(const QString& dbFile) {
    return QLatin1Char('.') + dbFile + QStringLiteral(".part");
}

void RemoveCopyLeftovers(const QString& backupFolder, const QString& dbFile) {
    for (const QString& name : {DayCopyPartialName(dbFile), kMergeCopyPartialName}) {
        const QByteArray path = QFile::encodeName(JoinPath(backupFolder, name));
        QList<QByteArray> files{path};
        for (const char* suffix : kJournalSuffixes) files << path + suffix;
        for (const QByteArray& file : files) {
            // A folder of that name is no copy of ours; a link goes, never its target.
            struct stat info {};
            if (::lstat(file.constData(), &info) == 0 && !S_ISDIR(info.st_mode))
                ::unlink(file.constData());
        }
    }
}

bool CopyDatabase(const QString& source, const QString& target, const QString& partial) {
    return CopyAndCheck(source, target, partial).result == CopyResult::Copied;
}

QString DayStamp(const QDateTime& moment) {
    return moment.toString(QStringLiteral("'_'yyyy'_'MMdd"));
}

QString CopyStamp(const QDateTime& moment) {
    return moment.toString(QStringLiteral("'_'yyyy'_'MMdd'-'HHmm'_'ss'.'"));
}

bool BackupExistsForDay(const QString& folder, const QString& dayStamp, bool& ok) {
    QStringList names;
    ok = FindFiles(folder, QStringLiteral("*") + dayStamp + QStringLiteral("*"), names);
    return ok && !names.isEmpty();
}

bool ListFiles(const QString& folder, const QString& base, const QString& extension,
               QStringList& names) {
    return FindFiles(folder, base + QStringLiteral("*.") + extension, names);
}

QStringList SortNames(const QStringList& names, bool descending) {
    QStringList sorted = names;
    if (descending)
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString& a, const QString& b) { return OrdinalLess(b, a); });
    else
        std::sort(sorted.begin(), sorted.end(), OrdinalLess);
    return sorted;
}

QString UnreadableBackupFolderText(const QString& folder, int error) {
    return QStringLiteral("バックアップのフォルダを読めませんでした。") + kCrLf +
           QStringLiteral("\u3000") + folder + kCrLf + SystemErrorText(error);
}

QString SetAsideFailedText(const QString& aside, const QString& copy, const QString& reason) {
    return QStringLiteral("壊れたバックアップを次のフォルダへ移せませんでした。") + kCrLf +
           QStringLiteral("\u3000") + aside + kCrLf + reason + kCrLf +
           QStringLiteral("壊れたバックアップはそのまま残し、保存する数には入れていません。") +
           kCrLf + QStringLiteral("\u3000") + copy;
}

bool DeleteOldFiles(const QString& folder, const QString& base, const QString& extension, int keep,
                    const QDateTime& now, QString* notice) {
    QStringList names;
    if (!ListFiles(folder, base, extension, names)) {
        if (notice != nullptr) *notice = UnreadableBackupFolderText(folder, errno);
        return false;
    }
    const QStringList sorted = SortNames(names, true);
    // Nothing to delete: nothing is checked either, so later starts of a day stay fast.
    if (sorted.size() <= std::max(keep, 0)) return true;
    // The `keep` newest copies that pass the integrity check stay; a damaged one among them is
    // set aside rather than counted, so it never costs a sound copy its place. One that cannot
    // be read at all is left where it is and not counted.
    VerifiedCopies verified(folder, now);
    int sound = 0;
    for (const QString& name : sorted) {
        const QString path = JoinPath(folder, name);
        if (sound >= keep) {
            if (std::remove(QFile::encodeName(path).constData()) != 0) {
                if (notice != nullptr)
                    *notice = QStringLiteral("古いバックアップを削除できませんでした。") + kCrLf +
                              QStringLiteral("\u3000") + path + kCrLf + SystemErrorText(errno);
                return false;
            }
            continue;
        }
        switch (verified.verdict(name)) {
            case Integrity::Sound:
            case Integrity::Foreign:  // whole: kept in its turn like the others
                ++sound;
                break;
            case Integrity::Damaged: {
                // One that cannot be moved stays where it is, uncounted like an unreadable one;
                // the pruning goes on and the reason is passed on.
                QString reason;
                if (!SetAside(folder, name, reason) && notice != nullptr) {
                    if (!notice->isEmpty()) *notice += kCrLf + kCrLf;
                    *notice += reason;
                }
                break;
            }
            case Integrity::Unreadable:
                break;
        }
    }
    verified.save();
    return true;
}

bool BackupDB(const QString& baseFolder, const QDateTime& now, const QString& dbFolder,
              const QString& dbFile, const QString& backupFolder, int keep, QString& message,
              BackupReport* report) {
    message.clear();
    if (report != nullptr) *report = BackupReport{};
    const QString backupPath = JoinPath(baseFolder, backupFolder);
    BackupStep step = BackupStep::Start;
    // Only a failure while forming the names or copying is explained to the user.
    const auto fail = [&] {
        message = step == BackupStep::FileCopy ? BackupCopyFailedMessage() : QString();
        return false;
    };
    // One reading of the clock serves the day check and the copy's name, so that a start at
    // midnight cannot check one day and stamp the next.
    bool searched = true;
    if (!BackupExistsForDay(backupPath, DayStamp(now), searched)) {
        if (!searched) {
            if (report != nullptr) report->notice = UnreadableBackupFolderText(backupPath, errno);
            return fail();
        }
        step = BackupStep::FileCopy;
        const QString source = JoinPath(JoinPath(baseFolder, dbFolder), dbFile);
        QString copyName = dbFile;
        copyName.replace(QLatin1Char('.'), CopyStamp(now));
        const QString partial = JoinPath(backupPath, DayCopyPartialName(dbFile));
        const CopyOutcome copy = CopyAndCheck(source, JoinPath(backupPath, copyName), partial);
        if (copy.result == CopyResult::DatabaseDamaged) {
            // No copy and no pruning: every good copy stays for the restore.
            if (report != nullptr) *report = {true, copy.problem, QString(), false};
            message = DamagedDatabaseText(source);
            return false;
        }
        if (copy.diskFull) {
            // Not another program's doing: the words of the export for the same cause.
            message = BackupDiskFullMessage(backupPath);
            if (report != nullptr) report->diskFull = true;
            return false;
        }
        if (copy.result != CopyResult::Copied) return fail();
        VerifiedCopies verified(backupPath, now);
        verified.add(copyName);
        verified.save();
        step = BackupStep::FileCopyFinished;
    }
    step = BackupStep::KillOldBackup;
    // The pattern's extension is fixed; only the base ("exercise") comes from the file name.
    const QString base = dbFile.section(QLatin1Char('.'), 0, 0);
    QString notice;
    const bool pruned =
        DeleteOldFiles(backupPath, base, QStringLiteral("sqlite3"), keep, now, &notice);
    if (report != nullptr) report->notice = notice;
    return pruned || fail();
}

}  // namespace sorvenka
