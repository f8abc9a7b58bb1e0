#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTextStream>

#include "cli/command_table.h"

namespace sorvenka {

// --export-csv and --import-csv, with the options of their rows in the command table.
// Works on the database of the folder layout around programFolder, refused while another
// copy of the program runs there. Figures go to out, reasons and refused rows to err.
// Returns the exit status.
int RunCsvCommand(const QStringList& arguments, const QString& programFolder,
                  const QString& programName, const QDateTime& now, QTextStream& out,
                  QTextStream& err);

// RunCsvCommand on the running executable's folder, standard output and standard error.
int RunCsvCommandLine(const QStringList& arguments);

}  // namespace sorvenka
