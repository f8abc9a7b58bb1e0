#include "db/record_reads.h"

#include <initializer_list>

#include "db/database.h"
#include "db/record_statements.h"
#include "db/value_forms.h"

namespace sorvenka {

namespace {

// What a read returns when it finds nothing: the single empty element, no header.
ResultTable noRows() {
    return ResultTable{QString()};
}

// Every read shows why it failed (a lock held too long, a broken file) before the program
// ends: a program that vanishes without a word leaves the user nothing to report.
ResultTable queryOrFail(Database& db, const QString& sql) {
    ResultTable table;
    QString message;
    if (!db.query(sql, table, message)) db.failQuery(message);
    return table;
}

// Row 1 of a read of one set, column by column in the given order: the first lookup reports
// a missing row, so the order decides which column a vanished set's report names.
struct ColumnField {
    const char* name;
    QString* value;
};
void readRowOne(Database& db, const ResultTable& table,
                std::initializer_list<ColumnField> columns) {
    for (const ColumnField& column : columns)
        *column.value = db.colValue(table, 1, QString::fromLatin1(column.name));
}

bool rangeTakesGroup(int range) {
    return range == 1 || range == 2;
}

// Whether the day read's values are of their form; codes are checked only where the range
// places them into the statement.
bool dayReadFormsHold(const QString& ymd, int range, const QString& grpCd, const QString& exerCd) {
    QString message;
    if (!CheckDayForm(QStringLiteral("ymd"), ymd, message)) return false;
    if (rangeTakesGroup(range) && !CheckCodeForm(QStringLiteral("grp_cd"), grpCd, 2, message))
        return false;
    return range != 2 || CheckCodeForm(QStringLiteral("exer_cd"), exerCd, 2, message);
}

}  // namespace

ResultTable DBSelectDayExer(Database& db, const QString& ymd, int range, const QString& grpCd,
                            const QString& exerCd) {
    if (!dayReadFormsHold(ymd, range, grpCd, exerCd)) return noRows();
    return queryOrFail(db, SelectDayExerSql(ymd, range, grpCd, exerCd));
}

void DBStreamDayExer(Database& db, const QString& ymd, int range, const QString& grpCd,
                     const QString& exerCd, RowSink& sink) {
    if (!dayReadFormsHold(ymd, range, grpCd, exerCd)) return;
    // Days differ only in their values: one statement serves every day of a rebuild.
    static const QString bound[] = {SelectDayExerBoundSql(0), SelectDayExerBoundSql(1),
                                    SelectDayExerBoundSql(2)};
    const QString values[] = {ymd, grpCd, exerCd};
    QString message;
    if (!db.queryRowsBound(
            bound[rangeTakesGroup(range) ? range : 0], values,
            [&] { return SelectDayExerSql(ymd, range, grpCd, exerCd); }, sink, message))
        db.failQuery(message);
}

ResultTable DBSelectExerByKey(Database& db, const RecordKey& key) {
    QString message;
    if (!CheckKeyForm(key, message)) return noRows();
    return queryOrFail(db, SelectExerByKeySql(key));
}

void DBLoadExer(Database& db, const RecordKey& key, ExerRecord& loaded) {
    QString message;
    // A key not of its form reads as no row and takes the same road as a vanished set.
    const ResultTable table =
        CheckKeyForm(key, message) ? queryOrFail(db, LoadExerSql(key)) : noRows();
    loaded = ExerRecord{};
    loaded.ymd = key.ymd;
    loaded.grp_cd = key.grp_cd;
    loaded.exer_cd = key.exer_cd;
    loaded.set_num = key.set_num;
    // In the order the window sets its controls.
    readRowOne(db, table,
               {{"target", &loaded.target},
                {"unit", &loaded.unit},
                {"unit_t", &loaded.unit_t},
                {"hms_sta", &loaded.hms_sta},
                {"hms_end", &loaded.hms_end},
                {"cnt", &loaded.cnt},
                {"cnt_min", &loaded.cnt_min},
                {"cnt_sec", &loaded.cnt_sec},
                {"sweat_cd", &loaded.sweat_cd},
                {"comment", &loaded.comment}});
}

ExerRecord DBReadStoredSet(Database& db, const RecordKey& key, QString& sweatName) {
    ExerRecord stored;
    // In the order the confirmation's before line takes them.
    readRowOne(db, DBSelectExerByKey(db, key),
               {{"hms_sta", &stored.hms_sta},
                {"hms_end", &stored.hms_end},
                {"target", &stored.target},
                {"unit_t", &stored.unit_t},
                {"cnt", &stored.cnt},
                {"unit", &stored.unit},
                {"cnt_min", &stored.cnt_min},
                {"cnt_sec", &stored.cnt_sec},
                {"sweat_name", &sweatName},
                {"comment", &stored.comment}});
    return stored;
}

QString DBGetFirstYmd(Database& db) {
    const ResultTable table = queryOrFail(db, GetFirstYmdSql());
    return db.colValue(table, 1, QStringLiteral("ymd_min"));
}

}  // namespace sorvenka
