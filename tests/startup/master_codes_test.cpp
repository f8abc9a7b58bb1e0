#include "startup/master_codes.h"

#include <gtest/gtest.h>

#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

QString WidthMessage(const QString& master, const QString& code, int width) {
    const QString w = QString::number(width);
    return QStringLiteral("マスタ名称.コード名称＝") + master + QStringLiteral("\r\n   「") + code +
           QStringLiteral("」\r\n上のコードは桁数が") + w +
           QStringLiteral("ではありません。\r\n桁数を") + w +
           QStringLiteral("桁に統一してください。\r\n");
}

const QString kSweatSequenceMessage = QStringLiteral(
    "マスタ名称.コード名称＝m_sweat.sweat_cd\r\n"
    "このマスタのコードは0に始まる連番であることが必要です。\r\n"
    "コードを0に始まる連番に変更してください。\r\n");

TEST(MasterCodesSql, FourLinesEachEndedByCrLf) {
    EXPECT_EQ(MasterCodesSql(QStringLiteral("m_grp"), QStringLiteral("grp_cd")),
              QStringLiteral("select grp_cd\r\nfrom   m_grp\r\norder by\r\n       grp_cd\r\n"));
}

TEST(CheckCodeDigits, EveryRowHasTheWidth) {
    const struct {
        ResultTable codes;
        bool passes;
        QString offending;
    } cases[] = {
        {{QStringLiteral("grp_cd"), QStringLiteral("01"), QStringLiteral("99")}, true, {}},
        {{QString()}, true, {}},  // a master without rows
        {{QStringLiteral("grp_cd"), QStringLiteral("01"), QStringLiteral("5"),
          QStringLiteral("123")},
         false,
         QStringLiteral("5")},
        {{QStringLiteral("grp_cd"), QStringLiteral("01"), QString()}, false, QString()},  // NULL
        {{QStringLiteral("grp_cd"), QStringLiteral("背筋")}, true, {}},  // UTF-16 code units
        {{QStringLiteral("grp_cd"), QStringLiteral("\U0001F600")}, true, {}},
    };
    for (const auto& c : cases) {
        QString message = QStringLiteral("stale");
        EXPECT_EQ(
            CheckCodeDigits(c.codes, QStringLiteral("m_grp"), QStringLiteral("grp_cd"), 2, message),
            c.passes)
            << c.codes.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(message, c.passes ? QString()
                                    : WidthMessage(QStringLiteral("m_grp.grp_cd"), c.offending, 2));
    }
}

TEST(CheckCodeSequence, CodesCountUpFromZero) {
    const struct {
        QStringList rows;
        bool passes;
    } cases[] = {
        {{"0", "1", "2", "3", "4"}, true},
        {{}, true},
        {{"0", "1", "3"}, false},
        {{"1", "2"}, false},
        {{"0", "0", "1"}, false},
        {{"00"}, false},
        {{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, true},
    };
    for (const auto& c : cases) {
        const ResultTable codes =
            c.rows.isEmpty() ? ResultTable{QString()} : QStringList{"sweat_cd"} + c.rows;
        QString message = QStringLiteral("stale");
        EXPECT_EQ(CheckCodeSequence(codes, QStringLiteral("m_sweat"), QStringLiteral("sweat_cd"),
                                    message),
                  c.passes)
            << c.rows.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(message, c.passes ? QString() : kSweatSequenceMessage);
    }
}

struct MasterCodesFixture : ::testing::Test {
    OpenDatabase open;
    QString message = QStringLiteral("stale");

    bool check() { return CheckMasterCodes(open.db, message); }
};

TEST_F(MasterCodesFixture, TheFirstMastersPass) {
    EXPECT_TRUE(check());
    EXPECT_EQ(message, QString());
    EXPECT_TRUE(open.platform.shown.empty());
}

TEST_F(MasterCodesFixture, EmptyMastersPass) {
    open.layout.exec(QStringLiteral("delete from m_grp; delete from m_exer; delete from m_sweat;"));
    EXPECT_TRUE(check());
}

TEST(MasterCodes, TheFirstViolationIsReported) {
    const struct {
        const char* what;
        const char* sql;
        QString message;
    } cases[] = {
        // The exercise codes are not looked at once a group code fails.
        {"group code 5",
         "insert into m_grp values ('5', 'x', 1, 50);"
         "insert into m_exer values ('01', '7', 'y', 1, 50);",
         WidthMessage(QStringLiteral("m_grp.grp_cd"), QStringLiteral("5"), 2)},
        {"exercise code 7", "insert into m_exer values ('01', 7, 'y', 1, 50);",
         WidthMessage(QStringLiteral("m_exer.exer_cd"), QStringLiteral("7"), 2)},
        {"wide sweat code", "insert into m_sweat values ('10', 'z', 1, 50);",
         WidthMessage(QStringLiteral("m_sweat.sweat_cd"), QStringLiteral("10"), 1)},
        {"sweat gap", "delete from m_sweat where sweat_cd = '2';", kSweatSequenceMessage},
        {"sweat from 1", "delete from m_sweat where sweat_cd = '0';", kSweatSequenceMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenDatabase fresh;
        fresh.layout.exec(QString::fromUtf8(c.sql));
        QString text;
        EXPECT_FALSE(CheckMasterCodes(fresh.db, text));
        EXPECT_EQ(text, c.message);
        EXPECT_TRUE(fresh.platform.shown.empty());
    }
}

TEST_F(MasterCodesFixture, ANumericExerciseCodeOfTwoDigitsPasses) {
    open.layout.exec(QStringLiteral("insert into m_exer values ('01', 10, 'y', 1, 50);"));
    EXPECT_TRUE(check());
}

TEST_F(MasterCodesFixture, AFailedMasterQueryShowsItsMessageAndEnds) {
    open.layout.exec(QStringLiteral("drop table m_sweat;"));
    const EndedRun run = RunExpectingEnd(open.platform, [&] { check(); });
    EXPECT_TRUE(run.ended);
    EXPECT_NE(run.status, 0);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_EQ(run.shown[0].text,
              QStringLiteral("Returned 21:Library used incorrectly\r\n"
                             "select sweat_cd\r\nfrom   m_sweat\r\norder by\r\n       sweat_cd\r\n"
                             "\r\n"));
    EXPECT_EQ(run.shown[0].caption, QStringLiteral("Valdrome"));
}

}  // namespace
}  // namespace sorvenka::testing
