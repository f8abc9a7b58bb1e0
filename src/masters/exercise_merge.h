#pragma once

#include <QString>

#include "masters/master_statements.h"

struct sqlite3;

namespace sorvenka {

// What a merge of one exercise into another changes.
struct MergeFigures {
    QString fromLabel;  // "01 胸 / 05 Bench Press (Barbell)"
    QString intoLabel;
    qint64 sets = 0;            // sets of the merged exercise, all re-keyed
    qint64 days = 0;            // days those sets lie on
    qint64 sharedDays = 0;      // days on which the target has sets too
    qint64 renumberedSets = 0;  // the merged exercise's sets of those days, numbered anew
};

// The figures of merging `from` into `into`, read without writing. False with the reason when
// the two are the same or either does not exist.
bool PreviewMerge(sqlite3* db, const ExerciseKey& from, const ExerciseKey& into,
                  MergeFigures& figures, QString& message);

// Re-keys every set of `from` to `into` and deletes `from` from the master, in one transaction:
// a failure or an end of the process on the way leaves the file as it was. On a day on which
// `into` has sets too, the sets of `from` get the numbers after the highest of `into` that day,
// in the order of their start times (sets without a start time after those with one, ties by
// their old numbers); on other days they keep their numbers. figures: what was changed.
bool MergeExercise(sqlite3* db, const ExerciseKey& from, const ExerciseKey& into,
                   MergeFigures& figures, QString& message);

// The figures shown before a merge, naming the copy taken first (a path in db_backup).
QString MergePreviewText(const MergeFigures& figures, const QString& copyName);
// The summary after it.
QString MergeDoneText(const MergeFigures& figures, const QString& copyName);

}  // namespace sorvenka
