#include "progress/earlier_bests.h"

#include <string>

#include "progress/daily_bests.h"
#include "progress/exercise_history.h"
#include "progress/history_cache.h"

namespace sorvenka {

namespace {

// The rows that read steps through when nothing is held yet, as one statement.
const char* const kEarlierSetsSql =
    "SELECT ymd, target, unit_t, cnt, cnt_min, cnt_sec"
    " FROM t_exer WHERE ymd < ?1 AND grp_cd = ?3 AND exer_cd = ?4 ORDER BY ymd";

}  // namespace

bool AddEarlierBests(sqlite3* connection, const ExerciseSelection& selection, RecordMarks& marks,
                     QString& error) {
    const std::string until = selection.days.first.toStdString();
    return WithDailyBests(
        connection, selection.grpCd, selection.exerCd, until,
        [&](DailyBests& bests) { bests.addBefore(until, marks); }, error);
}

const char* EarlierSetsStatement() {
    return kEarlierSetsSql;
}

}  // namespace sorvenka
