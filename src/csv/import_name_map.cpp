#include "csv/import_name_map.h"

#include <sqlite3.h>

#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

bool TableExists(sqlite3* db) {
    PreparedStatement exists(
        db, "select 1 from sqlite_master where type = 'table' and name = 's_import_name_map'");
    return exists.ok() && exists.step() == SQLITE_ROW;
}

}  // namespace

bool ReadSavedNameChoices(sqlite3* db, QHash<QString, ExerciseTarget>& choices) {
    choices.clear();
    if (!TableExists(db)) return true;
    PreparedStatement read(db, "select source_name, grp_cd, exer_cd from s_import_name_map");
    if (!read.ok()) return false;
    int code = SQLITE_ROW;
    while ((code = read.step()) == SQLITE_ROW)
        choices.insert(read.columnText(0), {read.columnText(1), read.columnText(2)});
    return code == SQLITE_DONE;
}

bool SaveNameChoice(sqlite3* db, const QString& name, const ExerciseTarget& target) {
    if (sqlite3_exec(db,
                     "create table if not exists s_import_name_map ("
                     "source_name text primary key, grp_cd text not null, "
                     "exer_cd text not null)",
                     nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    PreparedStatement save(db,
                           "insert or replace into s_import_name_map (source_name, grp_cd, "
                           "exer_cd) values (?1, ?2, ?3)");
    if (!save.ok()) return false;
    save.bindText(1, name);
    save.bindText(2, target.grpCd);
    save.bindText(3, target.exerCd);
    return save.step() == SQLITE_DONE;
}

}  // namespace sorvenka
