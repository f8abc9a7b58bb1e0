// The record list as the window builds it from the database.
#include <QSet>

#include "common/text_tests.h"
#include "db/record_reads.h"
#include "window_fixture.h"

namespace sorvenka::testing {
namespace {

using RecordListTest = WindowTest;

QString B(int count) {
    return QString(count, QLatin1Char(' '));
}

TEST_F(RecordListTest, LinesOfADayFromTheDatabase) {
    StoredSet late;
    late.hms_sta = QStringLiteral("09:05:00");
    late.hms_end = QStringLiteral("09:06:35");
    late.comment = QStringLiteral("重め\r\n次回 62.5");
    Store(env.layout, late);
    StoredSet untimed;
    untimed.grp_cd = QStringLiteral("06");
    untimed.exer_cd = QStringLiteral("01");
    untimed.hms_sta.clear();
    untimed.hms_end.clear();
    untimed.target.clear();
    untimed.unit_t.clear();
    untimed.cnt.clear();
    untimed.unit.clear();
    untimed.cnt_min = QStringLiteral("1");
    untimed.cnt_sec = QStringLiteral("5");
    untimed.sweat_cd = QStringLiteral("9");  // no such level: listed without a name
    Store(env.layout, untimed);
    StoredSet early;
    early.set_num = QStringLiteral("2");
    early.hms_sta = QStringLiteral("08:30:00");
    early.hms_end = QStringLiteral("08:29:00");
    early.target = QStringLiteral("62.5");
    early.cnt = QStringLiteral("8");
    early.sweat_cd = QStringLiteral("4");
    Store(env.layout, early);
    StoredSet yesterday;
    yesterday.ymd = QStringLiteral("2024/05/13");
    yesterday.grp_cd = QStringLiteral("07");
    yesterday.exer_cd = QStringLiteral("02");
    yesterday.unit_t = QStringLiteral("km");
    yesterday.target = QStringLiteral("5");
    yesterday.cnt.clear();
    yesterday.unit.clear();
    yesterday.cnt_min = QStringLiteral("30");
    yesterday.cnt_sec = QStringLiteral("0");
    yesterday.sweat_cd = QStringLiteral("3");
    Store(env.layout, yesterday);
    startWindow();

    const QStringList expected{
        QStringLiteral("2024/05/14(火)"),
        B(14) + QStringLiteral("体幹_プランク") + B(15) + QStringLiteral(" 1 ") + B(8) +
            QStringLiteral("-") + B(8) + B(12) + B(5) + QStringLiteral("   1分 5秒 ") + B(16) +
            B(50) + QStringLiteral("PK=2024/05/14,06,01,1"),
        B(14) + QStringLiteral("胸_ベンチプレス") + B(13) +
            QStringLiteral(" 2 08:30:00-08:29:00( -1分 0秒)  62.5kg   8回") + B(5) +
            QStringLiteral("大量") + B(12) + B(50) + QStringLiteral("PK=2024/05/14,01,01,2"),
        B(14) + QStringLiteral("胸_ベンチプレス") + B(13) +
            QStringLiteral(" 1 09:05:00-09:06:35(  1分35秒)    60kg  10回") + B(5) +
            QStringLiteral("普通") + B(12) + B(50) + QStringLiteral("PK=2024/05/14,01,01,1"),
        B(45) + QStringLiteral("重め"),
        B(45) + QStringLiteral("次回 62.5"),
        QStringLiteral("2024/05/13(月)"),
        B(14) + QStringLiteral("有酸素_ランニング") + B(11) +
            QStringLiteral(" 1 09:00:00-09:01:00(  1分 0秒)     5km  30分 0秒 ") +
            QStringLiteral("多い") + B(12) + B(50) + QStringLiteral("PK=2024/05/13,07,02,1"),
        QStringLiteral("2024/05/12(日)"),
        QStringLiteral("2024/05/11(土)"),
        QStringLiteral("2024/05/10(金)"),
        QStringLiteral("2024/05/09(木)"),
        QStringLiteral("2024/05/08(水)"),
    };
    EXPECT_EQ(Items(window->lstRecord), expected);

    const std::vector<LineKind> kinds{LineKind::Day,    LineKind::Record,  LineKind::Record,
                                      LineKind::Record, LineKind::Comment, LineKind::Comment,
                                      LineKind::Day,    LineKind::Record,  LineKind::Day};
    for (size_t row = 0; row < kinds.size(); ++row)
        EXPECT_EQ(window->lstRecord->lineKind(static_cast<int>(row)), kinds[row]) << row;
}

struct PeriodCase {
    const char* weeks;
    bool ascending;
    int days;
    const char* first;
    const char* last;
};

TEST_F(RecordListTest, PeriodOfWholeWeeksInEitherOrder) {
    startWindow();
    MainWindow& w = *window;
    const PeriodCase cases[] = {
        {"1", false, 7, "2024/05/14(火)", "2024/05/08(水)"},
        {"1", true, 7, "2024/05/08(水)", "2024/05/14(火)"},
        {"2", false, 14, "2024/05/14(火)", "2024/05/01(水)"},
        {"1.5", true, 11, "2024/05/04(土)", "2024/05/14(火)"},
        {"0.5", false, 3, "2024/05/14(火)", "2024/05/12(日)"},
        {"0", false, 0, "", ""},
        {"-1", false, 0, "", ""},
        {"", false, 0, "", ""},   // emptied to type another count
        {"x1", true, 0, "", ""},  // not a number
    };
    for (const PeriodCase& c : cases) {
        w.txtWeekNum->setText(QString::fromLatin1(c.weeks));
        w.optOrder[c.ascending ? 0 : 1]->setChecked(true);
        w.RefreshRecordList();
        const QStringList days = DayLines(w.lstRecord);
        EXPECT_EQ(days.size(), c.days) << c.weeks;
        EXPECT_EQ(w.lstRecord->count(), c.days) << c.weeks;
        if (c.days == 0) continue;
        EXPECT_EQ(days.first(), QString::fromUtf8(c.first)) << c.weeks;
        EXPECT_EQ(days.last(), QString::fromUtf8(c.last)) << c.weeks;
    }
}

TEST_F(RecordListTest, HalfTypedDateListsNothing) {
    startWindow();
    MainWindow& w = *window;
    w.txtYmd->setText(QStringLiteral("2024/05/1"));
    EXPECT_EQ(w.lstRecord->count(), 7);  // the change itself does nothing
    w.optOrder[0]->click();              // but a rebuild now has no day to end at
    EXPECT_EQ(w.lstRecord->count(), 0);
    w.txtYmd->setText(QStringLiteral("2024/05/10"));
    EXPECT_EQ(DayLines(w.lstRecord).last(), QStringLiteral("2024/05/10(金)"));
}

TEST_F(RecordListTest, HugeWeekCountStopsAtTheFirstDayOfYearOne) {
    startWindow();
    MainWindow& w = *window;
    w.txtWeekNum->setText(QStringLiteral("2147483647999"));
    w.txtYmd->setText(QStringLiteral("0001/01/10"));
    const QStringList days = DayLines(w.lstRecord);
    ASSERT_EQ(days.size(), 10);
    EXPECT_EQ(days.first(), QStringLiteral("0001/01/10(水)"));
    EXPECT_EQ(days.last(), QStringLiteral("0001/01/01(月)"));
}

TEST_F(RecordListTest, OrderAndCommentButtonsRebuild) {
    StoredSet set;
    set.comment = QStringLiteral("メモ");
    Store(env.layout, set);
    startWindow();
    MainWindow& w = *window;
    ASSERT_EQ(w.lstRecord->count(), 9);

    w.optComment[0]->click();
    EXPECT_EQ(w.lstRecord->count(), 8);
    EXPECT_EQ(w.lstRecord->lineText(1).right(21), QStringLiteral("PK=2024/05/14,01,01,1"));

    w.optOrder[0]->click();
    EXPECT_EQ(DayLines(w.lstRecord).first(), QStringLiteral("2024/05/08(水)"));
    EXPECT_EQ(w.lstRecord->count(), 8);
    EXPECT_EQ(w.lstRecord->lineText(7).right(21), QStringLiteral("PK=2024/05/14,01,01,1"));

    w.optComment[1]->click();
    EXPECT_EQ(w.lstRecord->count(), 9);
    EXPECT_EQ(w.lstRecord->lineText(8), B(45) + QStringLiteral("メモ"));

    w.optOrder[1]->click();
    EXPECT_EQ(DayLines(w.lstRecord).first(), QStringLiteral("2024/05/14(火)"));
}

// A rebuild takes the selection away without a click: what was loaded stays in the fields.
TEST_F(RecordListTest, RebuildKeepsFieldsAndButtons) {
    Store(env.layout, StoredSet());
    startWindow();
    MainWindow& w = *window;
    MainWindow::selectRow(w.lstRecord, RowOfKey(w.lstRecord, QStringLiteral("2024/05/14,01,01,1")));
    ASSERT_EQ(w.txtCount->text(), QStringLiteral("10"));

    w.RefreshRecordList();
    EXPECT_TRUE(MainWindow::selectedRow(w.lstRecord) < 0);
    EXPECT_EQ(w.txtCount->text(), QStringLiteral("10"));
    EXPECT_EQ(w.txtTarget->text(), QStringLiteral("60"));
    EXPECT_EQ(MainWindow::selectedRow(w.lstSweat), 2);
    EXPECT_TRUE(w.cmdUpdate->isEnabled());
    EXPECT_TRUE(w.cmdDelete->isEnabled());
    EXPECT_FALSE(w.cmdInsert->isEnabled());
    EXPECT_TRUE(w.cmdUnselect->isEnabled());
}

}  // namespace
}  // namespace sorvenka::testing

