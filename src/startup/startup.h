#pragma once

#include <QString>

namespace sorvenka {

class Platform;

// The entry procedure: single-instance guard, log, runtime files, data folders, backup,
// database open, master checks, then the main window and its event loop. Returns the exit
// status of a normal close; every failing step ends the program through the platform.
int Main(Platform& platform, const QString& programFolder, const QString& programName);

}  // namespace sorvenka
