#include "backups/import_copy.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include "backups/day_copy.h"
#include "common/data_folders.h"
#include "common/paths.h"

namespace sorvenka {

QString ImportCopyName(const QDateTime& moment) {
    return QStringLiteral("import_exercise_") +
           moment.toString(QStringLiteral("yyyyMMdd'-'HHmmss")) + QStringLiteral(".sqlite3");
}

ImportCopy::~ImportCopy() {
    if (!path_.isEmpty() && !kept_) QFile::remove(path_);
}

bool ImportCopy::take(sqlite3* db, const QDateTime& now, QString& message) {
    const char* file = db != nullptr ? sqlite3_db_filename(db, "main") : nullptr;
    const QString dbPath = file != nullptr ? QString::fromUtf8(file) : QString();
    // db/exercise.sqlite3 beside db_backup.
    const QString backupFolder = BackupFolderPath(ParentFolder(QFileInfo(dbPath).absolutePath()));
    const QString name = ImportCopyName(now);
    QString target = JoinPath(backupFolder, name);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = JoinPath(backupFolder, name.chopped(8) + QStringLiteral("-%1.sqlite3").arg(n));
    const QString partial = JoinPath(backupFolder, QStringLiteral(".import_exercise.sqlite3.part"));
    if (dbPath.isEmpty() || !CopyDatabase(dbPath, target, partial)) {
        message = QStringLiteral(
                      "取り込みの前のデータベースのコピーを作れなかったため、取り込んでいません。"
                      "\r\n") +
                  target;
        return false;
    }
    path_ = target;
    return true;
}

}  // namespace sorvenka
