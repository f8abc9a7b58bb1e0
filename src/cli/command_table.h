#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace sorvenka {

// Exit statuses of the command line.
inline constexpr int kCommandOk = 0;
inline constexpr int kCommandFailed = 1;
inline constexpr int kCommandUsage = 2;

// One option a command takes beside its word.
struct CommandOption {
    const char* name;              // "--from"
    const char* values = "";       // the names of its values, "yyyy/mm/dd", "GRP EXER"; "" for none
    bool required = false;         // the command needs it (else shown in brackets)
    const char* with = nullptr;    // an option it is only given with: "--dry-run"
    const char* description = "";  // what it does, for the manual page
};

// A command the program runs without a window: its word and the values the word takes, its
// options, and the function that runs it on the whole command line (the program's name first)
// and returns the exit status (0 done, 1 failed, 2 wrong arguments). The commands one function
// runs are a family: they share their parsing and their usage.
struct CommandLineCommand {
    const char* name;    // "--export-csv"
    const char* values;  // "FILE"; "" for none
    std::vector<CommandOption> options;
    int (*run)(const QStringList& arguments);
};

// Every command, in the order the help lists them.
const std::vector<CommandLineCommand>& CommandLineCommands();

// The value names of a word as a list: "GRP EXER" gives two.
QStringList ValueNames(const char* values);

// "--export-csv FILE [--from yyyy/mm/dd] [--to yyyy/mm/dd]"
QString CommandUsage(const CommandLineCommand& command);

// How a usage line shows an option's word and a word's values (the manual page in its fonts).
struct UsageDress {
    std::function<QString(const char*)> word;
    std::function<QString(const char*)> values;  // "" gives ""

    QString withValues(const char* name, const char* values) const;
};
QString CommandUsage(const CommandLineCommand& command, const UsageDress& dress);

// "使い方:" and a line "  name usage" for each command of the family `run` runs.
QString FamilyUsage(const QString& name, int (*run)(const QStringList&));

}  // namespace sorvenka
