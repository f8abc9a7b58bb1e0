#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <functional>

#include "backups/day_copy.h"
#include "backups/restore.h"
#include "backups/verified_copies.h"
#include "common/log.h"
#include "common/paths.h"
#include "db/database.h"
#include "db/first_database.h"
#include "startup/instance_guard.h"
#include "startup/startup.h"
#include "startup/test_files.h"
#include "support/damaged_database.h"
#include "support/program_version.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

const QString kHeader = QStringLiteral("Valdrome.exe\u3000") + ExpectedVersionText();
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
    QStringList backups() const {
        QStringList names = FileNames(layout.folder(QStringLiteral("db_backup")));
        names.removeAll(VerifiedCopies::kRecordName);
        return names;
    }
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

// A daily copy or a merge's copy killed mid-copy leaves a hidden file (and a journal) in
// db_backup: the next start removes them, and nothing else of that folder.
TEST_F(StartUpFixture, CopiesLeftInTheMakingAreRemovedAtTheNextStart) {
    const QString folder = layout.folder(QStringLiteral("db_backup"));
    const QStringList leftovers{QStringLiteral(".merge_exercise.sqlite3.part"),
                                QStringLiteral(".merge_exercise.sqlite3.part-journal"),
                                QStringLiteral(".exercise.sqlite3.part"),
                                QStringLiteral(".exercise.sqlite3.part-journal")};
    for (const QString& name : leftovers) ASSERT_TRUE(WriteBytes(JoinPath(folder, name), "part"));
    const QString other = JoinPath(folder, QStringLiteral(".other.part"));
    ASSERT_TRUE(WriteBytes(other, "someone's"));
    addTodaysBackup();  // no copy is due: the removal does not depend on one
    EXPECT_EQ(StartUp(platform, log, db, layout.programFolder(), runtimeFiles), layout.dbPath());
    for (const QString& name : leftovers)
        EXPECT_FALSE(QFile::exists(JoinPath(folder, name))) << name.toStdString();
    EXPECT_EQ(ReadBytes(other), "someone's");
}

// Sound old copies, so that the oldest is one to delete; the log says which one stayed.
TEST_F(StartUpFixture, AFailedPruningShowsAnEmptyMessage) {
    addTodaysBackup();
    for (int day = 1; day <= 21; ++day)
        ASSERT_TRUE(QFile::copy(layout.dbPath(),
                                JoinPath(layout.folder(QStringLiteral("db_backup")),
                                         QStringLiteral("exercise_2024_04%1-0800_00.sqlite3")
                                             .arg(day, 2, 10, QLatin1Char('0')))));
    const QString oldest = JoinPath(layout.folder(QStringLiteral("db_backup")),
                                    QStringLiteral("exercise_2024_0401-0800_00.sqlite3"));
    UndeletableFile undeletable(oldest);
    if (!undeletable.works()) GTEST_SKIP() << "no way to make a file undeletable here";
    ExpectEndedAfter(startExpectingEnd(), QString());
    EXPECT_EQ(logLines().value(2),
              QStringLiteral("09:30:15 backup: 古いバックアップを削除できませんでした。"));
    EXPECT_EQ(logLines().value(3), QStringLiteral("\u3000") + oldest);
}

