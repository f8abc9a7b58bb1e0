// Every command refused while the window of the same folder runs says the same thing: close
// the window first; the usage after a wrong argument names the command as the help does.
#include "cli/command_guard.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "cli/backup_command.h"
#include "cli/command_table.h"
#include "cli/csv_command.h"
#include "cli/master_command.h"
#include "cli/plan_command.h"
#include "common/paths.h"
#include "startup/instance_guard.h"
#include "startup/test_files.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

using Runner = int (*)(const QStringList&, const QString&, const QString&, const QDateTime&,
                       QTextStream&, QTextStream&);

// Every command of the table, each on arguments it would run with, while the window holds the
// folder's lock: refused before it reads or writes anything, in the one text.
TEST(CommandGuard, EveryCommandAsksToCloseTheWindowInOneText) {
    TempLayout layout;
    InstanceGuard window;
    ASSERT_TRUE(window.acquire(layout.programFolder(), QStringLiteral("Valdrome")));
    const QString rec = layout.folder(QStringLiteral("rec"));
    const QString csv = JoinPath(rec, QStringLiteral("in.csv"));
    const struct {
        Runner run;
        QStringList arguments;
    } cases[] = {
        {&RunCsvCommand, {"--export-csv", JoinPath(rec, QStringLiteral("x.csv"))}},
        {&RunCsvCommand, {"--import-csv", "-", "--dry-run"}},
        {&RunMasterCommand, {"--merge-exercise", "01", "01", "--into", "01", "02", "--dry-run"}},
        {&RunMasterCommand, {"--move-exercise", "01", "01", "--to", "02"}},
        {&RunMasterCommand, {"--rename-exercise", "01", "01", "新しい名前"}},
        {&RunPlanCommand, {"--plan"}},
        {&RunPlanCommand, {"--export-routines", JoinPath(rec, QStringLiteral("r.csv"))}},
        {&RunPlanCommand, {"--import-routines", csv}},
        {&RunBackupCommand, {"--list-backups"}},
        {&RunBackupCommand, {"--restore-backup", "exercise_2024_0101-0000_00.sqlite3"}},
        {&RunBackupCommand, {"--check-database"}},
    };
    QStringList covered;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        covered << c.arguments.first();
        const QByteArray before = ReadBytes(layout.dbPath());
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const int status = c.run(QStringList{QStringLiteral("Valdrome")} + c.arguments,
                                 layout.programFolder(), QStringLiteral("Valdrome"),
                                 QDateTime(QDate(2024, 6, 1), QTime(7, 0)), outStream, errStream);
        outStream.flush();
        errStream.flush();
        EXPECT_EQ(status, kCommandFailed);
        EXPECT_EQ(err, kCommandWhileRunningMessage + QLatin1Char('\n'));
        EXPECT_TRUE(out.isEmpty());
        EXPECT_EQ(ReadBytes(layout.dbPath()), before);
        EXPECT_TRUE(QDir(layout.folder(QStringLiteral("db_backup"))).isEmpty());
        EXPECT_TRUE(QDir(rec).isEmpty());
    }
    // A command added to the table is added here too.
    for (const CommandLineCommand& command : CommandLineCommands())
        EXPECT_TRUE(covered.contains(QLatin1String(command.name))) << command.name;
    EXPECT_TRUE(kCommandWhileRunningMessage.contains(QStringLiteral("ウィンドウを閉じてから")));
    EXPECT_FALSE(kCommandWhileRunningMessage.contains(QLatin1Char('\n')));  // one line
}

// A command holds the folder's lock: a copy in the making left by a killed merge is removed
// before it does its work, whatever the command.
TEST(CommandGuard, ACommandRemovesCopiesLeftInTheMaking) {
    TempLayout layout;
    const QString folder = layout.folder(QStringLiteral("db_backup"));
    const QString part = JoinPath(folder, QStringLiteral(".merge_exercise.sqlite3.part"));
    const QString journal = part + QStringLiteral("-journal");
    for (const QString& path : {part, journal}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write("part"), 4);
    }
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    EXPECT_EQ(RunBackupCommand({QStringLiteral("Valdrome"), QStringLiteral("--list-backups")},
                               layout.programFolder(), QStringLiteral("Valdrome"),
                               QDateTime(QDate(2024, 6, 1), QTime(7, 0)), outStream, errStream),
              kCommandOk)
        << err.toStdString();
    EXPECT_FALSE(QFile::exists(part));
    EXPECT_FALSE(QFile::exists(journal));
}

// The built program started by the launcher (which names itself in SORVENKA_COMMAND_NAME):
// the usage of every command family names the launcher, like --help, never the program file.
TEST(CommandGuard, TheUsageNamesTheLauncherAsTheHelpDoes) {
    const QString program = qEnvironmentVariable("VALDROME_EXE");
    ASSERT_FALSE(program.isEmpty());
    TempLayout layout;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SORVENKA_COMMAND_NAME"), QStringLiteral("sorvenka"));
    environment.insert(QStringLiteral("SORVENKA_PROGRAM_FOLDER"), layout.programFolder());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const struct {
        QStringList arguments;
        const char* usage;
    } cases[] = {
        {{"--help"}, "  sorvenka --merge-exercise GRP EXER"},
        {{"--bogus"}, "  sorvenka --list-backups"},
        {{"--export-csv", "a.csv", "--group", "01"}, "  sorvenka --import-csv FILE|-"},
        {{"--merge-exercise", "01", "01"}, "  sorvenka --merge-exercise GRP EXER"},
        {{"--restore-backup"}, "  sorvenka --restore-backup NAME"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, c.arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString said =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), c.arguments.first() == "--help" ? 0 : kCommandUsage);
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.usage))) << said.toStdString();
        EXPECT_FALSE(said.contains(QStringLiteral("Valdrome"))) << said.toStdString();
    }
}

}  // namespace
}  // namespace sorvenka::testing
