// The plates and the warm-up scheme as typed in one line: what is read, and what is refused.
#include "routines/plates_input.h"

#include <gtest/gtest.h>

namespace sorvenka::testing {
namespace {

TEST(PlatesInput, PairsAreReadHeaviestFirstAndWrongPartsRefuseTheLine) {
    struct Case {
        const char* text;
        bool ok;
        std::vector<PlatePair> plates;
    };
    const Case cases[] = {
        {"20×2, 10×1, 2.5×2", true, {{20, 2}, {10, 1}, {2.5, 2}}},
        {"1.25x2、25*4，5 × 1", true, {{25, 4}, {5, 1}, {1.25, 2}}},
        {"", true, {}},
        {"20×0", false, {}},
        {"-5×1", false, {}},
        {"20", false, {}},
        {"20×2×1", false, {}},
        {"twenty×2", false, {}},
        {"20×1.5", false, {}},
        {"nan×1", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto plates = ParsePlatePairs(QString::fromUtf8(c.text));
        ASSERT_EQ(plates.has_value(), c.ok);
        if (c.ok) {
            EXPECT_EQ(*plates, c.plates);
        }
    }
    EXPECT_EQ(PlatePairsText({{20, 2}, {2.5, 1}}), QStringLiteral("20×2, 2.5×1"));
}

TEST(PlatesInput, WarmupStepsArePercentsBelowTheWorkingLoad) {
    struct Case {
        const char* text;
        bool ok;
        std::vector<WarmupStep> steps;
    };
    const Case cases[] = {
        {"0×10, 40×5, 60×3, 80×2", true, {{0, 10}, {40, 5}, {60, 3}, {80, 2}}},
        {"", true, {}},
        {"100×1", false, {}},
        {"50×0", false, {}},
        {"50", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto scheme = ParseWarmup(QString::fromUtf8(c.text));
        ASSERT_EQ(scheme.has_value(), c.ok);
        if (c.ok) {
            EXPECT_EQ(scheme->steps, c.steps);
        }
    }
    EXPECT_EQ(WarmupText(DefaultWarmup()), QStringLiteral("0×10, 40×5, 60×3, 80×2"));
}

}  // namespace
}  // namespace sorvenka::testing
