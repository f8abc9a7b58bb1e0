#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace sorvenka {

// The daily copy of the database and the pruning of old copies, taken at start before the
// database is opened.
//
// BackupDB: on the first start of a calendar day copies baseFolder/dbFolder/dbFile into
// baseFolder/backupFolder under the name with every "." replaced by the copy stamp
// "_yyyy_mmdd-hhnn_ss.", through the engine (a journal left by a crash is rolled back first)
// and only when the copy passes the engine's full integrity check; then keeps the `keep`
// newest names of base*.sqlite3 there that pass that check and deletes the older ones. False
// when the copy or the pruning failed: message then holds the explanation of a failed copy,
// or stays empty when the day check or the pruning failed. When the copy failed because the
// database itself is damaged, report says so (with the engine's first complaint), message
// says so in plain words, and nothing is pruned. A damaged copy that cannot be set aside does
// not fail the backup: it stays uncounted and report's notice says why, naming the paths.
// When the day check or the pruning failed (message empty), the notice says why as well.
struct BackupReport {
    bool databaseDamaged = false;
    QString problem;
    QString notice;         // plain words naming the path, for the log and a command's output
    bool diskFull = false;  // the copy did not fit: message names the disk and the folder
};
bool BackupDB(const QString& baseFolder, const QDateTime& now, const QString& dbFolder,
              const QString& dbFile, const QString& backupFolder, int keep, QString& message,
              BackupReport* report = nullptr);

// The hidden names under which the day's copy and the copy before a merge are made in the
// backup folder, before they are checked and renamed.
QString DayCopyPartialName(const QString& dbFile);
inline const QString kMergeCopyPartialName = QStringLiteral(".merge_exercise.sqlite3.part");

// Removes from the backup folder the copies in the making (and their journals) that a process
// killed mid-copy left behind. Called only while holding the program folder's lock, when no
// copy of this folder can be in the making. Files of any other name stay.
void RemoveCopyLeftovers(const QString& backupFolder, const QString& dbFile);

// The verified copy of the backup: the database copied through the engine into `partial` (a
// hidden name), checked fully (PRAGMA integrity_check), then renamed to `target`. False, with the
// partial file removed and target untouched, when any step fails. Also the copy taken before a
// merge of exercises.
bool CopyDatabase(const QString& source, const QString& target, const QString& partial);

// Whether the folder holds a file whose name contains the day stamp. False with ok = false
// when the folder cannot be searched.
bool BackupExistsForDay(const QString& folder, const QString& dayStamp, bool& ok);
// Keeps the `keep` greatest names matching base*.extension that pass CheckCopy and
// deletes the names below them; a damaged file above them is moved into the subfolder
// "damaged" (never deleted). Nothing is checked when no more than `keep` names match. False
// when the folder cannot be searched or a file cannot be deleted (the work stops there; notice
// says why). A damaged file that cannot be moved (no real folder "damaged") stays uncounted
// and the reason is added to notice. now: when the copies are checked (a check is trusted for
// a few days).
bool DeleteOldFiles(const QString& folder, const QString& base, const QString& extension, int keep,
                    const QDateTime& now, QString* notice = nullptr);
// The backup folder could not be read (the system's error).
QString UnreadableBackupFolderText(const QString& folder, int error);
// Why a damaged copy stays where it is: the folder it could not go to, the reason, the copy.
QString SetAsideFailedText(const QString& aside, const QString& copy, const QString& reason);
// The names matching base*.extension in directory order; false when the folder cannot be read.
bool ListFiles(const QString& folder, const QString& base, const QString& extension,
               QStringList& names);
// A sorted copy, ordinal by UTF-16 code units and case-sensitive.
QStringList SortNames(const QStringList& names, bool descending);

// "_yyyy_mmdd" and "_yyyy_mmdd-hhnn_ss." of a moment.
QString DayStamp(const QDateTime& moment);
QString CopyStamp(const QDateTime& moment);

// Shown when the copy fails: the usual cause is another program holding the database file
// open. A full disk is named as such, with the backup folder.
QString BackupCopyFailedMessage();
QString BackupDiskFullMessage(const QString& backupFolder);

}  // namespace sorvenka
