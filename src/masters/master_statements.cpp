#include "masters/master_statements.h"

#include <sqlite3.h>

#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

void BindAll(PreparedStatement& statement, std::initializer_list<QString> values) {
    int position = 1;
    for (const QString& value : values) statement.bindText(position++, value);
}

bool CollectCodes(sqlite3* db, const char* sql, std::initializer_list<QString> values,
                  QSet<QString>& codes) {
    PreparedStatement statement(db, sql);
    if (!statement.ok()) return false;
    BindAll(statement, values);
    int code = SQLITE_ROW;
    while ((code = statement.step()) == SQLITE_ROW) codes.insert(statement.columnText(0));
    return code == SQLITE_DONE;
}

}  // namespace

bool ExecBound(sqlite3* db, const char* sql, std::initializer_list<QString> values) {
    PreparedStatement statement(db, sql);
    if (!statement.ok()) return false;
    BindAll(statement, values);
    return statement.step() == SQLITE_DONE;
}

std::optional<qint64> ScalarInt(sqlite3* db, const char* sql, std::initializer_list<QString> values,
                                bool& ok) {
    PreparedStatement statement(db, sql);
    ok = statement.ok();
    if (!ok) return std::nullopt;
    BindAll(statement, values);
    const int code = statement.step();
    ok = code == SQLITE_ROW || code == SQLITE_DONE;
    if (code != SQLITE_ROW || statement.columnType(0) == SQLITE_NULL) return std::nullopt;
    return statement.columnInt(0);
}

std::optional<QString> ScalarText(sqlite3* db, const char* sql,
                                  std::initializer_list<QString> values, bool& ok) {
    PreparedStatement statement(db, sql);
    ok = statement.ok();
    if (!ok) return std::nullopt;
    BindAll(statement, values);
    const int code = statement.step();
    ok = code == SQLITE_ROW || code == SQLITE_DONE;
    if (code != SQLITE_ROW) return std::nullopt;
    return statement.columnText(0);
}

QSet<QString> UsedGroupCodes(sqlite3* db, bool& ok) {
    QSet<QString> codes;
    ok = CollectCodes(db,
                      "select grp_cd from m_grp union select grp_cd from m_exer "
                      "union select grp_cd from t_exer",
                      {}, codes);
    return codes;
}

QSet<QString> UsedExerciseCodes(sqlite3* db, const QString& grpCd, bool& ok) {
    QSet<QString> codes;
    ok = CollectCodes(db,
                      "select exer_cd from m_exer where grp_cd = ?1 "
                      "union select exer_cd from t_exer where grp_cd = ?1",
                      {grpCd}, codes);
    return codes;
}

QString LastError(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
}

}  // namespace sorvenka
