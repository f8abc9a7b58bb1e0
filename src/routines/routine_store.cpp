#include "routines/routine_store.h"

#include <sqlite3.h>

#include <QStringList>

#include "db/prepared_statement.h"
#include "routines/routine_tables.h"
#include "routines/savepoint.h"

namespace sorvenka {

namespace {

const char* const kItemColumns =
    "day_id, order_id, grp_cd, exer_cd, kind, working_sets, rep_min, rep_max, count_unit,"
    " duration_sec, start_load, load_unit, rest_sec, rule, step, rounding, uses_plates,"
    " superset, since";

// Binds the item's fields from position 1 in the order of kItemColumns.
void BindItem(PreparedStatement& s, const RoutineItem& item) {
    s.bindInt(1, item.dayId);
    s.bindInt(2, item.order);
    s.bindText(3, item.grpCd);
    s.bindText(4, item.exerCd);
    s.bindInt(5, static_cast<int>(item.kind));
    s.bindInt(6, item.workingSets);
    s.bindInt(7, item.repMin);
    s.bindInt(8, item.repMax);
    s.bindText(9, item.countUnit);
    s.bindInt(10, item.durationSec);
    s.bindDouble(11, item.startLoad);
    s.bindText(12, item.loadUnit);
    s.bindInt(13, item.restSec);
    s.bindInt(14, static_cast<int>(item.rule));
    s.bindDouble(15, item.step);
    s.bindDouble(16, item.rounding);
    s.bindInt(17, item.usesPlates ? 1 : 0);
    s.bindText(18, item.superset);
    s.bindText(19, item.since);
}

RoutineItem ReadItem(const PreparedStatement& s) {
    RoutineItem item;
    item.id = s.columnInt(0);
    item.dayId = s.columnInt(1);
    item.order = static_cast<int>(s.columnInt(2));
    item.grpCd = s.columnText(3);
    item.exerCd = s.columnText(4);
    const qint64 kind = s.columnInt(5);
    item.kind = kind == 1 ? ItemKind::Duration : kind == 2 ? ItemKind::Distance : ItemKind::Reps;
    item.workingSets = static_cast<int>(s.columnInt(6));
    item.repMin = static_cast<int>(s.columnInt(7));
    item.repMax = static_cast<int>(s.columnInt(8));
    item.countUnit = s.columnText(9);
    item.durationSec = static_cast<int>(s.columnInt(10));
    item.startLoad = s.columnDouble(11);
    item.loadUnit = s.columnText(12);
    item.restSec = static_cast<int>(s.columnInt(13));
    const qint64 rule = s.columnInt(14);
    item.rule = rule == 1   ? ProgressionRule::Linear
                : rule == 2 ? ProgressionRule::Double
                            : ProgressionRule::None;
    item.step = s.columnDouble(15);
    item.rounding = s.columnDouble(16);
    item.usesPlates = s.columnInt(17) != 0;
    item.superset = s.columnText(18);
    item.since = s.columnText(19);
    return item;
}

bool Run(PreparedStatement& s) {
    return s.ok() && s.step() == SQLITE_DONE;
}

// The next order number of a list: one after the largest.
bool NextOrder(sqlite3* db, const char* sql, qint64 owner, int& order) {
    PreparedStatement s(db, sql);
    if (owner != 0) s.bindInt(1, owner);
    if (!s.ok() || s.step() != SQLITE_ROW) return false;
    order = static_cast<int>(s.columnInt(0)) + 1;
    return true;
}

bool ExecuteAll(sqlite3* db, std::initializer_list<const char*> statements, qint64 id) {
    Savepoint savepoint(db);
    if (!savepoint.begun()) return false;
    for (const char* sql : statements) {
        PreparedStatement s(db, sql);
        s.bindInt(1, id);
        if (!Run(s)) return false;
    }
    return savepoint.release();
}

bool Reorder(sqlite3* db, const char* sql, const std::vector<qint64>& ids) {
    if (!EnsureRoutineTables(db)) return false;
    Savepoint savepoint(db);
    if (!savepoint.begun()) return false;
    PreparedStatement s(db, sql);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        s.bindInt(1, static_cast<qint64>(i) + 1);
        s.bindInt(2, ids[i]);
        if (!Run(s)) return false;
        s.reset();
    }
    return savepoint.release();
}

bool TableExists(sqlite3* db, const char* name) {
    PreparedStatement s(db, "select 1 from sqlite_master where type = 'table' and name = ?1");
    s.bindText(1, QString::fromUtf8(name));
    return s.ok() && s.step() == SQLITE_ROW;
}

}  // namespace

