// What a command line asks for, decided before any application object exists, and the built
// program's answers with and without a display.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/program_version.h"

namespace sorvenka {
namespace {

using Kind = CommandLineChoice::Kind;

TEST(CommandLine, ChoosesHelpVersionACommandTheWindowOrAUsageError) {
    struct Case {
        QStringList words;
        Kind kind;
        const char* command;  // the command's word, for Kind::Command
    };
    const Case cases[] = {
        {{}, Kind::Window, ""},
        {{"-platform", "offscreen"}, Kind::Window, ""},
        {{"--help"}, Kind::Help, ""},
        {{"--version"}, Kind::Version, ""},
        {{"--export-csv", "a.csv", "--help"}, Kind::Help, ""},
        {{"--version", "--help"}, Kind::Help, ""},
        {{"--export-csv", "a.csv"}, Kind::Command, "--export-csv"},
        {{"--from", "2024/01/01", "--export-csv", "a.csv"}, Kind::Command, "--export-csv"},
        {{"--import-csv=a.csv"}, Kind::Command, "--import-csv"},
        {{"--import-csv", "--", "--help"}, Kind::Command, "--import-csv"},
        {{"--import-csv", "--", "--version"}, Kind::Command, "--import-csv"},
        // The command's own parsing refuses what it lacks.
        {{"--export-csv", "--dry-run"}, Kind::Command, "--export-csv"},
        {{"--export-csv", "a", "--import-csv", "b"}, Kind::Usage, ""},
        {{"--dry-run"}, Kind::Usage, ""},
        {{"--bogus"}, Kind::Usage, ""},
        {{"--", "file"}, Kind::Usage, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words.join(QLatin1Char(' ')).toStdString());
        const CommandLineChoice choice = ChooseCommandLine(c.words);
        EXPECT_EQ(choice.kind, c.kind);
        if (c.kind == Kind::Command) {
            ASSERT_NE(choice.command, nullptr);
            EXPECT_STREQ(choice.command->name, c.command);
        }
        if (c.kind == Kind::Usage) {
            EXPECT_FALSE(choice.reason.isEmpty());
        }
    }
}

TEST(CommandLine, TheHelpListsEveryCommand) {
    const QString help = CommandLineHelp(QStringLiteral("sorvenka"));
    for (const CommandLineCommand& command : CommandLineCommands())
        EXPECT_TRUE(help.contains(QStringLiteral("sorvenka ") + QString::fromUtf8(command.usage)))
            << command.name;
    EXPECT_TRUE(help.contains(QStringLiteral("sorvenka --help | --version")));
}

// The built program with no display to connect to and with one that cannot be reached: help
// and version print and end, wrong arguments end with 2, before any window could open.
TEST(CommandLine, TheProgramAnswersWithoutOpeningAWindow) {
    const QString program = qEnvironmentVariable("VALDROME_EXE");
    ASSERT_FALSE(program.isEmpty());
    QTemporaryDir folder;  // SORVENKA_PROGRAM_FOLDER: no data folders, no database
    struct Case {
        QStringList arguments;
        int status;
        QString out;
        const char* err;
    };
    const Case cases[] = {
        {{"--help"}, 0, "--import-csv FILE|-", ""},
        {{"--version"}, 0, QStringLiteral("Sorvenka ") + testing::ExpectedVersionText(), ""},
        {{"--export-csv", "--dry-run"}, 2, "", "--export-csv の値がありません"},
        {{"--import-csv", "--dry-run"}, 2, "", "--import-csv の値がありません"},
        {{"--bogus"}, 2, "", "--bogus"},
    };
    for (const char* display : {"none", "unreachable"}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("SORVENKA_COMMAND_NAME"));
        environment.insert(QStringLiteral("SORVENKA_PROGRAM_FOLDER"), folder.path());
        if (QByteArray(display) == "none")
            environment.remove(QStringLiteral("DISPLAY"));
        else
            environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(display) + " " + c.arguments.join(' ').toStdString());
            QProcess process;
            process.setProcessEnvironment(environment);
            process.setWorkingDirectory(folder.path());
            process.start(program, c.arguments);
            ASSERT_TRUE(process.waitForFinished(30000));
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(process.exitCode(), c.status);
            const QString out = QString::fromUtf8(process.readAllStandardOutput());
            const QString err = QString::fromUtf8(process.readAllStandardError());
            EXPECT_TRUE(out.contains(c.out)) << out.toStdString();
            EXPECT_TRUE(err.contains(QString::fromUtf8(c.err))) << err.toStdString();
        }
        // Nothing was written for a file named like an option.
        EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("--dry-run"))));
    }
}

// The manual page documents every command of the table, with its usage line's options.
TEST(CommandLine, TheManualPageDocumentsEveryCommand) {
    QFile page(QStringLiteral(SORVENKA_SOURCE_DIR "/packaging/sorvenka.1"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    // roff writes a hyphen of an option as \-.
    const QString text = QString::fromUtf8(page.readAll()).replace(QStringLiteral("\\-"), "-");
    for (const CommandLineCommand& command : CommandLineCommands()) {
        EXPECT_TRUE(text.contains(QStringLiteral(".B sorvenka ") + QLatin1String(command.name)))
            << command.name << " is missing from the synopsis";
        EXPECT_TRUE(text.contains(QLatin1String(".BI ") + QLatin1String(command.name)) ||
                    text.contains(QLatin1String(".BR ") + QLatin1String(command.name)) ||
                    text.contains(QLatin1String(".B ") + QLatin1String(command.name)))
            << command.name << " has no entry";
        for (const QString& word : QString::fromUtf8(command.usage).split(QLatin1Char(' '))) {
            if (!word.startsWith(QLatin1String("[--")) && !word.startsWith(QLatin1String("--")))
                continue;
            EXPECT_TRUE(text.contains(QString(word).remove('[').remove(']')))
                << word.toStdString() << " of " << command.name;
        }
    }
    for (const char* status : {".B 0", ".B 1", ".B 2"}) EXPECT_TRUE(text.contains(status));
}

}  // namespace
}  // namespace sorvenka
