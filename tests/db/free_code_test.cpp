#include "db/free_code.h"

#include <gtest/gtest.h>

namespace sorvenka {
namespace {

QSet<QString> Numbers(int from, int to) {
    QSet<QString> codes;
    for (int n = from; n <= to; ++n)
        codes.insert(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
    return codes;
}

TEST(NextFreeCode, FollowsTheHighestNumberThenGapsThenLettersAndDigits) {
    struct Case {
        const char* what;
        QSet<QString> used;
        QString expected;
    };
    QSet<QString> allNumbers = Numbers(1, 99);
    QSet<QString> numbersAndA0 = allNumbers;
    numbersAndA0.insert(QStringLiteral("0A"));
    const Case cases[] = {
        {"empty group", {}, QStringLiteral("01")},
        {"after the highest", {QStringLiteral("01"), QStringLiteral("07")}, QStringLiteral("08")},
        {"first gap once 99 is used",
         {QStringLiteral("01"), QStringLiteral("99")},
         QStringLiteral("02")},
        {"letters are not numbers",
         {QStringLiteral("AB"), QStringLiteral("03")},
         QStringLiteral("04")},
        {"01 to 99 used (00 never)", allNumbers, QStringLiteral("0A")},
        {"then the next of letters and digits", numbersAndA0, QStringLiteral("0B")},
    };
    for (const Case& c : cases) EXPECT_EQ(NextFreeCode(c.used), c.expected) << c.what;
}

TEST(NextFreeCode, GivesThousandsOfDistinctTwoCharacterCodesThenNone) {
    QSet<QString> used;
    for (;;) {
        const QString code = NextFreeCode(used);
        if (code.isEmpty()) break;
        ASSERT_EQ(code.size(), 2);
        ASSERT_FALSE(used.contains(code));
        for (const QChar c : code) ASSERT_TRUE(c.isLetterOrNumber() && c.unicode() < 0x80);
        used.insert(code);
    }
    EXPECT_EQ(used.size(), 62 * 62 - 1);  // every pair but 00
}

}  // namespace
}  // namespace sorvenka
