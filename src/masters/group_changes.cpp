#include "masters/group_changes.h"

#include <sqlite3.h>

#include "db/free_code.h"
#include "db/prepared_statement.h"
#include "masters/master_inserts.h"
#include "masters/master_names.h"
#include "masters/master_statements.h"
#include "masters/rest_day.h"

namespace sorvenka {

namespace {

bool GroupNameUsed(sqlite3* db, const QString& name, const QString& exceptCode, bool& ok) {
    return ScalarInt(db, "select 1 from m_grp where grp_name = ?1 and grp_cd <> ?2",
                     {name, exceptCode}, ok)
        .has_value();
}

// One update of one existing group.
bool UpdateGroup(sqlite3* db, const char* sql, const QString& grpCd, const QString& value,
                 QString& message) {
    bool ok = true;
    if (!GroupExists(db, grpCd, ok)) {
        message = ok ? kNoGroupMessage : WriteFailedMessage(db);
        return false;
    }
    if (!ExecBound(db, sql, {grpCd, value})) {
        message = WriteFailedMessage(db);
        return false;
    }
    return true;
}

}  // namespace

bool GroupExists(sqlite3* db, const QString& grpCd, bool& ok) {
    return ScalarInt(db, "select 1 from m_grp where grp_cd = ?1", {grpCd}, ok).has_value();
}

QString WriteFailedMessage(sqlite3* db) {
    return QStringLiteral("データベースに書き込めませんでした。何も変更していません。\r\n") +
           LastError(db);
}

bool AddGroup(sqlite3* db, const QString& typedName, QString& newCode, QString& message) {
    newCode.clear();
    QString name;
    if (!CheckedMasterName(typedName, name, message)) return false;
    Transaction transaction(db);
    bool ok = transaction.begun();
    if (ok && GroupNameUsed(db, name, QString(), ok)) {
        message = GroupNameUsedMessage(name);
        return false;
    }
    const QString code = ok ? NextFreeCode(UsedGroupCodes(db, ok)) : QString();
    if (ok && code.isEmpty()) {
        message = QStringLiteral("空いているグループのコードがありません。");
        return false;
    }
    const qint64 last =
        ok ? ScalarInt(db, "select max(order_id) from m_grp", {}, ok).value_or(0) : 0;
    ok = ok && InsertGroupRow(db, code, name, last + 1) && transaction.commit();
    if (!ok) {
        message = WriteFailedMessage(db);
        return false;
    }
    newCode = code;
    return true;
}

bool RenameGroup(sqlite3* db, const QString& grpCd, const QString& typedName, QString& message) {
    QString name;
    if (!CheckedMasterName(typedName, name, message)) return false;
    bool ok = true;
    if (GroupNameUsed(db, name, grpCd, ok) || !ok) {
        message = ok ? GroupNameUsedMessage(name) : WriteFailedMessage(db);
        return false;
    }
    return UpdateGroup(db, "update m_grp set grp_name = ?2 where grp_cd = ?1", grpCd, name,
                       message);
}

bool SetGroupShown(sqlite3* db, const QString& grpCd, bool shown, QString& message) {
    message.clear();
    if (!shown && grpCd == kRestDayGrpCd) {
        message = RestDayRefusal(RestDayChange::HideGroup);
        return false;
    }
    return UpdateGroup(db, "update m_grp set status = cast(?2 as integer) where grp_cd = ?1", grpCd,
                       shown ? QStringLiteral("1") : QStringLiteral("0"), message);
}

bool DeleteGroup(sqlite3* db, const QString& grpCd, QString& message) {
    message.clear();
    if (grpCd == kRestDayGrpCd) {
        message = RestDayRefusal(RestDayChange::DeleteGroup);
        return false;
    }
    Transaction transaction(db);
    bool ok = transaction.begun();
    const bool exists = ok && GroupExists(db, grpCd, ok);
    if (ok && !exists) {
        message = kNoGroupMessage;
        return false;
    }
    const qint64 exercises =
        ok ? ScalarInt(db, "select count(*) from m_exer where grp_cd = ?1", {grpCd}, ok).value_or(0)
           : 0;
    const qint64 sets =
        ok ? ScalarInt(db, "select count(*) from t_exer where grp_cd = ?1", {grpCd}, ok).value_or(0)
           : 0;
    if (ok && (exercises > 0 || sets > 0)) {
        message = QStringLiteral(
                      "このグループには種目が%1件、記録が%2セットあるため削除できません。\r\n"
                      "種目を別のグループへ移動するか、グループを非表示にしてください。")
                      .arg(exercises)
                      .arg(sets);
        return false;
    }
    ok =
        ok && ExecBound(db, "delete from m_grp where grp_cd = ?1", {grpCd}) && transaction.commit();
    if (!ok) message = WriteFailedMessage(db);
    return ok;
}

}  // namespace sorvenka
