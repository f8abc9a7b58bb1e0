#pragma once

struct sqlite3;

namespace sorvenka {

// Bounds the work of the statements run on a connection while it lives: past the budget of
// engine instructions every statement stops with SQLITE_INTERRUPT. A file from elsewhere can
// hold a query that never ends; a count of a real table needs a tiny part of the budget.
class ReadBudget {
  public:
    // Instructions of the engine allowed, in steps of kInstructionsPerCall.
    static constexpr int kInstructionsPerCall = 10000;
    static constexpr long kDefaultCalls = 5000;  // 5e7 instructions: a second or two at most

    explicit ReadBudget(sqlite3* connection, long calls = kDefaultCalls);
    ~ReadBudget();
    ReadBudget(const ReadBudget&) = delete;
    ReadBudget& operator=(const ReadBudget&) = delete;

    bool exhausted() const { return left_ < 0; }

  private:
    static int Tick(void* budget);

    sqlite3* connection_;
    long left_;
};

}  // namespace sorvenka
