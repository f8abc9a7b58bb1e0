// Targets read from the sets stored on real database files.
#include "routines/progression.h"

#include "routines/routine_fixture.h"

namespace sorvenka::testing {
namespace {

const QString kPlanDay = QStringLiteral("2024/05/20");

struct Case {
    const char* what;
    ProgressionRule rule;
    int repMin, repMax;
    std::vector<SetRow> stored;
    double load;
    int reps;
    const char* reason;
};

TEST(ReadTarget, FollowsTheRuleOverTheStoredSessions) {
    using enum ProgressionRule;
    const std::vector<Case> cases{
        {"no last session", Linear, 5, 5, {}, 60, 5, "前回なし → 開始重量"},
        {"linear reached", Linear, 12, 12, Sets("2024/05/13", "60", "kg", {12, 12, 12}), 62.5, 12,
         "前回 60kg×12,12,12 達成 → 62.5kg"},
        {"linear missed", Linear, 12, 12, Sets("2024/05/13", "60", "kg", {12, 10, 9}), 60, 12,
         "前回 60kg×12,10,9 → 据え置き"},
        {"more reps than asked still reach", Linear, 5, 5,
         Sets("2024/05/13", "60", "kg", {6, 5, 8}), 62.5, 5, "前回 60kg×6,5,8 達成 → 62.5kg"},
        {"less load than the target never raises", Linear, 5, 5,
         Sets("2024/05/13", "55", "kg", {5, 5, 5}), 60, 5, "前回 55kg×5,5,5 → 据え置き"},
        {"fewer sets never raise", Linear, 5, 5, Sets("2024/05/13", "60", "kg", {5, 5}), 60, 5,
         "前回 60kg×5,5 → 据え置き"},
        {"a heavier load than the target counts", Linear, 5, 5,
         Sets("2024/05/13", "65", "kg", {5, 5, 5}), 62.5, 5, "前回 65kg×5,5,5 達成 → 62.5kg"},
        {"warm-up sets are not working sets", Linear, 5, 5,
         Join({Sets("2024/05/13", "20", "kg", {10}), Sets("2024/05/13", "40", "kg", {5}, 2),
               Sets("2024/05/13", "60", "kg", {5, 5, 5}, 3)}),
         62.5, 5, "前回 60kg×5,5,5 達成 → 62.5kg"},
        {"sessions chain", Linear, 5, 5,
         Join({Sets("2024/05/06", "60", "kg", {5, 5, 5}),
               Sets("2024/05/13", "62.5", "kg", {5, 5, 5})}),
         65, 5, "前回 62.5kg×5,5,5 達成 → 65kg"},
        {"a lighter session after a raise holds the raised target", Linear, 5, 5,
         Join({Sets("2024/05/06", "60", "kg", {5, 5, 5}),
               Sets("2024/05/13", "57.5", "kg", {5, 5, 5})}),
         62.5, 5, "前回 57.5kg×5,5,5 → 据え置き"},
        // 135 lb = 61.23 kg reaches 60 kg; 132 lb = 59.87 kg does not.
        {"pounds at least the kilogram target", Linear, 5, 5,
         Sets("2024/05/13", "135", "lb", {5, 5, 5}), 62.5, 5, "前回 135lb×5,5,5 達成 → 62.5kg"},
        {"pounds under the kilogram target", Linear, 5, 5,
         Sets("2024/05/13", "132", "lb", {5, 5, 5}), 60, 5, "前回 132lb×5,5,5 → 据え置き"},
        {"double keeps the load below the top", Double, 8, 12,
         Sets("2024/05/13", "60", "kg", {12, 11, 10}), 60, 11, "前回 60kg×12,11,10 → 据え置き"},
        {"double adds the step at the top and goes back to the bottom", Double, 8, 12,
         Sets("2024/05/13", "60", "kg", {12, 12, 12}), 62.5, 8, "前回 60kg×12,12,12 達成 → 62.5kg"},
        {"double: fewer sets at the top never raise", Double, 8, 12,
         Sets("2024/05/13", "60", "kg", {12, 12}), 60, 12, "前回 60kg×12,12 → 据え置き"},
        {"no rule keeps the starting load", None, 5, 5, Sets("2024/05/13", "60", "kg", {5, 5, 5}),
         60, 5, "前回 60kg×5,5,5 → 据え置き"},
        {"sets of the plan's own day are not the last session", Linear, 5, 5,
         Sets("2024/05/20", "60", "kg", {5, 5, 5}), 60, 5, "前回なし → 開始重量"},
        {"another exercise's sets are not this one's", Linear, 5, 5,
         Sets("2024/05/13", "60", "kg", {5, 5, 5}, 1, "02"), 60, 5, "前回なし → 開始重量"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenDatabase env;
        Store(env.layout, c.stored);
        const ItemTarget target =
            ReadTarget(env.db.connection(), BenchItem(c.rule, c.repMin, c.repMax), kPlanDay);
        ASSERT_TRUE(target.ok);
        EXPECT_DOUBLE_EQ(target.load, c.load);
        EXPECT_EQ(target.reps, c.reps);
        EXPECT_EQ(target.reason, QString::fromUtf8(c.reason));
    }
}

TEST(ReadTarget, ChangesAsSoonAsASetIsDeletedOrChanged) {
    OpenDatabase env;
    Store(env.layout, Sets("2024/05/13", "60", "kg", {12, 12, 12}));
    const RoutineItem item = BenchItem(ProgressionRule::Linear, 12, 12);
    EXPECT_DOUBLE_EQ(ReadTarget(env.db.connection(), item, kPlanDay).load, 62.5);

    env.layout.exec(QStringLiteral("delete from t_exer where set_num = 3"));
    ItemTarget target = ReadTarget(env.db.connection(), item, kPlanDay);
    EXPECT_DOUBLE_EQ(target.load, 60);
    EXPECT_EQ(target.reason, QStringLiteral("前回 60kg×12,12 → 据え置き"));

    env.layout.exec(QStringLiteral("update t_exer set cnt = 9 where set_num = 2"));
    target = ReadTarget(env.db.connection(), item, kPlanDay);
    EXPECT_EQ(target.reason, QStringLiteral("前回 60kg×12,9 → 据え置き"));
}

TEST(ReadTarget, StartsAtTheItemsStartDay) {
    OpenDatabase env;
    Store(env.layout, Join({Sets("2024/05/06", "80", "kg", {5, 5, 5}),
                            Sets("2024/05/13", "60", "kg", {5, 5, 5})}));
    RoutineItem item = BenchItem(ProgressionRule::Linear, 5, 5);
    item.since = QStringLiteral("2024/05/13");
    const ItemTarget target = ReadTarget(env.db.connection(), item, kPlanDay);
    EXPECT_DOUBLE_EQ(target.load, 62.5);
    EXPECT_EQ(target.lastYmd, QStringLiteral("2024/05/13"));
}

TEST(ComputeTarget, RoundsARaiseToALoadableLoadWithinTheRounding) {
    // A 2 kg step on 61 kg: 63 is not loadable with 1.25 kg the lightest pair; 62.5 is.
    RoutineItem item = BenchItem(ProgressionRule::Linear, 5, 5);
    item.startLoad = 61;
    item.step = 2;
    item.rounding = 1.25;
    SessionSet set;
    set.load = 61;
    set.loadUnit = QStringLiteral("kg");
    set.count = 5;
    const std::vector<ItemSession> sessions{{QStringLiteral("2024/05/13"), {set, set, set}}};
    const PlateInventory plates = DefaultPlates(QStringLiteral("kg"));
    EXPECT_DOUBLE_EQ(ComputeTarget(item, sessions, &plates).load, 62.5);
    EXPECT_DOUBLE_EQ(ComputeTarget(item, sessions).load, 63);
}

}  // namespace
}  // namespace sorvenka::testing
