#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include "common/log.h"
#include "common/paths.h"
#include "db/database.h"
#include "startup/backup.h"
#include "startup/instance_guard.h"
#include "startup/startup.h"
#include "startup/test_files.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

const QString kHeader = QStringLiteral("Valdrome.exe\u3000Ver2.0.3");
const QString kHeaderDay = QStringLiteral("2024/05/14(火)");
const QString kTodaysCopy = QStringLiteral("exercise_2024_0514-0930_15.sqlite3");

// The start-up checks in this process: a layout, a scripted seam (clock 2024/05/14 09:30:15),
// the log in the program folder and a database that StartUp opens.
struct StartUpFixture : ::testing::Test {
    TempLayout layout;
    ScriptedPlatform platform;
    Log log{platform, layout.programFolder(), QStringLiteral("Valdrome")};
    Database db{platform, log};
    std::vector<RuntimeFile> runtimeFiles;

    QString logPath() const { return log.path(); }
    QStringList logLines() const { return ReadCrLfLines(logPath()); }
    QStringList backups() const { return FileNames(layout.folder(QStringLiteral("db_backup"))); }
    EndedRun startExpectingEnd() {
        return RunExpectingEnd(
            platform, [&] { StartUp(platform, log, db, layout.programFolder(), runtimeFiles); });
    }
    // The run ended non-zero after exactly this one message box of start-up.
    static void ExpectEndedAfter(const EndedRun& run, const QString& text) {
        EXPECT_TRUE(run.ended);
        EXPECT_NE(run.status, 0);
        ASSERT_EQ(run.shown.size(), 1u);
        EXPECT_EQ(run.shown[0].text, text);
        EXPECT_EQ(run.shown[0].caption, QStringLiteral("Valdrome"));
        EXPECT_EQ(run.shown[0].buttons, Buttons::Ok);
    }
    void addTodaysBackup() {
        ASSERT_TRUE(WriteBytes(JoinPath(layout.folder(QStringLiteral("db_backup")),
                                        QStringLiteral("exercise_2024_0514-0700_00.sqlite3")),
                               "earlier today"));
    }
};

TEST_F(StartUpFixture, ASoundLayoutEndsWithTheDatabaseOpen) {
    const QString dbFilePath = StartUp(platform, log, db, layout.programFolder(), runtimeFiles);
    EXPECT_EQ(dbFilePath, layout.base() + QStringLiteral("/db/exercise.sqlite3"));
    EXPECT_TRUE(db.isOpen());
    EXPECT_TRUE(platform.shown.empty());
    EXPECT_EQ(logLines(),
              (QStringList{kHeader, kHeaderDay, QStringLiteral("09:30:15 DBOpenDB"), QString()}));
    EXPECT_EQ(backups(), QStringList{kTodaysCopy});
    ResultTable table;
    QString message;
    EXPECT_TRUE(db.query(QStringLiteral("select count(*) as n from m_grp"), table, message));
}

TEST_F(StartUpFixture, OnlyTheFirstMissingFolderIsLoggedAndNothingShown) {
    const struct {
        QStringList missing;
        QString reported;
    } cases[] = {
        {{"rec"}, "rec"},
        {{"db_backup", "rec"}, "db_backup"},
        {{"db", "rec"}, "db"},
        {{"db", "db_backup", "rec"}, "db"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reported.toStdString());
        TempLayout fresh;
        for (const QString& name : c.missing)
            ASSERT_TRUE(QDir(fresh.folder(name)).removeRecursively());
        Log freshLog(platform, fresh.programFolder(), QStringLiteral("Valdrome"));
        Database freshDb(platform, freshLog);
        const EndedRun run = RunExpectingEnd(
            platform, [&] { StartUp(platform, freshLog, freshDb, fresh.programFolder(), {}); });
        EXPECT_TRUE(run.ended);
        EXPECT_NE(run.status, 0);
        EXPECT_TRUE(run.shown.empty());
        // Three entries: the header lines and the message, whose further lines carry no stamp.
        EXPECT_EQ(ReadCrLfLines(freshLog.path()),
                  (QStringList{
                      kHeader, kHeaderDay, QStringLiteral("09:30:15 次のフォルダが存在しません。"),
                      QStringLiteral("次のフォルダを作成してください。"), QString(),
                      QStringLiteral("\u3000") + fresh.base() + QLatin1Char('/') + c.reported,
                      QString()}));
        // The folders are checked before the backup is taken.
        if (!c.missing.contains(QStringLiteral("db_backup"))) {
            EXPECT_TRUE(FileNames(fresh.folder(QStringLiteral("db_backup"))).isEmpty());
        }
    }
}

