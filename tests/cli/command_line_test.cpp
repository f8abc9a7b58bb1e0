// What a command line asks for, decided before any application object exists, and the built
// program's answers with and without a display.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli/manual_page.h"
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
        EXPECT_TRUE(help.contains(QStringLiteral("  sorvenka ") + CommandUsage(command) + '\n'))
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

// The usage lines come from the rows: values, brackets and an option's companion.
TEST(CommandLine, UsageLinesComeFromTheRows) {
    const auto usage = [](const char* name) {
        for (const CommandLineCommand& command : CommandLineCommands())
            if (QLatin1String(command.name) == name) return CommandUsage(command);
        return QString();
    };
    EXPECT_EQ(usage("--check-database"), QStringLiteral("--check-database"));
    EXPECT_EQ(usage("--move-exercise"), QStringLiteral("--move-exercise GRP EXER --to GRP"));
    EXPECT_TRUE(usage("--import-csv").endsWith(QStringLiteral(" [--dry-run --write-map FILE]")));
    EXPECT_EQ(FamilyUsage(QStringLiteral("sorvenka"), CommandLineCommands().back().run),
              QStringLiteral("使い方:\n"
                             "  sorvenka --list-backups\n"
                             "  sorvenka --restore-backup NAME\n"
                             "  sorvenka --check-database"));
}

// The text of a roff line as the reader sees it: the font macros' arguments, alternating ones
// joined without a space (.RB [ \-\-from gives "[--from"), font escapes dropped; other
// requests and comments give nothing.
QString RoffText(QString line) {
    static const QRegularExpression fontEscape(QStringLiteral(R"re(\\f[BIR])re"));
    line.remove(fontEscape);
    if (!line.startsWith(QLatin1Char('.'))) return line;
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    const QString macro = line.left(space);
    static const QStringList fonts{".B", ".I", ".BR", ".RB", ".IR", ".RI", ".BI", ".IB"};
    if (space < 0 || !fonts.contains(macro)) return QString();
    QStringList arguments;
    static const QRegularExpression word(QStringLiteral(R"re("([^"]*)"|(\S+))re"));
    for (auto match = word.globalMatch(line.mid(space + 1)); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        arguments << (m.capturedStart(1) >= 0 ? m.captured(1) : m.captured(2));
    }
    return arguments.join(macro.size() == 3 ? QString() : QStringLiteral(" "));
}

// The manual page, filled from the command table, says in its synopsis what the help says,
// line for line, and has an entry for every command with a description of each option.
TEST(CommandLine, TheManualPageDocumentsEveryCommand) {
    QFile file(QStringLiteral(SORVENKA_SOURCE_DIR "/packaging/sorvenka.1.in"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString page, reason;
    ASSERT_TRUE(FillManualPage(QString::fromUtf8(file.readAll()), page, reason))
        << reason.toStdString();
    // roff writes a hyphen of an option as \-.
    const QString text = page.replace(QStringLiteral("\\-"), "-");
    const qsizetype from = text.indexOf(QStringLiteral(".SH SYNOPSIS\n"));
    const qsizetype to = text.indexOf(QStringLiteral(".SH DESCRIPTION"));
    ASSERT_TRUE(from >= 0 && to > from);
    QStringList synopsis;
    for (const QString& block : text.mid(from, to - from).split(QStringLiteral(".br\n"))) {
        QStringList words;
        for (const QString& line : block.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (!RoffText(line).isEmpty()) words << RoffText(line);
        synopsis << words.join(QLatin1Char(' '));
    }
    QStringList expected{QStringLiteral("sorvenka")};
    for (const CommandLineCommand& command : CommandLineCommands())
        expected << QStringLiteral("sorvenka ") + CommandUsage(command);
    expected << QStringLiteral("sorvenka --help | --version");
    EXPECT_EQ(synopsis.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());

    const QString body = text.mid(to);
    for (const CommandLineCommand& command : CommandLineCommands()) {
        EXPECT_TRUE(body.contains(QStringLiteral(".TP\n\\fB") + QLatin1String(command.name)))
            << command.name << " has no entry";
        for (const CommandOption& option : command.options) {
            EXPECT_TRUE(body.contains(QStringLiteral(".TP\n\\fB") + QLatin1String(option.name)))
                << option.name << " of " << command.name << " has no entry";
            EXPECT_TRUE(body.contains(
                QString::fromUtf8(option.description).section(QLatin1Char(' '), 0, 2)))
                << option.name << " of " << command.name << " is not described";
        }
    }
    for (const char* status : {".B 0", ".B 1", ".B 2"}) EXPECT_TRUE(text.contains(status));
}

}  // namespace
}  // namespace sorvenka
