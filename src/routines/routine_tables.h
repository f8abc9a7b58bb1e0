#pragma once

struct sqlite3;

namespace sorvenka {

// The routines, their days and items, the plates and the warm-up scheme live in tables of their
// own beside the six of the log (s_routine, s_routine_day, s_routine_item, s_plate, s_warmup),
// made by the first write that needs them, so the log's tables keep their meaning, backups and
// a restore carry them, and a database without them reads as one without routines.

// Makes the tables that are missing; false when the engine refused.
bool EnsureRoutineTables(sqlite3* db);

// True when the tables exist (a read of a database without them finds nothing).
bool RoutineTablesExist(sqlite3* db);

}  // namespace sorvenka
