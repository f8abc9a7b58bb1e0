#include "backups/backup_list.h"

#include <gtest/gtest.h>

#include "backups/backup_texts.h"
#include "common/data_folders.h"
#include "common/paths.h"
#include "startup/test_files.h"
#include "support/damaged_database.h"
#include "support/hostile_copies.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

const QDateTime kNow(QDate(2024, 5, 14), QTime(9, 30, 15));

struct BackupListFixture : ::testing::Test {
    TempLayout layout;
    QString backups = layout.folder(QStringLiteral("db_backup"));

    // A copy of the database as it is now, under the name.
    void addCopy(const QString& name, const QString& folder = QString()) {
        ASSERT_TRUE(
            QFile::copy(layout.dbPath(), JoinPath(folder.isEmpty() ? backups : folder, name)));
    }
    void store(const QString& ymd, int setNum) {
        layout.exec(QStringLiteral("insert into t_exer values ('%1','01','01',%2,'','',60,'kg',"
                                   "10,'回',null,null,'2','')")
                        .arg(ymd)
                        .arg(setNum));
    }
    std::vector<BackupEntry> list() {
        std::vector<BackupEntry> entries;
        EXPECT_TRUE(ListCopies(layout.base(), kNow, entries));
        return entries;
    }
};

TEST_F(BackupListFixture, NewestFirstWithTheirFiguresAndVerdicts) {
    addCopy(QStringLiteral("exercise_2024_0501-0800_00.sqlite3"));  // no sets
    store(QStringLiteral("2024/05/01"), 1);
    store(QStringLiteral("2024/05/02"), 1);
    addCopy(QStringLiteral("exercise_2024_0503-0700_05.sqlite3"));
    ASSERT_TRUE(WriteBytes(JoinPath(backups, QStringLiteral("exercise_2024_0504-0700_00.sqlite3")),
                           QByteArray(4096, 'x')));
    // Names that are not copies of the program are not listed.
    for (const char* other :
         {"exercise_old.sqlite3", "exercise_2024_1340-0700_00.sqlite3",
          "exercise_2024_0502-0800_00.sqlite3-journal", "merge_exercise_2024_0502-0800_00.sqlite3"})
        ASSERT_TRUE(WriteBytes(JoinPath(backups, QString::fromLatin1(other)), "x"));

    const std::vector<BackupEntry> entries = list();
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

// Undoing a merge, an import or a restore is a restore of the copy taken before it.
TEST_F(BackupListFixture, EveryKindOfCopyIsListedWithItsKind) {
    addCopy(QStringLiteral("exercise_2024_0510-0800_00.sqlite3"));
    store(QStringLiteral("2024/05/10"), 1);
    addCopy(QStringLiteral("merge_exercise_20240511-120000.sqlite3"));
    addCopy(QStringLiteral("merge_exercise_20240511-120000-2.sqlite3"));
    store(QStringLiteral("2024/05/11"), 1);
    addCopy(QStringLiteral("import_exercise_20240512-090000.sqlite3"));
    store(QStringLiteral("2024/05/12"), 1);
    addCopy(QStringLiteral("exercise_before_restore_2024_0513-1000_00.sqlite3"),
            layout.folder(QStringLiteral("db")));
    addCopy(QStringLiteral("exercise_damaged_2024_0513-1100_00.sqlite3"),
            layout.folder(QStringLiteral("db")));

    const std::vector<BackupEntry> entries = list();
    QStringList seen;
    for (const BackupEntry& entry : entries)
        seen << entry.name + QLatin1Char(' ') + CopyKindText(entry.kind) +
                    QStringLiteral(" %1 ").arg(entry.sets) + IntegrityText(int(entry.integrity));
    EXPECT_EQ(
        seen.join(QLatin1Char('\n')).toStdString(),
        (QStringList{
             QStringLiteral("exercise_before_restore_2024_0513-1000_00.sqlite3 復元の前 3 "
                            "確認済み"),
             QStringLiteral("import_exercise_20240512-090000.sqlite3 取り込みの前 2 確認済み"),
             QStringLiteral("merge_exercise_20240511-120000-2.sqlite3 統合の前 1 確認済み"),
             QStringLiteral("merge_exercise_20240511-120000.sqlite3 統合の前 1 確認済み"),
             QStringLiteral("exercise_2024_0510-0800_00.sqlite3 毎日 0 確認済み"),
         })
            .join(QLatin1Char('\n'))
            .toStdString());
    QString path;
    ASSERT_TRUE(CopyPath(layout.base(), entries[0].name, path));
    EXPECT_EQ(path, JoinPath(layout.folder(QStringLiteral("db")), entries[0].name));
    EXPECT_FALSE(CopyPath(layout.base(), QStringLiteral("exercise.sqlite3"), path));
}

// Whole files that are no database of the program: never called good, never counted (the
// endless view would hold the listing for ever), never proposed.
TEST_F(BackupListFixture, CopiesOfOtherTablesAreNotGoodAndNotCounted) {
    for (const HostileCopy& hostile : HostileCopies()) {
        SCOPED_TRACE(hostile.name);
        const QString name = QStringLiteral("exercise_2024_0512-0800_00.sqlite3");
        ASSERT_TRUE(MakeHostileCopy(JoinPath(backups, name), hostile));
        ASSERT_EQ(IntegrityCheck(JoinPath(backups, name)), QStringLiteral("ok"));
        const std::vector<BackupEntry> entries = list();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].integrity, Integrity::Foreign);
        EXPECT_TRUE(entries[0].problem.contains(QString::fromUtf8(hostile.reason)))
            << entries[0].problem.toStdString();
        EXPECT_EQ(entries[0].sets, -1);
        BackupEntry newest;
        EXPECT_FALSE(NewestSoundBackup(backups, newest));
        qint64 sets = 0;
        QString lastDay;
        EXPECT_FALSE(ReadSetFigures(JoinPath(backups, name), sets, lastDay));
    }
}

TEST_F(BackupListFixture, NoSoundCopyIsNoNewest) {
    addCopy(QStringLiteral("exercise_2024_0501-0800_00.sqlite3"));
    ASSERT_TRUE(DamagePrimaryKeyIndex(
        JoinPath(backups, QStringLiteral("exercise_2024_0501-0800_00.sqlite3"))));
    BackupEntry newest;
    EXPECT_FALSE(NewestSoundBackup(backups, newest));
    std::vector<BackupEntry> entries;
    EXPECT_FALSE(ListCopies(layout.folder(QStringLiteral("missing")), kNow, entries));
}

}  // namespace
}  // namespace sorvenka::testing
