#include "routines/routine_tables.h"

#include <sqlite3.h>

#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

const char* const kTables =
    "create table if not exists s_routine ("
    " id integer primary key, name text not null, order_id integer not null,"
    " schedule integer not null default 0);"
    "create table if not exists s_routine_day ("
    " id integer primary key, routine_id integer not null, name text not null,"
    " order_id integer not null, weekdays integer not null default 0);"
    "create table if not exists s_routine_item ("
    " id integer primary key, day_id integer not null, order_id integer not null,"
    " grp_cd text not null, exer_cd text not null, kind integer not null default 0,"
    " working_sets integer not null, rep_min integer not null, rep_max integer not null,"
    " count_unit text not null, duration_sec integer not null, start_load real not null,"
    " load_unit text not null, rest_sec integer not null, rule integer not null,"
    " step real not null, rounding real not null, uses_plates integer not null,"
    " superset text not null, since text not null);"
    "create index if not exists s_routine_item_exercise on s_routine_item (grp_cd, exer_cd);"
    "create table if not exists s_plate_bar (unit text primary key, bar real not null);"
    "create table if not exists s_plate ("
    " unit text not null, weight real not null, pairs integer not null,"
    " primary key (unit, weight));";

}  // namespace

bool EnsureRoutineTables(sqlite3* db) {
    if (RoutineTablesExist(db)) return true;
    return sqlite3_exec(db, kTables, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool RoutineTablesExist(sqlite3* db) {
    PreparedStatement exists(db,
                             "select count(*) from sqlite_master where type = 'table' and name in "
                             "('s_routine', 's_routine_day', 's_routine_item', 's_plate_bar', "
                             "'s_plate')");
    return exists.ok() && exists.step() == SQLITE_ROW && exists.columnInt(0) == 5;
}

}  // namespace sorvenka
