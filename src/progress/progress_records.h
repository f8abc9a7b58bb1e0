#pragma once

#include <QString>
#include <vector>

#include "progress/exercise_history.h"

namespace sorvenka {

// The most repetitions done with one load (in its stored unit) on one day.
struct LoadRepsDay {
    QString ymd;
    QString loadUnit;
    double load = 0;
    int reps = 0;
    QString repsUnit;
};

// Names of the records as the window lists them.
QString RecordName(RecordKind kind);
// "最多回数 60 kg": the record of most repetitions at one load.
QString MostRepsName(double load, const QString& loadUnit);

// Sets each day's `beaten` to the records it beat: a figure above the best of all the days
// before it. The first figure of a kind beats nothing, nor does the first set at a new load.
// Days come oldest first; loadReps in day order.
void MarkBeatenRecords(std::vector<DayFigures>& days, const std::vector<LoadRepsDay>& loadReps);

// The day that first reached the highest figure, or -1 when no day has one.
int BestDayIndex(const std::vector<DayFigures>& days, std::optional<double> DayFigures::*figure);
int BestDayIndex(const std::vector<DayFigures>& days, std::optional<int> DayFigures::*figure);

// The most repetitions at each load, heaviest load first, each with the first day it was done.
std::vector<PersonalRecord> MostRepsRecords(const std::vector<LoadRepsDay>& loadReps);

}  // namespace sorvenka
