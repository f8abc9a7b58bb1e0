// The last session before a day read from a real database file, and the values of its next
// set for the entry.
#include "last_session/last_session.h"

#include "db/database.h"
#include "progress/progress_fixture.h"

namespace sorvenka::testing {
namespace {

const QString kToday = QStringLiteral("2024/05/14");

class LastSessionTest : public ::testing::Test {
  protected:
    LastSession read(const QString& ymd = kToday) {
        return ReadLastSession(env.db.connection(), QStringLiteral("01"), QStringLiteral("01"),
                               ymd);
    }
    OpenDatabase env;
};

// Three sets on 05/10, an older day, another exercise on 05/12 and today's own sets.
void StoreHistory(const TempLayout& layout, int setsToday) {
    StoreSets(layout,
              {
                  {.ymd = "2024/05/03", .set = 1, .target = "50", .cnt = "10"},
                  {.ymd = "2024/05/10",
                   .set = 1,
                   .sta = "18:00:00",
                   .end = "18:01:00",
                   .target = "60",
                   .cnt = "10"},
                  {.ymd = "2024/05/10", .set = 2, .target = "70", .cnt = "8"},
                  {.ymd = "2024/05/10", .set = 3, .target = "155", .unitT = "lb", .cnt = "6"},
                  {.ymd = "2024/05/12", .exer = "02", .set = 1, .target = "90"},
              });
    for (int i = 1; i <= setsToday; ++i)
        StoreSets(layout, {{.ymd = kToday, .set = i, .target = "62.5", .cnt = "9"}});
}

TEST_F(LastSessionTest, LastDayBeforeTheDateWithItsSetsAndBestSet) {
    StoreHistory(env.layout, 1);
    const LastSession s = read();
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.ymd, "2024/05/10");  // not today, not the other exercise's 05/12
    ASSERT_EQ(s.sets.size(), 3u);
    EXPECT_EQ(s.sets[0].start, "18:00:00");
    EXPECT_EQ(s.sets[2].loadText, "155");
    EXPECT_EQ(s.storedOnDay, 1);
    // 60×(1+10/30)=80, 70×(1+8/30)=88.67, 155 lb=70.31 kg ×1.2=84.37
    EXPECT_EQ(s.bestIndex, 1);
    EXPECT_EQ(SetValuesText(s.sets[1]), "70 kg × 8回");
}

TEST_F(LastSessionTest, NoEarlierSession) {
    StoreSets(env.layout, {{.ymd = kToday}, {.ymd = "2024/05/20"}});
    const LastSession s = read();
    EXPECT_TRUE(s.ok);
    EXPECT_TRUE(s.ymd.isEmpty());
    EXPECT_EQ(s.storedOnDay, 1);
    EXPECT_FALSE(NextSetValues(s));
}

TEST_F(LastSessionTest, FillValuesFollowTheSetsStoredToday) {
    struct Case {
        int storedToday;
        const char* load;
        const char* unit;
        const char* count;
    };
    // Set N+1 of last time; once today has as many sets, last time's last set again.
    for (const Case c :
         {Case{0, "60", "kg", "10"}, Case{1, "70", "kg", "8"}, Case{2, "155", "lb", "6"},
          Case{3, "155", "lb", "6"}, Case{5, "155", "lb", "6"}}) {
        OpenDatabase fresh;
        StoreHistory(fresh.layout, c.storedToday);
        const auto values = NextSetValues(ReadLastSession(
            fresh.db.connection(), QStringLiteral("01"), QStringLiteral("01"), kToday));
        ASSERT_TRUE(values) << c.storedToday;
        EXPECT_EQ(values->load, c.load) << c.storedToday;
        EXPECT_EQ(values->loadUnit, c.unit) << c.storedToday;
        EXPECT_EQ(values->count, c.count) << c.storedToday;
        EXPECT_EQ(values->countUnit, "回");
        EXPECT_TRUE(values->minutes.isEmpty() && values->seconds.isEmpty());
    }
}

TEST_F(LastSessionTest, DurationAndDistanceSets) {
    StoreSets(env.layout, {
                              {.ymd = "2024/05/11",
                               .set = 1,
                               .target = "0",
                               .unitT = "kg",
                               .cnt = "null",
                               .unit = "",
                               .min = "1",
                               .sec = "30"},
                              {.ymd = "2024/05/11",
                               .set = 2,
                               .target = "5.2",
                               .unitT = "km",
                               .cnt = "null",
                               .unit = "",
                               .min = "26",
                               .sec = "0"},
                              {.ymd = "2024/05/11",
                               .set = 3,
                               .target = "0",
                               .unitT = "kg",
                               .cnt = "null",
                               .unit = "",
                               .min = "null",
                               .sec = "45"},
                          });
    const LastSession s = read();
    ASSERT_EQ(s.sets.size(), 3u);
    EXPECT_EQ(s.bestIndex, -1);  // nothing to estimate
    EXPECT_EQ(SetValuesText(s.sets[0]), "1:30");
    EXPECT_EQ(SetValuesText(s.sets[1]), "5.2 km 26:00");
    ASSERT_TRUE(s.sets[1].paceSecondsPerKm());
    EXPECT_EQ(qRound(*s.sets[1].paceSecondsPerKm()), 300);  // 5:00 /km

    LastSession secondSet = s;
    secondSet.storedOnDay = 1;
    const auto distance = NextSetValues(secondSet);
    ASSERT_TRUE(distance);
    EXPECT_EQ(distance->load, "5.2");
    EXPECT_EQ(distance->loadUnit, "km");
    EXPECT_TRUE(distance->count.isEmpty());
    EXPECT_EQ(distance->minutes, "26");
    EXPECT_EQ(distance->seconds, "0");

    LastSession thirdSet = s;
    thirdSet.storedOnDay = 2;
    const auto seconds = NextSetValues(thirdSet);
    EXPECT_EQ(seconds->minutes, "0");
    EXPECT_EQ(seconds->seconds, "45");
}

TEST_F(LastSessionTest, ValuesThatAreNotNumbersAreShownButNotFilledOrCompared) {
    StoreSets(env.layout, {
                              {.ymd = "2024/05/11", .set = 1, .target = "1e9999", .cnt = "5"},
                              {.ymd = "2024/05/11", .set = 2, .target = "'abc'", .cnt = "5"},
                              {.ymd = "2024/05/11", .set = 3, .target = "-20", .cnt = "5"},
                              {.ymd = "2024/05/11", .set = 4, .target = "40", .cnt = "-3"},
                          });
    LastSession s = read();
    ASSERT_EQ(s.sets.size(), 4u);
    for (const SessionSet& set : s.sets) {
        EXPECT_TRUE(set.notANumber) << set.setNum;
        EXPECT_FALSE(set.kg()) << set.setNum;
    }
    EXPECT_EQ(s.sets[1].loadText, "abc");
    EXPECT_EQ(s.bestIndex, -1);
    const auto values = NextSetValues(s);
    ASSERT_TRUE(values);
    EXPECT_TRUE(values->load.isEmpty() && values->count.isEmpty());
}

}  // namespace
}  // namespace sorvenka::testing
