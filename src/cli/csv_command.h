#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTextStream>

namespace sorvenka {

// Exit statuses of the command line.
inline constexpr int kCommandOk = 0;
inline constexpr int kCommandFailed = 1;
inline constexpr int kCommandUsage = 2;

// Valdrome --export-csv FILE [--from yyyy/mm/dd] [--to yyyy/mm/dd]
// Valdrome --import-csv FILE [--group CODE] [--dry-run] [--skip-refused] [--unit kg|lb]
//                           [--map FILE] [--dry-run --write-map FILE]
// Works on the database of the folder layout around programFolder, refused while another
// copy of the program runs there. Figures go to out, reasons and refused rows to err.
// Returns the exit status.
int RunCsvCommand(const QStringList& arguments, const QString& programFolder,
                  const QString& programName, const QDateTime& now, QTextStream& out,
                  QTextStream& err);

// RunCsvCommand on the running executable's folder, standard output and standard error.
int RunCsvCommandLine(const QStringList& arguments);

}  // namespace sorvenka
