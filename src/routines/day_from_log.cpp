#include <sqlite3.h>

#include <QHash>
#include <algorithm>

#include "db/prepared_statement.h"
#include "progress/progress_math.h"
#include "routines/day_plan.h"

namespace sorvenka {

namespace {

// One exercise of the day with its sets in the order stored.
struct DayExercise {
    QString grpCd, exerCd;
    QString firstStart;  // the earliest start, empty when no set has one
    qint64 firstRow = 0;
    std::vector<SessionSet> sets;
};

RoutineItem ItemOf(const DayExercise& exercise, const QString& ymd) {
    RoutineItem item;
    item.grpCd = exercise.grpCd;
    item.exerCd = exercise.exerCd;
    item.since = ymd;
    // The top set: the heaviest load, then the most repetitions or the longest time.
    const SessionSet* top = nullptr;
    auto heavier = [](const SessionSet& a, const SessionSet& b) {
        const double la = a.load.value_or(0), lb = b.load.value_or(0);
        if (la != lb) return la > lb;
        if (a.count || b.count) return a.count.value_or(0) > b.count.value_or(0);
        return a.durationSeconds().value_or(0) > b.durationSeconds().value_or(0);
    };
    for (const SessionSet& set : exercise.sets)
        if (!set.notANumber && (!top || heavier(set, *top))) top = &set;
    if (!top) top = &exercise.sets.front();
    const double topLoad = top->load.value_or(0);
    // The working sets: those at the top load; lighter ones led up to it.
    int working = 0;
    for (const SessionSet& set : exercise.sets)
        if (!set.notANumber && std::abs(set.load.value_or(0) - topLoad) < 0.001 &&
            set.loadUnit == top->loadUnit)
            ++working;
    item.workingSets = std::max(working, 1);
    item.startLoad = topLoad;
    if (!top->loadUnit.isEmpty()) item.loadUnit = top->loadUnit;
    const bool weighed =
        item.loadUnit == QStringLiteral("kg") || item.loadUnit == QStringLiteral("lb");
    if (top->count) {
        item.kind = ItemKind::Reps;
        item.repMin = item.repMax = static_cast<int>(*top->count);
        if (!top->countUnit.isEmpty()) item.countUnit = top->countUnit;
        item.rule = weighed && topLoad > 0 ? ProgressionRule::Linear : ProgressionRule::None;
    } else {
        item.kind = (item.loadUnit == QStringLiteral("km") || item.loadUnit == QStringLiteral("m"))
                        ? ItemKind::Distance
                        : ItemKind::Duration;
        item.durationSec = static_cast<int>(top->durationSeconds().value_or(0));
        item.rule = ProgressionRule::None;
    }
    if (item.loadUnit == QStringLiteral("lb")) item.step = item.rounding = 5;
    item.usesPlates = weighed && topLoad > 0;
    // The rest: the median pause between the exercise's sets, when their times tell it.
    std::vector<SetTimes> times;
    for (const SessionSet& set : exercise.sets) {
        auto seconds = [](const QString& hms) {
            const QStringList p = hms.split(':');
            return p.size() == 3 ? p[0].toInt() * 3600 + p[1].toInt() * 60 + p[2].toInt() : -1;
        };
        times.push_back({set.start.isEmpty() ? -1 : seconds(set.start),
                         set.finish.isEmpty() ? -1 : seconds(set.finish)});
    }
    RestPairs rests = PairRests(times);
    if (!rests.rests.empty()) {
        std::sort(rests.rests.begin(), rests.rests.end());
        item.restSec = rests.rests[rests.rests.size() / 2];
    }
    return item;
}

}  // namespace

bool ItemsFromDay(sqlite3* db, const QString& ymd, std::vector<RoutineItem>& items) {
    items.clear();
    PreparedStatement s(db, "SELECT grp_cd, exer_cd, rowid, " SESSION_SET_COLUMNS
                            " FROM t_exer WHERE ymd = ?1 ORDER BY grp_cd, exer_cd, set_num");
    s.bindText(1, ymd);
    std::vector<DayExercise> exercises;
    QHash<QString, std::size_t> index;
    while (s.next()) {
        const QString key = s.columnText(0) + QChar(0x1f) + s.columnText(1);
        auto found = index.find(key);
        if (found == index.end()) {
            found = index.insert(key, exercises.size());
            exercises.push_back({s.columnText(0), s.columnText(1), {}, s.columnInt(2), {}});
        }
        DayExercise& e = exercises[*found];
        SessionSet set = ReadSessionSet(s, 3);
        if (!set.start.isEmpty() && (e.firstStart.isEmpty() || set.start < e.firstStart))
            e.firstStart = set.start;
        e.firstRow = std::min(e.firstRow, s.columnInt(2));
        e.sets.push_back(std::move(set));
    }
    if (!s.ok()) return false;
    // The order first started: by the earliest start, those without a time after them in the
    // order they were stored.
    std::stable_sort(exercises.begin(), exercises.end(),
                     [](const DayExercise& a, const DayExercise& b) {
                         if (a.firstStart.isEmpty() != b.firstStart.isEmpty())
                             return !a.firstStart.isEmpty();
                         if (a.firstStart != b.firstStart) return a.firstStart < b.firstStart;
                         return a.firstRow < b.firstRow;
                     });
    for (const DayExercise& e : exercises) items.push_back(ItemOf(e, ymd));
    return true;
}

}  // namespace sorvenka
