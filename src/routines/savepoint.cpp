#include "routines/savepoint.h"

#include <sqlite3.h>

namespace sorvenka {

Savepoint::Savepoint(sqlite3* db) : db_(db) {
    open_ = db && sqlite3_exec(db, "savepoint routines", nullptr, nullptr, nullptr) == SQLITE_OK;
}

Savepoint::~Savepoint() {
    if (!open_) return;
    sqlite3_exec(db_, "rollback to routines", nullptr, nullptr, nullptr);
    sqlite3_exec(db_, "release routines", nullptr, nullptr, nullptr);
}

bool Savepoint::release() {
    if (!open_) return false;
    if (sqlite3_exec(db_, "release routines", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    open_ = false;
    return true;
}

}  // namespace sorvenka
