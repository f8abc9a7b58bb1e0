#include "backups/backup_texts.h"

#include "backups/backup_list.h"
#include "backups/backup_names.h"
#include "common/version.h"

namespace sorvenka {

QString DamagedDatabaseText(const QString& dbPath) {
    return QStringLiteral("データベースのファイルが壊れています。") + kCrLf + kMessageIndent +
           dbPath;
}

QString BackupSummaryText(const BackupEntry& entry) {
    QString text = MomentText(entry.taken);
    if (entry.sets >= 0) text += QStringLiteral("、%1セット").arg(entry.sets);
    if (!entry.lastDay.isEmpty()) text += QStringLiteral("、最後の記録 ") + entry.lastDay;
    return text;
}

QString RestoreQuestionText(const BackupEntry& copy, const BackupEntry& current) {
    const auto figures = [](const BackupEntry& entry) {
        if (entry.sets < 0) return QStringLiteral("読めません");
        return QStringLiteral("%1セット、最後の記録 %2")
            .arg(entry.sets)
            .arg(entry.lastDay.isEmpty() ? QStringLiteral("なし") : entry.lastDay);
    };
    return QStringLiteral("次のバックアップから復元しますか？") + kCrLf + kMessageIndent +
           copy.name + kCrLf + kMessageIndent + CopyKindText(copy.kind) +
           QStringLiteral("のコピー、") + MomentText(copy.taken) + kCrLf + kCrLf +
           QStringLiteral("バックアップ: ") + figures(copy) + kCrLf +
           QStringLiteral("今のファイル: ") + figures(current) + kCrLf + kCrLf +
           QStringLiteral("今のファイルは消さずに、同じフォルダに別の名前で残します。");
}

QString RestoreOfferText(const QString& problem, const QString& backupFolder,
                         const BackupEntry& newest, bool keepsCurrent) {
    return problem + kCrLf + kCrLf +
           QStringLiteral("正常なバックアップは次のフォルダにあります。") + kCrLf + kMessageIndent +
           backupFolder + kCrLf + kCrLf +
           QStringLiteral("いちばん新しい正常なバックアップから復元しますか？") + kCrLf +
           kMessageIndent + newest.name + kCrLf + kMessageIndent + BackupSummaryText(newest) +
           kCrLf + kCrLf +
           (keepsCurrent ? QStringLiteral("今のファイルは消さずに、同じフォルダに別の名前で"
                                          "残します。") +
                               kCrLf
                         : QString()) +
           QStringLiteral("「いいえ」を選ぶと、何も変えずにプログラムを終了します。");
}

QString NoSoundBackupText(const QString& problem, const QString& backupFolder) {
    return problem + kCrLf + kCrLf +
           QStringLiteral("復元できる正常なバックアップが次のフォルダにありません。") + kCrLf +
           kMessageIndent + backupFolder + kCrLf + kCrLf +
           QStringLiteral("プログラムを終了します。");
}

QString RestoredText(const QString& backupName, const QString& keptPath) {
    QString text =
        QStringLiteral("バックアップから復元しました。") + kCrLf + kMessageIndent + backupName;
    if (!keptPath.isEmpty())
        text += kCrLf + kCrLf + QStringLiteral("それまでのファイルは次の名前で残しています。") +
                kCrLf + kMessageIndent + keptPath;
    return text;
}

QString MissingDatabaseText(const QString& dbPath) {
    return QStringLiteral("データベースのファイルがありません（または空です）。") + kCrLf +
           kMessageIndent + dbPath;
}

QString IntegrityText(int integrity) {
    switch (static_cast<Integrity>(integrity)) {
        case Integrity::Sound:
            return QStringLiteral("確認済み");
        case Integrity::Damaged:
            return QStringLiteral("壊れています");
        case Integrity::Foreign:
            return QStringLiteral("形式が違います");
        case Integrity::Unreadable:
            break;
    }
    return QStringLiteral("読めません");
}

}  // namespace sorvenka
