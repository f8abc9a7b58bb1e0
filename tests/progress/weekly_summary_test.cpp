// Sets per week stacked by group, and a day's session, from a real database file.
#include "progress/weekly_summary.h"

#include "db/database.h"
#include "progress/day_timeline.h"
#include "progress_fixture.h"

namespace sorvenka::testing {
namespace {

TEST(WeeklySummary, WholeWeeksEndingAtTheLastDayStackedInTheGroupsOrder) {
    OpenDatabase env;
    env.layout.exec(QStringLiteral("update m_grp set status = 0 where grp_cd = '02';"));
    StoreSets(env.layout, {
                              {.ymd = "2024/05/14", .set = 1},
                              {.ymd = "2024/05/14", .set = 2},
                              {.ymd = "2024/05/10", .grp = "03"},
                              {.ymd = "2024/05/08"},
                              {.ymd = "2024/05/07", .grp = "03"},
                              {.ymd = "2024/04/24", .grp = "02"},  // hidden group keeps its name
                              {.ymd = "2024/04/30", .grp = "42"},  // no such group
                              {.ymd = "2024/05/12", .grp = "99", .exer = "99"},  // rest day
                              {.ymd = "2024/05/15"},                             // after the period
                              {.ymd = "2024/02/14"},                             // before it
                          });
    const WeeklySummary s = ReadWeeklySummary(
        env.db.connection(), {QStringLiteral("2024/02/15"), QStringLiteral("2024/05/14")});
    ASSERT_TRUE(s.ok) << s.error.toStdString();
    QStringList names;
    for (const GroupName& g : s.groups) names << g.name;
    EXPECT_EQ(names, QStringList({QStringLiteral("胸"), QStringLiteral("背中"),
                                  QStringLiteral("脚"), QStringLiteral("42")}));
    struct Week {
        const char* first;
        const char* last;
        std::vector<int> sets;
        int total;
    };
    const Week weeks[] = {{"2024/04/24", "2024/04/30", {0, 1, 0, 1}, 2},
                          {"2024/05/01", "2024/05/07", {0, 0, 1, 0}, 1},
                          {"2024/05/08", "2024/05/14", {3, 0, 1, 0}, 4}};
    ASSERT_EQ(s.weeks.size(), std::size(weeks));
    for (std::size_t i = 0; i < std::size(weeks); ++i) {
        EXPECT_EQ(s.weeks[i].firstYmd, QString::fromLatin1(weeks[i].first));
        EXPECT_EQ(s.weeks[i].lastYmd, QString::fromLatin1(weeks[i].last));
        EXPECT_EQ(s.weeks[i].setsByGroup, weeks[i].sets) << weeks[i].first;
        EXPECT_EQ(s.weeks[i].total, weeks[i].total);
    }
}

TEST(WeeklySummary, NoSetsNoWeeks) {
    OpenDatabase env;
    const WeeklySummary s = ReadWeeklySummary(
        env.db.connection(), {QStringLiteral("0000/00/00"), QStringLiteral("2024/05/14")});
    EXPECT_TRUE(s.ok);
    EXPECT_TRUE(s.weeks.empty());
}

TEST(DayTimeline, OneRowPerExerciseInTheOrderBegunWithTheTimedSets) {
    OpenDatabase env;
    StoreSets(env.layout, {
                              {.set = 2, .sta = "09:10:00", .end = "09:11:00"},
                              {.set = 1, .sta = "09:00:00", .end = "09:01:30"},
                              {.set = 3, .sta = "", .end = ""},
                              {.grp = "03", .set = 1, .sta = "08:50:00", .end = "08:52:00"},
                              {.grp = "03", .set = 2, .sta = "10:00:00", .end = "09:00:00"},
                              {.grp = "05", .exer = "09", .sta = "11:00:00", .end = "11:01:00"},
                              {.ymd = "2024/05/13", .sta = "07:00:00", .end = "07:01:00"},
                          });
    const DayTimeline t = ReadDayTimeline(env.db.connection(), QStringLiteral("2024/05/14"));
    ASSERT_TRUE(t.ok);
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0].name, QStringLiteral("スクワット"));
    EXPECT_EQ(t.rows[1].name, QStringLiteral("ベンチプレス"));
    EXPECT_EQ(t.rows[2].name, QStringLiteral("05-09"));  // not in the master
    ASSERT_EQ(t.rows[1].bars.size(), 2u);
    EXPECT_EQ(t.rows[1].bars[0].start, 9 * 3600);
    EXPECT_EQ(t.rows[1].bars[0].finish, 9 * 3600 + 90);
    EXPECT_EQ(t.rows[1].bars[0].detail, QStringLiteral("第1セット 09:00:00–09:01:30 60 kg × 10回"));
    EXPECT_EQ(t.rows[1].bars[1].start, 9 * 3600 + 600);
    EXPECT_EQ(t.untimed, 2);
}

}  // namespace
}  // namespace sorvenka::testing
