// The week count as "<" and ">" step it: decimal text of any length.
#include "record_list/week_count.h"

#include <gtest/gtest.h>

namespace sorvenka {
namespace {

struct StepCase {
    const char* text;
    const char* up;
    const char* down;
};

TEST(WeekCount, StepsAsDecimalTextAndNeverBelowOne) {
    const StepCase cases[] = {
        {"1", "2", "1"},
        {"2", "3", "1"},
        {"007", "8", "6"},
        {"0", "1", "0"},    // "<" only lowers a count of 2 or more
        {"01", "2", "01"},  // unchanged, leading zero and all
        {"9", "10", "8"},
        {"10", "11", "9"},
        {"100", "101", "99"},
        {"2147483647", "2147483648", "2147483646"},
        {"2147483648", "2147483649", "2147483647"},
        {"99999999999999999999", "100000000000000000000", "99999999999999999998"},
        // Not all digits: unchanged.
        {"", "", ""},
        {"-1", "-1", "-1"},
        {" 2", " 2", " 2"},
        {"1.5", "1.5", "1.5"},
        {"２", "２", "２"},
    };
    for (const StepCase& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(WeekCountUp(text), QString::fromUtf8(c.up)) << c.text;
        EXPECT_EQ(WeekCountDown(text), QString::fromUtf8(c.down)) << c.text;
    }
}

}  // namespace
}  // namespace sorvenka