const Routine* RoutineBook::routine(qint64 id) const {
    for (const Routine& r : routines)
        if (r.id == id) return &r;
    return nullptr;
}

const RoutineDay* RoutineBook::day(qint64 id) const {
    for (const RoutineDay& d : days)
        if (d.id == id) return &d;
    return nullptr;
}

std::vector<RoutineDay> RoutineBook::daysOf(qint64 routineId) const {
    std::vector<RoutineDay> found;
    for (const RoutineDay& d : days)
        if (d.routineId == routineId) found.push_back(d);
    return found;
}

std::vector<RoutineItem> RoutineBook::itemsOf(qint64 dayId) const {
    std::vector<RoutineItem> found;
    for (const RoutineItem& i : items)
        if (i.dayId == dayId) found.push_back(i);
    return found;
}

bool ReadRoutineBook(sqlite3* db, RoutineBook& book) {
    book = {};
    if (!RoutineTablesExist(db)) return true;
    {
        PreparedStatement s(db,
                            "select id, name, order_id, schedule from s_routine"
                            " order by order_id, id");
        while (s.next())
            book.routines.push_back(
                {s.columnInt(0), s.columnText(1), static_cast<int>(s.columnInt(2)),
                 s.columnInt(3) == 1 ? Schedule::Weekdays : Schedule::Rotation});
        if (!s.ok()) return false;
    }
    {
        // Days and items of routines that are gone are not shown (none are left by a delete).
        PreparedStatement s(db,
                            "select d.id, d.routine_id, d.name, d.order_id, d.weekdays"
                            " from s_routine_day d join s_routine r on r.id = d.routine_id"
                            " order by r.order_id, r.id, d.order_id, d.id");
        while (s.next())
            book.days.push_back({s.columnInt(0), s.columnInt(1), s.columnText(2),
                                 static_cast<int>(s.columnInt(3)),
                                 static_cast<int>(s.columnInt(4))});
        if (!s.ok()) return false;
    }
    {
        PreparedStatement s(db,
                            QStringLiteral("select i.* from (select id, %1 from s_routine_item) i"
                                           " join s_routine_day d on d.id = i.day_id"
                                           " join s_routine r on r.id = d.routine_id"
                                           " order by r.order_id, r.id, d.order_id, d.id,"
                                           " i.order_id, i.id")
                                .arg(QString::fromUtf8(kItemColumns)));
        while (s.next()) book.items.push_back(ReadItem(s));
        if (!s.ok()) return false;
    }
    return true;
}

bool AddRoutine(sqlite3* db, Routine& routine) {
    if (!EnsureRoutineTables(db)) return false;
    Savepoint savepoint(db);
    int order = 0;
    if (!savepoint.begun() ||
        !NextOrder(db, "select coalesce(max(order_id), 0) from s_routine", 0, order))
        return false;
    PreparedStatement s(db, "insert into s_routine (name, order_id, schedule) values (?1, ?2, ?3)");
    s.bindText(1, routine.name);
    s.bindInt(2, order);
    s.bindInt(3, static_cast<int>(routine.schedule));
    if (!Run(s)) return false;
    const qint64 id = sqlite3_last_insert_rowid(db);
    if (!savepoint.release()) return false;
    routine.id = id;
    routine.order = order;
    return true;
}

bool AddDay(sqlite3* db, RoutineDay& day) {
    if (!EnsureRoutineTables(db)) return false;
    Savepoint savepoint(db);
    int order = 0;
    if (!savepoint.begun() ||
        !NextOrder(db, "select coalesce(max(order_id), 0) from s_routine_day where routine_id = ?1",
                   day.routineId, order))
        return false;
    PreparedStatement s(db,
                        "insert into s_routine_day (routine_id, name, order_id, weekdays)"
                        " values (?1, ?2, ?3, ?4)");
    s.bindInt(1, day.routineId);
    s.bindText(2, day.name);
    s.bindInt(3, order);
    s.bindInt(4, day.weekdays);
    if (!Run(s)) return false;
    const qint64 id = sqlite3_last_insert_rowid(db);
    if (!savepoint.release()) return false;
    day.id = id;
    day.order = order;
    return true;
}

