#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "routines/next_day.h"
#include "routines/plates.h"
#include "routines/progression.h"
#include "routines/routine_store.h"

struct sqlite3;

namespace sorvenka {

// One item of the day's plan.
struct ItemPlan {
    RoutineItem item;
    QString groupName, exerciseName;
    int done = 0;  // sets of the exercise stored on the plan's day
    int planned = 0;
    ItemTarget target;
    bool platesApply = false;  // a kg or lb load on a barbell
    LoadFit fit;
    QString platesText;  // the plates, or that the load cannot be made and its neighbours
    std::vector<WarmupRow> warmups;
};

// One line of the plan in training order. An item outside a superset is one line; the items of
// a superset are one line per round and item (A1 B1 A2 B2 …), with the rest after each round.
struct PlanLine {
    int item = 0;       // index into DayPlan::items
    int round = 0;      // 1-based round of a superset; 0 for a line of a whole item
    QString label;      // "A1", "B1"; empty outside a superset
    int restSec = 0;    // the rest after this line; 0 inside a round
    bool done = false;  // the round's set is stored (superset lines)
};

struct DayPlan {
    bool ok = true;
    QString error;
    Routine routine;
    RoutineDay day;  // id 0 when the routine has no day due
    NextDay next;
    std::vector<ItemPlan> items;
    std::vector<PlanLine> lines;
};

// The plan of a routine for a day (yyyy/mm/dd): the due day, or `chosenDay` when given. Reads
// the log anew on every call.
DayPlan ComputeDayPlan(sqlite3* db, const RoutineBook& book, qint64 routineId, const QString& ymd,
                       std::optional<qint64> chosenDay = std::nullopt);

// The training order of a day's items (the lines above without the figures).
std::vector<PlanLine> OrderLines(const std::vector<RoutineItem>& items);

// A day made from the sets stored on a date: its exercises in the order first started, each with
// its working sets, top load and repetitions (or duration). Ids and dayId are left 0.
bool ItemsFromDay(sqlite3* db, const QString& ymd, std::vector<RoutineItem>& items);

// 「メニューに反映」: an item whose exercise was trained on the day at another load than the
// plan's, with the day's top load; taking it sets the item's starting load and its start day.
struct ReflectOffer {
    qint64 itemId = 0;
    QString exerciseName;
    double planLoad = 0;  // the plan's target on that day
    double dayLoad = 0;   // the heaviest load of the day's sets
    QString unit;
};
bool ReflectOffers(sqlite3* db, const DayPlan& plan, const QString& ymd,
                   std::vector<ReflectOffer>& offers);
bool TakeReflectOffer(sqlite3* db, const ReflectOffer& offer, const QString& ymd);

}  // namespace sorvenka
