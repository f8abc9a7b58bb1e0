#include "cli/command_table.h"

#include "cli/backup_command.h"
#include "cli/csv_command.h"
#include "cli/master_command.h"
#include "cli/plan_command.h"

namespace sorvenka {

// One row per command; an option's values, brackets, companion and description are written
// here alone. A value name of small letters only (kg, -) is typed as it stands.
const std::vector<CommandLineCommand>& CommandLineCommands() {
    static const std::vector<CommandLineCommand> commands{
        {"--export-csv",
         "FILE",
         {{.name = "--from",
           .values = "yyyy/mm/dd",
           .description = "the first day whose sets are written"},
          {.name = "--to",
           .values = "yyyy/mm/dd",
           .description = "the last day whose sets are written"}},
         &RunCsvCommandLine},
        {"--import-csv",
         "FILE|-",
         {{.name = "--group",
           .values = "CODE",
           .description = "the group of new exercises (default: the group that a FitNotes "
                          "category names, else the first group)"},
          {.name = "--dry-run", .description = "decides everything and writes nothing"},
          {.name = "--skip-refused",
           .description = "writes the good rows although others were refused"},
          {.name = "--unit",
           .values = "kg|lb",
           .description = "the unit of loads for a file that does not name one"},
          {.name = "--distance-unit",
           .values = "km|mi",
           .description = "the unit of distances for a file that holds distances without "
                          "naming their unit (Strong's comma form); the preview proposes mi "
                          "when the loads are in lb, km otherwise"},
          {.name = "--map",
           .values = "FILE",
           .description = "takes from that file which exercise each name of the CSV file "
                          "stands for"},
          {.name = "--write-map",
           .values = "FILE",
           .with = "--dry-run",
           .description = "writes the exercises the import would use into that file, to be "
                          "edited and given to --map; on the row of a new exercise (no "
                          "exercise code), a name in the exer_name column names it"}},
         &RunCsvCommandLine},
        {"--merge-exercise",
         "GRP EXER",
         {{.name = "--into",
           .values = "GRP EXER",
           .required = true,
           .description = "the exercise, of any group, that takes the sets"},
          {.name = "--dry-run", .description = "only tells what would change"}},
         &RunMasterCommandLine},
        {"--move-exercise",
         "GRP EXER",
         {{.name = "--to",
           .values = "GRP",
           .required = true,
           .description = "the group the exercise moves into"}},
         &RunMasterCommandLine},
        {"--rename-exercise", "GRP EXER NAME", {}, &RunMasterCommandLine},
        {"--plan",
         "",
         {{.name = "--date",
           .values = "yyyy/mm/dd",
           .description = "the day to plan, in place of today"}},
         &RunPlanCommandLine},
        {"--export-routines", "FILE", {}, &RunPlanCommandLine},
        {"--import-routines",
         "FILE",
         {{.name = "--dry-run", .description = "only tells what would be added"}},
         &RunPlanCommandLine},
        {"--list-backups", "", {}, &RunBackupCommandLine},
        {"--restore-backup", "NAME", {}, &RunBackupCommandLine},
        {"--check-database", "", {}, &RunBackupCommandLine},
    };
    return commands;
}

QStringList ValueNames(const char* values) {
    return QString::fromUtf8(values).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString UsageDress::withValues(const char* name, const char* values) const {
    const QString shown = this->values(values);
    return shown.isEmpty() ? word(name) : word(name) + QLatin1Char(' ') + shown;
}

QString CommandUsage(const CommandLineCommand& command, const UsageDress& dress) {
    QString usage = dress.withValues(command.name, command.values);
    for (const CommandOption& option : command.options) {
        QString text = dress.withValues(option.name, option.values);
        if (option.with != nullptr) text = dress.word(option.with) + QLatin1Char(' ') + text;
        usage += QLatin1Char(' ') +
                 (option.required ? text : QLatin1Char('[') + text + QLatin1Char(']'));
    }
    return usage;
}

QString CommandUsage(const CommandLineCommand& command) {
    const auto plain = [](const char* text) { return QString::fromUtf8(text); };
    return CommandUsage(command, {plain, plain});
}

QString FamilyUsage(const QString& name, int (*run)(const QStringList&)) {
    QString usage = QStringLiteral("使い方:");
    for (const CommandLineCommand& command : CommandLineCommands())
        if (command.run == run)
            usage += QStringLiteral("\n  %1 %2").arg(name, CommandUsage(command));
    return usage;
}

}  // namespace sorvenka
