#include "progress/day_accumulator.h"

#include <algorithm>

namespace sorvenka {

namespace {

template <typename T>
void Add(std::optional<T>& sum, T value) {
    sum = sum.value_or(T{}) + value;
}

}  // namespace

void DayAccumulator::add(const SetValues& set) {
    ++day_.sets;
    // Only a set with a start takes part in the rests (the days before a period have none).
    if (set.times.start >= 0) times_.push_back(set.times);
    if (set.notANumber) {
        ++day_.skipped;
        return;
    }
    std::optional<long long> duration;
    if (!set.cnt && (set.minutes || set.seconds))
        duration = set.minutes.value_or(0) * 60 + set.seconds.value_or(0);
    if (duration && *duration > 0) {
        Add(day_.durationSeconds, static_cast<int>(*duration));
        RaiseBest(day_.longestSeconds, static_cast<int>(*duration));
    }
    if (!set.target || !(*set.target > 0)) {  // no load, no distance
        if (set.cnt && *set.cnt > 0 && set.unit != TargetUnit::Km && set.unit != TargetUnit::M) {
            RaiseBest(day_.mostRepsNoLoad, static_cast<int>(*set.cnt));
            Add(day_.totalRepsNoLoad, static_cast<int>(*set.cnt));
        }
        return;
    }
    const double target = *set.target;
    if (set.unit == TargetUnit::Kg || set.unit == TargetUnit::Lb) {
        const double kg = set.unit == TargetUnit::Kg ? target : target * kKgPerLb;
        RaiseBest(day_.topKg, kg);
        if (!set.cnt) return;
        const long long reps = *set.cnt;
        if (reps <= 0) return;
        if (const auto estimate = EstimatedOneRepMax(kg, static_cast<int>(std::min(reps, 13LL))))
            RaiseBest(day_.bestE1rmKg, *estimate);
        Add(day_.volumeKg, kg * static_cast<double>(reps));
        const QString& countUnit = set.countUnit ? *set.countUnit : QString();
        const auto known = std::find_if(mostReps_.begin(), mostReps_.end(), [&](const MostReps& m) {
            return m.unit == set.unit && m.load == target;
        });
        if (known == mostReps_.end())
            mostReps_.push_back({set.unit, target, reps, countUnit});
        else if (reps > known->reps)
            *known = {set.unit, target, reps, countUnit};
    } else if (set.unit == TargetUnit::Km || set.unit == TargetUnit::M) {
        const double km = set.unit == TargetUnit::Km ? target : target / 1000.0;
        Add(day_.distanceKm, km);
        RaiseBest(day_.longestDistanceKm, km);
        if (duration && *duration > 0) {
            pacedKm_ += km;
            pacedSeconds_ += *duration;
        }
    }
}

DayFigures DayAccumulator::finish(const QString& ymd, std::vector<LoadRepsDay>& loadReps) {
    DayFigures day = std::move(day_);
    day.ymd = ymd;
    if (pacedKm_ > 0) day.paceSecondsPerKm = static_cast<double>(pacedSeconds_) / pacedKm_;
    RestPairs pairs = PairRests(std::move(times_));
    day.restsCounted = static_cast<int>(pairs.rests.size());
    day.restsLeftOut = pairs.leftOut;
    day.medianRestSeconds = Median(std::move(pairs.rests));
    // Loads in their order as numbers, as the records list them.
    std::sort(mostReps_.begin(), mostReps_.end(), [](const MostReps& a, const MostReps& b) {
        return a.unit != b.unit ? a.unit < b.unit : a.load < b.load;
    });
    for (const MostReps& m : mostReps_)
        loadReps.push_back({ymd,
                            m.unit == TargetUnit::Kg ? QStringLiteral("kg") : QStringLiteral("lb"),
                            m.load, static_cast<int>(m.reps), m.countUnit});
    day_ = DayFigures();
    pacedKm_ = 0;
    pacedSeconds_ = 0;
    times_ = {};
    mostReps_.clear();
    return day;
}

}  // namespace sorvenka