// db_backup/damaged that is no folder (a file, a link, a dangling one): a damaged copy cannot
// go there. It stays where it is, uncounted; the start says so naming the paths, writes it
// to the log and goes on with the day's copy taken.
TEST(StartUpBackup, ADamagedCopyThatCannotBeSetAsideDoesNotStopTheStart) {
    using Make = std::function<bool(const QString& aside, const QString& elsewhere)>;
    const auto link = [](const QString& aside, const QString& elsewhere) {
        return ::symlink(QFile::encodeName(elsewhere).constData(),
                         QFile::encodeName(aside).constData()) == 0;
    };
    const struct {
        const char* name;
        Make make;
    } cases[] = {
        {"a file", [](const QString& aside, const QString&) { return WriteBytes(aside, "x"); }},
        {"a dangling link", link},
        {"a link to a folder",
         [&](const QString& aside, const QString& elsewhere) {
             return QDir().mkdir(elsewhere) && link(aside, elsewhere);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempLayout layout;
        const QString folder = layout.folder(QStringLiteral("db_backup"));
        const auto april = [&](int day) {
            return JoinPath(folder, QStringLiteral("exercise_2024_04%1-0800_00.sqlite3")
                                        .arg(day, 2, 10, QLatin1Char('0')));
        };
        for (int day = 1; day <= 21; ++day) ASSERT_TRUE(QFile::copy(layout.dbPath(), april(day)));
        ASSERT_TRUE(DamagePrimaryKeyIndex(april(21)));
        const QString aside = JoinPath(folder, QStringLiteral("damaged"));
        const QString elsewhere = JoinPath(layout.base(), QStringLiteral("elsewhere"));
        ASSERT_TRUE(c.make(aside, elsewhere));

        ScriptedPlatform platform;  // 2024/05/14 09:30:15
        Log log(platform, layout.programFolder(), QStringLiteral("Valdrome"));
        Database db(platform, log);
        EXPECT_EQ(StartUp(platform, log, db, layout.programFolder(), {}), layout.dbPath());
        EXPECT_TRUE(db.isOpen());
        ASSERT_EQ(platform.shown.size(), 1u);
        const QString said = QStringLiteral("壊れたバックアップを次のフォルダへ移せませんでした。");
        EXPECT_TRUE(platform.shown[0].text.startsWith(said + QStringLiteral("\r\n\u3000") + aside))
            << platform.shown[0].text.toStdString();
        EXPECT_TRUE(platform.shown[0].text.contains(april(21)));
        EXPECT_EQ(ReadCrLfLines(log.path()).value(2), QStringLiteral("09:30:15 backup: ") + said);
        // The day's copy and the damaged one are there, and the 20 sound ones beside it
        // (the damaged copy takes no place); nothing went through the link.
        const QStringList names = FileNames(folder);
        EXPECT_TRUE(names.contains(kTodaysCopy));
        EXPECT_TRUE(QFile::exists(april(21)));
        EXPECT_TRUE(QFile::exists(april(2)));
        EXPECT_FALSE(QFile::exists(april(1)));
        EXPECT_TRUE(FileNames(elsewhere).isEmpty());
        struct stat info {};
        ASSERT_EQ(::lstat(QFile::encodeName(aside).constData(), &info), 0);
        EXPECT_FALSE(S_ISDIR(info.st_mode));
    }
}

// Without a database file (or with an empty one, or a folder in its place) on a day that
// already has its copy, the start says so plainly and never makes an empty file: the
// launcher makes a first database only where there is no file at all.
TEST_F(StartUpFixture, AMissingDatabaseIsNamedAndNeverCreated) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        bool fileAfterwards;
    };
    const std::vector<Case> cases{
        {"no file", [&] { ASSERT_TRUE(QFile::remove(layout.dbPath())); }, false},
        {"an empty file", [&] { ASSERT_TRUE(WriteBytes(layout.dbPath(), "")); }, true},
        {"a folder in its place",
         [&] {
             ASSERT_TRUE(QFile::remove(layout.dbPath()));
             ASSERT_TRUE(QDir().mkdir(layout.dbPath()));
         },
         false},
    };
    addTodaysBackup();  // not a database: no copy to restore
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(layout.dbPath()).removeRecursively();
        QFile::remove(layout.dbPath());
        QString error;
        ASSERT_TRUE(CreateFirstDatabase(layout.dbPath(), error));
        c.prepare();
        const EndedRun run = startExpectingEnd();
        EXPECT_TRUE(run.ended);
        EXPECT_NE(run.status, 0);
        ASSERT_EQ(run.shown.size(), 1u);
        EXPECT_TRUE(run.shown[0].text.startsWith(
            QStringLiteral("データベースのファイルがありません（または空です）。\r\n\u3000") +
            layout.dbPath()))
            << run.shown[0].text.toStdString();
        EXPECT_TRUE(run.shown[0].text.contains(
            QStringLiteral("復元できる正常なバックアップが次のフォルダにありません。")));
        EXPECT_EQ(QFileInfo(layout.dbPath()).isFile(), c.fileAfterwards);
        if (c.fileAfterwards) {
            EXPECT_EQ(QFileInfo(layout.dbPath()).size(), 0);
        }
    }
}

