#include "routines/day_plan.h"

#include <sqlite3.h>

#include <QHash>
#include <map>

#include "db/prepared_statement.h"
#include "progress/progress_math.h"

namespace sorvenka {

namespace {

bool ReadNames(sqlite3* db, ItemPlan& plan) {
    PreparedStatement s(db,
                        "SELECT g.grp_name, e.exer_name FROM m_exer e JOIN m_grp g"
                        " ON g.grp_cd = e.grp_cd WHERE e.grp_cd = ?1 AND e.exer_cd = ?2");
    s.bindText(1, plan.item.grpCd);
    s.bindText(2, plan.item.exerCd);
    const int code = s.ok() ? s.step() : SQLITE_ERROR;
    if (code == SQLITE_ROW) {
        plan.groupName = s.columnText(0);
        plan.exerciseName = s.columnText(1);
    }
    return code == SQLITE_ROW || code == SQLITE_DONE;
}

DayPlan Failed(DayPlan plan, const QString& error) {
    plan.ok = false;
    plan.error = error;
    return plan;
}

}  // namespace

DayPlan ComputeDayPlan(sqlite3* db, const RoutineBook& book, qint64 routineId, const QString& ymd,
                       std::optional<qint64> chosenDay) {
    DayPlan plan;
    const Routine* routine = book.routine(routineId);
    if (!routine) return Failed(plan, QStringLiteral("メニューがありません"));
    plan.routine = *routine;
    plan.next = FindNextDay(db, book, routineId, ymd);
    if (!plan.next.ok) return Failed(plan, QStringLiteral("記録を読めませんでした"));
    const qint64 dayId = chosenDay.value_or(plan.next.dayId);
    const RoutineDay* day = book.day(dayId);
    if (!day || day->routineId != routineId) return plan;
    plan.day = *day;

    const std::vector<RoutineItem> items = book.itemsOf(dayId);

    QHash<QString, int> done;
    {
        PreparedStatement s(db,
                            "SELECT grp_cd, exer_cd, count(*) FROM t_exer WHERE ymd = ?1"
                            " GROUP BY grp_cd, exer_cd");
        s.bindText(1, ymd);
        while (s.next())
            done.insert(ExerciseLookupKey(s.columnText(0), s.columnText(1)),
                        static_cast<int>(s.columnInt(2)));
        if (!s.ok()) return Failed(plan, QStringLiteral("記録を読めませんでした"));
    }

    // The inventories of the items' units, read once each; then every item's target in one read.
    std::map<QString, PlateInventory> inventories;
    std::vector<const PlateInventory*> plates(items.size(), nullptr);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QString& unit = items[i].loadUnit;
        const bool platesApply = items[i].kind == ItemKind::Reps && items[i].usesPlates &&
                                 (unit == QStringLiteral("kg") || unit == QStringLiteral("lb"));
        if (!platesApply) continue;
        if (!inventories.contains(unit) && !ReadPlates(db, unit, inventories[unit]))
            return Failed(plan, QStringLiteral("プレートを読めませんでした"));
        plates[i] = &inventories[unit];
    }
    std::vector<ItemTarget> targets;
    if (!ReadTargets(db, items, plates, ymd, targets))
        return Failed(plan, QStringLiteral("記録を読めませんでした"));
    WarmupScheme warmup;
    if (!ReadWarmup(db, warmup))
        return Failed(plan, QStringLiteral("ウォームアップを読めませんでした"));
    for (std::size_t i = 0; i < items.size(); ++i) {
        ItemPlan line;
        line.item = items[i];
        if (!ReadNames(db, line)) return Failed(plan, QStringLiteral("種目を読めませんでした"));
        line.done = done.value(ExerciseLookupKey(items[i].grpCd, items[i].exerCd));
        line.planned = items[i].workingSets;
        line.platesApply = plates[i] != nullptr;
        line.target = targets[i];
        if (plates[i] && line.target.load > 0) {
            line.fit = FitLoad(*plates[i], line.target.load);
            line.platesText = FitText(*plates[i], line.target.load, line.fit);
            line.warmups = WarmupRamp(*plates[i], warmup, line.target.load);
        }
        plan.items.push_back(std::move(line));
    }
    plan.lines = OrderLines(items);
    for (PlanLine& line : plan.lines)
        if (line.round > 0) line.done = plan.items[line.item].done >= line.round;
    return plan;
}

bool ReflectOffers(sqlite3* db, const DayPlan& plan, const QString& ymd,
                   std::vector<ReflectOffer>& offers) {
    offers.clear();
    for (const ItemPlan& line : plan.items) {
        if (line.item.kind == ItemKind::Duration) continue;
        std::vector<std::vector<ItemSession>> sessions;
        // The day's own sets: from the day up to (not into) the next.
        const QString next = ymd + QChar(0x7f);
        if (!ReadSessions(db, {{line.item.grpCd, line.item.exerCd}}, ymd, next, sessions))
            return false;
        if (sessions.front().empty()) continue;
        std::optional<double> top;
        for (const SessionSet& set : sessions.front().front().sets) {
            if (!set.load || set.notANumber) continue;
            double load = *set.load;
            if (set.loadUnit != line.item.loadUnit) {
                const std::optional<double> kg = LoadInKg(load, set.loadUnit);
                const std::optional<double> unitKg = LoadInKg(1, line.item.loadUnit);
                if (!kg || !unitKg) continue;
                load = *kg / *unitKg;
            }
            top = std::max(top.value_or(load), load);
        }
        if (!top || std::abs(*top - line.target.load) < 0.001) continue;
        offers.push_back(
            {line.item.id, line.exerciseName, line.target.load, *top, line.item.loadUnit});
    }
    return true;
}

bool TakeReflectOffer(sqlite3* db, const ReflectOffer& offer, const QString& ymd) {
    PreparedStatement s(db, "UPDATE s_routine_item SET start_load = ?1, since = ?2 WHERE id = ?3");
    s.bindDouble(1, offer.dayLoad);
    s.bindText(2, ymd);
    s.bindInt(3, offer.itemId);
    return s.ok() && s.step() == SQLITE_DONE;
}

}  // namespace sorvenka