TEST_F(StartUpFixture, RuntimeFilesAreVerifiedBeforeTheFolders) {
    ASSERT_TRUE(QDir(layout.folder(QStringLiteral("rec"))).removeRecursively());
    runtimeFiles = {{QStringLiteral("libsqlite3.so.0"), QStringLiteral("libsqlite3.so.0"),
                     QStringLiteral("0003-0126-0376")}};
    const EndedRun run = startExpectingEnd();
    ExpectEndedAfter(run, QStringLiteral("libsqlite3.so.0が見つかりません"));
    EXPECT_EQ(logLines(),
              (QStringList{kHeader, kHeaderDay,
                           QStringLiteral("09:30:15 libsqlite3.so.0が見つかりません"), QString()}));
}

TEST_F(StartUpFixture, AFailedCopyShowsWhyAndNeverOpensTheDatabase) {
    ASSERT_TRUE(QFile::remove(layout.dbPath()));
    const EndedRun run = startExpectingEnd();
    ExpectEndedAfter(run, BackupCopyFailedMessage());
    EXPECT_EQ(logLines(), (QStringList{kHeader, kHeaderDay, QString()}));
    EXPECT_FALSE(QFile::exists(layout.dbPath()));
}

TEST_F(StartUpFixture, AFailedPruningShowsAnEmptyMessage) {
    addTodaysBackup();
    for (int day = 1; day <= 20; ++day)
        ASSERT_TRUE(WriteBytes(JoinPath(layout.folder(QStringLiteral("db_backup")),
                                        QStringLiteral("exercise_2024_04%1-0800_00.sqlite3")
                                            .arg(day, 2, 10, QLatin1Char('0'))),
                               "old"));
    UndeletableFile undeletable(JoinPath(layout.folder(QStringLiteral("db_backup")),
                                         QStringLiteral("exercise_2024_0401-0800_00.sqlite3")));
    if (!undeletable.works()) GTEST_SKIP() << "no way to make a file undeletable here";
    ExpectEndedAfter(startExpectingEnd(), QString());
}

TEST_F(StartUpFixture, ADatabaseThatCannotBeOpenedEndsAfterItsMessage) {
    addTodaysBackup();
    ASSERT_TRUE(QFile::remove(layout.dbPath()));
    ASSERT_TRUE(QDir().mkdir(layout.dbPath()));  // a folder where the file should be
    ExpectEndedAfter(startExpectingEnd(), QStringLiteral("DBFile Open Error"));
    EXPECT_EQ(logLines().value(2), QStringLiteral("09:30:15 DBOpenDB"));
}

TEST_F(StartUpFixture, AMissingDatabaseOnADayWithABackupIsCreatedEmptyAndFailsItsFirstQuery) {
    addTodaysBackup();
    ASSERT_TRUE(QFile::remove(layout.dbPath()));
    ExpectEndedAfter(startExpectingEnd(),
                     QStringLiteral("Returned 21:Library used incorrectly\r\n"
                                    "select grp_cd\r\nfrom   m_grp\r\norder by\r\n       grp_cd\r\n"
                                    "\r\n"));
    EXPECT_TRUE(QFile::exists(layout.dbPath()));
    EXPECT_EQ(ScalarText(layout.dbPath(), QStringLiteral("select count(*) from sqlite_master")),
              QStringLiteral("0"));
}

