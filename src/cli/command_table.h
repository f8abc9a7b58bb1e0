#pragma once

#include <QStringList>
#include <vector>

namespace sorvenka {

// A command the program runs without a window: its word, its usage line, and the function
// that runs it on the whole command line (the program's name first) and returns the exit
// status (0 done, 1 failed, 2 wrong arguments).
struct CommandLineCommand {
    const char* name;   // "--export-csv"
    const char* usage;  // "--export-csv FILE [--from yyyy/mm/dd] [--to yyyy/mm/dd]"
    int (*run)(const QStringList& arguments);
};

// Every command, in the order the help lists them.
const std::vector<CommandLineCommand>& CommandLineCommands();

}  // namespace sorvenka
