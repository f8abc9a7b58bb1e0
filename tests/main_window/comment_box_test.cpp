// How a stored comment is shown in the comment box: as stored, with over-long lines in pieces.
#include "main_window/comment_box.h"

#include <gtest/gtest.h>

#include <QList>

namespace sorvenka {
namespace {

TEST(ShownCommentText, NormalCommentsAreShownAsStoredLongLinesInPieces) {
    const qsizetype n = kLongestShownCommentLine;
    const QString x(n, QLatin1Char('x'));
    const QChar high(char16_t(0xD83D)), low(char16_t(0xDE00));  // 😀
    struct Case {
        const char* name;
        QString stored;
        QString shown;
    };
    const Case cases[] = {
        {"empty", QString(), QString()},
        {"lines", QStringLiteral("膝に注意\r\n\r\n次回 85\r\n"),
         QStringLiteral("膝に注意\n\n次回 85\n")},
        {"longest line", x + QStringLiteral("\r\n") + x, x + QLatin1Char('\n') + x},
        {"one too long", x + QLatin1Char('y'), x + QStringLiteral("\ny")},
        {"pieces", x + x + x, x + QLatin1Char('\n') + x + QLatin1Char('\n') + x},
        {"a break resets the count", x.left(n - 1) + QStringLiteral("\r\n") + x + QLatin1Char('y'),
         x.left(n - 1) + QLatin1Char('\n') + x + QStringLiteral("\ny")},
        {"pair at the cut stays whole", x.left(n - 1) + high + low + QLatin1Char('z'),
         x.left(n - 1) + QLatin1Char('\n') + high + low + QLatin1Char('z')},
    };
    for (const Case& c : cases) EXPECT_EQ(ShownCommentText(c.stored), c.shown) << c.name;
}

TEST(ShownCommentText, AMegabyteOnOneLineIsShownInPiecesThatTogetherAreTheText) {
    QString stored;
    for (int i = 0; stored.size() < 1'000'000; ++i)
        stored += QStringLiteral("ベンチ%1kg\U0001F4AA").arg(i);
    const QString shown = ShownCommentText(stored);
    for (const QStringView piece : QStringView(shown).split(QLatin1Char('\n')))
        EXPECT_LE(piece.size(), kLongestShownCommentLine);
    QString joined = shown;
    joined.remove(QLatin1Char('\n'));
    EXPECT_EQ(joined, stored);
}

}  // namespace
}  // namespace sorvenka
