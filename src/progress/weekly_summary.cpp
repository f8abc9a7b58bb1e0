#include "progress/weekly_summary.h"

#include <map>

#include "common/text_tests.h"
#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

const char* const kSetsPerDaySql =
    "SELECT ymd, grp_cd, count(*) FROM t_exer WHERE ymd BETWEEN ?1 AND ?2"
    " AND NOT (grp_cd = '99' AND exer_cd = '99') GROUP BY ymd, grp_cd";

const char* const kGroupNamesSql = "SELECT grp_cd, grp_name FROM m_grp ORDER BY order_id";

struct DayGroupSets {
    QDate day;
    QString grpCd;
    int sets;
};

}  // namespace

WeeklySummary ReadWeeklySummary(sqlite3* connection, const DayRange& days) {
    WeeklySummary summary;
    const QDate last = ParseYmd(days.last);
    std::vector<DayGroupSets> rows;
    std::map<QString, bool> present;
    {
        PreparedStatement s(connection, kSetsPerDaySql);
        s.bindText(1, days.first);
        s.bindText(2, days.last);
        while (s.next()) {
            const QDate day = ParseYmd(s.columnText(0));
            if (!day.isValid()) continue;  // a day text edited into something else
            rows.push_back({day, s.columnText(1), static_cast<int>(s.columnInt(2))});
            present[rows.back().grpCd] = true;
        }
        if (!s.ok()) return {false, s.error(), {}, {}};
    }
    {
        PreparedStatement s(connection, kGroupNamesSql);
        while (s.next()) {
            const auto found = present.find(s.columnText(0));
            if (found == present.end() || !found->second) continue;
            summary.groups.push_back({found->first, s.columnText(1)});
            found->second = false;
        }
        if (!s.ok()) return {false, s.error(), {}, {}};
        for (const auto& [code, missing] : present)
            if (missing) summary.groups.push_back({code, code});
    }
    if (rows.empty() || !last.isValid()) return summary;

    std::map<QString, std::size_t> column;
    for (std::size_t i = 0; i < summary.groups.size(); ++i) column[summary.groups[i].grpCd] = i;
    qint64 oldestWeek = 0;
    for (const DayGroupSets& row : rows)
        oldestWeek = std::max(oldestWeek, row.day.daysTo(last) / 7);
    summary.weeks.resize(static_cast<std::size_t>(oldestWeek) + 1);
    for (std::size_t i = 0; i < summary.weeks.size(); ++i) {
        WeekBucket& week = summary.weeks[i];
        const QDate weekLast = last.addDays(-7 * (oldestWeek - static_cast<qint64>(i)));
        week.firstYmd = FormatYmd(weekLast.addDays(-6));
        week.lastYmd = FormatYmd(weekLast);
        week.setsByGroup.assign(summary.groups.size(), 0);
    }
    for (const DayGroupSets& row : rows) {
        WeekBucket& week = summary.weeks[oldestWeek - row.day.daysTo(last) / 7];
        week.setsByGroup[column[row.grpCd]] += row.sets;
        week.total += row.sets;
    }
    return summary;
}

const std::vector<const char*>& WeeklySummaryStatements() {
    static const std::vector<const char*> statements{kSetsPerDaySql, kGroupNamesSql};
    return statements;
}

}  // namespace sorvenka
