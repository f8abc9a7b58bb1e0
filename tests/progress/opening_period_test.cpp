// The period the progress window opens on, read from real database files.
#include "progress/opening_period.h"

#include "db/database.h"
#include "progress/progress_fixture.h"

namespace sorvenka::testing {
namespace {

TEST(OpeningPeriod, ShortestPeriodHoldingTheLastFewTrainingDays) {
    struct Case {
        const char* what;
        std::vector<const char*> days;  // training days of exercise 01/01
        ProgressPeriod expected;
    };
    const QDate last(2024, 5, 14);
    const std::vector<Case> cases{
        {"weekly training",
         {"2024/04/23", "2024/04/30", "2024/05/07", "2024/05/14"},
         ProgressPeriod::Months3},
        // 3か月 begins on 2024/02/15
        {"the fourth last day just inside",
         {"2024/02/15", "2024/03/01", "2024/04/01", "2024/05/01"},
         ProgressPeriod::Months3},
        {"the fourth last day just outside",
         {"2024/02/14", "2024/03/01", "2024/04/01", "2024/05/01"},
         ProgressPeriod::Months6},
        {"a pause of half a year",
         {"2023/06/01", "2023/07/01", "2023/08/01", "2023/09/01"},
         ProgressPeriod::Year1},
        // Only the last four count: 2019 stays out of sight.
        {"years ago",
         {"2019/01/01", "2021/06/01", "2021/07/01", "2021/08/01", "2021/09/01"},
         ProgressPeriod::Years3},
        {"long ago", {"2015/01/01", "2015/01/08", "2015/01/15", "2015/01/22"}, ProgressPeriod::All},
        {"few days, all recent", {"2024/05/01", "2024/05/08"}, ProgressPeriod::Months3},
        {"a day after the period's end does not count",
         {"2024/01/01", "2024/02/01", "2024/03/01", "2024/04/01", "2024/06/01"},
         ProgressPeriod::Months6},
        {"sets of one day count once",
         {"2024/05/14", "2024/05/14", "2024/05/14", "2024/05/14", "2023/01/01"},
         ProgressPeriod::Years3},
        {"never trained", {}, ProgressPeriod::Year1},
    };
    for (const Case& c : cases) {
        OpenDatabase env;
        int set = 1;
        for (const char* day : c.days) StoreSets(env.layout, {{.ymd = day, .set = set++}});
        // Another exercise trained every day changes nothing.
        StoreSets(env.layout, {{.ymd = "2024/05/13", .exer = "02"},
                               {.ymd = "2024/05/12", .exer = "02"},
                               {.ymd = "2024/05/11", .exer = "02"},
                               {.ymd = "2024/05/10", .exer = "02"}});
        EXPECT_EQ(
            OpeningPeriod(env.db.connection(), QStringLiteral("01"), QStringLiteral("01"), last),
            c.expected)
            << c.what;
    }
}

}  // namespace
}  // namespace sorvenka::testing
