#include "backups/import_copy.h"

#include <gtest/gtest.h>

#include <QDir>

#include "common/paths.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

const QDateTime kNow(QDate(2024, 5, 14), QTime(9, 30, 15));

TEST(ImportCopy, KeptOnlyWhenTheImportWroteAndNoCopyNoImport) {
    OpenDatabase open;
    const QString backups = open.layout.folder(QStringLiteral("db_backup"));
    QString message;
    {
        ImportCopy kept;
        ASSERT_TRUE(kept.take(open.db.rawHandle(), kNow, message)) << message.toStdString();
        EXPECT_EQ(kept.path(),
                  JoinPath(backups, QStringLiteral("import_exercise_20240514-093015.sqlite3")));
        kept.keep();
        ImportCopy dropped;
        ASSERT_TRUE(dropped.take(open.db.rawHandle(), kNow, message));
        EXPECT_EQ(dropped.path(),
                  JoinPath(backups, QStringLiteral("import_exercise_20240514-093015-2.sqlite3")));
        EXPECT_TRUE(QFile::exists(dropped.path()));
    }
    EXPECT_EQ(QDir(backups).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("import_exercise_20240514-093015.sqlite3")});

    ASSERT_TRUE(QDir(backups).removeRecursively());
    ImportCopy none;
    EXPECT_FALSE(none.take(open.db.rawHandle(), kNow, message));
    EXPECT_TRUE(message.contains(QStringLiteral("取り込んでいません"))) << message.toStdString();
}

}  // namespace
}  // namespace sorvenka::testing
