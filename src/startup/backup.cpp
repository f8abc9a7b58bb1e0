#include "startup/backup.h"

#include <sqlite3.h>

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <memory>

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

struct ConnectionCloser {
    void operator()(sqlite3* handle) const { sqlite3_close(handle); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

// How long the copy waits for another program's write lock on the database.
constexpr int kBusyTimeoutMilliseconds = 3000;

Connection OpenFile(const QString& path, int flags) {
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    Connection connection(raw);
    if (code != SQLITE_OK) return nullptr;
    sqlite3_busy_timeout(raw, kBusyTimeoutMilliseconds);
    return connection;
}

// The engine's own check of the copy's structure: its single answer is "ok".
bool PassesQuickCheck(const QString& path) {
    const Connection copy = OpenFile(path, SQLITE_OPEN_READONLY);
    if (!copy) return false;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(copy.get(), "PRAGMA quick_check", -1, &raw, nullptr) != SQLITE_OK)
        return false;
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, &sqlite3_finalize);
    QStringList answers;
    int code = SQLITE_ROW;
    while ((code = sqlite3_step(raw)) == SQLITE_ROW)
        answers << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)));
    return code == SQLITE_DONE && answers == QStringList{QStringLiteral("ok")};
}

}  // namespace

// Copies the database through the engine rather than as a file: a journal left by a crash
// in the middle of a commit is rolled back first, so the copy holds exactly what the file
// holds once it is opened. The copy is written under a hidden name that no day check or
// pruning sees, checked, and only then renamed to its name (replacing a file of that name).
bool CopyDatabase(const QString& source, const QString& target, const QString& partial) {
    const QByteArray partialName = QFile::encodeName(partial);
    const auto removePartial = [&] {
        std::remove(partialName.constData());
        std::remove((partialName + "-journal").constData());
    };
    removePartial();
    bool copied = false;
    {
        // Read and write: rolling a hot journal back writes the database file. Never created.
        const Connection from = OpenFile(source, SQLITE_OPEN_READWRITE);
        const Connection to = OpenFile(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (from && to) {
            sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
            if (backup != nullptr) {
                const int stepped = sqlite3_backup_step(backup, -1);
                copied = sqlite3_backup_finish(backup) == SQLITE_OK && stepped == SQLITE_DONE;
            }
        }
    }
    if (!copied || !PassesQuickCheck(partial) ||
        std::rename(partialName.constData(), QFile::encodeName(target).constData()) != 0) {
        removePartial();
        return false;
    }
    return true;
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
        const QString partial =
            JoinPath(backupPath, QLatin1Char('.') + dbFile + QStringLiteral(".part"));
        if (!CopyDatabase(source, JoinPath(backupPath, copyName), partial)) return fail();
        step = BackupStep::FileCopyFinished;
    }
    step = BackupStep::KillOldBackup;
    // The pattern's extension is fixed; only the base ("exercise") comes from the file name.
    const QString base = dbFile.section(QLatin1Char('.'), 0, 0);
    if (!DeleteOldFiles(backupPath, base, QStringLiteral("sqlite3"), keep)) return fail();
    return true;
}

}  // namespace sorvenka
