#include "progress/earlier_bests.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/text_tests.h"
#include "db/prepared_statement.h"
#include "progress/day_accumulator.h"
#include "progress/exercise_history.h"
#include "progress/progress_math.h"
#include "progress/progress_records.h"
#include "progress/set_numbers.h"

namespace sorvenka {

namespace {

// The exercise's sets before the period in day order, which the key's index gives without
// sorting. Only the columns the records are figured from: each column more is read from
// every row of the whole history.
const char* const kEarlierSetsSql =
    "SELECT ymd, target, unit_t, cnt, cnt_min, cnt_sec"
    " FROM t_exer WHERE ymd < ?1 AND grp_cd = ?3 AND exer_cd = ?4 ORDER BY ymd";

constexpr SetColumns kColumns{1, 2, 3, 4, 5};

// The bests over the days so far and the sums of the current day, figured as the period's
// days are (DayAccumulator): the same values in the same order give the same numbers, so a
// tie with an earlier day stays a tie.
class Bests {
  public:
    void add(const SetValues& set);
    void endDay();
    // The bests as one day for the marks, with the most repetitions at each load.
    DayFigures asDay(std::vector<LoadRepsDay>& loads) const;

  private:
    struct LoadReps {
        TargetUnit unit;
        double load;  // as stored
        long long reps;
    };
    std::optional<double> topKg_, bestE1rm_, volume_, longestKm_, pace_;
    std::optional<int> longest_, mostRepsNoLoad_;
    std::map<std::pair<TargetUnit, double>, int> mostReps_;
    // The current day: its sums, and its most repetitions per load (a day's count is taken
    // whole before it is narrowed, as the period's days take it).
    std::optional<double> dayVolume_;
    double pacedKm_ = 0;
    long long pacedSeconds_ = 0;
    std::vector<LoadReps> dayLoads_;
};

void Bests::add(const SetValues& set) {
    if (set.notANumber) return;
    std::optional<long long> duration;
    if (!set.cnt && (set.minutes || set.seconds))
        duration = set.minutes.value_or(0) * 60 + set.seconds.value_or(0);
    if (duration && *duration > 0) RaiseBest(longest_, static_cast<int>(*duration));
    if (!set.target || !(*set.target > 0)) {  // no load, no distance
        // Kept for a rest day too: its own days never have this figure to compare.
        if (set.cnt && *set.cnt > 0 && set.unit != TargetUnit::Km && set.unit != TargetUnit::M)
            RaiseBest(mostRepsNoLoad_, static_cast<int>(*set.cnt));
        return;
    }
    const double target = *set.target;
    if (set.unit == TargetUnit::Kg || set.unit == TargetUnit::Lb) {
        const double kg = set.unit == TargetUnit::Kg ? target : target * kKgPerLb;
        RaiseBest(topKg_, kg);
        if (!set.cnt || *set.cnt <= 0) return;
        const long long reps = *set.cnt;
        if (const auto estimate = EstimatedOneRepMax(kg, static_cast<int>(std::min(reps, 13LL))))
            RaiseBest(bestE1rm_, *estimate);
        dayVolume_ = dayVolume_.value_or(0.0) + kg * static_cast<double>(reps);
        const auto known = std::find_if(dayLoads_.begin(), dayLoads_.end(), [&](const LoadReps& l) {
            return l.unit == set.unit && l.load == target;
        });
        if (known == dayLoads_.end())
            dayLoads_.push_back({set.unit, target, reps});
        else
            known->reps = std::max(known->reps, reps);
    } else if (set.unit == TargetUnit::Km || set.unit == TargetUnit::M) {
        const double km = set.unit == TargetUnit::Km ? target : target / 1000.0;
        RaiseBest(longestKm_, km);
        if (duration && *duration > 0) {
            pacedKm_ += km;
            pacedSeconds_ += *duration;
        }
    }
}

void Bests::endDay() {
    if (dayVolume_) RaiseBest(volume_, *dayVolume_);
    if (pacedKm_ > 0) {
        const double pace = static_cast<double>(pacedSeconds_) / pacedKm_;
        if (!pace_ || pace < *pace_) pace_ = pace;  // lower is better
    }
    for (const LoadReps& l : dayLoads_) {
        const int reps = static_cast<int>(l.reps);
        const auto [known, added] = mostReps_.try_emplace({l.unit, l.load}, reps);
        if (!added) known->second = std::max(known->second, reps);
    }
    dayVolume_.reset();
    pacedKm_ = 0;
    pacedSeconds_ = 0;
    dayLoads_.clear();
}

DayFigures Bests::asDay(std::vector<LoadRepsDay>& loads) const {
    DayFigures day;
    day.topKg = topKg_;
    day.bestE1rmKg = bestE1rm_;
    day.volumeKg = volume_;
    day.longestSeconds = longest_;
    day.mostRepsNoLoad = mostRepsNoLoad_;
    day.longestDistanceKm = longestKm_;
    day.paceSecondsPerKm = pace_;
    const QString kg = QStringLiteral("kg"), lb = QStringLiteral("lb");
    for (const auto& [key, reps] : mostReps_)
        loads.push_back(
            {QString(), key.first == TargetUnit::Kg ? kg : lb, key.second, reps, QString()});
    return day;
}

}  // namespace

bool AddEarlierBests(sqlite3* connection, const ExerciseSelection& selection, RecordMarks& marks,
                     QString& error) {
    PreparedStatement s(connection, kEarlierSetsSql);
    s.bindText(1, selection.days.first);
    s.bindText(3, selection.grpCd);
    s.bindText(4, selection.exerCd);
    Bests bests;
    std::string currentDay;
    // Whether the current day text names a day: the sets of one that does not are left out.
    bool dayNamed = false;
    while (s.next()) {
        const char* ymd = s.cText(0);
        if (ymd == nullptr) ymd = "";
        if (std::strcmp(currentDay.c_str(), ymd) != 0) {
            bests.endDay();
            currentDay = ymd;
            dayNamed = IsValidYmd(QString::fromUtf8(ymd));
        }
        if (!dayNamed) continue;
        SetValues set;
        ReadSetNumbers(s, kColumns, set);
        bests.add(set);
    }
    bests.endDay();
    if (!s.ok()) {
        error = s.error();
        return false;
    }
    // The marks keep the highest of each figure: the bests handed over as one day leave them
    // as every earlier day handed over in turn would.
    std::vector<LoadRepsDay> loads;
    DayFigures day = bests.asDay(loads);
    marks.add(day, loads);
    return true;
}

const char* EarlierSetsStatement() {
    return kEarlierSetsSql;
}

}  // namespace sorvenka
