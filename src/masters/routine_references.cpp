#include "masters/routine_references.h"

#include <sqlite3.h>

#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// The routines' tables are made with the first routine; before that nothing names an exercise.
bool ItemTableExists(sqlite3* db) {
    PreparedStatement exists(db,
                             "select count(*) from sqlite_master where type = 'table' and name in "
                             "('s_routine', 's_routine_day', 's_routine_item')");
    return exists.ok() && exists.step() == SQLITE_ROW && exists.columnInt(0) == 3;
}

}  // namespace

bool RoutinesUseExercise(sqlite3* db, const QString& grpCd, const QString& exerCd,
                         QString& routineName, bool& used) {
    used = false;
    routineName.clear();
    if (!ItemTableExists(db)) return true;
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
    if (!ItemTableExists(db)) return true;
    PreparedStatement s(db,
                        "update s_routine_item set grp_cd = ?3, exer_cd = ?4"
                        " where grp_cd = ?1 and exer_cd = ?2");
    s.bindText(1, fromGrp);
    s.bindText(2, fromExer);
    s.bindText(3, toGrp);
    s.bindText(4, toExer);
    return s.ok() && s.step() == SQLITE_DONE;
}

}  // namespace sorvenka
