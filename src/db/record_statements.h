#pragma once

#include <QString>

#include "db/exer_record.h"

namespace sorvenka {

// The program's statements on t_exer, built as text line by line with CR LF. They place the
// values as given; callers check the values' forms first (value_forms.h).

QString InsertExerCountSql(const ExerRecord& r);
QString InsertExerTimeSql(const ExerRecord& r);  // an empty cnt_min is written as null
QString UpdateExerCountSql(const ExerRecord& r);
QString UpdateExerTimeSql(const ExerRecord& r);  // an empty cnt_min is written as null
QString DeleteExerSql(const RecordKey& key);
QString GetMaxSetNumSql(const QString& ymd, const QString& grpCd, const QString& exerCd);
QString CheckSameTimeSql(const QString& ymd, const QString& hmsSta, const QString& hmsEnd);

// range: 1 restricts to the group, 2 to the group's exercise, anything else lists all.
QString SelectDayExerSql(const QString& ymd, int range, const QString& grpCd,
                         const QString& exerCd);
// The same read with parameters in place of its values: ?1 the day, ?2 the group and ?3 the
// exercise code (those the range uses).
QString SelectDayExerBoundSql(int range);
QString SelectExerByKeySql(const RecordKey& key);
QString LoadExerSql(const RecordKey& key);
QString GetFirstYmdSql();

// The comment with its single quotes doubled.
QString QuoteDoubled(const QString& text);

}  // namespace sorvenka
