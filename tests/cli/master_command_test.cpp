// The command line that renames, moves and merges exercises: run in-process on a temporary
// folder layout, and as the built program without a display.
#include "cli/master_command.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "cli/command_guard.h"
#include "cli/csv_command.h"
#include "common/paths.h"
#include "startup/instance_guard.h"
#include "support/damaged_database.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

struct CommandRun {
    int status;
    QString out, err;
};

class MasterCommand : public ::testing::Test {
  protected:
    MasterCommand() {
        // A twin of ベンチプレス with a set on a day that ベンチプレス has one too.
        layout.exec(QStringLiteral(
            "insert into m_exer values ('01','05','Bench Press (Barbell)',1,5);"
            "insert into t_exer values"
            " ('2024/05/01','01','01',1,'09:00:00','',60,'kg',10,'回',null,null,'1','b1'),"
            " ('2024/05/01','01','05',1,'08:00:00','',60,'kg',10,'回',null,null,'1','t1'),"
            " ('2024/05/02','01','05',1,'08:00:00','',60,'kg',10,'回',null,null,'1','t2');"));
    }

    TempLayout layout;
    QString backups = layout.folder(QStringLiteral("db_backup"));

    CommandRun run(QStringList arguments) {
        arguments.prepend(QStringLiteral("Valdrome"));
        CommandRun result;
        QTextStream out(&result.out), err(&result.err);
        result.status =
            RunMasterCommand(arguments, layout.programFolder(), QStringLiteral("Valdrome"),
                             QDateTime(QDate(2024, 6, 1), QTime(7, 0, 5)), out, err);
        out.flush();
        err.flush();
        return result;
    }
    QString keys() {
        return ScalarText(layout.dbPath(),
                          QStringLiteral("select group_concat(k, ' ') from (select comment||'='||"
                                         "grp_cd||exer_cd||'#'||set_num as k from t_exer "
                                         "order by comment)"));
    }
    QString exercise(const char* grp, const char* exer) {
        return ScalarText(layout.dbPath(),
                          QStringLiteral("select exer_name from m_exer where grp_cd='%1' and "
                                         "exer_cd='%2'")
                              .arg(QLatin1String(grp), QLatin1String(exer)));
    }
};

const QString kUnchanged = QStringLiteral("b1=0101#1 t1=0105#1 t2=0105#1");

TEST_F(MasterCommand, ExitStatusesAndWhatIsWritten) {
    struct Case {
        const char* what;
        QStringList arguments;
        int status;
        const char* stream;  // a part of standard output (status 0) or standard error
        QString keysAfter;
    };
    const Case cases[] = {
        {"no command", {"--dry-run"}, kCommandUsage, "使い方", kUnchanged},
        {"merge without target",
         {"--merge-exercise", "01", "05"},
         kCommandUsage,
         "足りない",
         kUnchanged},
        {"target short of a code",
         {"--merge-exercise", "01", "05", "--into", "01"},
         kCommandUsage,
         "--into",
         kUnchanged},
        {"option in place of a value",
         {"--move-exercise", "01", "--to", "06"},
         kCommandUsage,
         "--move-exercise の値がありません",
         kUnchanged},
        {"dry run of a move",
         {"--move-exercise", "01", "05", "--to", "06", "--dry-run"},
         kCommandUsage,
         "使い方",
         kUnchanged},
        {"two commands",
         {"--rename-exercise", "01", "05", "x", "--rename-exercise", "01", "05", "y"},
         kCommandUsage,
         "--rename-exercise が2回",
         kUnchanged},
        {"unknown word",
         {"--rename-exercise", "01", "05", "x", "--force"},
         kCommandUsage,
         "--force",
         kUnchanged},
        {"merge dry run",
         {"--merge-exercise", "01", "05", "--into", "01", "01", "--dry-run"},
         kCommandOk,
         "移すセット: 2セット（2日分）",
         kUnchanged},
        {"merge of a missing exercise",
         {"--merge-exercise", "01", "77", "--into", "01", "01"},
         kCommandFailed,
         "統合元の種目がありません",
         kUnchanged},
        {"rename to a used name",
         {"--rename-exercise", "01", "05", "ダンベルフライ"},
         kCommandFailed,
         "すでにあります",
         kUnchanged},
        {"rename",
         {"--rename-exercise", "01", "05", "ベンチプレス（バーベル）"},
         kCommandOk,
         "名前を変更しました",
         kUnchanged},
        {"move to a missing group",
         {"--move-exercise", "01", "05", "--to", "42"},
         kCommandFailed,
         "移動先のグループがありません",
         kUnchanged},
        {"move",
         {"--to", "06", "--move-exercise", "01", "05"},
         kCommandOk,
         "06 の 05",
         QStringLiteral("b1=0101#1 t1=0605#1 t2=0605#1")},
        {"merge",
         {"--merge-exercise", "06", "05", "--into", "01", "01"},
         kCommandOk,
         "merge_exercise_20240601-070005.sqlite3",
         QStringLiteral("b1=0101#1 t1=0101#2 t2=0101#1")},
    };
    for (const Case& c : cases) {
        const CommandRun result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.what << result.err.toStdString();
        const QString& stream = c.status == kCommandOk ? result.out : result.err;
        EXPECT_TRUE(stream.contains(QString::fromUtf8(c.stream)))
            << c.what << ": " << stream.toStdString();
        EXPECT_EQ(keys().toStdString(), c.keysAfter.toStdString()) << c.what;
    }
    EXPECT_EQ(exercise("01", "05"), QString());
    EXPECT_EQ(exercise("06", "05"), QString());  // merged away after its move and rename
    // The day's backup was taken before the first write, the merge's copy beside it.
    EXPECT_EQ(QDir(backups).entryList(QDir::Files),
              (QStringList{QStringLiteral("exercise_2024_0601-0700_05.sqlite3"),
                           QStringLiteral("merge_exercise_20240601-070005.sqlite3")}));
}

