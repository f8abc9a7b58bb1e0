#pragma once

#include <QString>
#include <vector>

namespace sorvenka::testing {

// Database files that pass the engine's integrity check but are no database of the program as
// it uses it: made from the program's first database, or from nothing.
struct HostileCopy {
    const char* name;  // what is wrong with it
    const char* sql;   // run on the first database (or on an empty file when fromNothing)
    bool fromNothing;
    const char* reason;  // a part of the plain reason given for it
};

// A trigger that empties the record table at a rename of an exercise; the record table as a view
// of a query that never ends; only a table foo; the record table without its comment column.
const std::vector<HostileCopy>& HostileCopies();

// Writes the file at path (replacing one there). False when the statements fail.
bool MakeHostileCopy(const QString& path, const HostileCopy& copy);

}  // namespace sorvenka::testing
