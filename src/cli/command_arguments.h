#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "cli/command_options.h"
#include "cli/command_table.h"

namespace sorvenka {

// A command line read against the rows of the command table.
struct CommandArguments {
    const CommandLineCommand* command = nullptr;  // the row of the command's word
    ParsedOptions options;                        // its word's values under its name

    bool is(const char* name) const { return QLatin1String(command->name) == name; }
    bool has(const char* name) const { return options.has(QLatin1String(name)); }
    QString value(const char* name) const { return options.value(QLatin1String(name)); }
    QStringList valueList(const char* name) const { return options.valueList(QLatin1String(name)); }
};

// Reads the command line (the program's name first) against the family of commands `run`
// runs: the words and options of its rows, read as ParseCommandOptions reads them; then one
// command's word, no option of another row, every option its row needs, and each option with
// the one it goes with. False with a Japanese reason.
bool ReadCommandArguments(const QStringList& arguments, int (*run)(const QStringList&),
                          CommandArguments& read, QString& reason);

// Writes the reason and the family's usage to err and returns the status of wrong arguments.
int RefuseArguments(const QStringList& arguments, int (*run)(const QStringList&),
                    const QString& reason, QTextStream& err);

}  // namespace sorvenka
