#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "progress/day_accumulator.h"
#include "progress/progress_records.h"

struct sqlite3;

namespace sorvenka {

class RecordMarks;

// The best figures of each training day of one exercise, oldest first: what the records of a
// later day are judged against. Held for every day before covered(), so that the bests before
// any period starting on or before it are a pass over these days and not a read of the sets.
class DailyBests {
  public:
    DailyBests(std::string grpCd, std::string exerCd)
        : grp_(std::move(grpCd)), exer_(std::move(exerCd)) {}

    // Reads the exercise's days from covered() up to `until` (excluded) and keeps them; the
    // days before `until` are then all held. False with the engine's message when the read
    // failed, the days held before being kept.
    bool readUntil(sqlite3* connection, const std::string& until, QString& error);
    // Every day before this text (in the engine's order of texts) is held.
    const std::string& covered() const { return covered_; }

    // Hands the marks the bests of the days before `until` as one day, so that a day from
    // `until` on is then judged against all of them. `until` must not be past covered(). The
    // bests before the last few such days are kept: days read later all lie after them.
    void addBefore(std::string_view until, RecordMarks& marks);

    const std::string& grpCd() const { return grp_; }
    const std::string& exerCd() const { return exer_; }

  private:
    // The most repetitions done at one load on one day.
    struct LoadReps {
        double load;  // as stored
        int reps;
        TargetUnit unit;
    };
    // One day's figures; a bit of `has` per figure that the day has.
    struct Day {
        std::array<char, 10> ymd;
        std::uint8_t has = 0;
        double topKg = 0, bestE1rm = 0, volume = 0, longestKm = 0, pace = 0;
        int longest = 0, mostRepsNoLoad = 0;
        std::uint32_t firstLoad = 0, loadCount = 0;  // its most repetitions per load in loads_
    };
    class DayBuilder;
    // The bests before one day, as handed to the marks.
    struct Bests {
        std::string until;
        DayFigures day;
        std::vector<LoadRepsDay> loads;
    };
    Bests bestsBefore(std::string_view until) const;

    std::string grp_, exer_;
    std::vector<Day> days_;
    std::vector<LoadReps> loads_;
    std::string covered_;      // empty: nothing read yet
    std::vector<Bests> kept_;  // the most recently used last
};

}  // namespace sorvenka