// A sound copy on hand: the start offers it in place of the missing file.
TEST_F(StartUpFixture, AMissingDatabaseCanBeRestoredFromTheNewestGoodCopy) {
    layout.exec(
        QStringLiteral("insert into t_exer values ('2024/05/13','01','01',1,'','',60,"
                       "'kg',10,'回',null,null,'2','kept')"));
    const QString copy = JoinPath(layout.folder(QStringLiteral("db_backup")),
                                  QStringLiteral("exercise_2024_0514-0700_00.sqlite3"));
    ASSERT_TRUE(QFile::copy(layout.dbPath(), copy));
    ASSERT_TRUE(QFile::remove(layout.dbPath()));

    platform.answers = {Answer::No};
    const EndedRun declined = startExpectingEnd();
    EXPECT_TRUE(declined.ended);
    ASSERT_EQ(declined.shown.size(), 1u);
    EXPECT_EQ(declined.shown[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(
        declined.shown[0].text.contains(QStringLiteral("exercise_2024_0514-0700_00.sqlite3")));
    EXPECT_FALSE(QFile::exists(layout.dbPath()));

    platform.answers = {Answer::Yes};
    EXPECT_EQ(StartUp(platform, log, db, layout.programFolder(), runtimeFiles), layout.dbPath());
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(ScalarText(layout.dbPath(), QStringLiteral("select comment from t_exer")),
              QStringLiteral("kept"));
    ASSERT_EQ(platform.shown.size(), 2u);
    EXPECT_TRUE(
        platform.shown[1].text.startsWith(QStringLiteral("バックアップから復元しました。")));
}

// At the first start of a day the copy finds the database damaged: the user hears it, learns
// where the good copies are, and may have the newest restored; the damaged file stays beside
// it under its own name.
TEST_F(StartUpFixture, ADamagedDatabaseIsSaidAndTheNewestGoodCopyOffered) {
    const QString backupFolder = layout.folder(QStringLiteral("db_backup"));
    layout.exec(
        QStringLiteral("insert into t_exer values ('2024/05/12','01','01',1,'','',60,"
                       "'kg',10,'回',null,null,'2','good')"));
    const QString good =
        JoinPath(backupFolder, QStringLiteral("exercise_2024_0513-0700_00.sqlite3"));
    const QString older =
        JoinPath(backupFolder, QStringLiteral("exercise_2024_0512-0700_00.sqlite3"));
    ASSERT_TRUE(QFile::copy(layout.dbPath(), good));
    ASSERT_TRUE(QFile::copy(layout.dbPath(), older));
    // The newest copy is damaged as well (taken by an older version): it is passed over.
    const QString damagedCopy =
        JoinPath(backupFolder, QStringLiteral("exercise_2024_0513-2000_00.sqlite3"));
    ASSERT_TRUE(QFile::copy(layout.dbPath(), damagedCopy));
    ASSERT_TRUE(DamagePrimaryKeyIndex(damagedCopy));
    ASSERT_TRUE(DamagePrimaryKeyIndex(layout.dbPath()));
    const QByteArray damaged = ReadBytes(layout.dbPath());
    const QStringList before = backups();

    platform.answers = {Answer::No};
    const EndedRun declined = startExpectingEnd();
    EXPECT_TRUE(declined.ended);
    EXPECT_NE(declined.status, 0);
    ASSERT_EQ(declined.shown.size(), 1u);
    const QString offer = declined.shown[0].text;
    EXPECT_EQ(declined.shown[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(offer.startsWith(
        QStringLiteral("データベースのファイルが壊れています。\r\n\u3000") + layout.dbPath()))
        << offer.toStdString();
    EXPECT_TRUE(offer.contains(backupFolder));
    EXPECT_TRUE(offer.contains(QStringLiteral("exercise_2024_0513-0700_00.sqlite3")));
    EXPECT_TRUE(
        offer.contains(QStringLiteral("2024/05/13 07:00:00、1セット、最後の記録 2024/05/12")));
    EXPECT_FALSE(offer.contains(QStringLiteral("SQL")));
    EXPECT_EQ(ReadBytes(layout.dbPath()), damaged);
    EXPECT_EQ(backups(), before);

    platform.answers = {Answer::Yes};
    EXPECT_EQ(StartUp(platform, log, db, layout.programFolder(), runtimeFiles), layout.dbPath());
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(IntegrityCheck(layout.dbPath()), QStringLiteral("ok"));
    EXPECT_EQ(ScalarText(layout.dbPath(), QStringLiteral("select count(*) from t_exer")),
              QStringLiteral("1"));
    const QString kept = JoinPath(layout.folder(QStringLiteral("db")),
                                  QStringLiteral("exercise_damaged_2024_0514-0930_15.sqlite3"));
    EXPECT_EQ(ReadBytes(kept), damaged);
    ASSERT_EQ(platform.shown.size(), 2u);
    EXPECT_TRUE(platform.shown[1].text.contains(kept));
    EXPECT_TRUE(logLines().join(QLatin1Char('\n')).contains(QStringLiteral("database damaged")));
}

TEST_F(StartUpFixture, ADamagedDatabaseWithoutAGoodCopyEndsAfterSayingSo) {
    ASSERT_TRUE(DamagePrimaryKeyIndex(layout.dbPath()));
    const EndedRun run = startExpectingEnd();
    EXPECT_TRUE(run.ended);
    EXPECT_NE(run.status, 0);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_TRUE(
        run.shown[0].text.startsWith(QStringLiteral("データベースのファイルが壊れています。")));
    EXPECT_TRUE(
        run.shown[0].text.contains(QStringLiteral("正常なバックアップが次のフォルダにありません")));
    EXPECT_TRUE(backups().isEmpty());
}

// A restore killed while it writes its hidden copy leaves that copy behind; the next start
// removes it before the database opens and leaves every other file of the folder as it was.
TEST_F(StartUpFixture, ARestoreKilledMidCopyLeavesNothingBehindAfterTheNextStart) {
    const QString dbFolder = layout.folder(QStringLiteral("db"));
    const QString backupName = QStringLiteral("exercise_2024_0511-0800_00.sqlite3");
    const QString backup = JoinPath(layout.folder(QStringLiteral("db_backup")), backupName);
    ASSERT_TRUE(QFile::copy(layout.dbPath(), backup));
    {
        // Big enough for the copy to take a while.
        sqlite3* big = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(backup).constData(), &big), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(big,
                               "with recursive n(i) as (select 1 union all select i + 1 from n "
                               "where i < 100000) insert into t_exer select '2024/04/01','01',"
                               "'01',i,'','',60,'kg',10,'回',null,null,'2',printf('%0200d', i) "
                               "from n;",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(big);
    }
    layout.exec(
        QStringLiteral("insert into t_exer values ('2024/05/12','01','01',1,'','',60,"
                       "'kg',10,'回',null,null,'2','current')"));
    // An unrelated hidden file of the folder stays.
    ASSERT_TRUE(WriteBytes(JoinPath(dbFolder, QStringLiteral(".exercise.sqlite3.restoring.txt")),
                           "not a restore's copy"));
    const QString leftover = RestoringCopyPath(layout.base());
    ASSERT_EQ(leftover, JoinPath(dbFolder, QStringLiteral(".exercise.sqlite3.restoring")));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QString kept, message;
        RestoreBackup(layout.base(), backupName, platform.now(), kKeptBeforeRestore, kept, message);
        _exit(0);
    }
    // Killed as soon as the copy has begun to be written.
    for (int wait = 0; wait < 200000 && QFileInfo(leftover).size() == 0; ++wait) usleep(50);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(QFileInfo::exists(leftover)) << "the restore ended before it was killed";
    const auto others = [&] {
        QStringList names = QDir(dbFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        for (QString& name : names)
            name += QLatin1Char(':') + QString::number(QFileInfo(JoinPath(dbFolder, name)).size());
        return names.filter(QRegularExpression(
            QStringLiteral("^(?!\\.exercise\\.sqlite3\\.restoring(-journal|-wal|-shm)?:)")));
    };
    const QStringList before = others();

    EXPECT_EQ(StartUp(platform, log, db, layout.programFolder(), runtimeFiles), layout.dbPath());
    EXPECT_TRUE(db.isOpen());
    EXPECT_TRUE(platform.shown.empty());
    EXPECT_FALSE(QFileInfo::exists(leftover));
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        EXPECT_FALSE(QFileInfo::exists(leftover + QLatin1String(suffix))) << suffix;
    db.close();
    EXPECT_EQ(others(), before);
    EXPECT_EQ(IntegrityCheck(layout.dbPath()), QStringLiteral("ok"));
    EXPECT_EQ(
        ScalarText(layout.dbPath(), QStringLiteral("select group_concat(comment) from t_exer")),
        QStringLiteral("current"));
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

// A program folder where the lock file cannot be made: the guard cannot tell whether another
// copy runs, so the program does not start (two windows would write one database).
TEST(SingleInstance, ALockFileThatCannotBeMadeRefusesTheStart) {
    TempLayout layout;
    ScriptedPlatform platform;
    ASSERT_TRUE(QDir(layout.programFolder()).removeRecursively());
    const EndedRun run = RunExpectingEnd(platform, [&] {
        Main(platform, layout.programFolder(), QStringLiteral("Valdrome"),
             [](Database&, const QString&) { return 0; });
    });
    EXPECT_TRUE(run.ended);
    EXPECT_NE(run.status, 0);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_TRUE(run.shown[0].text.contains(
        JoinPath(layout.programFolder(), QStringLiteral("Valdrome.lock"))));
    EXPECT_TRUE(run.shown[0].text.contains(QStringLiteral("起動できません")));
}

// The same for a program folder that exists but is read-only to the user (as root, the child
// becomes an ordinary user first, since root writes anywhere).
TEST(SingleInstance, AReadOnlyProgramFolderWithoutALockFileIsUnavailable) {
    TempLayout layout;
    ASSERT_EQ(chmod(QFile::encodeName(layout.base()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(layout.programFolder()).constData(), 0555), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
        InstanceGuard guard;
        const bool taken = guard.acquire(layout.programFolder(), QStringLiteral("Valdrome"));
        _exit(!taken && guard.outcome() == InstanceGuard::Outcome::Unavailable ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    chmod(QFile::encodeName(layout.programFolder()).constData(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// A link or a FIFO at the lock file's name: it is not followed (the link's target is not
// made) nor waited on, and the start is refused with the name to remove.
TEST(SingleInstance, ALockFileThatIsNotARegularFileRefusesTheStart) {
    ::alarm(60);  // a FIFO waited on ends the test here
    const QString name = QStringLiteral("Valdrome");
    const struct {
        const char* kind;
        std::function<int(const QByteArray& path, const QByteArray& target)> make;
    } cases[] = {
        {"link", [](const QByteArray& p, const QByteArray& t) { return ::symlink(t, p); }},
        {"FIFO", [](const QByteArray& p, const QByteArray&) { return ::mkfifo(p, 0600); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        TempLayout layout;
        const QString lock = JoinPath(layout.programFolder(), InstanceGuard::lockFileName(name));
        const QString target = JoinPath(layout.base(), QStringLiteral("elsewhere"));
        ASSERT_EQ(c.make(QFile::encodeName(lock), QFile::encodeName(target)), 0);
        InstanceGuard guard;
        EXPECT_FALSE(guard.acquire(layout.programFolder(), name));
        EXPECT_EQ(guard.outcome(), InstanceGuard::Outcome::Unavailable);
        EXPECT_EQ(guard.refusalMessage(), LockNotRegularMessage(lock));
        EXPECT_FALSE(QFile::exists(target));
    }
    ::alarm(0);
}

// The log and the kept rest length are the program's; a FIFO or a link at either name does
// not hold the start, and the link's target is left as it was.
TEST_F(StartUpFixture, AFifoOrALinkAtTheLogDoesNotHoldTheStart) {
    ::alarm(60);  // a FIFO waited on ends the test here
    const QByteArray logName = QFile::encodeName(logPath());
    ASSERT_EQ(::mkfifo(logName.constData(), 0600), 0);
    EXPECT_EQ(StartUp(platform, log, db, layout.programFolder(), runtimeFiles), layout.dbPath());
    EXPECT_TRUE(platform.shown.empty());
    db.close();

    const QString target = JoinPath(layout.base(), QStringLiteral("elsewhere.txt"));
    ASSERT_TRUE(WriteBytes(target, "someone's file"));
    ASSERT_EQ(::unlink(logName.constData()), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), logName.constData()), 0);
    EXPECT_EQ(StartUp(platform, log, db, layout.programFolder(), runtimeFiles), layout.dbPath());
    EXPECT_EQ(ReadBytes(target), "someone's file");
    ::alarm(0);
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
