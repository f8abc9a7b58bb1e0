#pragma once

#include <QString>

namespace sorvenka {

struct BackupEntry;

// The full-width space that sets a path or a copy's name apart on a line of its own.
inline const QString kMessageIndent = QStringLiteral("\u3000");

// The first words to a user whose database file fails the integrity check.
QString DamagedDatabaseText(const QString& dbPath);
// The offer to restore the newest good copy after the words on what is wrong with the file.
QString RestoreOfferText(const QString& problem, const QString& backupFolder,
                         const BackupEntry& newest, bool keepsCurrent);
// The window's question before a restore: the copy's name, kind and moment, and the sets and
// last day of the copy and of the current file side by side.
QString RestoreQuestionText(const BackupEntry& copy, const BackupEntry& current);
// The same when no good copy is left.
QString NoSoundBackupText(const QString& problem, const QString& backupFolder);
// After a restore: what was restored and where the replaced file is kept.
QString RestoredText(const QString& backupName, const QString& keptPath);
// The database file is missing or empty: it is never created in its place.
QString MissingDatabaseText(const QString& dbPath);
// "2024/05/14 09:30:15、120セット、最後の記録 2024/05/13" for a list or a question.
QString BackupSummaryText(const BackupEntry& entry);
// "確認済み" / "壊れています" / "形式が違います" / "読めません".
QString IntegrityText(int integrity);

}  // namespace sorvenka
