#include "progress/daily_bests.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "common/text_tests.h"
#include "db/prepared_statement.h"
#include "progress/progress_math.h"
#include "progress/progress_records.h"
#include "progress/set_numbers.h"

namespace sorvenka {

namespace {

// The exercise's sets of a span of days in day order, which the key's index gives without
// sorting. Only the columns the records are figured from: each column more is read from
// every row of the whole history.
const char* const kDaysSetsSql =
    "SELECT ymd, target, unit_t, cnt, cnt_min, cnt_sec"
    " FROM t_exer WHERE ymd >= ?1 AND ymd < ?2 AND grp_cd = ?3 AND exer_cd = ?4 ORDER BY ymd";

constexpr SetColumns kColumns{1, 2, 3, 4, 5};

// About eleven years of daily training.
constexpr std::size_t kDaysReserved = 4096;

// The bests before as many days are kept: the window's periods and then some.
constexpr std::size_t kBestsKept = 8;

enum Figure : std::uint8_t {
    kTopKg = 1,
    kBestE1rm = 2,
    kVolume = 4,
    kLongestKm = 8,
    kPace = 16,
    kLongest = 32,
    kMostRepsNoLoad = 64
};

template <typename T>
void Raise(std::uint8_t& has, Figure figure, T& best, T value) {
    if (!(has & figure) || value > best) best = value;
    has |= figure;
}

template <typename T>
void Raise(std::optional<T>& best, T value) {
    if (!best || value > *best) best = value;
}

}  // namespace

// The sets of one day figured as the period's days are (DayAccumulator): the same values in
// the same order give the same numbers, so a tie with an earlier day stays a tie.
class DailyBests::DayBuilder {
  public:
    void add(const SetValues& set);
    // The day into `day` and its loads onto `loads`, when it has any figure; the builder is
    // then empty again.
    bool finish(Day& day, std::vector<LoadReps>& loads);

