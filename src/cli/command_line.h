#pragma once

#include <QString>
#include <QStringList>

#include "cli/command_table.h"

namespace sorvenka {

// What the words after the program's name ask for, decided before any application object
// exists, so that --help and --version need no display.
struct CommandLineChoice {
    enum class Kind { Window, Help, Version, Command, Usage };
    Kind kind = Kind::Window;
    const CommandLineCommand* command = nullptr;  // for Kind::Command
    QString reason;                               // for Kind::Usage
};

// --help or --version anywhere before a lone "--" wins; else one command's word (a second,
// different one is refused); else the window, which takes no "--" words and no "--".
// Single-dash words are the toolkit's own options for the window (-platform ...).
CommandLineChoice ChooseCommandLine(const QStringList& words);

// The help printed by --help: every command's usage line under `name`, the exit statuses.
QString CommandLineHelp(const QString& name);
// "Sorvenka Ver2.0.3"
QString CommandLineVersion();

// The name the help shows: the launcher's when it started the program, else the program's.
QString CommandLineName(const char* argv0);

}  // namespace sorvenka
