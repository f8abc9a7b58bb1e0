#pragma once

#include <QString>
#include <vector>

#include "last_session/session_set.h"
#include "routines/routine_model.h"

struct sqlite3;

namespace sorvenka {

// One earlier day's sets of an item's exercise, as the progression reads them.
struct ItemSession {
    QString ymd;
    std::vector<SessionSet> sets;  // by set number
};

// An item's target for a day and the reason in words.
struct ItemTarget {
    bool ok = true;
    double load = 0;  // in the item's load unit (for a Distance: the distance)
    QString loadUnit;
    int repMin = 0, repMax = 0;  // Reps
    int reps = 0;                // the repetitions aimed at (filled into the count)
    int durationSec = 0;
    bool raised = false;
    bool fromLog = false;  // false: the starting load (no session since the item's start)
    QString lastYmd;       // the last session's day
    // 「前回 60kg×12,12,12 達成 → 62.5kg」, 「前回 60kg×12,10,9 → 据え置き」, 「前回なし →
    // 開始重量」
    QString reason;
};

// The target after the sessions (oldest first, all before the plan's day): the state starts at
// the starting load and each session moves it. A session's working sets are its sets at the
// target load or above (kg and lb compare as the progress window compares them); lighter sets
// are warm-ups. The target rises by the step only when at least `workingSets` working sets reached the repetitions (linear: repMax; double:
// repMax, then back to repMin); less load or fewer sets never raise it, and nothing lowers it.
// With plates, a raised load is rounded to a loadable one within the item's rounding.
ItemTarget ComputeTarget(const RoutineItem& item, const std::vector<ItemSession>& sessions,
                         const PlateInventory* plates = nullptr);

// Reads the item's sessions from `item.since` (or the start of the log) up to the day before
// `ymd` and computes the target.
ItemTarget ReadTarget(sqlite3* db, const RoutineItem& item, const QString& ymd,
                      const PlateInventory* plates = nullptr);

// The sessions of several exercises in one read of the log, one list per exercise (oldest
// first): every day from `since` (empty: the start) to the day before `ymd`.
struct SessionExercise {
    QString grpCd, exerCd;
    bool operator==(const SessionExercise&) const = default;
};
bool ReadSessions(sqlite3* db, const std::vector<SessionExercise>& exercises, const QString& since,
                  const QString& ymd, std::vector<std::vector<ItemSession>>& sessions);

// "62.5" for 62.5, "60" for 60.0: a load as the entry shows it.
QString LoadText(double load);

}  // namespace sorvenka
