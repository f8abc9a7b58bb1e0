// The backup commands: run in-process on a temporary folder layout, and as the built program
// without a display.
#include "cli/backup_command.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>

#include "cli/command_guard.h"
#include "cli/csv_command.h"
#include "common/paths.h"
#include "startup/instance_guard.h"
#include "startup/test_files.h"
#include "support/damaged_database.h"
#include "support/hostile_copies.h"
#include "support/killed_writer.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

const QString kGood = QStringLiteral("exercise_2024_0510-0800_00.sqlite3");
const QString kDamaged = QStringLiteral("exercise_2024_0512-0800_00.sqlite3");

struct CommandRun {
    int status;
    QString out, err;
};

class BackupCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        layout.exec(
            QStringLiteral("insert into t_exer values ('2024/05/09','01','01',1,'','',"
                           "60,'kg',10,'回',null,null,'2','in the backup')"));
        ASSERT_TRUE(QFile::copy(layout.dbPath(), backup(kGood)));
        ASSERT_TRUE(QFile::copy(layout.dbPath(), backup(kDamaged)));
        ASSERT_TRUE(DamagePrimaryKeyIndex(backup(kDamaged)));
        layout.exec(QStringLiteral("delete from t_exer"));
    }
    QString backup(const QString& name) const {
        return JoinPath(layout.folder(QStringLiteral("db_backup")), name);
    }
    CommandRun run(QStringList arguments) {
        arguments.prepend(QStringLiteral("Valdrome"));
        CommandRun result;
        QTextStream out(&result.out), err(&result.err);
        result.status =
            RunBackupCommand(arguments, layout.programFolder(), QStringLiteral("Valdrome"),
                             QDateTime(QDate(2024, 6, 1), QTime(7, 0)), out, err);
        out.flush();
        err.flush();
        return result;
    }
    QString sets() {
        return ScalarText(layout.dbPath(), QStringLiteral("select count(*) from t_exer"));
    }

    TempLayout layout;
};

TEST_F(BackupCommand, ExitStatusesAndWhatIsDone) {
    struct Case {
        const char* name;
        QStringList arguments;
        int status;
        const char* out;
        const char* err;
        const char* sets;  // in the database afterwards
    };
    const Case cases[] = {
        {"list", {"--list-backups"}, kCommandOk, "", "", "0"},
        {"check a sound database", {"--check-database"}, kCommandOk, "正常", "", "0"},
        {"restore a damaged copy",
         {"--restore-backup", kDamaged},
         kCommandFailed,
         "",
         "壊れている",
         "0"},
        {"restore no such copy",
         {"--restore-backup", "exercise_2024_0101-0000_00.sqlite3"},
         kCommandFailed,
         "",
         "ありません",
         "0"},
        {"restore a path",
         {"--restore-backup", "../db/x.sqlite3"},
         kCommandFailed,
         "",
         "名前",
         "0"},
        {"restore without a name",
         {"--restore-backup"},
         kCommandUsage,
         "",
         "--restore-backup の値",
         "0"},
        // An option is never taken for the name.
        {"an option for the name",
         {"--restore-backup", "--check-database"},
         kCommandUsage,
         "",
         "--restore-backup の値",
         "0"},
        // A name that starts like an option is given after "--".
        {"a name after --",
         {"--restore-backup", "--", "--odd.sqlite3"},
         kCommandFailed,
         "",
         "名前ではありません",
         "0"},
        {"two commands", {"--list-backups", "--check-database"}, kCommandUsage, "", "使い方", "0"},
        {"an unknown option", {"--list-backups", "--all"}, kCommandUsage, "", "--all", "0"},
        {"restore", {"--restore-backup", kGood}, kCommandOk, "復元しました", "", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandRun r = run(c.arguments);
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.out))) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << r.err.toStdString();
        EXPECT_EQ(sets(), QString::fromUtf8(c.sets));
    }
}

TEST_F(BackupCommand, TheListShowsEachCopyWithItsFiguresNewestFirst) {
    const CommandRun r = run({QStringLiteral("--list-backups")});
    EXPECT_EQ(r.status, kCommandOk);
    EXPECT_EQ(r.out,
              kDamaged +
                  QStringLiteral("\t2024/05/12 08:00:00\t5\t2099/12/31\t壊れています\t毎日\n") +
                  kGood + QStringLiteral("\t2024/05/10 08:00:00\t1\t2024/05/09\t確認済み\t毎日\n"));
}

TEST_F(BackupCommand, TheRestoreKeepsTheCurrentFileBesideIt) {
    const QByteArray before = ReadBytes(layout.dbPath());
    const CommandRun r = run({QStringLiteral("--restore-backup"), kGood});
    ASSERT_EQ(r.status, kCommandOk) << r.err.toStdString();
    const QString kept =
        JoinPath(layout.folder(QStringLiteral("db")),
                 QStringLiteral("exercise_before_restore_2024_0601-0700_00.sqlite3"));
    EXPECT_EQ(ReadBytes(kept), before);
    EXPECT_TRUE(r.out.contains(kept));
}

