#include "masters/merge_copy.h"

#include <QFileInfo>

#include "backups/day_copy.h"
#include "common/paths.h"

namespace sorvenka {

QString MergeCopyName(const QDateTime& moment) {
    return QStringLiteral("merge_exercise_") +
           moment.toString(QStringLiteral("yyyyMMdd'-'HHmmss")) + QStringLiteral(".sqlite3");
}

QString FreeMergeCopyPath(const QString& backupFolder, const QDateTime& now) {
    const QString name = MergeCopyName(now);
    QString path = JoinPath(backupFolder, name);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = JoinPath(backupFolder, name.chopped(8) + QStringLiteral("-%1.sqlite3").arg(n));
    return path;
}

bool TakeMergeCopy(const QString& dbFilePath, const QString& backupFolder, const QDateTime& now,
                   QString& copyPath, QString& message) {
    message.clear();
    copyPath = FreeMergeCopyPath(backupFolder, now);
    const QString partial = JoinPath(backupFolder, kMergeCopyPartialName);
    if (!CopyDatabase(dbFilePath, copyPath, partial)) {
        message = QStringLiteral(
                      "統合の前のデータベースのコピーを作れなかったため、統合していません。\r\n") +
                  copyPath;
        copyPath.clear();
        return false;
    }
    return true;
}

bool MergeWithCopy(sqlite3* db, const QString& dbFilePath, const QString& backupFolder,
                   const QDateTime& now, const ExerciseKey& from, const ExerciseKey& into,
                   MergeOutcome& outcome) {
    outcome = MergeOutcome();
    // Refused merges take no copy.
    if (!PreviewMerge(db, from, into, outcome.figures, outcome.message)) return false;
    if (!TakeMergeCopy(dbFilePath, backupFolder, now, outcome.copyPath, outcome.message))
        return false;
    return MergeExercise(db, from, into, outcome.figures, outcome.message);
}

}  // namespace sorvenka
