#include "masters/master_rows.h"

#include <sqlite3.h>

#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// The usage of every exercise in one pass over the sets, joined to the exercises.
constexpr const char* kExerciseColumns =
    "select e.grp_cd, e.exer_cd, e.exer_name, e.status = 1, e.order_id,"
    "       coalesce(u.sets, 0), coalesce(u.first, ''), coalesce(u.last, '') "
    "from m_exer e "
    "left join (select grp_cd, exer_cd, count(*) as sets, min(ymd) as first, max(ymd) as last"
    "           from t_exer group by grp_cd, exer_cd) u"
    "       on u.grp_cd = e.grp_cd and u.exer_cd = e.exer_cd ";

bool StepExercises(PreparedStatement& statement, std::vector<ExerciseRow>& rows) {
    rows.clear();
    if (!statement.ok()) return false;
    int code = SQLITE_ROW;
    while ((code = statement.step()) == SQLITE_ROW) {
        ExerciseRow row;
        row.grpCd = statement.columnText(0);
        row.code = statement.columnText(1);
        row.name = statement.columnText(2);
        row.shown = statement.columnInt(3) != 0;
        row.orderId = statement.columnInt(4);
        row.sets = statement.columnInt(5);
        row.firstYmd = statement.columnText(6);
        row.lastYmd = statement.columnText(7);
        rows.push_back(row);
    }
    return code == SQLITE_DONE;
}

}  // namespace

bool ReadGroups(sqlite3* db, std::vector<GroupRow>& rows) {
    rows.clear();
    PreparedStatement statement(db,
                                "select g.grp_cd, g.grp_name, g.status = 1, g.order_id,"
                                "       (select count(*) from m_exer e where e.grp_cd = g.grp_cd),"
                                "       (select count(*) from t_exer t where t.grp_cd = g.grp_cd) "
                                "from m_grp g order by g.order_id, g.grp_cd");
    if (!statement.ok()) return false;
    int code = SQLITE_ROW;
    while ((code = statement.step()) == SQLITE_ROW) {
        GroupRow row;
        row.code = statement.columnText(0);
        row.name = statement.columnText(1);
        row.shown = statement.columnInt(2) != 0;
        row.orderId = statement.columnInt(3);
        row.exercises = statement.columnInt(4);
        row.sets = statement.columnInt(5);
        rows.push_back(row);
    }
    return code == SQLITE_DONE;
}

bool ReadExercises(sqlite3* db, const QString& grpCd, std::vector<ExerciseRow>& rows) {
    PreparedStatement statement(
        db, (QByteArray(kExerciseColumns) + "where e.grp_cd = ?1 order by e.order_id, e.exer_cd")
                .constData());
    statement.bindText(1, grpCd);
    return StepExercises(statement, rows);
}

bool ReadAllExercises(sqlite3* db, std::vector<ExerciseRow>& rows) {
    PreparedStatement statement(
        db, (QByteArray(kExerciseColumns) +
             "left join m_grp g on g.grp_cd = e.grp_cd "
             "order by g.order_id is null, g.order_id, e.grp_cd, e.order_id, e.exer_cd")
                .constData());
    return StepExercises(statement, rows);
}

bool ReadExercise(sqlite3* db, const QString& grpCd, const QString& exerCd, ExerciseRow& row) {
    PreparedStatement statement(
        db, (QByteArray(kExerciseColumns) + "where e.grp_cd = ?1 and e.exer_cd = ?2").constData());
    statement.bindText(1, grpCd);
    statement.bindText(2, exerCd);
    std::vector<ExerciseRow> rows;
    if (!StepExercises(statement, rows) || rows.empty()) return false;
    row = rows.front();
    return true;
}

}  // namespace sorvenka
