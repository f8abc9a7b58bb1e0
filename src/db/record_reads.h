#pragma once

#include <QString>

#include "db/exer_record.h"
#include "db/result_table.h"
#include "db/row_cells.h"

namespace sorvenka {

class Database;

// Reads of t_exer. A failed query shows its message ("Returned N:..." with the statement)
// and ends the program. Values not of their form run no statement and read as no rows.

// The sets of one day with their names, sorted by start time (empty first). Columns:
// grp_cd grp_name exer_cd exer_name set_num hms_sta hms_end target unit_t cnt unit cnt_min
// cnt_sec sweat_name comment.
ResultTable DBSelectDayExer(Database& db, const QString& ymd, int range, const QString& grpCd,
                            const QString& exerCd);
// The same read with its rows handed to the sink as they are read (no table is built).
void DBStreamDayExer(Database& db, const QString& ymd, int range, const QString& grpCd,
                     const QString& exerCd, RowSink& sink);
// One set by key with its names (inner join of the sweat level), at most one row.
ResultTable DBSelectExerByKey(Database& db, const RecordKey& key);
// One set by key: fills target, unit_t, unit, hms_sta, hms_end, cnt, cnt_min, cnt_sec,
// sweat_cd and comment of `loaded` (key fields copied from `key`). A key that finds no row
// ends the program through the missing-column report, as every read of a vanished set does.
void DBLoadExer(Database& db, const RecordKey& key, ExerRecord& loaded);
// One set by key as the update's confirmation shows it before the change: hms_sta, hms_end,
// target, unit_t, cnt, unit, cnt_min, cnt_sec and comment of the returned record (key and sweat
// code left empty) and the sweat level's name, read in that order from DBSelectExerByKey's
// row. A key that finds no row ends the program through the missing-column report.
ExerRecord DBReadStoredSet(Database& db, const RecordKey& key, QString& sweatName);
// The earliest day of t_exer, or "" when it is empty.
QString DBGetFirstYmd(Database& db);

}  // namespace sorvenka
