#pragma once

#include <QString>
#include <vector>

namespace sorvenka {

// How a routine picks the day to train: the day after the one trained last, or by weekday.
enum class Schedule { Rotation = 0, Weekdays = 1 };

// How an item's target load moves with the log.
enum class ProgressionRule {
    None = 0,    // the starting load, always
    Linear = 1,  // + step once every working set reached the repetitions
    Double = 2,  // + step once every working set reached the top of the range, then the bottom
};

// What an item's sets count: repetitions, a duration, or a distance (load unit km or m).
enum class ItemKind { Reps = 0, Duration = 1, Distance = 2 };

struct Routine {
    qint64 id = 0;
    QString name;
    int order = 0;
    Schedule schedule = Schedule::Rotation;
};

// Weekday bits of RoutineDay::weekdays: Monday is bit 0, Sunday bit 6 (Qt's day of week - 1).
inline constexpr int WeekdayBit(int qtDayOfWeek) {
    return 1 << (qtDayOfWeek - 1);
}

struct RoutineDay {
    qint64 id = 0;
    qint64 routineId = 0;
    QString name;
    int order = 0;
    int weekdays = 0;  // for Schedule::Weekdays
};

struct RoutineItem {
    qint64 id = 0;
    qint64 dayId = 0;
    int order = 0;
    QString grpCd, exerCd;
    ItemKind kind = ItemKind::Reps;
    int workingSets = 3;
    int repMin = 8, repMax = 12;  // Reps: the range; one number has repMin == repMax
    QString countUnit = QStringLiteral("回");
    int durationSec = 0;   // Duration (and the time aimed at for a Distance, 0 for none)
    double startLoad = 0;  // the load (kg, lb) or, for a Distance, the distance (km, m)
    QString loadUnit = QStringLiteral("kg");
    int restSec = 90;
    ProgressionRule rule = ProgressionRule::None;
    double step = 2.5;       // added to the load by a progression
    double rounding = 2.5;   // suggestions are loads within this of the exact figure
    bool usesPlates = true;  // a barbell loaded with the stored plates
    QString superset;        // items of one day sharing a letter are trained in rounds
    // The log from this day (yyyy/mm/dd) on drives the progression from startLoad; empty: the
    // whole log. Set when the load is taken from a day into the plan.
    QString since;
};

struct PlatePair {
    double weight = 0;
    int pairs = 0;
    bool operator==(const PlatePair&) const = default;
};

// The bar and plates at hand for one load unit.
struct PlateInventory {
    QString unit = QStringLiteral("kg");
    double bar = 20;
    std::vector<PlatePair> plates;  // heaviest first
    bool operator==(const PlateInventory&) const = default;
};

// A home gym's usual plates when none are stored: kg and lb.
PlateInventory DefaultPlates(const QString& unit);

// One warm-up row before the first working set: percent of the working load (0: the bar alone).
struct WarmupStep {
    int percent = 0;
    int reps = 0;
    bool operator==(const WarmupStep&) const = default;
};

struct WarmupScheme {
    std::vector<WarmupStep> steps;
    bool operator==(const WarmupScheme&) const = default;
};

// Bar × 10, 40 % × 5, 60 % × 3, 80 % × 2.
WarmupScheme DefaultWarmup();

}  // namespace sorvenka
