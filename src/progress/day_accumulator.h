#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "progress/exercise_history.h"
#include "progress/progress_math.h"
#include "progress/progress_records.h"

namespace sorvenka {

enum class TargetUnit { Other, Kg, Lb, Km, M };

// A best so far: the first value sets it, a greater one raises it.
template <typename T>
void RaiseBest(std::optional<T>& best, T value) {
    if (!best || value > *best) best = value;
}

// The values of one stored set as the figures need them.
struct SetValues {
    SetTimes times;
    bool notANumber = false;  // a load, count or duration stored as something else
    std::optional<double> target;
    TargetUnit unit = TargetUnit::Other;
    std::optional<long long> cnt;
    const QString* countUnit = nullptr;  // the count's unit, with a count
    std::optional<long long> minutes;
    std::optional<long long> seconds;
};

// Gathers the sets of one day of an exercise into the day's figures.
class DayAccumulator {
  public:
    void add(const SetValues& set);
    // The day's figures (without working time and records beaten); the most repetitions at
    // each load are appended to loadReps. The accumulator is empty again afterwards.
    DayFigures finish(const QString& ymd, std::vector<LoadRepsDay>& loadReps);

  private:
    struct MostReps {
        TargetUnit unit;
        double load;  // as stored
        long long reps;
        QString countUnit;
    };
    DayFigures day_;
    double pacedKm_ = 0;
    long long pacedSeconds_ = 0;
    std::vector<SetTimes> times_;
    std::vector<MostReps> mostReps_;  // a few loads a day: a search along them is quickest
};

}  // namespace sorvenka
