#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTextStream>

namespace sorvenka {

// --merge-exercise, --move-exercise and --rename-exercise, with the options of their rows in
// the command table. Works on the database of the folder layout around programFolder, refused
// while another copy of the program runs there. Results go to out, reasons to err. Returns the
// exit status: 0 done, 1 refused or failed (nothing written), 2 wrong arguments.
int RunMasterCommand(const QStringList& arguments, const QString& programFolder,
                     const QString& programName, const QDateTime& now, QTextStream& out,
                     QTextStream& err);

// RunMasterCommand on the running executable's folder, standard output and standard error.
int RunMasterCommandLine(const QStringList& arguments);

}  // namespace sorvenka
