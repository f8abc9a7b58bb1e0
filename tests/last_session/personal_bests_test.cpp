// Records of an exercise and the records a stored set beats, read from real database files.
#include "last_session/personal_bests.h"

#include "db/database.h"
#include "progress/progress_fixture.h"

namespace sorvenka::testing {
namespace {

const QString kDay = QStringLiteral("2024/05/14");

// Earlier history of a lifter: best 100 kg × 3 (e1RM 110), 80 kg × 10 (e1RM 106.67), 60 kg
// × 12 the most repetitions with a load; a plank of 1:00 (exercise 06); a run of 5 km in 30:00
// (6:00 /km, exercise 09).
void StoreEarlierSets(const TempLayout& layout) {
    StoreSets(layout, {
                          {.ymd = "2024/05/01", .set = 1, .target = "80", .cnt = "10"},
                          {.ymd = "2024/05/01", .set = 2, .target = "100", .cnt = "3"},
                          {.ymd = "2024/05/08", .set = 1, .target = "60", .cnt = "12"},
                          {.ymd = "2024/05/01",
                           .exer = "06",
                           .target = "0",
                           .cnt = "null",
                           .unit = "",
                           .min = "1",
                           .sec = "0"},
                          {.ymd = "2024/05/01",
                           .exer = "09",
                           .target = "5",
                           .unitT = "km",
                           .cnt = "null",
                           .unit = "",
                           .min = "30",
                           .sec = "0"},
                      });
}

TEST(RecordsBeatenBy, NewSetAgainstEverySetBeforeIt) {
    struct Case {
        const char* what;
        QStringList beaten;
        const char* exer = "01";
        const char* target = "0";
        const char* unitT = "kg";
        const char* cnt = "null";
        const char* min = "null";
        const char* sec = "null";
    };
    const std::vector<Case> cases{
        // e1RM 102.5 < 110
        {"heavier at fewer reps", {"最大重量 102.5 kg"}, "01", "102.5", "kg", "1"},
        // 90×(1+8/30)=114
        {"better estimate at fewer reps than the heaviest",
         {"推定1RM 114 kg"},
         "01",
         "90",
         "kg",
         "8"},
        // e1RM 109.33 < 110
        {"more reps at a load done before", {"最多回数 80 kg × 11回"}, "01", "80", "kg", "11"},
        {"a tie is no record", {}, "01", "100", "kg", "3"},
        {"the same reps at a load is no record", {}, "01", "60", "kg", "12"},
        {"lighter and fewer", {}, "01", "50", "kg", "5"},
        {"a first set at a new load beats no repetitions", {}, "01", "70", "kg", "5"},
        // The panel lists the most repetitions of any set with a load: 12 at 60 kg.
        {"more reps than any set with a load, at a new load",
         {"最多回数 40 kg × 15回"},
         "01",
         "40",
         "kg",
         "15"},
        // 225 lb = 102.06 kg: heavier than 100 kg; ×1.1 (3 reps) = 112.26
        {"pounds against kilograms",
         {"最大重量 225 lb（102.06 kg）", "推定1RM 112.26 kg"},
         "01",
         "225",
         "lb",
         "3"},
        {"pounds below the kilograms", {}, "01", "220", "lb", "1"},  // 99.79 kg
        {"a longer plank", {"最長時間 1:30"}, "06", "0", "kg", "null", "1", "30"},
        {"a plank as long is no record", {}, "06", "0", "kg", "null", "0", "60"},
        {"a shorter plank", {}, "06", "0", "kg", "null", "0", "59"},
        // 6 km in 35:00 = 5:50 /km
        {"a longer, longer lasting and faster run",
         {"最長距離 6 km", "最速ペース 5:50 /km", "最長時間 35:00"},
         "09",
         "6",
         "km",
         "null",
         "35",
         "0"},
        // 4 km in 31:00: longer only
        {"a slow short run that lasts longer",
         {"最長時間 31:00"},
         "09",
         "4",
         "km",
         "null",
         "31",
         "0"},
    };
    for (const Case& c : cases) {
        OpenDatabase env;
        StoreEarlierSets(env.layout);
        const bool counted = QString::fromUtf8(c.cnt) != QStringLiteral("null");
        StoreSets(env.layout, {{.ymd = kDay,
                                .exer = c.exer,
                                .set = 2,
                                .target = c.target,
                                .unitT = c.unitT,
                                .cnt = c.cnt,
                                .unit = counted ? QStringLiteral("回") : QString(),
                                .min = c.min,
                                .sec = c.sec}});
        const QStringList beaten = RecordsBeatenBy(
            env.db.connection(),
            RecordKey{kDay, QStringLiteral("01"), QString::fromUtf8(c.exer), QStringLiteral("2")});
        EXPECT_EQ(beaten, c.beaten) << c.what << ": " << beaten.join(" / ").toStdString();
    }
}

TEST(RecordsBeatenBy, OnlySetsBeforeItCount) {
    OpenDatabase env;
    StoreEarlierSets(env.layout);
    // A later day, and a later set of the same day, heavier still: neither takes the record away.
    StoreSets(env.layout, {
                              {.ymd = kDay, .set = 1, .target = "105", .cnt = "1"},
                              {.ymd = kDay, .set = 2, .target = "120", .cnt = "1"},
                              {.ymd = "2024/06/01", .set = 1, .target = "130", .cnt = "1"},
                              {.ymd = kDay, .exer = "02", .set = 1, .target = "200", .cnt = "1"},
                          });
    const auto beaten = [&](const char* set) {
        return RecordsBeatenBy(env.db.connection(),
                               {kDay, QStringLiteral("01"), QStringLiteral("01"), set});
    };
    EXPECT_EQ(beaten("1"), QStringList{"最大重量 105 kg"});
    EXPECT_EQ(beaten("2"), QStringList({"最大重量 120 kg", "推定1RM 120 kg"}));
    EXPECT_TRUE(beaten("9").isEmpty());  // no such set
}

TEST(RecordsBeatenBy, FirstSetOfAnExerciseBeatsNothing) {
    OpenDatabase env;
    StoreSets(env.layout, {{.ymd = kDay, .target = "100", .cnt = "5"}});
    EXPECT_TRUE(RecordsBeatenBy(env.db.connection(), {kDay, "01", "01", "1"}).isEmpty());
}

TEST(RecordsBeatenBy, BodyweightAndDistance) {
    OpenDatabase env;
    StoreSets(env.layout, {
                              {.ymd = "2024/05/01", .exer = "05", .target = "0", .cnt = "12"},
                              {.ymd = kDay, .exer = "05", .target = "0", .cnt = "13"},
                              {.ymd = "2024/05/01",
                               .exer = "09",
                               .target = "5",
                               .unitT = "km",
                               .cnt = "null",
                               .unit = "",
                               .min = "30",
                               .sec = "0"},
                              // 6 km in 29:00 = 4:50 /km: longer and faster
                              {.ymd = kDay,
                               .exer = "09",
                               .target = "6",
                               .unitT = "km",
                               .cnt = "null",
                               .unit = "",
                               .min = "29",
                               .sec = "0"},
                          });
    EXPECT_EQ(RecordsBeatenBy(env.db.connection(), {kDay, "01", "05", "1"}),
              QStringList{"最多回数（自重） 13回"});
    EXPECT_EQ(RecordsBeatenBy(env.db.connection(), {kDay, "01", "09", "1"}),
              QStringList({"最長距離 6 km", "最速ペース 4:50 /km"}));
}

TEST(PersonalBests, ListsTheBestsOfEveryKindAndLeavesOutWhatIsNotANumber) {
    OpenDatabase env;
    StoreSets(env.layout, {
                              {.ymd = "2024/05/01", .set = 1, .target = "100", .cnt = "3"},
                              {.ymd = "2024/05/01", .set = 2, .target = "1e9999", .cnt = "3"},
                              {.ymd = "2024/05/01", .set = 3, .target = "-5", .cnt = "3"},
                              {.ymd = "2024/05/01", .set = 4, .target = "'x'", .cnt = "3"},
                              {.ymd = "2024/05/02", .set = 1, .target = "90", .cnt = "8"},
                              {.ymd = "2024/05/03", .set = 1, .target = "0", .cnt = "20"},
                              {.ymd = "2024/05/03",
                               .set = 2,
                               .target = "3",
                               .unitT = "km",
                               .cnt = "null",
                               .unit = "",
                               .min = "15",
                               .sec = "0"},
                          });
    const PersonalBests r =
        ReadPersonalBests(env.db.connection(), QStringLiteral("01"), QStringLiteral("01"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bests.notANumber, 3);
    EXPECT_EQ(RecordLines(r.bests),
              QStringList({"最大重量 100 kg × 3回  2024/05/01",
                           "推定1RM 114 kg（90 kg × 8回）  2024/05/02",
                           "最多回数 8回（90 kg）  2024/05/02", "最多回数（自重） 20回  2024/05/03",
                           "最長距離 3 km  2024/05/03", "最速ペース 5:00 /km  2024/05/03",
                           "最長時間 15:00  2024/05/03"}));
}

}  // namespace
}  // namespace sorvenka::testing
