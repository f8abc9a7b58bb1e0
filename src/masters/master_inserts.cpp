#include "masters/master_inserts.h"

#include <sqlite3.h>

#include "db/prepared_statement.h"

namespace sorvenka {

bool InsertGroupRow(sqlite3* db, const QString& grpCd, const QString& name, qint64 orderId) {
    PreparedStatement insert(db,
                             "insert into m_grp (grp_cd, grp_name, status, order_id) "
                             "values (?1, ?2, 1, ?3)");
    if (!insert.ok()) return false;
    insert.bindText(1, grpCd);
    insert.bindText(2, name);
    insert.bindInt(3, orderId);
    return insert.step() == SQLITE_DONE;
}

bool InsertExerciseRow(sqlite3* db, const ExerciseKey& key, const QString& name, qint64 orderId) {
    PreparedStatement insert(db,
                             "insert into m_exer (grp_cd, exer_cd, exer_name, status, order_id) "
                             "values (?1, ?2, ?3, 1, ?4)");
    if (!insert.ok()) return false;
    insert.bindText(1, key.grpCd);
    insert.bindText(2, key.exerCd);
    insert.bindText(3, name);
    insert.bindInt(4, orderId);
    return insert.step() == SQLITE_DONE;
}

}  // namespace sorvenka
