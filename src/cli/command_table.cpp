#include "cli/command_table.h"

#include "cli/csv_command.h"

namespace sorvenka {

// One line per command.
const std::vector<CommandLineCommand>& CommandLineCommands() {
    static const std::vector<CommandLineCommand> commands{
        {"--export-csv", "--export-csv FILE [--from yyyy/mm/dd] [--to yyyy/mm/dd]",
         &RunCsvCommandLine},
        {"--import-csv", "--import-csv FILE|- [--group CODE] [--dry-run] [--skip-refused]",
         &RunCsvCommandLine},
    };
    return commands;
}

}  // namespace sorvenka
