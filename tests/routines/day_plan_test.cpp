// The day's plan, a day made from stored sets, and 「メニューに反映」, on real database files.
#include "routines/day_plan.h"

#include "routines/routine_fixture.h"

namespace sorvenka::testing {
namespace {

const QString kDay = QStringLiteral("2024/05/20");

RoutineItem Item(const char* grp, const char* exer, int sets, const char* superset = "") {
    RoutineItem item = BenchItem(ProgressionRule::Linear, 5, 5);
    item.grpCd = QString::fromUtf8(grp);
    item.exerCd = QString::fromUtf8(exer);
    item.workingSets = sets;
    item.superset = QString::fromUtf8(superset);
    return item;
}

TEST(OrderLines, SupersetsInterleaveWithOneRestAfterEachRound) {
    std::vector<RoutineItem> items{Item("03", "01", 2), Item("01", "01", 2, "x"),
                                   Item("02", "03", 3, "x"), Item("05", "01", 1)};
    items[0].restSec = 180;
    items[1].restSec = 60;
    items[2].restSec = 90;
    items[3].restSec = 45;
    QStringList order;
    for (const PlanLine& line : OrderLines(items))
        order.push_back(QStringLiteral("%1:%2:%3")
                            .arg(line.item)
                            .arg(line.label.isEmpty() ? QStringLiteral("-") : line.label)
                            .arg(line.restSec));
    // The longer rest of the pair closes each round; B's third set is a round of its own.
    EXPECT_EQ(order, (QStringList{"0:-:180", "1:A1:0", "2:B1:90", "1:A2:0", "2:B2:90", "2:B3:90",
                                  "3:-:45"}));
}

TEST(ComputeDayPlan, LinesWithDoneCountsTargetsReasonsAndPlates) {
    OpenDatabase env;
    sqlite3* db = env.db.connection();
    Routine routine{0, QStringLiteral("全身"), 0, Schedule::Rotation};
    ASSERT_TRUE(AddRoutine(db, routine));
    RoutineDay day{0, routine.id, QStringLiteral("A"), 0, 0};
    ASSERT_TRUE(AddDay(db, day));
    std::vector<RoutineItem> items{Item("03", "01", 3), Item("01", "01", 3, "s"),
                                   Item("02", "03", 3, "s")};
    items[0].startLoad = 100;
    items[2].usesPlates = false;
    for (RoutineItem& item : items) {
        item.dayId = day.id;
        ASSERT_TRUE(AddItem(db, item));
    }
    Store(env.layout,
          Join({Sets("2024/05/13", "100", "kg", {5, 5, 5}, 1, "01", "03"),
                Sets("2024/05/13", "60", "kg", {5, 4, 4}),
                Sets(kDay, "102.5", "kg", {5, 5}, 1, "01", "03"), Sets(kDay, "60", "kg", {5}, 1)}));
    RoutineBook book;
    ASSERT_TRUE(ReadRoutineBook(db, book));
    const DayPlan plan = ComputeDayPlan(db, book, routine.id, kDay);
    ASSERT_TRUE(plan.ok) << plan.error.toStdString();
    EXPECT_EQ(plan.day.id, day.id);
    ASSERT_EQ(plan.items.size(), 3u);

    const ItemPlan& squat = plan.items[0];
    EXPECT_EQ(squat.exerciseName, QStringLiteral("スクワット"));
    EXPECT_EQ(squat.done, 2);
    EXPECT_EQ(squat.planned, 3);
    EXPECT_DOUBLE_EQ(squat.target.load, 102.5);
    EXPECT_EQ(squat.target.reason, QStringLiteral("前回 100kg×5,5,5 達成 → 102.5kg"));
    EXPECT_EQ(squat.platesText, QStringLiteral("バー20kg + 片側 20・20・1.25"));
    ASSERT_EQ(squat.warmups.size(), 4u);
    EXPECT_DOUBLE_EQ(squat.warmups[1].load, 40);  // 41 kg is not loadable: the row goes below

    const ItemPlan& bench = plan.items[1];
    EXPECT_EQ(bench.done, 1);
    EXPECT_DOUBLE_EQ(bench.target.load, 60);
    EXPECT_EQ(bench.target.reason, QStringLiteral("前回 60kg×5,4,4 → 据え置き"));
    EXPECT_TRUE(plan.items[2].platesText.isEmpty());  // no barbell
    EXPECT_EQ(plan.items[2].target.reason, QStringLiteral("前回なし → 開始重量"));

    // Lines: squat, then A1 B1 A2 B2 A3 B3; the bench's first round is done.
    ASSERT_EQ(plan.lines.size(), 7u);
    EXPECT_EQ(plan.lines[1].label, QStringLiteral("A1"));
    EXPECT_TRUE(plan.lines[1].done);
    EXPECT_FALSE(plan.lines[3].done);

    // The sets stored on the day never change the plan; 「メニューに反映」 offers the squat's load.
    std::vector<ReflectOffer> offers;
    ASSERT_TRUE(ReflectOffers(db, plan, kDay, offers));
    ASSERT_EQ(offers.size(), 0u);  // the squat at its target, the bench at its target
    Store(env.layout, Sets(kDay, "105", "kg", {3}, 3, "01", "03"));
    ASSERT_TRUE(ReflectOffers(db, plan, kDay, offers));
    ASSERT_EQ(offers.size(), 1u);
    EXPECT_DOUBLE_EQ(offers[0].dayLoad, 105);
    ASSERT_TRUE(TakeReflectOffer(db, offers[0], kDay));
    ASSERT_TRUE(ReadRoutineBook(db, book));
    const DayPlan after = ComputeDayPlan(db, book, routine.id, QStringLiteral("2024/05/27"));
    // From the day taken in: one set at 105 kg, of three, never raises.
    EXPECT_DOUBLE_EQ(after.items[0].target.load, 105);
    EXPECT_EQ(after.items[0].target.reason, QStringLiteral("前回 105kg×3 → 据え置き"));
}

TEST(ItemsFromDay, ExercisesInTheOrderFirstStartedWithTopLoadAndWorkingSets) {
    OpenDatabase env;
    std::vector<SetRow> rows = Join({Sets(kDay, "20", "kg", {10}, 1, "01", "03"),
                                     Sets(kDay, "80", "kg", {5, 5, 4}, 2, "01", "03"),
                                     Sets(kDay, "60", "kg", {10, 8}, 1, "01", "01")});
    // The squat (03/01) began at 10:00, the bench (01/01) at 09:00.
    const QStringList squatTimes{"10:00:00", "10:03:00", "10:06:00", "10:09:30"};
    for (int i = 0; i < 4; ++i) {
        rows[i].sta = squatTimes[i];
        rows[i].end = squatTimes[i].left(6) + QStringLiteral("30");
    }
    rows[4].sta = QStringLiteral("09:00:00");
    rows[5].sta = QStringLiteral("09:02:00");
    Store(env.layout, rows);
    std::vector<RoutineItem> items;
    ASSERT_TRUE(ItemsFromDay(env.db.connection(), kDay, items));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].exerCd, QStringLiteral("01"));
    EXPECT_EQ(items[0].grpCd, QStringLiteral("01"));
    EXPECT_DOUBLE_EQ(items[0].startLoad, 60);
    EXPECT_EQ(items[0].workingSets, 2);
    EXPECT_EQ(items[0].repMax, 10);
    EXPECT_EQ(items[1].grpCd, QStringLiteral("03"));
    EXPECT_DOUBLE_EQ(items[1].startLoad, 80);
    EXPECT_EQ(items[1].workingSets, 3);  // the 20 kg set led up to them
    EXPECT_EQ(items[1].repMax, 5);
    EXPECT_EQ(items[1].restSec, 150);  // 10:03:30 → 10:06:00 and the like
    EXPECT_EQ(items[1].since, kDay);
}

}  // namespace
}  // namespace sorvenka::testing
