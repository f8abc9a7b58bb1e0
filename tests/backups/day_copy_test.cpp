#include "backups/day_copy.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QThread>

#include "backups/verified_copies.h"
#include "common/paths.h"
#include "db/first_database.h"
#include "startup/test_files.h"
#include "support/damaged_database.h"
#include "support/killed_writer.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

// Written out here rather than taken from the program, so that a changed character shows.
const QString kCopyFailed = QStringLiteral(
    "DBファイルを開いたままになっているとエラーになります。\r\n\r\n"
    "DB Browser for SQLite でファイルを開いていたら，DB Browserを閉じてください。\r\n\r\n"
    "それでもダメな場合は，\r\n"
    "いったんWindowsからログオフ。\r\n"
    "再度ログオンしてからこのアプリを再起動してください。");

const QDateTime kMorning(QDate(2024, 5, 14), QTime(9, 30, 15));
const QString kMorningCopy = QStringLiteral("exercise_2024_0514-0930_15.sqlite3");

struct BackupFixture : ::testing::Test {
    TempLayout layout;
    QString backups = layout.folder(QStringLiteral("db_backup"));
    QString message = QStringLiteral("not touched");

    BackupReport report;

    bool backup(const QDateTime& now, int keep = 20) {
        return BackupDB(layout.base(), now, QStringLiteral("db"),
                        QStringLiteral("exercise.sqlite3"), QStringLiteral("db_backup"), keep,
                        message, &report);
    }
    // A sound copy of the database under the name.
    void addFile(const QString& name) {
        ASSERT_TRUE(QFile::copy(layout.dbPath(), JoinPath(backups, name)));
    }
    // Backups of April 2024, the 1st to the count-th, at 08:00:00.
    QStringList addAprilBackups(int count) {
        QStringList names;
        for (int day = 1; day <= count; ++day) {
            names << QStringLiteral("exercise_2024_04%1-0800_00.sqlite3")
                         .arg(day, 2, 10, QLatin1Char('0'));
            addFile(names.back());
        }
        return names;
    }
    // The folder's files (hidden ones too: a partial copy must not stay), without the record
    // of checked copies.
    QStringList present() const {
        QStringList names = FileNames(backups);
        names.removeAll(VerifiedCopies::kRecordName);
        return names;
    }
};

TEST_F(BackupFixture, FirstStartOfADayCopiesAndKeepsTheNewest) {
    QStringList april = addAprilBackups(20);
    ASSERT_TRUE(backup(kMorning));
    EXPECT_TRUE(message.isEmpty());
    april.removeFirst();  // the oldest goes
    april << kMorningCopy;
    EXPECT_EQ(present(), april);
    EXPECT_EQ(Contents(JoinPath(backups, kMorningCopy)), Contents(layout.dbPath()));
    EXPECT_EQ(IntegrityCheck(JoinPath(backups, kMorningCopy)), QStringLiteral("ok"));
}

// A writer killed in the middle of a commit leaves the file consistent only together with its
// hot journal. The day's copy must hold what the database holds once it is opened: the
// interrupted change rolled back, and nothing the engine's integrity check complains of.
TEST_F(BackupFixture, ACopyAfterACrashInTheMiddleOfACommitHoldsTheRecoveredDatabase) {
    layout.exec(
        QStringLiteral("create index by_comment on t_exer (comment, ymd);"
                       "insert into t_exer values ('2024/05/13','01','01',1,'','',60,"
                       "'kg',10,'回',null,null,'2','kept')"));
    // A cache of a few pages spills changed pages into the file before the commit ends.
    ASSERT_TRUE(KillWriterMidCommit(layout.dbPath(),
                                    "update t_exer set comment = 'changed' where set_num = 1;"));
    const QString journal = layout.dbPath() + QStringLiteral("-journal");

    // The fixture shows the fault: the file alone, copied as a file, is not the database.
    const QString fileCopy = layout.folder(QStringLiteral("db")) + QStringLiteral("/raw_copy");
    ASSERT_TRUE(QFile::copy(layout.dbPath(), fileCopy));
    const QString fileCopyContents = Contents(fileCopy);
    const QString fileCopyCheck = IntegrityCheck(fileCopy);

    ASSERT_TRUE(backup(kMorning)) << message.toStdString();
    EXPECT_TRUE(message.isEmpty());
    EXPECT_FALSE(QFile::exists(journal));  // rolled back by the copy
    const QString copy = JoinPath(backups, kMorningCopy);
    EXPECT_EQ(present(), QStringList{kMorningCopy});
    EXPECT_EQ(IntegrityCheck(copy), QStringLiteral("ok"));
    const QString recovered = Contents(layout.dbPath());
    EXPECT_EQ(Contents(copy), recovered);
    EXPECT_TRUE(recovered.contains(QStringLiteral("|kept")));
    EXPECT_FALSE(recovered.contains(QStringLiteral("changed")));
    EXPECT_TRUE(fileCopyCheck != QStringLiteral("ok") || fileCopyContents != recovered)
        << "the killed writer left a file that is consistent on its own";
}

