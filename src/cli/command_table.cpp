#include "cli/command_table.h"

#include "cli/backup_command.h"
#include "cli/csv_command.h"
#include "cli/master_command.h"
#include "cli/plan_command.h"

namespace sorvenka {

// One row per command; an option's values, brackets and companions are written here alone.
const std::vector<CommandLineCommand>& CommandLineCommands() {
    static const std::vector<CommandLineCommand> commands{
        {"--export-csv",
         "FILE",
         {{"--from", "yyyy/mm/dd"}, {"--to", "yyyy/mm/dd"}},
         &RunCsvCommandLine},
        {"--import-csv",
         "FILE|-",
         {{"--group", "CODE"},
          {"--dry-run"},
          {"--skip-refused"},
          {"--unit", "kg|lb"},
          {"--distance-unit", "km|mi"},
          {"--map", "FILE"},
          {"--write-map", "FILE", false, "--dry-run"}},
         &RunCsvCommandLine},
        {"--merge-exercise",
         "GRP EXER",
         {{"--into", "GRP EXER", true}, {"--dry-run"}},
         &RunMasterCommandLine},
        {"--move-exercise", "GRP EXER", {{"--to", "GRP", true}}, &RunMasterCommandLine},
        {"--rename-exercise", "GRP EXER NAME", {}, &RunMasterCommandLine},
        {"--plan", "", {{"--date", "yyyy/mm/dd"}}, &RunPlanCommandLine},
        {"--export-routines", "FILE", {}, &RunPlanCommandLine},
        {"--import-routines", "FILE", {{"--dry-run"}}, &RunPlanCommandLine},
        {"--list-backups", "", {}, &RunBackupCommandLine},
        {"--restore-backup", "NAME", {}, &RunBackupCommandLine},
        {"--check-database", "", {}, &RunBackupCommandLine},
    };
    return commands;
}

QStringList ValueNames(const char* values) {
    return QString::fromUtf8(values).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

namespace {

QString WithValues(const char* name, const char* values) {
    QString text = QString::fromUtf8(name);
    if (*values != '\0') text += QLatin1Char(' ') + QString::fromUtf8(values);
    return text;
}

}  // namespace

QString CommandUsage(const CommandLineCommand& command) {
    QString usage = WithValues(command.name, command.values);
    for (const CommandOption& option : command.options) {
        QString text = WithValues(option.name, option.values);
        if (option.with != nullptr) text = QString::fromUtf8(option.with) + QLatin1Char(' ') + text;
        usage += QLatin1Char(' ') +
                 (option.required ? text : QLatin1Char('[') + text + QLatin1Char(']'));
    }
    return usage;
}

QString FamilyUsage(const QString& name, int (*run)(const QStringList&)) {
    QString usage = QStringLiteral("使い方:");
    for (const CommandLineCommand& command : CommandLineCommands())
        if (command.run == run)
            usage += QStringLiteral("\n  %1 %2").arg(name, CommandUsage(command));
    return usage;
}

}  // namespace sorvenka
