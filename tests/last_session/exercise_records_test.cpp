// Records of an exercise and the records a stored set beats, read from real database files.
#include "last_session/exercise_records.h"

#include "db/database.h"
#include "progress/progress_fixture.h"

namespace sorvenka::testing {
namespace {

const QString kDay = QStringLiteral("2024/05/14");

// Earlier history of a lifter: best 100 kg × 3 (e1RM 110), 80 kg × 10 (e1RM 106.67).
void StoreEarlierSets(const TempLayout& layout) {
    StoreSets(layout, {
                          {.ymd = "2024/05/01", .set = 1, .target = "80", .cnt = "10"},
                          {.ymd = "2024/05/01", .set = 2, .target = "100", .cnt = "3"},
                          {.ymd = "2024/05/08", .set = 1, .target = "60", .cnt = "12"},
                      });
}

TEST(RecordsBeatenBy, NewSetAgainstEverySetBeforeIt) {
    struct Case {
        const char* what;
        const char* target;
        const char* unitT;
        const char* cnt;
        QStringList beaten;
    };
    const std::vector<Case> cases{
        {"heavier at fewer reps", "102.5", "kg", "1", {"最大重量 102.5 kg"}},  // e1RM 102.5 < 110
        {"better estimate at fewer reps than the heaviest",
         "90",
         "kg",
         "8",
         {"推定1RM 114 kg"}},  // 90×(1+8/30)=114
        {"more reps at a load done before",
         "80",
         "kg",
         "11",
         {"最多回数 80 kg × 11回"}},  // e1RM 109.33 < 110
        {"a tie is no record", "100", "kg", "3", {}},
        {"the same reps at a load is no record", "60", "kg", "12", {}},
        {"lighter and fewer", "50", "kg", "5", {}},
        {"a first set at a new load beats no repetitions", "70", "kg", "5", {}},
        // 225 lb = 102.06 kg: heavier than 100 kg; ×1.1 (3 reps) = 112.26
        {"pounds against kilograms",
         "225",
         "lb",
         "3",
         {"最大重量 225 lb（102.06 kg）", "推定1RM 112.26 kg"}},
        {"pounds below the kilograms", "220", "lb", "1", {}},  // 99.79 kg
    };
    for (const Case& c : cases) {
        OpenDatabase env;
        StoreEarlierSets(env.layout);
        StoreSets(env.layout,
                  {{.ymd = kDay, .set = 2, .target = c.target, .unitT = c.unitT, .cnt = c.cnt}});
        const QStringList beaten = RecordsBeatenBy(
            env.db.connection(),
            RecordKey{kDay, QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("2")});
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

TEST(ExerciseRecords, ListsTheBestsOfEveryKindAndLeavesOutWhatIsNotANumber) {
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
    const ExerciseRecords r =
        ReadExerciseRecords(env.db.connection(), QStringLiteral("01"), QStringLiteral("01"));
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
