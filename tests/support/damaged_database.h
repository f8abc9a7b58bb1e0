#pragma once

#include <QString>

namespace sorvenka::testing {

// Adds a few sets of one late day (2099/12/31, the greatest key) to the database and then damages
// the primary key's index the way a bad sector or a stray write would: the set number in the index
// cell of the last set is changed in the file's page, keeping the cells in order. The engine's
// integrity check then reports a row missing from the index, while its quick check still answers
// "ok". False when the page does not look as expected.
bool DamagePrimaryKeyIndex(const QString& dbPath);

// The engine's answers to PRAGMA integrity_check / quick_check, joined by newlines.
QString PragmaAnswer(const QString& dbPath, const char* pragma);

}  // namespace sorvenka::testing
