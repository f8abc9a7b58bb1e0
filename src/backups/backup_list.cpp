#include "backups/backup_list.h"

#include <sqlite3.h>

#include "backups/backup_names.h"
#include "backups/verified_copies.h"
#include "common/paths.h"
#include "db/connection.h"
#include "db/prepared_statement.h"
#include "startup/backup.h"
#include "startup/file_search.h"

namespace sorvenka {

namespace {

// The backup names of the folder, newest first (the stamp orders them).
bool NewestFirst(const QString& backupFolder, QStringList& names) {
    QStringList found;
    if (!FindFiles(backupFolder, QStringLiteral("exercise_*.sqlite3"), found)) return false;
    names.clear();
    for (const QString& name : SortNames(found, true))
        if (IsBackupName(name)) names << name;
    return true;
}

BackupEntry EntryOf(const QString& backupFolder, const QString& name) {
    BackupEntry entry;
    entry.name = name;
    entry.path = JoinPath(backupFolder, name);
    entry.taken = BackupMoment(name);
    return entry;
}

}  // namespace

bool ReadSetFigures(const QString& path, qint64& sets, QString& lastDay) {
    sets = -1;
    lastDay.clear();
    const Connection connection = OpenConnection(path, SQLITE_OPEN_READONLY);
    if (!connection) return false;
    PreparedStatement figures(connection.get(), "select count(*), max(ymd) from t_exer");
    if (!figures.ok() || figures.step() != SQLITE_ROW) return false;
    sets = figures.columnInt(0);
    lastDay = figures.columnText(1);
    return true;
}

bool ListBackups(const QString& backupFolder, std::vector<BackupEntry>& entries) {
    entries.clear();
    QStringList names;
    if (!NewestFirst(backupFolder, names)) return false;
    VerifiedCopies verified(backupFolder);
    for (const QString& name : names) {
        BackupEntry entry = EntryOf(backupFolder, name);
        entry.integrity = verified.verdict(name);
        ReadSetFigures(entry.path, entry.sets, entry.lastDay);
        entries.push_back(entry);
    }
    verified.save();
    return true;
}

bool NewestSoundBackup(const QString& backupFolder, BackupEntry& entry) {
    QStringList names;
    if (!NewestFirst(backupFolder, names)) return false;
    // Checked afresh: this copy is about to replace a damaged or missing database.
    for (const QString& name : names) {
        BackupEntry candidate = EntryOf(backupFolder, name);
        candidate.integrity = CheckIntegrity(candidate.path).verdict;
        if (candidate.integrity != Integrity::Sound) continue;
        ReadSetFigures(candidate.path, candidate.sets, candidate.lastDay);
        entry = candidate;
        return true;
    }
    return false;
}

}  // namespace sorvenka
