#pragma once

#include <QString>

namespace sorvenka {

// Copies the database source into target (made anew) through the engine rather than as a
// file: a journal left by a crash in the middle of a commit is rolled back first, so the copy
// holds exactly what the file holds once it is opened. The source is never created. False
// when any step fails; target is then removed, and failedCode (when given) holds the engine's
// code of the step that failed (SQLITE_FULL when the target's disk is full) or SQLITE_OK.
bool CopyThroughEngine(const QString& source, const QString& target, int* failedCode = nullptr);

// Rolls back what a crash in the middle of a commit left of the database's journal (the engine
// does so at the first read of a connection that may write) and removes the journal files
// that are then of no use. True when no journal that could be played into the file is left
// beside it: a file put at its name may then never receive another file's pages.
bool SettleJournal(const QString& path);

// Removes a file and the journal files the engine may have left beside it.
void RemoveWithJournals(const QString& path);

// The journal files the engine keeps beside a database file.
inline const char* const kJournalSuffixes[] = {"-journal", "-wal", "-shm"};

}  // namespace sorvenka
