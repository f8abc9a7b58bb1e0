#pragma once

#include <QString>

namespace sorvenka {

class Log;
class Platform;

// At start, when the database file is damaged (or missing): says so, names the folder of the
// good copies and offers to restore the newest of them; the current file, if any, is kept
// beside the restored one as exercise_<keptKind>_<stamp>.sqlite3. True when the database was
// restored and the start may go on; false when the user declined, no good copy is left or the
// restore failed (each said to the user).
bool OfferRestoreAtStart(Platform& platform, Log& log, const QString& baseFolder,
                         const QString& problem, const QString& keptKind);

}  // namespace sorvenka