bool AddItem(sqlite3* db, RoutineItem& item) {
    if (!EnsureRoutineTables(db)) return false;
    Savepoint savepoint(db);
    int order = 0;
    if (!savepoint.begun() ||
        !NextOrder(db, "select coalesce(max(order_id), 0) from s_routine_item where day_id = ?1",
                   item.dayId, order))
        return false;
    RoutineItem stored = item;
    stored.order = order;
    PreparedStatement s(db, QStringLiteral("insert into s_routine_item (%1) values (?1, ?2, ?3,"
                                           " ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14,"
                                           " ?15, ?16, ?17, ?18, ?19)")
                                .arg(QString::fromUtf8(kItemColumns)));
    BindItem(s, stored);
    if (!Run(s)) return false;
    const qint64 id = sqlite3_last_insert_rowid(db);
    if (!savepoint.release()) return false;
    item.id = id;
    item.order = order;
    return true;
}

bool UpdateRoutine(sqlite3* db, const Routine& routine) {
    PreparedStatement s(db, "update s_routine set name = ?1, schedule = ?2 where id = ?3");
    s.bindText(1, routine.name);
    s.bindInt(2, static_cast<int>(routine.schedule));
    s.bindInt(3, routine.id);
    return Run(s);
}

bool UpdateDay(sqlite3* db, const RoutineDay& day) {
    PreparedStatement s(db, "update s_routine_day set name = ?1, weekdays = ?2 where id = ?3");
    s.bindText(1, day.name);
    s.bindInt(2, day.weekdays);
    s.bindInt(3, day.id);
    return Run(s);
}

bool UpdateItem(sqlite3* db, const RoutineItem& item) {
    // ?1 and ?2 (day and order) are bound and not used: an item keeps its place.
    PreparedStatement s(
        db,
        "update s_routine_item set grp_cd = ?3, exer_cd = ?4, kind = ?5, working_sets = ?6,"
        " rep_min = ?7, rep_max = ?8, count_unit = ?9, duration_sec = ?10, start_load = ?11,"
        " load_unit = ?12, rest_sec = ?13, rule = ?14, step = ?15, rounding = ?16,"
        " uses_plates = ?17, superset = ?18, since = ?19 where id = ?20");
    BindItem(s, item);
    s.bindInt(20, item.id);
    return Run(s);
}

bool DeleteRoutine(sqlite3* db, qint64 id) {
    if (!RoutineTablesExist(db)) return true;
    return ExecuteAll(
        db,
        {"delete from s_routine_item where day_id in"
         " (select id from s_routine_day where routine_id = ?1)",
         "delete from s_routine_day where routine_id = ?1", "delete from s_routine where id = ?1"},
        id);
}

bool DeleteDay(sqlite3* db, qint64 id) {
    if (!RoutineTablesExist(db)) return true;
    return ExecuteAll(
        db,
        {"delete from s_routine_item where day_id = ?1", "delete from s_routine_day where id = ?1"},
        id);
}

bool DeleteItem(sqlite3* db, qint64 id) {
    if (!RoutineTablesExist(db)) return true;
    return ExecuteAll(db, {"delete from s_routine_item where id = ?1"}, id);
}

bool OrderRoutines(sqlite3* db, const std::vector<qint64>& ids) {
    return Reorder(db, "update s_routine set order_id = ?1 where id = ?2", ids);
}

bool OrderDays(sqlite3* db, const std::vector<qint64>& ids) {
    return Reorder(db, "update s_routine_day set order_id = ?1 where id = ?2", ids);
}

bool OrderItems(sqlite3* db, const std::vector<qint64>& ids) {
    return Reorder(db, "update s_routine_item set order_id = ?1 where id = ?2", ids);
}

bool ReadPlates(sqlite3* db, const QString& unit, PlateInventory& plates) {
    plates = DefaultPlates(unit);
    if (!RoutineTablesExist(db)) return true;
    {
        PreparedStatement s(db, "select bar from s_plate_bar where unit = ?1");
        s.bindText(1, unit);
        const int code = s.ok() ? s.step() : SQLITE_ERROR;
        if (code == SQLITE_DONE) return true;
        if (code != SQLITE_ROW) return false;
        plates.unit = unit;
        plates.bar = s.columnDouble(0);
        plates.plates.clear();
    }
    PreparedStatement s(db,
                        "select weight, pairs from s_plate where unit = ?1 order by weight desc");
    s.bindText(1, unit);
    while (s.next()) plates.plates.push_back({s.columnDouble(0), static_cast<int>(s.columnInt(1))});
    return s.ok();
}

