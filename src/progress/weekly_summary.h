#pragma once

#include <QString>
#include <vector>

#include "progress/progress_period.h"

struct sqlite3;

namespace sorvenka {

struct GroupName {
    QString grpCd;
    QString name;  // the code itself for a group missing from the master
};

// One week of the period: the seven days ending at `lastYmd`.
struct WeekBucket {
    QString firstYmd;
    QString lastYmd;
    std::vector<int> setsByGroup;  // parallel to WeeklySummary::groups
    int total = 0;
};

// Sets per week over all exercises, stacked by group. Weeks are whole weeks ending at the
// period's last day, like the record list's; rest-day sets (group 99, exercise 99) stay out.
struct WeeklySummary {
    bool ok = true;
    QString error;
    std::vector<GroupName> groups;  // the groups that have sets, in the master's order
    std::vector<WeekBucket> weeks;  // oldest first, from the week of the first set on
};

WeeklySummary ReadWeeklySummary(sqlite3* connection, const DayRange& days);

// The statements it runs (?1, ?2 = first and last day), for the comparison with the engine.
const std::vector<const char*>& WeeklySummaryStatements();

}  // namespace sorvenka
