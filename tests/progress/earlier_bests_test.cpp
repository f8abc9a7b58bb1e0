// The days before a period are read for their bests only: a day of the period is marked
// against them exactly as when every earlier day is read with it.
#include "progress/earlier_bests.h"

#include <vector>

#include "db/database.h"
#include "progress/exercise_history.h"
#include "progress_fixture.h"

namespace sorvenka::testing {
namespace {

struct Case {
    const char* what;
    std::vector<SetRow> earlier;  // before the period
    SetRow period;                // the one set of the period's day, 2024/05/14
    QStringList beaten;
};

SetRow Earlier(SetRow row, const char* ymd = "2024/03/01") {
    row.ymd = QString::fromLatin1(ymd);
    return row;
}

SetRow Running(const char* distance, const char* unit, const char* minutes) {
    return {.grp = "07",
            .exer = "02",
            .target = distance,
            .unitT = unit,
            .cnt = "null",
            .unit = "",
            .min = minutes,
            .sec = "0"};
}

SetRow NoLoad(const char* grp, const char* exer, const char* cnt) {
    return {.grp = grp, .exer = exer, .target = "0", .unitT = "", .cnt = cnt};
}

SetRow Plank(const char* minutes, const char* seconds) {
    return {.grp = "06",
            .exer = "01",
            .target = "0",
            .unitT = "",
            .cnt = "null",
            .unit = "",
            .min = minutes,
            .sec = seconds};
}

TEST(EarlierBestsTest, APeriodDayIsMarkedAgainstTheBestsBeforeThePeriod) {
    const QStringList heavier{"最大重量", "推定1RM", "ボリューム"};
    const std::vector<Case> cases{
        {"the same set in lb ties: nothing beaten",
         {Earlier({.target = "135", .unitT = "lb", .cnt = "5"})},
         {.target = "135", .unitT = "lb", .cnt = "5"},
         {}},
        {"infinite, negative and negative-count sets set no best",
         {Earlier({.set = 1, .target = "1e9999", .cnt = "5"}),
          Earlier({.set = 2, .target = "-200", .cnt = "5"}),
          Earlier({.set = 3, .target = "100", .cnt = "-3"}),
          Earlier({.set = 4, .target = "'heavy'", .cnt = "5"}),
          Earlier({.set = 5, .target = "50", .cnt = "5"})},
         {.target = "60", .cnt = "5"},
         heavier},
        {"the sets of a day text that names no day set no best",
         {Earlier({.target = "200", .cnt = "5"}, "2024/02/30"),
          Earlier({.target = "200", .cnt = "5"}, "2024/03/1"),
          Earlier({.target = "50", .cnt = "5"})},
         {.target = "60", .cnt = "5"},
         heavier},
        {"more than 12 repetitions give no estimate",
         {Earlier({.set = 1, .target = "80", .cnt = "13"}),
          Earlier({.set = 2, .target = "50", .cnt = "5"})},
         {.target = "55", .cnt = "5"},
         {"推定1RM"}},
        {"the volume is a day's, not summed over the earlier days",
         {Earlier({.target = "100", .cnt = "5"}, "2024/03/01"),
          Earlier({.target = "100", .cnt = "5"}, "2024/03/02")},
         {.target = "105", .cnt = "5"},
         heavier},
        {"a load done more often than before",
         {Earlier({.set = 1, .target = "60", .cnt = "8"}),
          Earlier({.set = 2, .target = "70", .cnt = "10"})},
         {.target = "60", .cnt = "9"},
         {"最多回数 60 kg"}},
        {"most repetitions at a load: the highest set of the earlier days, not the last",
         {Earlier({.set = 1, .target = "60", .cnt = "8"}, "2024/03/01"),
          Earlier({.set = 2, .target = "60", .cnt = "6"}, "2024/03/01"),
          Earlier({.set = 1, .target = "60", .cnt = "6"}, "2024/03/02"),
          Earlier({.set = 2, .target = "70", .cnt = "10"}, "2024/03/02")},
         {.target = "60", .cnt = "7"},
         {}},
        {"a pace from metres and minutes, a distance that ties",
         {Earlier(Running("5000", "m", "30"))},
         Running("5", "km", "27"),
         {"最速ペース"}},
        {"the best pace of the earlier days, not the last",
         {Earlier(Running("5", "km", "25"), "2024/03/01"),
          Earlier(Running("5", "km", "30"), "2024/03/02")},
         Running("5", "km", "27"),
         {}},
        {"repetitions without a load",
         {Earlier(NoLoad("01", "05", "12"))},
         NoLoad("01", "05", "13"),
         {"最多回数（自重）"}},
        {"the longest timed set", {Earlier(Plank("1", "30"))}, Plank("2", "5"), {"最長時間"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenDatabase env;
        std::vector<SetRow> rows = c.earlier;
        rows.push_back(c.period);
        StoreSets(env.layout, rows);
        const ExerciseSelection year{c.period.grp, c.period.exer, {"2024/04/01", "2024/12/31"}};
        const ExerciseHistory history = ReadExerciseHistory(env.db.connection(), year);
        ASSERT_TRUE(history.ok) << history.error.toStdString();
        ASSERT_EQ(history.days.size(), 1u);
        EXPECT_EQ(history.days[0].beaten, c.beaten);
        // Every earlier day read with the period gives the same marks.
        ExerciseSelection all = year;
        all.days.first = QStringLiteral("2000/01/01");
        const ExerciseHistory whole = ReadExerciseHistory(env.db.connection(), all);
        ASSERT_FALSE(whole.days.empty());
        EXPECT_EQ(whole.days.back().beaten, c.beaten);
    }
}

}  // namespace
}  // namespace sorvenka::testing
