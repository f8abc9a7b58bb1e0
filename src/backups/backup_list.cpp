#include "backups/backup_list.h"

#include <sqlite3.h>

#include <algorithm>

#include "backups/day_copy.h"
#include "backups/file_search.h"
#include "backups/program_tables.h"
#include "backups/read_budget.h"
#include "backups/verified_copies.h"
#include "common/data_folders.h"
#include "common/paths.h"
#include "db/connection.h"
#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// The daily copies' names of the folder, newest first (the stamp orders them).
bool NewestFirst(const QString& backupFolder, QStringList& names) {
    QStringList found;
    if (!FindFiles(backupFolder, QStringLiteral("exercise_*.sqlite3"), found)) return false;
    names.clear();
    for (const QString& name : SortNames(found, true))
        if (IsBackupName(name)) names << name;
    return true;
}

BackupEntry EntryOf(const QString& folder, const QString& name) {
    BackupEntry entry;
    entry.name = name;
    entry.path = JoinPath(folder, name);
    ParseCopyName(name, entry.kind, entry.taken);
    return entry;
}

// The copies of one folder that are of the kinds kept there, checked and counted.
bool AddCopies(const QString& folder, bool keptByRestore, const QDateTime& now,
               std::vector<BackupEntry>& entries) {
    QStringList names;
    if (!FindFiles(folder, QStringLiteral("*.sqlite3"), names)) return false;
    VerifiedCopies verified(folder, now);
    for (const QString& name : names) {
        CopyKind kind;
        QDateTime taken;
        if (!ParseCopyName(name, kind, taken) || (kind == CopyKind::BeforeRestore) != keptByRestore)
            continue;
        BackupEntry entry = EntryOf(folder, name);
        const IntegrityReport report = verified.check(name);
        entry.integrity = report.verdict;
        entry.problem = report.firstProblem;
        ReadSetFigures(entry.path, entry.sets, entry.lastDay);
        entries.push_back(entry);
    }
    verified.save();
    return true;
}

}  // namespace

bool ReadSetFigures(const QString& path, qint64& sets, QString& lastDay) {
    sets = -1;
    lastDay.clear();
    const Connection connection = OpenConnection(path, SQLITE_OPEN_READONLY);
    QString reason;
    if (!connection || !CheckProgramTables(connection.get(), QString(), reason)) return false;
    const ReadBudget budget(connection.get());
    PreparedStatement figures(connection.get(), "select count(*), max(ymd) from t_exer");
    if (!figures.ok() || figures.step() != SQLITE_ROW) return false;
    sets = figures.columnInt(0);
    lastDay = figures.columnText(1);
    return true;
}

bool CopyPath(const QString& baseFolder, const QString& name, QString& path) {
    CopyKind kind;
    QDateTime taken;
    if (!ParseCopyName(name, kind, taken)) return false;
    path = JoinPath(kind == CopyKind::BeforeRestore ? JoinPath(baseFolder, kDbFolderName)
                                                    : BackupFolderPath(baseFolder),
                    name);
    return true;
}

bool ListCopies(const QString& baseFolder, const QDateTime& now,
                std::vector<BackupEntry>& entries) {
    entries.clear();
    if (!AddCopies(BackupFolderPath(baseFolder), false, now, entries)) return false;
    // The db folder is read at every start: no list of it is no reason to list nothing.
    AddCopies(JoinPath(baseFolder, kDbFolderName), true, now, entries);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const BackupEntry& a, const BackupEntry& b) {
                         if (a.taken != b.taken) return a.taken > b.taken;
                         // Within one second the numbered names ("-2", "_2" ...) came later.
                         if (a.name.size() != b.name.size()) return a.name.size() > b.name.size();
                         return a.name > b.name;
                     });
    return true;
}

bool NewestSoundBackup(const QString& backupFolder, BackupEntry& entry) {
    QStringList names;
    if (!NewestFirst(backupFolder, names)) return false;
    // Checked afresh: this copy is about to replace a damaged or missing database.
    for (const QString& name : names) {
        BackupEntry candidate = EntryOf(backupFolder, name);
        const IntegrityReport report = CheckCopy(candidate.path);
        candidate.integrity = report.verdict;
        if (candidate.integrity != Integrity::Sound) continue;
        ReadSetFigures(candidate.path, candidate.sets, candidate.lastDay);
        entry = candidate;
        return true;
    }
    return false;
}

}  // namespace sorvenka
