#include "masters/list_order.h"

#include <sqlite3.h>

#include <vector>

#include "db/prepared_statement.h"
#include "masters/master_statements.h"

namespace sorvenka {

namespace {

struct Place {
    QString code;
    qint64 orderId = 0;
};

// The statements of one master list: its rows in shown order and the write of one order_id.
struct OrderedList {
    const char* select;
    const char* update;
};

constexpr OrderedList kGroups{
    "select grp_cd, order_id from m_grp where ?1 = ?1 order by order_id, grp_cd",
    "update m_grp set order_id = cast(?3 as integer) where grp_cd = ?2 and ?1 = ?1"};
constexpr OrderedList kExercises{
    "select exer_cd, order_id from m_exer where grp_cd = ?1 order by order_id, exer_cd",
    "update m_exer set order_id = cast(?3 as integer) where grp_cd = ?1 and exer_cd = ?2"};

bool ReadPlaces(sqlite3* db, const OrderedList& list, const QString& grpCd,
                std::vector<Place>& places) {
    PreparedStatement statement(db, list.select);
    if (!statement.ok()) return false;
    statement.bindText(1, grpCd);
    int code = SQLITE_ROW;
    while ((code = statement.step()) == SQLITE_ROW)
        places.push_back({statement.columnText(0), statement.columnInt(1)});
    return code == SQLITE_DONE;
}

bool WriteOrder(sqlite3* db, const OrderedList& list, const QString& grpCd, const QString& code,
                qint64 orderId) {
    return ExecBound(db, list.update, {grpCd, code, QString::number(orderId)});
}

bool MoveInOrder(sqlite3* db, const OrderedList& list, const QString& grpCd, const QString& code,
                 int step, QString& message) {
    message.clear();
    const auto fail = [&](const QString& reason) {
        message = reason;
        return false;
    };
    Transaction transaction(db);
    if (!transaction.begun())
        return fail(QStringLiteral("データベースに書き込めません。\r\n") + LastError(db));
    std::vector<Place> places;
    if (!ReadPlaces(db, list, grpCd, places))
        return fail(QStringLiteral("データベースを読み込めません。\r\n") + LastError(db));
    qsizetype at = -1;
    for (qsizetype i = 0; i < static_cast<qsizetype>(places.size()); ++i)
        if (places[i].code == code) at = i;
    if (at < 0) return fail(QStringLiteral("選んだ行がありません。"));
    const qsizetype to = at + step;
    if (to < 0 || to >= static_cast<qsizetype>(places.size())) return true;

    bool written = true;
    if (places[at].orderId == places[to].orderId) {
        // Equal places have no order to exchange: number the list as it is shown.
        for (qsizetype i = 0; i < static_cast<qsizetype>(places.size()); ++i) {
            places[i].orderId = i + 1;
            written = written && WriteOrder(db, list, grpCd, places[i].code, i + 1);
        }
    }
    written = written && WriteOrder(db, list, grpCd, places[at].code, places[to].orderId) &&
              WriteOrder(db, list, grpCd, places[to].code, places[at].orderId);
    if (!written || !transaction.commit())
        return fail(QStringLiteral("並び順を変更できませんでした。\r\n") + LastError(db));
    return true;
}

}  // namespace

bool MoveGroupInOrder(sqlite3* db, const QString& grpCd, int step, QString& message) {
    return MoveInOrder(db, kGroups, QString(), grpCd, step, message);
}

bool MoveExerciseInOrder(sqlite3* db, const QString& grpCd, const QString& exerCd, int step,
                         QString& message) {
    return MoveInOrder(db, kExercises, grpCd, exerCd, step, message);
}

}  // namespace sorvenka
