#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace sorvenka {

// The arithmetic of the progress figures: units, estimated maximum, rests.

inline constexpr double kKgPerLb = 0.45359237;
// Rests longer than this are breaks between parts of a session, not rests between sets.
inline constexpr int kLongestRestSeconds = 30 * 60;
// Repetitions beyond this say too little about the maximum to estimate it.
inline constexpr int kMostRepsForEstimate = 12;

// Group 99, exercise 99 marks a day of rest (the window fills load 0 and count 0 for it): its
// sets are no training and set no record.
bool IsRestDayExercise(const QString& grpCd, const QString& exerCd);

// The load in kg for the load units kg and lb; nothing for any other unit.
std::optional<double> LoadInKg(double load, const QString& unit);

// Epley's estimated one-repetition maximum: the load itself for one repetition,
// load × (1 + reps / 30) for 2 to 12; nothing outside 1 to 12 or for no load.
std::optional<double> EstimatedOneRepMax(double loadKg, int reps);

// One set's times in seconds since midnight; -1 where the time is missing or not a time.
struct SetTimes {
    int start = -1;
    int finish = -1;
};

// The rests between consecutive sets of one exercise on one day.
struct RestPairs {
    std::vector<int> rests;  // seconds, in the order of the sets
    int leftOut = 0;         // pairs with a missing time, a negative or overnight gap, or too long
};

// Pairs the sets in order of their start, then finish (sets without a start have no place in the
// order and are passed over): next start − previous finish. A pair counts only with both times, a
// previous set that did not run over midnight, and a gap from 0 to kLongestRestSeconds.
RestPairs PairRests(std::vector<SetTimes> sets);

// The median of the values (the mean of the middle two for an even count); nothing when empty.
std::optional<double> Median(std::vector<int> values);

}  // namespace sorvenka
