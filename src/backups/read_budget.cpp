#include "backups/read_budget.h"

#include <sqlite3.h>

namespace sorvenka {

ReadBudget::ReadBudget(sqlite3* connection, long calls) : connection_(connection), left_(calls) {
    if (connection_ != nullptr)
        sqlite3_progress_handler(connection_, kInstructionsPerCall, &ReadBudget::Tick, this);
}

ReadBudget::~ReadBudget() {
    if (connection_ != nullptr) sqlite3_progress_handler(connection_, 0, nullptr, nullptr);
}

int ReadBudget::Tick(void* budget) {
    auto* self = static_cast<ReadBudget*>(budget);
    return --self->left_ < 0 ? 1 : 0;
}

}  // namespace sorvenka