TEST_F(StartUpFixture, InconsistentMasterCodesEndAfterTheirMessage) {
    layout.exec(QStringLiteral("delete from m_sweat where sweat_cd = '0';"));
    ExpectEndedAfter(startExpectingEnd(),
                     QStringLiteral("マスタ名称.コード名称＝m_sweat.sweat_cd\r\n"
                                    "このマスタのコードは0に始まる連番であることが必要です。\r\n"
                                    "コードを0に始まる連番に変更してください。\r\n"));
}

TEST_F(StartUpFixture, AnUnwritableLogDoesNotStopTheStart) {
    // The program folder is gone, so the log cannot be created; the data folders are intact.
    const QString programFolder = layout.programFolder();
    ASSERT_TRUE(QDir(programFolder).removeRecursively());
    EXPECT_EQ(StartUp(platform, log, db, programFolder, runtimeFiles), layout.dbPath());
    EXPECT_TRUE(db.isOpen());
    EXPECT_TRUE(platform.shown.empty());
    EXPECT_FALSE(QFile::exists(logPath()));
}

TEST(SingleInstance, ASecondInstanceIsRefusedWithoutTouchingTheLog) {
    TempLayout layout;
    ScriptedPlatform platform;
    const QString logPath = JoinPath(layout.programFolder(), QStringLiteral("Valdrome_log.txt"));
    ASSERT_TRUE(WriteBytes(logPath, "the running instance's log\r\n"));
    InstanceGuard running;
    ASSERT_TRUE(running.acquire(layout.programFolder(), QStringLiteral("Valdrome")));

    // Without the data folder db a start that got past the guard would end at the folder
    // check instead of running a window, and would have truncated the log.
    ASSERT_TRUE(QDir(layout.folder(QStringLiteral("db"))).removeRecursively());
    // The whole entry procedure of a second start, in a child process.
    const EndedRun run = RunExpectingEnd(platform, [&] {
        Main(platform, layout.programFolder(), QStringLiteral("Valdrome"),
             [](Database&, const QString&) { return 0; });
    });
    EXPECT_TRUE(run.ended);
    EXPECT_NE(run.status, 0);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_EQ(run.shown[0].text, QStringLiteral("このプログラムは多重起動できません。"));
    EXPECT_EQ(run.shown[0].caption, QStringLiteral("Valdrome"));
    EXPECT_EQ(run.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(ReadBytes(logPath), QByteArray("the running instance's log\r\n"));
}

TEST(SingleInstance, TheLockIsHeldForTheGuardsLifeAndPerProgramFolder) {
    TempLayout layout;
    TempLayout other;
    const QString name = QStringLiteral("Valdrome");
    {
        InstanceGuard first;
        ASSERT_TRUE(first.acquire(layout.programFolder(), name));
        InstanceGuard second;
        EXPECT_FALSE(second.acquire(layout.programFolder(), name));
        EXPECT_FALSE(second.acquire(layout.programFolder(), name));
        InstanceGuard elsewhere;
        EXPECT_TRUE(elsewhere.acquire(other.programFolder(), name));
    }
    InstanceGuard afterwards;
    EXPECT_TRUE(afterwards.acquire(layout.programFolder(), name));
}

TEST(SingleInstance, AProgramStartedFromTheWindowDoesNotInheritTheLock) {
    // An editor opened through the shell may outlive the program; a restart must still run.
    TempLayout layout;
    const QString name = QStringLiteral("Valdrome");
    QProcess outliving;
    {
        InstanceGuard running;
        ASSERT_TRUE(running.acquire(layout.programFolder(), name));
        outliving.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        ASSERT_TRUE(outliving.waitForStarted());
    }
    InstanceGuard restarted;
    EXPECT_TRUE(restarted.acquire(layout.programFolder(), name));
    outliving.kill();
    outliving.waitForFinished();
}

TEST(SingleInstance, GuardLetsTheFirstInstanceRun) {
    TempLayout layout;
    ScriptedPlatform platform;
    const EndedRun run = RunExpectingEnd(platform, [&] {
        InstanceGuard guard;
        GuardSingleInstance(platform, guard, layout.programFolder(), QStringLiteral("Valdrome"));
    });
    EXPECT_FALSE(run.ended);
    EXPECT_TRUE(run.shown.empty());
}

}  // namespace
}  // namespace sorvenka::testing
