#include "backups/backup_list.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "startup/test_files.h"
#include "support/damaged_database.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

struct BackupListFixture : ::testing::Test {
    TempLayout layout;
    QString backups = layout.folder(QStringLiteral("db_backup"));

    // A copy of the database as it is now, under the name.
    void addCopy(const QString& name) {
        ASSERT_TRUE(QFile::copy(layout.dbPath(), JoinPath(backups, name)));
    }
    void store(const QString& ymd, int setNum) {
        layout.exec(QStringLiteral("insert into t_exer values ('%1','01','01',%2,'','',60,'kg',"
                                   "10,'回',null,null,'2','')")
                        .arg(ymd)
                        .arg(setNum));
    }
};

TEST_F(BackupListFixture, NewestFirstWithTheirFiguresAndVerdicts) {
    addCopy(QStringLiteral("exercise_2024_0501-0800_00.sqlite3"));  // no sets
    store(QStringLiteral("2024/05/01"), 1);
    store(QStringLiteral("2024/05/02"), 1);
    addCopy(QStringLiteral("exercise_2024_0503-0700_05.sqlite3"));
    ASSERT_TRUE(WriteBytes(JoinPath(backups, QStringLiteral("exercise_2024_0504-0700_00.sqlite3")),
                           QByteArray(4096, 'x')));
    // Names that are not daily copies are not listed.
    for (const char* other : {"exercise_old.sqlite3", "exercise_2024_1340-0700_00.sqlite3",
                              "exercise_2024_0502-0800_00.sqlite3-journal"})
        ASSERT_TRUE(WriteBytes(JoinPath(backups, QString::fromLatin1(other)), "x"));

    std::vector<BackupEntry> entries;
    ASSERT_TRUE(ListBackups(backups, entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, QStringLiteral("exercise_2024_0504-0700_00.sqlite3"));
    EXPECT_EQ(entries[0].integrity, Integrity::Damaged);
    EXPECT_EQ(entries[0].sets, -1);
    EXPECT_EQ(entries[1].name, QStringLiteral("exercise_2024_0503-0700_05.sqlite3"));
    EXPECT_EQ(entries[1].taken, QDateTime(QDate(2024, 5, 3), QTime(7, 0, 5)));
    EXPECT_EQ(entries[1].integrity, Integrity::Sound);
    EXPECT_EQ(entries[1].sets, 2);
    EXPECT_EQ(entries[1].lastDay, QStringLiteral("2024/05/02"));
    EXPECT_EQ(entries[2].sets, 0);
    EXPECT_EQ(entries[2].lastDay, QString());

    BackupEntry newest;
    ASSERT_TRUE(NewestSoundBackup(backups, newest));
    EXPECT_EQ(newest.name, QStringLiteral("exercise_2024_0503-0700_05.sqlite3"));
    EXPECT_EQ(newest.sets, 2);
}

TEST_F(BackupListFixture, NoSoundCopyIsNoNewest) {
    addCopy(QStringLiteral("exercise_2024_0501-0800_00.sqlite3"));
    ASSERT_TRUE(DamagePrimaryKeyIndex(
        JoinPath(backups, QStringLiteral("exercise_2024_0501-0800_00.sqlite3"))));
    BackupEntry newest;
    EXPECT_FALSE(NewestSoundBackup(backups, newest));
    std::vector<BackupEntry> entries;
    EXPECT_FALSE(ListBackups(layout.folder(QStringLiteral("missing")), entries));
}

}  // namespace
}  // namespace sorvenka::testing