bool ReadAllPlates(sqlite3* db, std::vector<PlateInventory>& inventories) {
    inventories.clear();
    if (!RoutineTablesExist(db)) return true;
    PreparedStatement s(db, "select unit from s_plate_bar order by unit");
    QStringList units;
    while (s.next()) units.push_back(s.columnText(0));
    if (!s.ok()) return false;
    for (const QString& unit : units) {
        PlateInventory plates;
        if (!ReadPlates(db, unit, plates)) return false;
        inventories.push_back(plates);
    }
    return true;
}

bool SavePlates(sqlite3* db, const PlateInventory& plates) {
    if (!EnsureRoutineTables(db)) return false;
    Savepoint savepoint(db);
    if (!savepoint.begun()) return false;
    {
        PreparedStatement s(db, "insert or replace into s_plate_bar (unit, bar) values (?1, ?2)");
        s.bindText(1, plates.unit);
        s.bindDouble(2, plates.bar);
        if (!Run(s)) return false;
    }
    {
        PreparedStatement s(db, "delete from s_plate where unit = ?1");
        s.bindText(1, plates.unit);
        if (!Run(s)) return false;
    }
    PreparedStatement s(db,
                        "insert or replace into s_plate (unit, weight, pairs) values (?1, ?2, ?3)");
    for (const PlatePair& pair : plates.plates) {
        s.bindText(1, plates.unit);
        s.bindDouble(2, pair.weight);
        s.bindInt(3, pair.pairs);
        if (!Run(s)) return false;
        s.reset();
    }
    return savepoint.release();
}

bool ReadWarmup(sqlite3* db, WarmupScheme& scheme) {
    scheme = DefaultWarmup();
    // A scheme saved without rows is no warm-up at all; no table is the default.
    if (!TableExists(db, "s_warmup")) return true;
    scheme.steps.clear();
    PreparedStatement s(db, "select percent, reps from s_warmup order by order_id");
    while (s.next())
        scheme.steps.push_back(
            {static_cast<int>(s.columnInt(0)), static_cast<int>(s.columnInt(1))});
    return s.ok();
}

bool SaveWarmup(sqlite3* db, const WarmupScheme& scheme) {
    Savepoint savepoint(db);
    if (!savepoint.begun() ||
        sqlite3_exec(db,
                     "create table if not exists s_warmup (order_id integer primary key,"
                     " percent integer not null, reps integer not null);"
                     "delete from s_warmup;",
                     nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    PreparedStatement s(db, "insert into s_warmup (order_id, percent, reps) values (?1, ?2, ?3)");
    for (std::size_t i = 0; i < scheme.steps.size(); ++i) {
        s.bindInt(1, static_cast<qint64>(i) + 1);
        s.bindInt(2, scheme.steps[i].percent);
        s.bindInt(3, scheme.steps[i].reps);
        if (!Run(s)) return false;
        s.reset();
    }
    return savepoint.release();
}

bool RoutinesUseExercise(sqlite3* db, const QString& grpCd, const QString& exerCd,
                         QString& routineName, bool& used) {
    used = false;
    routineName.clear();
    if (!RoutineTablesExist(db)) return true;
    PreparedStatement s(
        db,
        "select r.name from s_routine_item i"
        " join s_routine_day d on d.id = i.day_id"
        " join s_routine r on r.id = d.routine_id"
        " where i.grp_cd = ?1 and i.exer_cd = ?2 order by r.order_id, r.id limit 1");
    s.bindText(1, grpCd);
    s.bindText(2, exerCd);
    const int code = s.ok() ? s.step() : SQLITE_ERROR;
    if (code == SQLITE_ROW) {
        used = true;
        routineName = s.columnText(0);
        return true;
    }
    return code == SQLITE_DONE;
}

QString RoutineUseRefusal(sqlite3* db, const QString& grpCd, const QString& exerCd, bool& ok) {
    QString routine;
    bool used = false;
    ok = RoutinesUseExercise(db, grpCd, exerCd, routine, used);
    if (!ok || !used) return {};
    return QStringLiteral(
               "この種目はメニュー「%1」で使われているため削除できません。\r\n"
               "メニューから外すか、別の種目に統合してください。")
        .arg(routine);
}

bool MoveRoutineItems(sqlite3* db, const QString& fromGrp, const QString& fromExer,
                      const QString& toGrp, const QString& toExer) {
    if (!RoutineTablesExist(db)) return true;
    PreparedStatement s(db,
                        "update s_routine_item set grp_cd = ?3, exer_cd = ?4"
                        " where grp_cd = ?1 and exer_cd = ?2");
    s.bindText(1, fromGrp);
    s.bindText(2, fromExer);
    s.bindText(3, toGrp);
    s.bindText(4, toExer);
    return Run(s);
}

}  // namespace sorvenka
