#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "progress/progress_period.h"

struct sqlite3;

namespace sorvenka {

// One exercise over a period.
struct ExerciseSelection {
    QString grpCd;
    QString exerCd;
    DayRange days;
};

// The figures of one training day of an exercise. Loads in kg (lb converted), durations in
// seconds, distances in km. Sets with a stored text that is not a number count only in
// `skipped`; rest-day sets and sets without load stay out of the load figures.
struct DayFigures {
    QString ymd;
    int sets = 0;
    int skipped = 0;
    std::optional<double> topKg;       // heaviest load
    std::optional<double> bestE1rmKg;  // best estimated one-repetition maximum
    std::optional<double> volumeKg;    // Σ load × count over the count sets with a load
    std::optional<int> durationSeconds;
    std::optional<int> longestSeconds;
    std::optional<double> distanceKm;
    std::optional<double> longestDistanceKm;  // the longest single distance set
    std::optional<double> paceSecondsPerKm;   // over the distance sets that have a duration
    // Count sets without a load (pull-ups, dips): the most repetitions in one set and in all.
    std::optional<int> mostRepsNoLoad;
    std::optional<int> totalRepsNoLoad;
    std::optional<double> medianRestSeconds;
    int restsCounted = 0;
    int restsLeftOut = 0;
    std::optional<int> workingSeconds;  // first start to last finish over all the day's sets
    QStringList beaten;                 // the records beaten on this day against the best before it
};

enum class RecordKind {
    HeaviestLoad,
    BestEstimate,
    BestVolume,
    MostReps,
    LongestDuration,
    MostRepsBodyweight,
    LongestDistance,
    BestPace
};

// A personal record of the exercise: its name, the figure as the set was stored, its day.
struct PersonalRecord {
    RecordKind kind;
    QString name;
    QString value;
    QString ymd;
    double sortValue = 0;  // the figure compared (kg, seconds, repetitions)
};

struct ExerciseHistory {
    bool ok = true;
    QString error;                 // the engine's message when a read failed
    std::vector<DayFigures> days;  // training days, oldest first
    std::vector<PersonalRecord> records;
    int skipped = 0;  // sets left out for a text that is not a number
};

// Reads the figures of the exercise's training days in the period, their rests and working
// times, and the records over the period. A day's `beaten` names the records it beat against
// every earlier day of the whole history, whatever the period.
ExerciseHistory ReadExerciseHistory(sqlite3* connection, const ExerciseSelection& selection);

// The statements of the read with ?1, ?2 = first and last day, ?3, ?4 = group and exercise
// (for the comparison with the bare engine); the read adds a point query of up to two record
// days.
const std::vector<const char*>& ExerciseHistoryStatements();

}  // namespace sorvenka