TEST_F(BackupCommand, TheCheckFindsDamageAndMissingFiles) {
    ASSERT_TRUE(DamagePrimaryKeyIndex(layout.dbPath()));
    CommandRun r = run({QStringLiteral("--check-database")});
    EXPECT_EQ(r.status, kCommandFailed);
    EXPECT_TRUE(r.err.contains(QStringLiteral("データベースのファイルが壊れています。")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("missing from index"))) << r.err.toStdString();

    ASSERT_TRUE(QFile::remove(layout.dbPath()));
    r = run({QStringLiteral("--check-database")});
    EXPECT_EQ(r.status, kCommandFailed);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ありません")));
    EXPECT_FALSE(QFile::exists(layout.dbPath()));
}

// A whole file is not yet the program's database: a view in place of the record table, a
// trigger that can empty it or tables of another program are named, never called 正常.
TEST_F(BackupCommand, TheCheckRefusesTablesThatAreNotThePrograms) {
    for (const HostileCopy& hostile : HostileCopies()) {
        SCOPED_TRACE(hostile.name);
        ASSERT_TRUE(MakeHostileCopy(layout.dbPath(), hostile));
        const CommandRun r = run({QStringLiteral("--check-database")});
        EXPECT_EQ(r.status, kCommandFailed);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("データベース"))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(hostile.reason))) << r.err.toStdString();
        EXPECT_FALSE(r.out.contains(QStringLiteral("正常")));
    }
}

// After a crash in the middle of a commit the file is sound once its journal is rolled back,
// as any open of the program does: the check says so rather than "unreadable".
TEST_F(BackupCommand, TheCheckRollsBackACrashedCommitFirst) {
    ASSERT_TRUE(KillWriterMidCommit(layout.dbPath()));
    const CommandRun r = run({QStringLiteral("--check-database")});
    EXPECT_EQ(r.status, kCommandOk) << r.err.toStdString();
    EXPECT_EQ(sets(), QStringLiteral("0"));
}

TEST_F(BackupCommand, TheMasterChecksAreRun) {
    layout.exec(QStringLiteral("delete from m_sweat where sweat_cd = '0';"));
    const CommandRun r = run({QStringLiteral("--check-database")});
    EXPECT_EQ(r.status, kCommandFailed);
    EXPECT_TRUE(r.err.contains(QStringLiteral("m_sweat.sweat_cd"))) << r.err.toStdString();
}

// The check opens the database as every command does: in a log of its own run, never appended
// to the log the window left.
TEST_F(BackupCommand, TheCheckWritesALogOfItsOwnRun) {
    const QString log = JoinPath(layout.programFolder(), QStringLiteral("Valdrome_log.txt"));
    {
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write("the window's run\r\n"), 18);
    }
    ASSERT_EQ(run({QStringLiteral("--check-database")}).status, kCommandOk);
    const QString text = QString::fromUtf8(ReadBytes(log));
    EXPECT_FALSE(text.contains(QStringLiteral("the window's run"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("--check-database"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("DBOpenDB"))) << text.toStdString();
}

TEST_F(BackupCommand, RefusedWhileTheWindowRuns) {
    InstanceGuard window;
    ASSERT_TRUE(window.acquire(layout.programFolder(), QStringLiteral("Valdrome")));
    const CommandRun r = run({QStringLiteral("--restore-backup"), kGood});
    EXPECT_EQ(r.status, kCommandFailed);
    EXPECT_EQ(r.err, kCommandWhileRunningMessage + QLatin1Char('\n'));
    EXPECT_EQ(sets(), QStringLiteral("0"));
}

// No lock file can be made where the program lives: the command does not run unguarded.
TEST_F(BackupCommand, RefusedWhenTheLockCannotBeMade) {
    ASSERT_TRUE(QDir(layout.programFolder()).removeRecursively());
    const CommandRun r = run({QStringLiteral("--restore-backup"), kGood});
    EXPECT_EQ(r.status, kCommandFailed);
    EXPECT_TRUE(r.err.contains(QStringLiteral("起動できません"))) << r.err.toStdString();
    EXPECT_EQ(sets(), QStringLiteral("0"));
}

TEST_F(BackupCommand, TheProgramRunsWithoutADisplay) {
    const QString built = qEnvironmentVariable("VALDROME_EXE");
    ASSERT_FALSE(built.isEmpty());
    const QString program = JoinPath(layout.programFolder(), QStringLiteral("Valdrome"));
    ASSERT_TRUE(QFile::copy(built, program));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "SORVENKA_PROGRAM_FOLDER"})
        environment.remove(QString::fromLatin1(name));
    struct Case {
        QStringList arguments;
        int status;
        const char* out;
    };
    const Case cases[] = {
        {{QStringLiteral("--list-backups")}, kCommandOk, "確認済み"},
        {{QStringLiteral("--check-database")}, kCommandOk, "正常"},
        {{QStringLiteral("--restore-backup")}, kCommandUsage, ""},
        {{QStringLiteral("--restore-backup"), kGood}, kCommandOk, "復元しました"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, c.arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_EQ(process.exitCode(), c.status) << process.readAllStandardError().toStdString();
        EXPECT_TRUE(out.contains(QString::fromUtf8(c.out))) << out.toStdString();
    }
    EXPECT_EQ(sets(), QStringLiteral("1"));
}

}  // namespace
}  // namespace sorvenka::testing
