#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTextStream>

namespace sorvenka {

// --plan, --export-routines and --import-routines, with the options of their rows in the
// command table. Works on the database of the folder layout around programFolder, refused while
// another copy of the program runs there. The plan and figures go to out, reasons and refused
// lines to err. Returns the exit status: 0 done, 1 refused or failed (nothing written), 2 wrong
// arguments.
int RunPlanCommand(const QStringList& arguments, const QString& programFolder,
                   const QString& programName, const QDateTime& now, QTextStream& out,
                   QTextStream& err);

// RunPlanCommand on the running executable's folder, standard output and standard error.
int RunPlanCommandLine(const QStringList& arguments);

}  // namespace sorvenka
