#include "common/display_width.h"

#include <gtest/gtest.h>

namespace sorvenka {
namespace {

struct WidthCase {
    const char* name;
    QString text;
    int width;
};

// Display width is the Shift_JIS byte length; a character the code page lacks is written as
// one "?" and so counts 1.
TEST(ByteWidth, CountsShiftJisBytes) {
    const WidthCase cases[] = {
        {"empty", QString(), 0},
        {"ascii", QStringLiteral("Bench 60kg"), 10},
        {"half-width katakana", QStringLiteral("ｸﾘｱ"), 3},
        {"kanji and kana", QStringLiteral("胸_ベンチ"), 9},
        {"full-width tilde U+FF5E", QStringLiteral("\uFF5E"), 2},
        {"circled one", QStringLiteral("①"), 2},
        {"e acute", QStringLiteral("\u00E9"), 1},
        {"emoji (surrogate pair)", QStringLiteral("\U0001F600"), 1},
        {"mixed with unencodable", QStringLiteral("a\u00E9胸\U0001F600"), 5},
    };
    for (const WidthCase& c : cases) EXPECT_EQ(ByteWidth(c.text), c.width) << c.name;
}

struct PadCase {
    const char* name;
    QString text;
    int width;
    bool right;
    QString expected;
};

TEST(PadToWidth, CutsAndFillsByDisplayWidth) {
    const PadCase cases[] = {
        {"fill left-aligned", QStringLiteral("abc"), 5, false, QStringLiteral("abc  ")},
        {"fill right-aligned", QStringLiteral("abc"), 5, true, QStringLiteral("  abc")},
        {"exact width unchanged", QStringLiteral("胸_"), 3, false, QStringLiteral("胸_")},
        {"cut ascii", QStringLiteral("abcdef"), 3, true, QStringLiteral("abc")},
        {"full-width one column too wide", QStringLiteral("あい"), 3, false, QStringLiteral("あ ")},
        {"same, right-aligned", QStringLiteral("あい"), 3, true, QStringLiteral(" あ")},
        {"cut several then fill", QStringLiteral("胸_ベンチ"), 4, false, QStringLiteral("胸_ ")},
        {"empty text", QString(), 3, true, QStringLiteral("   ")},
        {"zero width", QStringLiteral("ab"), 0, false, QString()},
        {"emoji counts one", QStringLiteral("a\U0001F600"), 3, false,
         QStringLiteral("a\U0001F600 ")},
        {"emoji cut whole", QStringLiteral("\U0001F600\U0001F600"), 1, false,
         QStringLiteral("\U0001F600")},
    };
    for (const PadCase& c : cases) {
        const QString padded = PadToWidth(c.text, c.width, c.right);
        EXPECT_EQ(padded, c.expected) << c.name;
        EXPECT_EQ(ByteWidth(padded), c.width) << c.name;
    }
}

struct DurationCase {
    int seconds;
    QString minutes;
    QString rest;
};

TEST(SplitDuration, ThreeColumnMinutesTwoColumnSeconds) {
    const DurationCase cases[] = {
        {95, QStringLiteral("  1"), QStringLiteral("35")},
        {5, QStringLiteral("  0"), QStringLiteral(" 5")},
        {0, QStringLiteral("  0"), QStringLiteral(" 0")},
        {-90, QStringLiteral(" -1"), QStringLiteral("30")},
        {-5, QStringLiteral("  0"), QStringLiteral("-5")},
        {59999, QStringLiteral("999"), QStringLiteral("59")},
        {60000, QStringLiteral("000"), QStringLiteral(" 0")},  // 1000 minutes keep 3 digits
        {86399, QStringLiteral("439"), QStringLiteral("59")},
    };
    for (const DurationCase& c : cases) {
        QString minutes, seconds;
        SplitDuration(c.seconds, minutes, seconds);
        EXPECT_EQ(minutes, c.minutes) << c.seconds;
        EXPECT_EQ(seconds, c.rest) << c.seconds;
    }
}

}  // namespace
}  // namespace sorvenka
