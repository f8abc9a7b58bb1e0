// Plates per side, loads that cannot be made, and warm-up ramps.
#include "routines/plates.h"

#include <gtest/gtest.h>

namespace sorvenka {
namespace {

const PlateInventory kKg{QStringLiteral("kg"), 20, {{20, 1}, {10, 1}, {5, 1}, {2.5, 1}, {1.25, 1}}};

TEST(FitLoad, PlatesPerSideWithinTheInventory) {
    struct Case {
        const char* what;
        PlateInventory plates;
        double load;
        const char* text;
    };
    const std::vector<Case> cases{
        {"the bar alone", kKg, 20, "バー20kg"},
        {"heaviest plates first", kKg, 85, "バー20kg + 片側 20・10・2.5"},
        {"every plate", kKg, 97.5, "バー20kg + 片側 20・10・5・2.5・1.25"},
        {"fewest plates where two ways exist",
         {QStringLiteral("kg"), 20, {{10, 2}, {5, 2}, {20, 1}}},
         60,
         "バー20kg + 片側 20"},
        {"more than one pair of a weight",
         {QStringLiteral("kg"), 20, {{20, 2}}},
         100,
         "バー20kg + 片側 20・20"},
        {"pounds", DefaultPlates(QStringLiteral("lb")), 225, "バー45lb + 片側 45・45"},
        {"a pair too few: the inventory's limit",
         {QStringLiteral("kg"), 20, {{20, 1}}},
         100,
         "100kg はプレートで作れません(下 60kg: バー20kg + 片側 20)"},
        {"between two loadable loads", kKg, 21,
         "21kg はプレートで作れません(下 20kg: バー20kg / 上 22.5kg: バー20kg + 片側 1.25)"},
        {"under the bar", kKg, 15, "15kg はプレートで作れません(上 20kg: バー20kg)"},
        {"pounds between plates", DefaultPlates(QStringLiteral("lb")), 137,
         "137lb はプレートで作れません(下 135lb: バー45lb + 片側 45 / 上 140lb: バー45lb + 片側 "
         "45・2.5)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LoadFit fit = FitLoad(c.plates, c.load);
        EXPECT_EQ(FitText(c.plates, c.load, fit), QString::fromUtf8(c.text));
    }
}

TEST(RoundToLoadable, OnlyWithinTheRounding) {
    struct Case {
        double load, rounding, rounded;
    };
    for (const Case& c : std::vector<Case>{{85, 2.5, 85},
                                           {86, 2.5, 85},
                                           {86.5, 2.5, 87.5},
                                           {86.25, 2.5, 85},  // as near both ways: down
                                           {86, 0.5, 86},     // nothing that close: unchanged
                                           {200, 2.5, 200}}) {
        SCOPED_TRACE(c.load);
        EXPECT_DOUBLE_EQ(RoundToLoadable(kKg, c.load, c.rounding), c.rounded);
    }
}

TEST(WarmupRamp, DefaultRowsEachLoadableWithTheirPlates) {
    const PlateInventory plates = DefaultPlates(QStringLiteral("kg"));
    const std::vector<WarmupRow> rows = WarmupRamp(plates, DefaultWarmup(), 100);
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::pair<double, int>> expected{{20, 10}, {40, 5}, {60, 3}, {80, 2}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_DOUBLE_EQ(rows[i].load, expected[i].first);
        EXPECT_EQ(rows[i].reps, expected[i].second);
        EXPECT_DOUBLE_EQ(rows[i].plates.total, rows[i].load);
    }
    EXPECT_EQ(rows[0].platesText, QStringLiteral("バー20kg"));
}

TEST(WarmupRamp, SuccessiveRowsChangeAsFewPlatesAsTheInventoryAllows) {
    // 50 % of 120 = 60 (20 a side), 60 % = 72 → 70 (25 a side), working 120 (25·20·5 a side).
    // The fewest plates for 70 is one 25, which takes the 20 off and puts it back; 20·5 keeps
    // it on: one plate added per step.
    const PlateInventory plates{QStringLiteral("kg"), 20, {{25, 1}, {20, 1}, {5, 1}}};
    const WarmupScheme scheme{{{50, 5}, {60, 3}}};
    const std::vector<WarmupRow> rows = WarmupRamp(plates, scheme, 120);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_DOUBLE_EQ(rows[0].load, 60);
    EXPECT_DOUBLE_EQ(rows[1].load, 70);
    EXPECT_EQ(rows[1].plates.perSide, (std::vector<double>{20, 5}));
    EXPECT_EQ(rows[1].platesText, QStringLiteral("バー20kg + 片側 20・5"));
    EXPECT_EQ(PlateChanges(rows[0].plates.perSide, rows[1].plates.perSide), 1);
    EXPECT_EQ(PlateChanges(rows[1].plates.perSide, {25, 20, 5}), 1);
    // The plates alone still load with the fewest plates.
    EXPECT_EQ(FitLoad(plates, 70).exact.perSide, (std::vector<double>{25}));
}

TEST(WarmupRamp, RowsThatReachTheWorkingLoadAreLeftOut) {
    const std::vector<WarmupRow> rows =
        WarmupRamp(DefaultPlates(QStringLiteral("kg")), DefaultWarmup(), 30);
    // 40 % = 12 and 60 % = 18 are the bar (kept as separate rows of the scheme), 80 % = 24 → 22.5.
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_DOUBLE_EQ(rows.back().load, 22.5);
    EXPECT_TRUE(WarmupRamp(DefaultPlates(QStringLiteral("kg")), DefaultWarmup(), 20).empty());
}

}  // namespace
}  // namespace sorvenka