// A lone "--" ends the options, as the help promises: the words after it are the values the
// option before it still lacks, an odd name starting with "--" included.
TEST_F(MasterCommand, ADoubleDashEndsTheOptions) {
    const struct {
        QStringList arguments;
        int status;
        const char* name;  // of 01 05 afterwards ("" when unchanged)
        const char* err;
    } cases[] = {
        {{"--rename-exercise", "01", "05", "--", "--odd"}, kCommandOk, "--odd", ""},
        {{"--rename-exercise", "01", "--", "05", "--odder"}, kCommandOk, "--odder", ""},
        {{"--rename-exercise", "--", "01", "05", "-- spaced"}, kCommandOk, "-- spaced", ""},
        {{"--rename-exercise", "01", "05", "--"},
         kCommandUsage,
         "",
         "--rename-exercise の値がありません"},
        {{"--rename-exercise", "01", "05", "x", "--", "y"}, kCommandUsage, "", "余分な引数です: y"},
        {{"--merge-exercise", "01", "05", "--into", "01", "01", "--", "--dry-run"},
         kCommandUsage,
         "",
         "余分な引数です: --dry-run"},
        {{"--rename-exercise", "01", "05", "--odd"},
         kCommandUsage,
         "",
         "--rename-exercise の値がありません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        layout.exec(QStringLiteral(
            "update m_exer set exer_name = 'Bench Press (Barbell)' where grp_cd = '01' and "
            "exer_cd = '05';"));
        const CommandRun result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.err))) << result.err.toStdString();
        EXPECT_EQ(exercise("01", "05"),
                  *c.name ? QString::fromUtf8(c.name) : QStringLiteral("Bench Press (Barbell)"));
    }
}

// A database that fails the integrity check is said to be damaged, with the way back to a good
// copy, and no command writes to it; a dry run takes no copy and goes on reading.
TEST_F(MasterCommand, ADamagedDatabaseIsSaidAndNothingWritten) {
    const QString good = QStringLiteral("exercise_2024_0531-0700_00.sqlite3");
    ASSERT_TRUE(QFile::copy(layout.dbPath(), JoinPath(backups, good)));
    ASSERT_TRUE(DamagePrimaryKeyIndex(layout.dbPath()));
    QFile file(layout.dbPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const QStringList commands[] = {{"--rename-exercise", "01", "05", "x"},
                                    {"--move-exercise", "01", "05", "--to", "06"},
                                    {"--merge-exercise", "01", "05", "--into", "01", "01"}};
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(QLatin1Char(' ')).toStdString());
        const CommandRun result = run(command);
        EXPECT_EQ(result.status, kCommandFailed);
        EXPECT_TRUE(result.err.startsWith(
            QStringLiteral("データベースのファイルが壊れています。\n\u3000") + layout.dbPath()))
            << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("Valdrome --restore-backup ") + good));
        EXPECT_TRUE(result.err.contains(QStringLiteral("Valdrome --list-backups")));
        EXPECT_FALSE(result.err.contains(QStringLiteral("バックアップができませんでした")));
        EXPECT_TRUE(result.out.isEmpty());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
        file.close();
        EXPECT_EQ(QDir(backups).entryList(QDir::Files), QStringList{good});
    }
}

TEST_F(MasterCommand, RefusedWhileTheWindowRuns) {
    InstanceGuard window;
    ASSERT_TRUE(window.acquire(layout.programFolder(), QStringLiteral("Valdrome")));
    const CommandRun result = run({"--rename-exercise", "01", "05", "x"});
    EXPECT_EQ(result.status, kCommandFailed);
    EXPECT_EQ(result.err, kCommandWhileRunningMessage + QLatin1Char('\n'));
    EXPECT_EQ(exercise("01", "05"), QStringLiteral("Bench Press (Barbell)"));
}

