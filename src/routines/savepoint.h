#pragma once

struct sqlite3;

namespace sorvenka {

// A write that is whole or not at all, inside a caller's transaction as well as alone: released
// by release(), rolled back to its start at destruction otherwise.
class Savepoint {
  public:
    explicit Savepoint(sqlite3* db);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    bool begun() const { return open_; }
    bool release();

  private:
    sqlite3* db_;
    bool open_ = false;
};

}  // namespace sorvenka
