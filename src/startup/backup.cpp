#include "startup/backup.h"

#include <QFile>
#include <algorithm>

#include "common/paths.h"
#include "common/version.h"
#include "startup/file_search.h"

namespace sorvenka {

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

bool OrdinalLess(const QString& a, const QString& b) {
    const auto* x = a.utf16();
    const auto* y = b.utf16();
    return std::lexicographical_compare(x, x + a.size(), y, y + b.size());
}

// Copies over an existing target (QFile::copy itself refuses to).
bool CopyReplacing(const QString& source, const QString& target) {
    if (QFile::exists(target) && !QFile::remove(target)) return false;
    return QFile::copy(source, target);
}

}  // namespace

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

bool DeleteOldFiles(const QString& folder, const QString& base, const QString& extension,
                    int keep) {
    QStringList names;
    if (!ListFiles(folder, base, extension, names)) return false;
    const QStringList sorted = SortNames(names, true);
    for (qsizetype i = std::max(keep, 0); i < sorted.size(); ++i)
        if (!QFile::remove(JoinPath(folder, sorted[i]))) return false;
    return true;
}

bool BackupDB(const QString& baseFolder, const QDateTime& now, const QString& dbFolder,
              const QString& dbFile, const QString& backupFolder, int keep, QString& message) {
    message.clear();
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
        if (!searched) return fail();
        step = BackupStep::FileCopy;
        const QString source = JoinPath(JoinPath(baseFolder, dbFolder), dbFile);
        QString copyName = dbFile;
        copyName.replace(QLatin1Char('.'), CopyStamp(now));
        if (!CopyReplacing(source, JoinPath(backupPath, copyName))) return fail();
        step = BackupStep::FileCopyFinished;
    }
    step = BackupStep::KillOldBackup;
    // The pattern's extension is fixed; only the base ("exercise") comes from the file name.
    const QString base = dbFile.section(QLatin1Char('.'), 0, 0);
    if (!DeleteOldFiles(backupPath, base, QStringLiteral("sqlite3"), keep)) return fail();
    return true;
}

}  // namespace sorvenka
