// The arithmetic of the progress figures: estimated maximum, units, rest pairing, periods.
#include "progress/progress_math.h"

#include <gtest/gtest.h>

#include "progress/progress_period.h"
#include "progress/progress_texts.h"

namespace sorvenka {
namespace {

TEST(EstimatedOneRepMax, EpleyWithinOneToTwelveRepetitions) {
    struct Case {
        double kg;
        int reps;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {100, 1, 100.0},  // a single is its own maximum, not 103.3
        {100, 5, 100 * (1 + 5 / 30.0)},
        {100, 12, 140.0},
        {100, 13, std::nullopt},  // too many repetitions to say anything
        {100, 0, std::nullopt},
        {0, 5, std::nullopt},  // no load
    };
    for (const Case& c : cases) {
        const auto got = EstimatedOneRepMax(c.kg, c.reps);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.reps << " reps";
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *c.expected) << c.reps << " reps";
        }
    }
}

TEST(LoadInKg, PoundsConvertOtherUnitsAreNoLoad) {
    EXPECT_DOUBLE_EQ(*LoadInKg(60, QStringLiteral("kg")), 60);
    EXPECT_DOUBLE_EQ(*LoadInKg(100, QStringLiteral("lb")), 45.359237);
    EXPECT_FALSE(LoadInKg(5, QStringLiteral("km")));
    EXPECT_FALSE(LoadInKg(5, QStringLiteral("m")));
    EXPECT_FALSE(LoadInKg(5, QString()));
    EXPECT_FALSE(LoadInKg(5, QStringLiteral("KG")));  // units compare exactly
}

int At(int h, int m, int s = 0) {
    return h * 3600 + m * 60 + s;
}

TEST(PairRests, ConsecutiveSetsByStartWithBothTimesAndNoOddGaps) {
    struct Case {
        const char* name;
        std::vector<SetTimes> sets;
        std::vector<int> rests;
        int leftOut;
    };
    const Case cases[] = {
        {"in order",
         {{At(9, 0), At(9, 1)}, {At(9, 3), At(9, 4)}, {At(9, 5), At(9, 6)}},
         {120, 60},
         0},
        {"ordered by start, not as given",
         {{At(9, 5), At(9, 6)}, {At(9, 0), At(9, 1)}, {At(9, 3), At(9, 4)}},
         {120, 60},
         0},
        {"missing finish breaks its pair",
         {{At(9, 0), -1}, {At(9, 3), At(9, 4)}, {At(9, 5), -1}},
         {60},
         1},
        {"a set without start has no place",
         {{-1, At(9, 2)}, {At(9, 0), At(9, 1)}, {At(9, 3), -1}},
         {120},
         0},
        {"overlap is negative", {{At(9, 0), At(9, 5)}, {At(9, 3), At(9, 4)}}, {}, 1},
        {"a set over midnight", {{At(23, 58), At(0, 1)}, {At(23, 59), At(23, 59, 30)}}, {}, 1},
        {"thirty minutes still counts", {{At(9, 0), At(9, 1)}, {At(9, 31), At(9, 32)}}, {1800}, 0},
        {"longer is a break", {{At(9, 0), At(9, 1)}, {At(9, 31, 1), At(9, 32)}}, {}, 1},
        {"no gap", {{At(9, 0), At(9, 1)}, {At(9, 1), At(9, 2)}}, {0}, 0},
        {"one set", {{At(9, 0), At(9, 1)}}, {}, 0},
    };
    for (const Case& c : cases) {
        const RestPairs got = PairRests(c.sets);
        EXPECT_EQ(got.rests, c.rests) << c.name;
        EXPECT_EQ(got.leftOut, c.leftOut) << c.name;
    }
}

TEST(Median, MiddleValueOrMeanOfTheMiddleTwo) {
    EXPECT_FALSE(Median({}));
    EXPECT_DOUBLE_EQ(*Median({90}), 90);
    EXPECT_DOUBLE_EQ(*Median({120, 30, 90}), 90);
    EXPECT_DOUBLE_EQ(*Median({120, 30, 90, 60}), 75);
}

TEST(PeriodDays, EndAtTheDayAndHoldNoDayTwice) {
    const QDate day(2024, 5, 14);
    struct Case {
        ProgressPeriod period;
        const char* first;
    };
    const Case cases[] = {{ProgressPeriod::Months3, "2024/02/15"},
                          {ProgressPeriod::Months6, "2023/11/15"},
                          {ProgressPeriod::Year1, "2023/05/15"},
                          {ProgressPeriod::Years3, "2021/05/15"},
                          {ProgressPeriod::All, "0000/00/00"}};
    for (const Case& c : cases) {
        const DayRange range = PeriodDays(c.period, day);
        EXPECT_EQ(range.first, QString::fromLatin1(c.first));
        EXPECT_EQ(range.last, QStringLiteral("2024/05/14"));
    }
    // The end of a longer month: three months before 05/31 is 02/29 (leap year).
    EXPECT_EQ(PeriodDays(ProgressPeriod::Months3, QDate(2024, 5, 31)).first,
              QStringLiteral("2024/03/01"));
    EXPECT_EQ(ProgressPeriodNames(),
              QStringList({QStringLiteral("3か月"), QStringLiteral("6か月"), QStringLiteral("1年"),
                           QStringLiteral("3年"), QStringLiteral("すべて")}));
}

TEST(ProgressTexts, NumbersDurationsAndPace) {
    EXPECT_EQ(FormatKg(102.5), QStringLiteral("102.5 kg"));
    EXPECT_EQ(FormatKg(90.718474), QStringLiteral("90.72 kg"));
    EXPECT_EQ(FormatKg(60), QStringLiteral("60 kg"));
    EXPECT_EQ(FormatDuration(65), QStringLiteral("1:05"));
    EXPECT_EQ(FormatDuration(3725), QStringLiteral("1:02:05"));
    EXPECT_EQ(FormatPace(299.6), QStringLiteral("5:00 /km"));
}

}  // namespace
}  // namespace sorvenka
