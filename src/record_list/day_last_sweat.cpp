#include "record_list/day_last_sweat.h"

#include <sqlite3.h>

#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// Rows keep the order they were added in: the greatest row id is the set stored last.
const char* const kDayLastSweatSql =
    "SELECT sweat_cd FROM t_exer WHERE ymd = ?1 AND sweat_cd IS NOT NULL AND sweat_cd <> '' "
    "ORDER BY rowid DESC LIMIT 1";

}  // namespace

QString ReadDayLastSweat(sqlite3* connection, const QString& ymd) {
    PreparedStatement s(connection, kDayLastSweatSql);
    s.bindText(1, ymd);
    if (s.ok() && s.step() == SQLITE_ROW) return s.columnText(0);
    return QString();
}

}  // namespace sorvenka
