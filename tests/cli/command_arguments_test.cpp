// A command line read against the rows of the command table: one command's word, the options
// of its row only, those it needs, and an option with its companion.
#include "cli/command_arguments.h"

#include <gtest/gtest.h>

#include "cli/backup_command.h"
#include "cli/csv_command.h"
#include "cli/master_command.h"
#include "cli/plan_command.h"

namespace sorvenka {
namespace {

TEST(CommandArguments, OneCommandWithTheOptionsOfItsRow) {
    struct Case {
        int (*run)(const QStringList&);
        QStringList words;
        const char* command;  // the row read, "" when refused
        const char* reason;   // a part of the reason when refused
    };
    const Case cases[] = {
        {&RunCsvCommandLine, {"--import-csv", "a.csv", "--unit", "lb"}, "--import-csv", ""},
        {&RunCsvCommandLine,
         {"--dry-run", "--write-map", "m.csv", "--import-csv=a"},
         "--import-csv",
         ""},
        {&RunCsvCommandLine,
         {"--export-csv", "a.csv", "--dry-run"},
         "",
         "使えない引数があります: --dry-run"},
        {&RunCsvCommandLine, {"--import-csv", "a", "--write-map", "m"}, "", "--dry-run と一緒に"},
        {&RunCsvCommandLine, {"--from", "2024/01/01"}, "", "--export-csv、--import-csv のどれか"},
        {&RunCsvCommandLine, {"--export-csv", "a", "--import-csv", "b"}, "", "一度に一つだけ"},
        {&RunCsvCommandLine, {"--plan"}, "", "不明なオプションです: --plan"},
        {&RunMasterCommandLine,
         {"--merge-exercise", "01", "05", "--into", "01", "01"},
         "--merge-exercise",
         ""},
        {&RunMasterCommandLine,
         {"--merge-exercise", "01", "05"},
         "",
         "足りない引数があります: --into"},
        {&RunMasterCommandLine,
         {"--move-exercise", "01", "05", "--to", "02", "--dry-run"},
         "",
         "使えない引数があります: --dry-run"},
        {&RunMasterCommandLine,
         {"--rename-exercise", "01", "05", "x", "--into", "01", "01"},
         "",
         "使えない引数があります: --into"},
        {&RunPlanCommandLine, {"--plan", "--date", "2024/05/01"}, "--plan", ""},
        {&RunPlanCommandLine, {"--import-routines", "r.csv", "--dry-run"}, "--import-routines", ""},
        {&RunPlanCommandLine,
         {"--export-routines", "r.csv", "--date", "2024/05/01"},
         "",
         "使えない引数があります: --date"},
        {&RunBackupCommandLine, {"--check-database"}, "--check-database", ""},
        {&RunBackupCommandLine, {"--list-backups", "--check-database"}, "", "一度に一つだけ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words.join(' ').toStdString());
        CommandArguments read;
        QString reason;
        const bool ok = ReadCommandArguments(QStringList{QStringLiteral("Valdrome")} + c.words,
                                             c.run, read, reason);
        EXPECT_EQ(ok, *c.command != '\0') << reason.toStdString();
        if (ok)
            EXPECT_STREQ(read.command->name, c.command);
        else
            EXPECT_TRUE(reason.contains(QString::fromUtf8(c.reason))) << reason.toStdString();
    }
}

// The values come under the option's name; a command's word carries its own.
TEST(CommandArguments, ValuesUnderTheirNames) {
    CommandArguments read;
    QString reason;
    ASSERT_TRUE(ReadCommandArguments({"Valdrome", "--rename-exercise", "01", "--", "05", "--odd"},
                                     &RunMasterCommandLine, read, reason))
        << reason.toStdString();
    EXPECT_EQ(read.valueList("--rename-exercise"), (QStringList{"01", "05", "--odd"}));
    ASSERT_TRUE(ReadCommandArguments(
        {"Valdrome", "--into", "02", "03", "--merge-exercise", "01", "05", "--dry-run"},
        &RunMasterCommandLine, read, reason))
        << reason.toStdString();
    EXPECT_EQ(read.valueList("--merge-exercise"), (QStringList{"01", "05"}));
    EXPECT_EQ(read.valueList("--into"), (QStringList{"02", "03"}));
    EXPECT_TRUE(read.has("--dry-run"));
    EXPECT_FALSE(read.has("--to"));
}

}  // namespace
}  // namespace sorvenka
