#pragma once

#include <QString>

struct sqlite3;

namespace sorvenka {

class RecordMarks;
struct ExerciseSelection;

// Hands the marks the bests of the exercise's days before the selection's period, so that
// the period's days are then judged against the whole history. One pass over the earlier
// sets, reading only the columns the records are figured from and keeping only the bests
// (no figures per day). False with the engine's message when the read failed.
bool AddEarlierBests(sqlite3* connection, const ExerciseSelection& selection, RecordMarks& marks,
                     QString& error);

// The statement of that read: ?1 = the period's first day, ?3, ?4 = group and exercise.
const char* EarlierSetsStatement();

}  // namespace sorvenka
