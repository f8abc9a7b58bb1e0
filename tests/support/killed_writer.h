#pragma once

#include <QString>

namespace sorvenka::testing {

// A writer killed in the middle of a commit: a child inserts 400 sets of 2024/05/14 (exercise
// 01/01, long comments) in one transaction with a cache of a few pages, so changed pages spill
// into the file, runs `then` in the same transaction, and is killed before it commits. True when
// the child died by the signal and left its hot journal beside the database.
bool KillWriterMidCommit(const QString& dbPath, const char* then = "");

}  // namespace sorvenka::testing
