#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "db/exer_record.h"
#include "last_session/session_set.h"

struct sqlite3;

namespace sorvenka {

class PreparedStatement;

// The best sets of an exercise, each the first set that reached its figure.
class ExerciseBests {
  public:
    // With a load of interest (kg, 0 for sets without a load), also the most repetitions
    // done at that load.
    explicit ExerciseBests(std::optional<double> loadOfInterestKg = std::nullopt)
        : loadOfInterest_(loadOfInterestKg) {}

    // Sets come in any order; a set that is not a number counts only in notANumber. With a
    // row, `set` may hold only the numbers (ReadSessionNumbers): the whole set is read from
    // the row when it becomes a best.
    void add(const SessionSet& set, const PreparedStatement* row = nullptr);

    std::optional<SessionSet> heaviest;            // heaviest load (kg, lb)
    std::optional<SessionSet> bestEstimate;        // best estimated maximum
    std::optional<SessionSet> mostReps;            // most repetitions in one set with a load
    std::optional<SessionSet> mostRepsBodyweight;  // most repetitions without a load
    std::optional<SessionSet> longestDistance;     // km, m
    std::optional<SessionSet> bestPace;            // distance with a duration
    std::optional<SessionSet> longestDuration;
    std::optional<SessionSet> mostRepsAtLoad;  // at the load of interest
    int notANumber = 0;

  private:
    std::optional<double> loadOfInterest_;
    // The figures of the bests above, compared as numbers (pace negated: less is better).
    std::optional<double> heaviestKg_, bestEstimateKg_, mostReps_, mostRepsBodyweight_, longestKm_,
        bestPace_, longestSeconds_, mostRepsAtLoad_;
};

// A count set's load for the repetitions records: kg for kg and lb, 0 for a set without
// one; nothing for a distance or another unit.
std::optional<double> RepsLoadKg(const SessionSet& set);
// Loads this close are the same load (a pound plate set against the same set in kg is not).
bool SameLoad(double a, double b);

struct PersonalBests {
    bool ok = true;
    ExerciseBests bests;
};

// Every set of the exercise read anew; the records it holds.
PersonalBests ReadPersonalBests(sqlite3* connection, const QString& grpCd, const QString& exerCd);

// The records the stored set of the key beats against every set of its exercise before it
// (earlier days, and lower set numbers of its day): heavier load, better estimated maximum,
// more repetitions at its load (also without a load) or than any set with a load, longer
// distance, better pace, longer duration: every record RecordLines lists. Ties beat nothing;
// neither does the first set of a kind. Each as "推定1RM 96.3 kg".
QStringList RecordsBeatenBy(sqlite3* connection, const RecordKey& key);

// The lines of the records as the panel lists them, "推定1RM 116.7 kg（100 kg × 5回） 2024/05/14".
QStringList RecordLines(const ExerciseBests& bests);

const std::vector<const char*>& PersonalBestsStatements();

}  // namespace sorvenka
