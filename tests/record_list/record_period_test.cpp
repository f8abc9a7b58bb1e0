#include "record_list/record_period.h"

#include <gtest/gtest.h>

namespace sorvenka {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{2.5, 2},   {3.5, 4},  {9.5, 10}, {-0.5, -0},
                                               {-1.5, -2}, {2.4, 2},  {2.6, 3},  {6, 6},
                                               {-1, -1},   {-1.2, -1}};
    for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

struct PeriodCase {
    const char* weeks;
    int lastOffset;
};

TEST(PeriodLastOffset, WholeWeeksFromTheWeekCount) {
    const QDate day(2024, 5, 14);
    const PeriodCase cases[] = {
        {"1", 6},
        {"2", 13},
        {"1.5", 10},  // 9.5 rounds to 10
        {"0.5", 2},   // 2.5 rounds to 2
        {" 3 ", 20},
        {"0", -1},
        {"-2", -1},
        {"0.1", 0},
        {"", -1},
        {"abc", -1},
        {"1,5", -1},
        {"inf", -1},
        {"nan", -1},
        {"1e400", -1},
        {"5200", 5200 * 7 - 1},
        {"5201", 5200 * 7 - 1},
        {"99999999999", 5200 * 7 - 1},
    };
    for (const PeriodCase& c : cases)
        EXPECT_EQ(PeriodLastOffset(day, QString::fromLatin1(c.weeks)), c.lastOffset) << c.weeks;
}

TEST(PeriodLastOffset, NeverBeforeTheFirstDayOfYearOne) {
    EXPECT_EQ(PeriodLastOffset(QDate(1, 1, 10), QStringLiteral("2")), 9);
    EXPECT_EQ(PeriodLastOffset(QDate(1, 1, 1), QStringLiteral("1")), 0);
    EXPECT_EQ(PeriodLastOffset(QDate(), QStringLiteral("1")), -1);
}

}  // namespace
}  // namespace sorvenka