namespace sorvenka::testing {
namespace {

// The list as the result tables would give it: day line, then FormatDayRecords of the day's
// table, for the stored days; every other day has its day line only.
QStringList ListFromTables(Database& db, const QDate& last, int days, bool ascending,
                           const QSet<QString>& storedDays) {
    QStringList lines;
    for (int step = 0; step < days; ++step) {
        const QString day = FormatYmd(last.addDays(-(ascending ? days - 1 - step : step)));
        lines << DayLineText(day);
        if (!storedDays.contains(day)) continue;
        for (const ListLine& line :
             FormatDayRecords(db, day, DBSelectDayExer(db, day, 0, {}, {}), true))
            lines << line.text;
    }
    return lines;
}

TEST_F(RecordListTest, LongestPeriodListsWhatTheTablesGive) {
    const QDate last(2024, 5, 14);
    const int days = 5200 * 7;
    const QSet<QString> storedDays{FormatYmd(last), FormatYmd(last.addDays(-days / 2)),
                                   FormatYmd(last.addDays(-(days - 1)))};
    for (const QString& day : storedDays) {
        StoredSet set;
        set.ymd = day;
        set.comment = QStringLiteral("a\tb\r\n");
        Store(env.layout, set);
        set.set_num = QStringLiteral("2");
        set.hms_sta = QStringLiteral("25:00:00");
        set.target = QStringLiteral("1e-7");
        Store(env.layout, set);
    }
    // Just before the period: not listed.
    StoredSet before;
    before.ymd = FormatYmd(last.addDays(-days));
    Store(env.layout, before);
    startWindow();

    for (const bool ascending : {false, true}) {
        window->FillRecordList(FormatYmd(last), QStringLiteral("5200"), 0, {}, {}, ascending, true);
        EXPECT_EQ(Items(window->lstRecord),
                  ListFromTables(env.db, last, days, ascending, storedDays))
            << ascending;
    }
    // A week after the longest period: the short list replaces it whole.
    window->FillRecordList(FormatYmd(last), QStringLiteral("1"), 0, {}, {}, false, true);
    EXPECT_EQ(Items(window->lstRecord), ListFromTables(env.db, last, 7, false, storedDays));
}

}  // namespace
}  // namespace sorvenka::testing