  private:
    struct DayLoad {
        TargetUnit unit;
        double load;     // as stored
        long long reps;  // taken whole, narrowed at the day's end as the period's days are
    };
    Day day_;
    double volume_ = 0;
    bool hasVolume_ = false;
    double pacedKm_ = 0;
    long long pacedSeconds_ = 0;
    std::vector<DayLoad> loads_;  // a few loads a day: a search along them is quickest
};

void DailyBests::DayBuilder::add(const SetValues& set) {
    if (set.notANumber) return;
    std::optional<long long> duration;
    if (!set.cnt && (set.minutes || set.seconds))
        duration = set.minutes.value_or(0) * 60 + set.seconds.value_or(0);
    if (duration && *duration > 0)
        Raise(day_.has, kLongest, day_.longest, static_cast<int>(*duration));
    if (!set.target || !(*set.target > 0)) {  // no load, no distance
        // Kept for a rest day too: its own days never have this figure to compare.
        if (set.cnt && *set.cnt > 0 && set.unit != TargetUnit::Km && set.unit != TargetUnit::M)
            Raise(day_.has, kMostRepsNoLoad, day_.mostRepsNoLoad, static_cast<int>(*set.cnt));
        return;
    }
    const double target = *set.target;
    if (set.unit == TargetUnit::Kg || set.unit == TargetUnit::Lb) {
        const double kg = set.unit == TargetUnit::Kg ? target : target * kKgPerLb;
        Raise(day_.has, kTopKg, day_.topKg, kg);
        if (!set.cnt || *set.cnt <= 0) return;
        const long long reps = *set.cnt;
        if (const auto estimate = EstimatedOneRepMax(kg, static_cast<int>(std::min(reps, 13LL))))
            Raise(day_.has, kBestE1rm, day_.bestE1rm, *estimate);
        volume_ = (hasVolume_ ? volume_ : 0.0) + kg * static_cast<double>(reps);
        hasVolume_ = true;
        const auto known = std::find_if(loads_.begin(), loads_.end(), [&](const DayLoad& l) {
            return l.unit == set.unit && l.load == target;
        });
        if (known == loads_.end())
            loads_.push_back({set.unit, target, reps});
        else
            known->reps = std::max(known->reps, reps);
    } else if (set.unit == TargetUnit::Km || set.unit == TargetUnit::M) {
        const double km = set.unit == TargetUnit::Km ? target : target / 1000.0;
        Raise(day_.has, kLongestKm, day_.longestKm, km);
        if (duration && *duration > 0) {
            pacedKm_ += km;
            pacedSeconds_ += *duration;
        }
    }
}

bool DailyBests::DayBuilder::finish(Day& day, std::vector<LoadReps>& loads) {
    if (hasVolume_) {
        day_.volume = volume_;
        day_.has |= kVolume;
    }
    if (pacedKm_ > 0) {
        day_.pace = static_cast<double>(pacedSeconds_) / pacedKm_;
        day_.has |= kPace;
    }
    const bool any = day_.has != 0 || !loads_.empty();
    if (any) {
        day_.ymd = day.ymd;
        day_.firstLoad = static_cast<std::uint32_t>(loads.size());
        day_.loadCount = static_cast<std::uint32_t>(loads_.size());
        for (const DayLoad& l : loads_) loads.push_back({l.load, static_cast<int>(l.reps), l.unit});
        day = day_;
    }
    day_ = Day();
    volume_ = 0;
    hasVolume_ = false;
    pacedKm_ = 0;
    pacedSeconds_ = 0;
    loads_.clear();
    return any;
}

bool DailyBests::readUntil(sqlite3* connection, const std::string& until, QString& error) {
    if (!covered_.empty() && until <= covered_) return true;
    PreparedStatement s(connection, kDaysSetsSql);
    s.bindBytes(1, QByteArray::fromStdString(covered_));
    s.bindBytes(2, QByteArray::fromStdString(until));
    s.bindBytes(3, QByteArray::fromStdString(grp_));
    s.bindBytes(4, QByteArray::fromStdString(exer_));
    const std::size_t daysBefore = days_.size(), loadsBefore = loads_.size();
    // Room for years of daily training at once: growing step by step copies what is held
    // into pages never touched before, which costs more on a long history than its reading.
    if (days_.capacity() == 0) {
        days_.reserve(kDaysReserved);
        loads_.reserve(kDaysReserved * 8);  // a few loads a day
    }
    DayBuilder builder;
    Day day;
    std::string currentDay;
    bool started = false;
    // Whether the current day text names a day: the sets of one that does not are left out.
    bool dayNamed = false;
    auto endDay = [&] {
        if (started && dayNamed && builder.finish(day, loads_)) days_.push_back(day);
    };
    while (s.next()) {
        const char* ymd = s.cText(0);
        if (ymd == nullptr) ymd = "";
        if (!started || std::strcmp(currentDay.c_str(), ymd) != 0) {
            endDay();
            started = true;
            currentDay = ymd;
            dayNamed = currentDay.size() == day.ymd.size() && IsValidYmd(QString::fromUtf8(ymd));
            if (dayNamed) std::memcpy(day.ymd.data(), ymd, day.ymd.size());
        }
        if (!dayNamed) continue;
        SetValues set;
        ReadSetNumbers(s, kColumns, set);
        builder.add(set);
    }
    endDay();
    if (!s.ok()) {
        error = s.error();
        days_.resize(daysBefore);
        loads_.resize(loadsBefore);
        return false;
    }
    covered_ = until;
    return true;
}

DailyBests::Bests DailyBests::bestsBefore(std::string_view until) const {
    Bests bests{std::string(until), {}, {}};
    DayFigures& best = bests.day;
    std::map<std::pair<TargetUnit, double>, int> mostReps;
    for (const Day& day : days_) {
        if (std::string_view(day.ymd.data(), day.ymd.size()) >= until) break;  // oldest first
        if (day.has & kTopKg) Raise(best.topKg, day.topKg);
        if (day.has & kBestE1rm) Raise(best.bestE1rmKg, day.bestE1rm);
        if (day.has & kVolume) Raise(best.volumeKg, day.volume);
        if (day.has & kLongestKm) Raise(best.longestDistanceKm, day.longestKm);
        if (day.has & kLongest) Raise(best.longestSeconds, day.longest);
        if (day.has & kMostRepsNoLoad) Raise(best.mostRepsNoLoad, day.mostRepsNoLoad);
        if ((day.has & kPace) && (!best.paceSecondsPerKm || day.pace < *best.paceSecondsPerKm))
            best.paceSecondsPerKm = day.pace;  // lower is better
        for (std::uint32_t i = day.firstLoad; i < day.firstLoad + day.loadCount; ++i) {
            const LoadReps& l = loads_[i];
            const auto [known, added] = mostReps.try_emplace({l.unit, l.load}, l.reps);
            if (!added) known->second = std::max(known->second, l.reps);
        }
    }
    const QString kg = QStringLiteral("kg"), lb = QStringLiteral("lb");
    for (const auto& [key, reps] : mostReps)
        bests.loads.push_back(
            {QString(), key.first == TargetUnit::Kg ? kg : lb, key.second, reps, QString()});
    return bests;
}

void DailyBests::addBefore(std::string_view until, RecordMarks& marks) {
    auto known = std::find_if(kept_.begin(), kept_.end(),
                              [&](const Bests& bests) { return bests.until == until; });
    if (known == kept_.end()) {
        if (kept_.size() >= kBestsKept) kept_.erase(kept_.begin());
        kept_.push_back(bestsBefore(until));
    } else {
        std::rotate(known, known + 1, kept_.end());
    }
    // The marks keep the highest of each figure: the bests handed over as one day leave them
    // as every earlier day handed over in turn would.
    DayFigures day = kept_.back().day;
    marks.add(day, kept_.back().loads);
}

}  // namespace sorvenka
