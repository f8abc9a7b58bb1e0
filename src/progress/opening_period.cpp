#include "progress/opening_period.h"

#include <sqlite3.h>

#include "common/text_tests.h"
#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// The ?4 training days up to ?3, newest first (day texts only: a stray text sorts anywhere).
const char* const kRecentDaysSql =
    "SELECT DISTINCT ymd FROM t_exer WHERE grp_cd = ?1 AND exer_cd = ?2 AND ymd <= ?3"
    " AND ymd GLOB '[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]' ORDER BY ymd DESC LIMIT ?4";

}  // namespace

ProgressPeriod OpeningPeriod(sqlite3* connection, const QString& grpCd, const QString& exerCd,
                             const QDate& lastDay) {
    PreparedStatement s(connection, kRecentDaysSql);
    s.bindText(1, grpCd);
    s.bindText(2, exerCd);
    s.bindText(3, FormatYmd(lastDay));
    s.bindInt(4, kOpeningDays);
    QString oldest;  // of the last few days
    while (s.next()) oldest = s.columnText(0);
    if (!s.ok() || oldest.isEmpty()) return ProgressPeriod::Year1;
    for (const ProgressPeriod period : {ProgressPeriod::Months3, ProgressPeriod::Months6,
                                        ProgressPeriod::Year1, ProgressPeriod::Years3})
        if (PeriodDays(period, lastDay).first <= oldest) return period;
    return ProgressPeriod::All;
}

}  // namespace sorvenka
