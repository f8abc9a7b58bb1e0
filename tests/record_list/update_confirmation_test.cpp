// The before-and-after question of an update, built from plain values.
#include "record_list/update_confirmation.h"

#include <gtest/gtest.h>

namespace sorvenka {
namespace {

ExerRecord CountSet(const QString& target, const QString& cnt) {
    ExerRecord r;
    r.hms_sta = QStringLiteral("08:10:00");
    r.hms_end = QStringLiteral("08:12:00");
    r.target = target;
    r.unit_t = QStringLiteral("kg");
    r.cnt = cnt;
    r.unit = QStringLiteral("回");
    return r;
}

TEST(UpdateConfirmation, CountChangedToDurationShowsBothFormsWhole) {
    ExerRecord stored = CountSet(QStringLiteral("60"), QStringLiteral("10"));
    stored.comment = QStringLiteral("フォーム良し");
    ExerRecord entered = stored;
    entered.cnt.clear();
    entered.unit.clear();
    entered.cnt_min = QStringLiteral("1");
    entered.cnt_sec = QStringLiteral("30");
    entered.comment = QStringLiteral("1行目\r\n2行目");
    const RecordKey key{QStringLiteral("2024/03/15"), QStringLiteral("01"), QStringLiteral("03"),
                        QStringLiteral("2")};

    const QString expected = QStringLiteral(
        "PK  Ymd=2024/03/15,GrpCd=01,ExerCd=03,SetN=2\r\n"
        "\r\n"
        "  更新前：08:10:00-08:12:00 60kg 10回 普通\r\n"
        "              フォーム良し\r\n"
        "  更新後：08:10:00-08:12:00 60kg 1分30秒 多い      \r\n"
        "              1行目\r\n"
        "              2行目\r\n"
        "更新しますか？\r\n");
    EXPECT_EQ(UpdateConfirmationText(key, stored, QStringLiteral("普通"), entered,
                                     QStringLiteral("多い")),
              expected);
}

TEST(UpdateConfirmation, AfterLineFitsLoadAndCountToThreeColumnsInCountForm) {
    struct Case {
        const char16_t* target;
        const char16_t* cnt;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"7.5", u"10", u"08:10:00-08:12:00 7.5kg  10回 なし      "},
        {u"5", u"8", u"08:10:00-08:12:00   5kg   8回 なし      "},
        {u"102.5", u"1000", u"08:10:00-08:12:00 102kg 100回 なし      "},
    };
    for (const Case& c : cases) {
        const ExerRecord entered =
            CountSet(QString::fromUtf16(c.target), QString::fromUtf16(c.cnt));
        EXPECT_EQ(UpdateAfterLine(entered, QStringLiteral("なし")), QString::fromUtf16(c.expected))
            << QString::fromUtf16(c.target).toStdString();
    }
}

TEST(UpdateConfirmation, BeforeLineFitsNothingAndTakesEmptyTimesAsTheyAre) {
    ExerRecord stored = CountSet(QStringLiteral("102.5"), QStringLiteral("1000"));
    stored.hms_sta.clear();
    stored.hms_end.clear();
    EXPECT_EQ(UpdateBeforeLine(stored, QStringLiteral("とても長い発汗状況の名前")),
              QStringLiteral("- 102.5kg 1000回 とても長い発汗状況の名前"));
}

TEST(UpdateConfirmation, SweatNameOfTheAfterLineIsCutOrFilledToTenColumns) {
    EXPECT_TRUE(UpdateAfterLine(CountSet(QStringLiteral("5"), QStringLiteral("8")),
                                QStringLiteral("とても長い発汗状況"))
                    .endsWith(QStringLiteral(" 8回 とても長い")));
    EXPECT_TRUE(UpdateAfterLine(CountSet(QStringLiteral("5"), QStringLiteral("8")), QString())
                    .endsWith(QStringLiteral("回") + QString(11, QLatin1Char(' '))));
}

TEST(UpdateConfirmation, EveryCommentLineIsIndentedByFourteenBlanks) {
    const QString indent(14, QLatin1Char(' '));
    EXPECT_EQ(IndentedComment(QString()), indent);
    EXPECT_EQ(IndentedComment(QStringLiteral("a\r\nb\r\n")),
              indent + QStringLiteral("a\r\n") + indent + QStringLiteral("b\r\n") + indent);
}

}  // namespace
}  // namespace sorvenka