// A damaged database is never copied under a backup's name and costs no good copy its place:
// nothing is pruned, and the report says the database itself is damaged.
TEST_F(BackupFixture, ADamagedDatabaseIsNeitherCopiedNorPruned) {
    struct Case {
        const char* name;
        std::function<void()> damage;
    };
    const std::vector<Case> cases{
        // A set number changed in an index cell: only the full integrity check sees it.
        {"a damaged index", [&] { ASSERT_TRUE(DamagePrimaryKeyIndex(layout.dbPath())); }},
        // The first byte of page 2 (a b-tree page) becomes a page type that does not exist.
        {"a b-tree page of an unknown type",
         [&] {
             QByteArray broken = ReadBytes(layout.dbPath());
             const int pageSize = (uchar(broken[16]) << 8) | uchar(broken[17]);
             broken[pageSize] = '\x7f';
             ASSERT_TRUE(WriteBytes(layout.dbPath(), broken));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : present()) ASSERT_TRUE(QFile::remove(JoinPath(backups, name)));
        layout.exec(QStringLiteral("delete from t_exer"));
        const QStringList april = addAprilBackups(21);
        c.damage();
        const QByteArray damaged = ReadBytes(layout.dbPath());

        EXPECT_FALSE(backup(kMorning));
        EXPECT_TRUE(report.databaseDamaged);
        EXPECT_FALSE(report.problem.isEmpty());
        EXPECT_TRUE(message.startsWith(QStringLiteral("データベースのファイルが壊れています。")))
            << message.toStdString();
        EXPECT_EQ(present(), april);
        EXPECT_EQ(ReadBytes(layout.dbPath()), damaged);
        EXPECT_EQ(QDir(backups).entryList(QDir::Hidden | QDir::Files).size(), april.size());
        // Put back for the next case.
        ASSERT_TRUE(QFile::remove(layout.dbPath()));
        QString error;
        ASSERT_TRUE(CreateFirstDatabase(layout.dbPath(), error));
    }
}

// Day after day with a damaged database: every file with a backup's name stays one that
// passes the integrity check, and the good copies all stay.
TEST_F(BackupFixture, EveryBackupStaysSoundThroughStartsWithADamagedDatabase) {
    const QStringList april = addAprilBackups(20);
    ASSERT_TRUE(DamagePrimaryKeyIndex(layout.dbPath()));
    for (int day = 0; day < 25; ++day) {
        SCOPED_TRACE(day);
        EXPECT_FALSE(backup(QDateTime(QDate(2024, 5, 1).addDays(day), QTime(8, 0))));
        EXPECT_TRUE(report.databaseDamaged);
    }
    EXPECT_EQ(present(), april);
    for (const QString& name : present())
        EXPECT_EQ(IntegrityCheck(JoinPath(backups, name)), QStringLiteral("ok"))
            << name.toStdString();
}

// Copies damaged after they were taken (or by an older version that checked less) neither
// count among the kept nor get deleted: they move into db_backup/damaged, and the newest 20
// sound copies stay.
TEST_F(BackupFixture, DamagedCopiesAmongTheNewestAreSetAsideAndNotCounted) {
    const QStringList april = addAprilBackups(25);
    for (int day : {23, 24, 25})
        ASSERT_TRUE(DamagePrimaryKeyIndex(JoinPath(backups, april[day - 1])));
    ASSERT_TRUE(WriteBytes(JoinPath(backups, QStringLiteral("exercise_old.sqlite3")), "old"));

    ASSERT_TRUE(backup(kMorning)) << message.toStdString();
    EXPECT_EQ(present(), april.mid(3, 19) << kMorningCopy);
    for (const QString& name : present())
        EXPECT_EQ(IntegrityCheck(JoinPath(backups, name)), QStringLiteral("ok"))
            << name.toStdString();
    EXPECT_EQ(
        FileNames(JoinPath(backups, QStringLiteral("damaged"))),
        (QStringList{april[22] + QStringLiteral(".damaged"), april[23] + QStringLiteral(".damaged"),
                     april[24] + QStringLiteral(".damaged"),
                     QStringLiteral("exercise_old.sqlite3.damaged")}));
}

// Copies are checked once and remembered; one that changed since (damaged on the disk) is
// checked again at the next pruning and set aside.
TEST_F(BackupFixture, ACopyDamagedAfterItsCheckIsFoundAtTheNextPruning) {
    QStringList taken;
    for (int day = 1; day <= 20; ++day) {
        ASSERT_TRUE(backup(QDateTime(QDate(2024, 4, day), QTime(8, 0)))) << message.toStdString();
        taken << QStringLiteral("exercise_2024_04%1-0800_00.sqlite3")
                     .arg(day, 2, 10, QLatin1Char('0'));
    }
    ASSERT_EQ(present(), taken);
    ASSERT_TRUE(QFile::exists(JoinPath(backups, VerifiedCopies::kRecordName)));
    // Written later: its time changes with its content.
    QThread::msleep(20);
    ASSERT_TRUE(DamagePrimaryKeyIndex(JoinPath(backups, taken[10])));

    ASSERT_TRUE(backup(kMorning)) << message.toStdString();
    QStringList expected = taken;
    expected.removeAt(10);
    expected << kMorningCopy;
    EXPECT_EQ(present(), expected);
    EXPECT_EQ(FileNames(JoinPath(backups, QStringLiteral("damaged"))),
              QStringList{taken[10] + QStringLiteral(".damaged")});
}

// An empty file opens as an empty database; copied, it would push a good copy out.
TEST_F(BackupFixture, AnEmptyDatabaseFileIsNotCopied) {
    const QStringList april = addAprilBackups(20);
    ASSERT_TRUE(WriteBytes(layout.dbPath(), ""));
    EXPECT_FALSE(backup(kMorning));
    EXPECT_EQ(message, kCopyFailed);
    EXPECT_FALSE(report.databaseDamaged);
    EXPECT_EQ(present(), april);
}

TEST_F(BackupFixture, LaterStartsOfTheSameDayCopyNothing) {
    const QStringList april = addAprilBackups(19);
    ASSERT_TRUE(backup(kMorning));
    ASSERT_TRUE(backup(QDateTime(kMorning.date(), QTime(21, 5, 9))));
    EXPECT_EQ(present(), QStringList(april) << kMorningCopy);
}

TEST_F(BackupFixture, CopyStampUsesTheTwentyFourHourClock) {
    ASSERT_TRUE(backup(QDateTime(QDate(2023, 12, 31), QTime(21, 5, 9))));
    EXPECT_EQ(present(), QStringList{QStringLiteral("exercise_2023_1231-2105_09.sqlite3")});
}

TEST_F(BackupFixture, FewerBackupsThanKeptAreAllKept) {
    const QStringList april = addAprilBackups(5);
    ASSERT_TRUE(backup(kMorning));
    EXPECT_EQ(present(), QStringList(april) << kMorningCopy);
}

TEST_F(BackupFixture, EveryMatchingFileTakesPartInThePruning) {
    // exercise_old sorts above every stamped name ("o" after "2") and takes one of the places;
    // a plain exercise.sqlite3 sorts below them ("." before "_") and goes first.
    QStringList april = addAprilBackups(19);
    addFile(QStringLiteral("exercise_old.sqlite3"));
    addFile(QStringLiteral("exercise.sqlite3"));
    // Names outside the pattern base*.sqlite3 are never touched.
    for (const char* other : {"other_2024_0101-0000_00.sqlite3", "exercise_2024_0101.bak",
                              "exercise_2024_0101.sqlite3-journal"})
        addFile(QString::fromLatin1(other));
    ASSERT_TRUE(QDir(backups).mkdir(QStringLiteral("exercise_0000.sqlite3")));

    ASSERT_TRUE(backup(kMorning));
    april.removeFirst();
    april << kMorningCopy << QStringLiteral("exercise_old.sqlite3")
          << QStringLiteral("exercise_2024_0101.bak")
          << QStringLiteral("exercise_2024_0101.sqlite3-journal")
          << QStringLiteral("other_2024_0101-0000_00.sqlite3");
    april.sort();
    EXPECT_EQ(present(), april);
    EXPECT_TRUE(QFileInfo(JoinPath(backups, QStringLiteral("exercise_0000.sqlite3"))).isDir());
}

TEST_F(BackupFixture, AMissingDatabaseFailsOnlyWhenACopyIsDue) {
    ASSERT_TRUE(QFile::remove(layout.dbPath()));
    EXPECT_FALSE(backup(kMorning));
    EXPECT_EQ(message, kCopyFailed);
    EXPECT_TRUE(present().isEmpty());

    ASSERT_TRUE(WriteBytes(JoinPath(backups, QStringLiteral("exercise_2024_0514-0700_00.sqlite3")),
                           "earlier today"));
    EXPECT_TRUE(backup(kMorning));
    EXPECT_TRUE(message.isEmpty());
}

TEST_F(BackupFixture, AnyCopyFailureGivesTheCopyMessage) {
    // A folder in the way of the copy's name.
    ASSERT_TRUE(QDir(backups).mkdir(kMorningCopy));
    EXPECT_FALSE(backup(kMorning));
    EXPECT_EQ(message, kCopyFailed);
}

TEST_F(BackupFixture, AFolderThatCannotBeSearchedFailsWithoutMessage) {
    ASSERT_TRUE(QDir(backups).removeRecursively());
    EXPECT_FALSE(backup(kMorning));
    EXPECT_EQ(message, QString());
}

TEST_F(BackupFixture, APruningFailureFailsWithoutMessageOnEveryStart) {
    addAprilBackups(20);
    const QString oldest = JoinPath(backups, QStringLiteral("exercise_2024_0401-0800_00.sqlite3"));
    UndeletableFile undeletable(oldest);
    if (!undeletable.works()) GTEST_SKIP() << "no way to make a file undeletable here";
    EXPECT_FALSE(backup(kMorning));
    EXPECT_EQ(message, QString());
    EXPECT_TRUE(present().contains(kMorningCopy));  // the copy was taken before the pruning
    EXPECT_FALSE(backup(QDateTime(kMorning.date(), QTime(12, 0))));
    EXPECT_EQ(message, QString());
}

// A small file system of its own over a folder for the life of the object (root only).
class SmallFileSystem {
  public:
    SmallFileSystem(const QString& folder, const char* size) : folder_(QFile::encodeName(folder)) {
        const QByteArray options = QByteArray("size=") + size;
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallFileSystem() {
        if (mounted_) ::umount2(folder_.constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool works() const { return mounted_; }

  private:
    QByteArray folder_;
    bool mounted_ = false;
};

// A full disk under db_backup: the copy is refused, the database stays whole, and the
// message says the disk is full and where, not that another program holds the file.
TEST_F(BackupFixture, AFullDiskIsNamedWithTheBackupFolder) {
    // About 1 MB of sets in the database; 256 KB on the backups' disk.
    layout.exec(QStringLiteral(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 4000) "
        "insert into t_exer select '2024/05/01', '01', '01', i, '', '', 60, 'kg', 10, '回', "
        "null, null, '0', printf('%.200c', 'x') from n;"));
    const QString before = Contents(layout.dbPath());
    SmallFileSystem small(backups, "256k");
    if (!small.works()) GTEST_SKIP() << "no small file system can be mounted here";
    EXPECT_FALSE(backup(kMorning));
    EXPECT_EQ(message, QStringLiteral("データベースのバックアップを作れませんでした。\r\n\u3000") +
                           backups +
                           QStringLiteral("\r\nディスクの空きが足りません。\r\n\r\n"
                                          "このフォルダのディスクの空きを増やしてから、"
                                          "もう一度起動してください。"));
    EXPECT_FALSE(report.databaseDamaged);
    EXPECT_TRUE(report.diskFull);
    EXPECT_TRUE(present().isEmpty());  // no partial copy stays
    EXPECT_EQ(Contents(layout.dbPath()), before);
    EXPECT_EQ(IntegrityCheck(layout.dbPath()), QStringLiteral("ok"));
}

TEST(SortNames, OrdinalByUtf16CodeUnits) {
    const QStringList names{
        QStringLiteral("exercise_2024_0514-0930_15.sqlite3"),
        QStringLiteral("exercise.sqlite3"),
        QStringLiteral("exercise_old.sqlite3"),
        QStringLiteral("Exercise_zzz.sqlite3"),
        QStringLiteral("exercise_2024_0513-2359_59.sqlite3"),
        QStringLiteral("exercise_\uFF61.sqlite3"),      // halfwidth ideographic full stop
        QStringLiteral("exercise_\U0001F600.sqlite3"),  // a surrogate pair: D83D DE00
    };
    // Upper case before lower case, "." before "_", digits before letters, and the surrogate
    // D83D before FF61 although its code point is the greater one.
    const QStringList ascending{
        QStringLiteral("Exercise_zzz.sqlite3"),
        QStringLiteral("exercise.sqlite3"),
        QStringLiteral("exercise_2024_0513-2359_59.sqlite3"),
        QStringLiteral("exercise_2024_0514-0930_15.sqlite3"),
        QStringLiteral("exercise_old.sqlite3"),
        QStringLiteral("exercise_\U0001F600.sqlite3"),
        QStringLiteral("exercise_\uFF61.sqlite3"),
    };
    EXPECT_EQ(SortNames(names, false), ascending);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(SortNames(names, true), descending);
    EXPECT_TRUE(SortNames({}, true).isEmpty());
}

}  // namespace
}  // namespace sorvenka::testing
