#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "backups/backup_names.h"
#include "backups/integrity.h"

namespace sorvenka {

// One copy as the restore shows it.
struct BackupEntry {
    QString name;
    QString path;
    CopyKind kind = CopyKind::Daily;
    QDateTime taken;
    Integrity integrity = Integrity::Unreadable;
    QString problem;   // why it is not good, when the check gave a reason
    qint64 sets = -1;  // the sets stored in it; -1 when they cannot be read
    QString lastDay;   // the last day with sets (yyyy/mm/dd), empty when none
};

// Every copy the program took, newest first, each checked and counted: the daily ones and
// those taken before a merge or an import (in db_backup) and the files kept by a restore (in
// db). False when db_backup cannot be read.
bool ListCopies(const QString& baseFolder, const QDateTime& now, std::vector<BackupEntry>& entries);

// Where a copy of that name lies (db_backup, or db for a file kept by a restore); false for any
// other name.
bool CopyPath(const QString& baseFolder, const QString& name, QString& path);

// The newest daily copy that passes CheckCopy, checking no more than needed. False when there
// is none.
bool NewestSoundBackup(const QString& backupFolder, BackupEntry& entry);

// Number of sets and last day with sets of a database file, read-only, and only when the file
// holds the program's tables as it uses them: a file from elsewhere may hide a query that
// never ends behind the record table's name. The reading is bounded. False when the file
// cannot be read as a database of this program.
bool ReadSetFigures(const QString& path, qint64& sets, QString& lastDay);

}  // namespace sorvenka
