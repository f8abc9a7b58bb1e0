#pragma once

#include <QString>
#include <memory>

struct sqlite3;

namespace sorvenka {

// A connection of its own to a database file, closed when it goes out of scope: for the work
// on whole files (copies, checks, counts) beside the program's one connection.
struct ConnectionCloser {
    void operator()(sqlite3* handle) const;
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

// Opens the file with the engine's open flags (SQLITE_OPEN_READONLY, ...); null on failure,
// with the engine's code in code when given. Another program's lock is waited for a while.
Connection OpenConnection(const QString& path, int flags, int* code = nullptr);

}  // namespace sorvenka