// The built program answers on the command line with no display to connect to.
TEST_F(MasterCommand, TheProgramRunsWithoutADisplay) {
    const QString built = qEnvironmentVariable("VALDROME_EXE");
    ASSERT_FALSE(built.isEmpty());
    const QString program = JoinPath(layout.programFolder(), QStringLiteral("Valdrome"));
    ASSERT_TRUE(QFile::copy(built, program));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QString::fromLatin1(kProgramFolderVariable));

    const struct {
        QStringList arguments;
        int status;
    } cases[] = {
        {{"--merge-exercise", "01", "05"}, kCommandUsage},
        {{"--merge-exercise", "01", "05", "--into", "01", "77"}, kCommandFailed},
        {{"--merge-exercise", "01", "05", "--into", "01", "01"}, kCommandOk},
    };
    for (const auto& c : cases) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, c.arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), c.status) << process.readAllStandardError().toStdString();
    }
    EXPECT_EQ(keys(), QStringLiteral("b1=0101#1 t1=0101#2 t2=0101#1"));
}

// The rest day (99 99) through every command that could change it or write to it: each is
// refused with the reason, and nothing is written.
TEST_F(MasterCommand, TheRestDayIsRefusedByEveryCommandButRename) {
    layout.exec(
        QStringLiteral("insert into t_exer values"
                       " ('2024/05/03','99','99',1,'','',0,'kg',0,'回',null,null,'0','r1');"));
    const QString map = layout.folder(QStringLiteral("rec")) + QStringLiteral("/map.csv");
    const QString hevy = layout.folder(QStringLiteral("rec")) + QStringLiteral("/hevy.csv");
    QFile mapFile(map), hevyFile(hevy);
    ASSERT_TRUE(mapFile.open(QIODevice::WriteOnly));
    mapFile.write("Rest,99,99\r\n");
    mapFile.close();
    ASSERT_TRUE(hevyFile.open(QIODevice::WriteOnly));
    hevyFile.write(
        "title,start_time,end_time,description,exercise_title,superset_id,exercise_notes,"
        "set_index,set_type,weight_kg,reps,distance_km,duration_seconds,rpe\r\n"
        "W,\"1 Jun 2024, 07:00\",\"1 Jun 2024, 08:00\",,Rest,,,0,normal,60,5,,,\r\n");
    hevyFile.close();
    const QString unchanged = QStringLiteral("b1=0101#1 r1=9999#1 t1=0105#1 t2=0105#1");
    ASSERT_EQ(keys(), unchanged);
    const struct {
        const char* what;
        QStringList arguments;
        const char* reason;
    } cases[] = {
        {"merged into another",
         {"--merge-exercise", "99", "99", "--into", "01", "01"},
         "統合できません"},
        {"merge preview",
         {"--merge-exercise", "99", "99", "--into", "01", "01", "--dry-run"},
         "統合できません"},
        {"another merged into it",
         {"--merge-exercise", "01", "05", "--into", "99", "99"},
         "統合することはできません"},
        {"moved", {"--move-exercise", "99", "99", "--to", "01"}, "移動できません"},
        {"a map row pointing at it", {"--import-csv", hevy, "--map", map}, "読み込めません"},
        {"a map row pointing at it, dry run",
         {"--import-csv", hevy, "--map", map, "--dry-run"},
         "読み込めません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CommandRun result;
        if (c.arguments.front() == QLatin1String("--import-csv")) {
            QTextStream out(&result.out), err(&result.err);
            result.status = RunCsvCommand(QStringList{QStringLiteral("Valdrome")} + c.arguments,
                                          layout.programFolder(), QStringLiteral("Valdrome"),
                                          QDateTime(QDate(2024, 6, 1), QTime(7, 0, 5)), out, err);
            out.flush();
            err.flush();
        } else {
            result = run(c.arguments);
        }
        EXPECT_EQ(result.status, kCommandFailed) << result.out.toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("休養日（99 99）")))
            << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.reason))) << result.err.toStdString();
        EXPECT_EQ(keys(), unchanged);
        EXPECT_EQ(exercise("99", "99"), QStringLiteral("休養日"));
    }
    EXPECT_EQ(QDir(backups).entryList({QStringLiteral("merge_*")}, QDir::Files), QStringList());
    EXPECT_EQ(run({"--rename-exercise", "99", "99", "休み"}).status, kCommandOk);
    EXPECT_EQ(exercise("99", "99"), QStringLiteral("休み"));
}

}  // namespace
}  // namespace sorvenka::testing
