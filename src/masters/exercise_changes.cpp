#include "masters/exercise_changes.h"

#include <sqlite3.h>

#include "db/free_code.h"
#include "db/prepared_statement.h"
#include "masters/group_changes.h"
#include "masters/master_inserts.h"
#include "masters/master_names.h"
#include "masters/rest_day.h"
#include "masters/routine_references.h"
#include "masters/source_names.h"

namespace sorvenka {

namespace {

const QString kNoExercise = QStringLiteral("選んだ種目がありません。");

bool ExerciseExists(sqlite3* db, const ExerciseKey& key, bool& ok) {
    return ScalarInt(db, "select 1 from m_exer where grp_cd = ?1 and exer_cd = ?2",
                     {key.grpCd, key.exerCd}, ok)
        .has_value();
}

// Another exercise of the group already has the name.
bool ExerciseNameUsed(sqlite3* db, const QString& grpCd, const QString& name,
                      const QString& exceptCode, bool& ok) {
    return ScalarInt(db,
                     "select 1 from m_exer where grp_cd = ?1 and exer_name = ?2 and exer_cd <> ?3",
                     {grpCd, name, exceptCode}, ok)
        .has_value();
}

// The next free code of a group and the order_id after its last exercise.
bool NextPlace(sqlite3* db, const QString& grpCd, QString& code, qint64& orderId,
               QString& message) {
    bool ok = true;
    code = NextFreeCode(UsedExerciseCodes(db, grpCd, ok));
    if (ok && code.isEmpty()) {
        message = QStringLiteral("このグループには空いている種目のコードがありません。");
        return false;
    }
    orderId = ok ? ScalarInt(db, "select max(order_id) from m_exer where grp_cd = ?1", {grpCd}, ok)
                           .value_or(0) +
                       1
                 : 0;
    if (!ok) message = WriteFailedMessage(db);
    return ok;
}

bool UpdateExercise(sqlite3* db, const char* sql, const ExerciseKey& key, const QString& value,
                    QString& message) {
    bool ok = true;
    if (!ExerciseExists(db, key, ok)) {
        message = ok ? kNoExercise : WriteFailedMessage(db);
        return false;
    }
    if (!ExecBound(db, sql, {key.grpCd, key.exerCd, value})) {
        message = WriteFailedMessage(db);
        return false;
    }
    return true;
}

}  // namespace

bool AddExercise(sqlite3* db, const QString& grpCd, const QString& typedName, QString& newCode,
                 QString& message) {
    newCode.clear();
    QString name;
    if (!CheckedMasterName(typedName, name, message)) return false;
    Transaction transaction(db);
    bool ok = transaction.begun();
    if (ok && !GroupExists(db, grpCd, ok) && ok) {
        message = kNoGroupMessage;
        return false;
    }
    if (ok && ExerciseNameUsed(db, grpCd, name, QString(), ok)) {
        message = ExerciseNameUsedMessage(name);
        return false;
    }
    if (!ok) {
        message = WriteFailedMessage(db);
        return false;
    }
    QString code;
    qint64 orderId = 0;
    if (!NextPlace(db, grpCd, code, orderId, message)) return false;
    if (!InsertExerciseRow(db, {grpCd, code}, name, orderId) || !transaction.commit()) {
        message = WriteFailedMessage(db);
        return false;
    }
    newCode = code;
    return true;
}

bool RenameExercise(sqlite3* db, const ExerciseKey& key, const QString& typedName,
                    QString& message) {
    QString name;
    if (!CheckedMasterName(typedName, name, message)) return false;
    bool ok = true;
    if (ExerciseNameUsed(db, key.grpCd, name, key.exerCd, ok) || !ok) {
        message = ok ? ExerciseNameUsedMessage(name) : WriteFailedMessage(db);
        return false;
    }
    return UpdateExercise(db, "update m_exer set exer_name = ?3 where grp_cd = ?1 and exer_cd = ?2",
                          key, name, message);
}

bool SetExerciseShown(sqlite3* db, const ExerciseKey& key, bool shown, QString& message) {
    message.clear();
    if (!shown && IsRestDay(key.grpCd, key.exerCd)) {
        message = RestDayRefusal(RestDayChange::Hide);
        return false;
    }
    return UpdateExercise(
        db, "update m_exer set status = cast(?3 as integer) where grp_cd = ?1 and exer_cd = ?2",
        key, shown ? QStringLiteral("1") : QStringLiteral("0"), message);
}

bool DeleteExercise(sqlite3* db, const ExerciseKey& key, QString& message) {
    message.clear();
    if (IsRestDay(key.grpCd, key.exerCd)) {
        message = RestDayRefusal(RestDayChange::Delete);
        return false;
    }
    Transaction transaction(db);
    bool ok = transaction.begun();
    if (ok && !ExerciseExists(db, key, ok) && ok) {
        message = kNoExercise;
        return false;
    }
    const qint64 sets = ok ? ScalarInt(db,
                                       "select count(*) from t_exer"
                                       " where grp_cd = ?1 and exer_cd = ?2",
                                       {key.grpCd, key.exerCd}, ok)
                                 .value_or(0)
                           : 0;
    if (ok && sets > 0) {
        message = QStringLiteral(
                      "この種目には記録が%1セットあるため削除できません。\r\n"
                      "非表示にするか、別の種目に統合してください。")
                      .arg(sets);
        return false;
    }
    // A routine's item names it too.
    if (ok) message = RoutineUseRefusal(db, key.grpCd, key.exerCd, ok);
    if (ok && !message.isEmpty()) return false;
    ok = ok &&
         ExecBound(db, "delete from m_exer where grp_cd = ?1 and exer_cd = ?2",
                   {key.grpCd, key.exerCd}) &&
         ForgetSourceNames(db, key) && transaction.commit();
    if (!ok) message = WriteFailedMessage(db);
    return ok;
}

bool MoveExerciseToGroup(sqlite3* db, const ExerciseKey& key, const QString& toGrpCd,
                         QString& newCode, QString& message) {
    newCode.clear();
    message.clear();
    if (IsRestDay(key.grpCd, key.exerCd)) {
        message = RestDayRefusal(RestDayChange::Move);
        return false;
    }
    if (key.grpCd == toGrpCd) {
        message = QStringLiteral("移動先に同じグループが選ばれています。");
        return false;
    }
    Transaction transaction(db);
    bool ok = transaction.begun();
    if (ok && !ExerciseExists(db, key, ok) && ok) {
        message = kNoExercise;
        return false;
    }
    if (ok && !GroupExists(db, toGrpCd, ok) && ok) {
        message = QStringLiteral("移動先のグループがありません。");
        return false;
    }
    const QString name =
        ok ? ScalarText(db, "select exer_name from m_exer where grp_cd = ?1 and exer_cd = ?2",
                        {key.grpCd, key.exerCd}, ok)
                 .value_or(QString())
           : QString();
    if (ok && ExerciseNameUsed(db, toGrpCd, name, QString(), ok)) {
        message = QStringLiteral(
                      "移動先のグループには「%1」という名前の種目がすでにあります。\r\n"
                      "移動ではなく統合してください。")
                      .arg(name);
        return false;
    }
    if (!ok) {
        message = WriteFailedMessage(db);
        return false;
    }
    QString code;
    qint64 orderId = 0;
    if (!NextPlace(db, toGrpCd, code, orderId, message)) return false;
    // The row itself moves, so columns of the master beyond the known ones stay with it.
    ok = ExecBound(db,
                   "update m_exer set grp_cd = ?3, exer_cd = ?4, order_id = cast(?5 as integer)"
                   " where grp_cd = ?1 and exer_cd = ?2",
                   {key.grpCd, key.exerCd, toGrpCd, code, QString::number(orderId)}) &&
         ExecBound(db,
                   "update t_exer set grp_cd = ?3, exer_cd = ?4 where grp_cd = ?1 and exer_cd = ?2",
                   {key.grpCd, key.exerCd, toGrpCd, code}) &&
         MoveRoutineItems(db, key.grpCd, key.exerCd, toGrpCd, code) &&
         CarrySourceNames(db, key, {toGrpCd, code}) && transaction.commit();
    if (!ok) {
        message = WriteFailedMessage(db);
        return false;
    }
    newCode = code;
    return true;
}

}  // namespace sorvenka
