#include "cli/command_table.h"

#include "cli/backup_command.h"
#include "cli/csv_command.h"
#include "cli/master_command.h"
#include "cli/plan_command.h"

namespace sorvenka {

// One line per command.
const std::vector<CommandLineCommand>& CommandLineCommands() {
    static const std::vector<CommandLineCommand> commands{
        {"--export-csv", "--export-csv FILE [--from yyyy/mm/dd] [--to yyyy/mm/dd]",
         &RunCsvCommandLine},
        {"--import-csv",
         "--import-csv FILE|- [--group CODE] [--dry-run] [--skip-refused] [--unit kg|lb] "
         "[--map FILE] [--dry-run --write-map FILE]",
         &RunCsvCommandLine},
        {"--merge-exercise", "--merge-exercise GRP EXER --into GRP EXER [--dry-run]",
         &RunMasterCommandLine},
        {"--move-exercise", "--move-exercise GRP EXER --to GRP", &RunMasterCommandLine},
        {"--rename-exercise", "--rename-exercise GRP EXER NAME", &RunMasterCommandLine},
        {"--plan", "--plan [--date yyyy/mm/dd]", &RunPlanCommandLine},
        {"--export-routines", "--export-routines FILE", &RunPlanCommandLine},
        {"--import-routines", "--import-routines FILE [--dry-run]", &RunPlanCommandLine},
        {"--list-backups", "--list-backups", &RunBackupCommandLine},
        {"--restore-backup", "--restore-backup NAME", &RunBackupCommandLine},
        {"--check-database", "--check-database", &RunBackupCommandLine},
    };
    return commands;
}

}  // namespace sorvenka
