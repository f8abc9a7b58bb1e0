#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "backups/integrity.h"

namespace sorvenka {

// One daily copy as the restore shows it.
struct BackupEntry {
    QString name;
    QString path;
    QDateTime taken;
    Integrity integrity = Integrity::Unreadable;
    qint64 sets = -1;  // the sets stored in it; -1 when they cannot be read
    QString lastDay;   // the last day with sets (yyyy/mm/dd), empty when none
};

// The backups of the folder, newest first, each checked and counted. False when the folder
// cannot be read.
bool ListBackups(const QString& backupFolder, std::vector<BackupEntry>& entries);

// The newest backup that passes the integrity check, checking no more than needed. False
// when there is none.
bool NewestSoundBackup(const QString& backupFolder, BackupEntry& entry);

// Number of sets and last day with sets of a database file, read-only. False when the file
// cannot be read as a database of this program.
bool ReadSetFigures(const QString& path, qint64& sets, QString& lastDay);

}  // namespace sorvenka
