#include "db/record_writes.h"

#include "common/platform.h"
#include "common/version.h"
#include "db/database.h"
#include "db/record_statements.h"
#include "db/value_forms.h"

namespace sorvenka {

namespace {

// A change that fails has shown its statement already (nonQuery); the program cannot go on.
bool runChange(Database& db, const QString& sql, QString& message) {
    if (db.nonQuery(sql, message) != 0) db.platform().endProgram(kFailureExitStatus);
    message.clear();
    return true;
}

bool writeRecord(Database& db, const ExerRecord& r, bool countForm,
                 QString (*build)(const ExerRecord&), QString& message) {
    if (!CheckRecordForm(r, countForm, message)) return false;
    return runChange(db, build(r), message);
}

}  // namespace

bool DBInsertExerCount(Database& db, const ExerRecord& r, QString& message) {
    return writeRecord(db, r, true, &InsertExerCountSql, message);
}

bool DBInsertExerTime(Database& db, const ExerRecord& r, QString& message) {
    return writeRecord(db, r, false, &InsertExerTimeSql, message);
}

bool DBUpdateExerCount(Database& db, const ExerRecord& r, QString& message) {
    return writeRecord(db, r, true, &UpdateExerCountSql, message);
}

bool DBUpdateExerTime(Database& db, const ExerRecord& r, QString& message) {
    return writeRecord(db, r, false, &UpdateExerTimeSql, message);
}

bool DBDeleteExer(Database& db, const RecordKey& key, QString& message) {
    if (!CheckKeyForm(key, message)) return false;
    return runChange(db, DeleteExerSql(key), message);
}

int DBGetMaxSetNum(Database& db, const QString& ymd, const QString& grpCd, const QString& exerCd) {
    QString message;
    if (!CheckDayAndCodes(ymd, grpCd, exerCd, message)) return -1;
    ResultTable table;
    if (!db.query(GetMaxSetNumSql(ymd, grpCd, exerCd), table, message)) db.failQuery(message);
    return db.colValue(table, 1, QStringLiteral("maxn")).toInt();
}

bool DBCheckSameTime(Database& db, const QString& ymd, const QString& /*grpCd*/,
                     const QString& /*exerCd*/, const QString& /*setNum*/, const QString& hmsSta,
                     const QString& hmsEnd, QString& message) {
    message.clear();
    // Values not of their form read as no stored set: nothing to warn about, and the insert
    // that follows refuses them itself.
    QString formMessage;
    if (!CheckDayForm(QStringLiteral("ymd"), ymd, formMessage) ||
        !CheckTimesForm(hmsSta, hmsEnd, formMessage))
        return true;
    ResultTable table;
    QString queryMessage;
    if (!db.query(CheckSameTimeSql(ymd, hmsSta, hmsEnd), table, queryMessage))
        db.failQuery(queryMessage);
    const QString question = kCrLf + kCrLf + QStringLiteral("登録しますか？");
    if (db.colValue(table, 1, QStringLiteral("cnt01")) != QLatin1String("0")) {
        message = QStringLiteral("開始時刻が一致のレコードが既存です。") + question;
        return false;
    }
    if (db.colValue(table, 1, QStringLiteral("cnt02")) != QLatin1String("0")) {
        message = QStringLiteral("終了時刻が一致のレコードが既存です。") + question;
        return false;
    }
    return true;
}

}  // namespace sorvenka
