#pragma once

#include <QString>
#include <map>
#include <optional>
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

// The best figures of the days so far, for marking the records each next day beats.
class RecordMarks {
  public:
    // Sets the day's `beaten` to the records it beat: a figure above the best of all the days
    // added before it. The first figure of a kind beats nothing, nor does the first set at a
    // new load. Days are added oldest first; loads holds the day's most repetitions per load.
    void add(DayFigures& day, const std::vector<LoadRepsDay>& loads);
    // The most repetitions at each load, heaviest load first, each with the first day it was
    // done.
    std::vector<PersonalRecord> mostRepsRecords() const;

  private:
    std::optional<double> topKg_, bestE1rm_, volume_, longestKm_, fastestPace_;
    std::optional<int> longest_, mostRepsNoLoad_;
    std::map<std::pair<QString, double>, LoadRepsDay> mostReps_;  // by load unit and load
};

// The day that first reached the highest figure, or -1 when no day has one.
int BestDayIndex(const std::vector<DayFigures>& days, std::optional<double> DayFigures::*figure);
int BestDayIndex(const std::vector<DayFigures>& days, std::optional<int> DayFigures::*figure);

}  // namespace sorvenka
