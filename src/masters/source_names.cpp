#include "masters/source_names.h"

#include <sqlite3.h>

#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

bool TableExists(sqlite3* db, bool& ok) {
    PreparedStatement exists(
        db, "select 1 from sqlite_master where type = 'table' and name = 's_import_name_map'");
    ok = exists.ok();
    if (!ok) return false;
    const int code = exists.step();
    ok = code == SQLITE_ROW || code == SQLITE_DONE;
    return code == SQLITE_ROW;
}

}  // namespace

bool ReadSourceNames(sqlite3* db, QHash<QString, ExerciseKey>& names) {
    names.clear();
    bool ok = true;
    if (!TableExists(db, ok)) return ok;
    PreparedStatement read(db, "select source_name, grp_cd, exer_cd from s_import_name_map");
    if (!read.ok()) return false;
    int code = SQLITE_ROW;
    while ((code = read.step()) == SQLITE_ROW)
        names.insert(read.columnText(0), {read.columnText(1), read.columnText(2)});
    return code == SQLITE_DONE;
}

bool SaveSourceName(sqlite3* db, const QString& name, const ExerciseKey& exercise) {
    if (sqlite3_exec(db,
                     "create table if not exists s_import_name_map ("
                     "source_name text primary key, grp_cd text not null, "
                     "exer_cd text not null)",
                     nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    return ExecBound(db,
                     "insert or replace into s_import_name_map (source_name, grp_cd, exer_cd) "
                     "values (?1, ?2, ?3)",
                     {name, exercise.grpCd, exercise.exerCd});
}

bool CarrySourceNames(sqlite3* db, const ExerciseKey& from, const ExerciseKey& to) {
    bool ok = true;
    if (!TableExists(db, ok)) return ok;
    return ExecBound(db,
                     "update s_import_name_map set grp_cd = ?3, exer_cd = ?4 "
                     "where grp_cd = ?1 and exer_cd = ?2",
                     {from.grpCd, from.exerCd, to.grpCd, to.exerCd});
}

bool ForgetSourceNames(sqlite3* db, const ExerciseKey& exercise) {
    bool ok = true;
    if (!TableExists(db, ok)) return ok;
    return ExecBound(db, "delete from s_import_name_map where grp_cd = ?1 and exer_cd = ?2",
                     {exercise.grpCd, exercise.exerCd});
}

}  // namespace sorvenka
