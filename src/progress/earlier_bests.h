#pragma once

#include <QString>

struct sqlite3;

namespace sorvenka {

class RecordMarks;
struct ExerciseSelection;

// Hands the marks the bests of the exercise's days before the selection's period, so that
// the period's days are then judged against the whole history. The days' bests are read once
// and kept while the file is unchanged (history_cache.h): another period of the same exercise
// reads only the days not held yet. False with the engine's message when the read failed.
bool AddEarlierBests(sqlite3* connection, const ExerciseSelection& selection, RecordMarks& marks,
                     QString& error);

// The rows of that read when nothing is held yet, as one statement: ?1 = the period's first
// day, ?3, ?4 = group and exercise.
const char* EarlierSetsStatement();

}  // namespace sorvenka
