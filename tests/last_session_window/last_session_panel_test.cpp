// The 前回 panel in the real main window on a real database: what it shows for the chosen
// exercise, 前回の値 into the entry controls, the record notice after 登録 and 更新, and the
// rest clock read against the scripted clock (no timer waited for).
#include "last_session_window/last_session_panel.h"

#include "main_window/entry_window_fixture.h"
#include "support/accessible_names.h"

namespace sorvenka::testing {
namespace {

// 胸_01 on Friday 05/10: 60×10, 70×8 (best e1RM 88.67), 155 lb × 6; earlier 05/03.
const char* const kHistory =
    "insert into t_exer values ('2024/05/03','01','01',1,'18:00:00','18:01:00',50,'kg',10,'回',"
    "null,null,'2','');"
    "insert into t_exer values ('2024/05/10','01','01',1,'18:00:00','18:01:00',60,'kg',10,'回',"
    "null,null,'2','');"
    "insert into t_exer values ('2024/05/10','01','01',2,'18:03:00','18:04:00',70,'kg',8,'回',"
    "null,null,'2','');"
    "insert into t_exer values ('2024/05/10','01','01',3,'18:06:00','18:07:00',155,'lb',6,'回',"
    "null,null,'2','');";

QStringList Items(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
}

class LastSessionPanelTest : public EntryWindowTest {
  protected:
    void SetUp() override { open(QString::fromUtf8(kHistory)); }
    LastSessionPanel* panel() { return w->lastSessionPanel; }
};

TEST_F(LastSessionPanelTest, SitsInTheFreeAreaAndShowsTheLastSessionAndRecords) {
    const QRect area = panel()->geometry();
    EXPECT_GE(area.left(), 1048);
    EXPECT_GE(area.top(), 424);
    EXPECT_LE(area.right(), 1258);
    EXPECT_LE(area.bottom(), 661);
    pick(QStringLiteral("01"), QStringLiteral("01"));
    EXPECT_EQ(panel()->lblDay->text(), QStringLiteral("前回 2024/05/10 (金) 3セット"));
    EXPECT_EQ(Items(panel()->lstSets),
              QStringList({QStringLiteral("1. 60 kg × 10回  18:00–18:01"),
                           QStringLiteral("2. 70 kg × 8回  18:03–18:04 ★"),
                           QStringLiteral("3. 155 lb × 6回  18:06–18:07")}));
    const QStringList records = Items(panel()->lstRecords);
    ASSERT_GE(records.size(), 3);
    EXPECT_EQ(records[0], QStringLiteral("最大重量 155 lb（70.31 kg） × 6回"));
    EXPECT_EQ(records[1], QStringLiteral("推定1RM 88.67 kg（70 kg × 8回）"));
    EXPECT_EQ(records[2], QStringLiteral("最多回数 10回（50 kg）"));
    EXPECT_EQ(panel()->lstRecords->item(2)->toolTip(),
              QStringLiteral("最多回数 10回（50 kg）  2024/05/03"));

    // Follows the date: before 05/10 the last session is 05/03; before 05/03 there is none.
    w->txtYmd->setText(QStringLiteral("2024/05/10"));
    EXPECT_EQ(panel()->lblDay->text(), QStringLiteral("前回 2024/05/03 (金) 1セット"));
    w->txtYmd->setText(QStringLiteral("2024/05/03"));
    EXPECT_EQ(panel()->lblDay->text(), QStringLiteral("この日より前の記録はありません"));
    EXPECT_FALSE(panel()->cmdFill->isEnabled());
    // And the exercise: another one without sets.
    w->txtYmd->setText(kToday);
    pick(QStringLiteral("01"), QStringLiteral("02"));
    EXPECT_EQ(panel()->lstSets->count(), 0);
}

TEST_F(LastSessionPanelTest, FillsLastTimesNextSetWithoutStoringIt) {
    pick(QStringLiteral("01"), QStringLiteral("01"));
    const QString stored = scalar(QStringLiteral("select count(*) from t_exer"));
    panel()->cmdFill->click();
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("60"));
    EXPECT_EQ(MainWindow::selectedText(w->lstUnitTarget), QStringLiteral("kg"));
    EXPECT_EQ(w->txtCount->text(), QStringLiteral("10"));
    EXPECT_EQ(MainWindow::selectedText(w->lstUnit), QStringLiteral("回"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from t_exer")), stored);

    // After the first set of today, the second of last time; the third in pounds.
    enterCountSet();
    w->cmdInsert->click();
    panel()->cmdFill->click();
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("70"));
    EXPECT_EQ(w->txtCount->text(), QStringLiteral("8"));
    enterCountSet();
    w->cmdInsert->click();
    panel()->cmdFill->click();
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("155"));
    EXPECT_EQ(MainWindow::selectedText(w->lstUnitTarget), QStringLiteral("lb"));
}

TEST_F(LastSessionPanelTest, DurationSetFillsMinutesAndSeconds) {
    fx.layout.exec(QStringLiteral(
        "insert into t_exer values ('2024/05/12','06','01',1,'','',0,'kg',null,'',2,5,'1','');"));
    pick(QStringLiteral("06"), QStringLiteral("01"));
    w->txtCount->setText(QStringLiteral("12"));
    panel()->cmdFill->click();
    EXPECT_EQ(w->txtCount->text(), QString());
    EXPECT_EQ(w->txtCountMin->text(), QStringLiteral("2"));
    EXPECT_EQ(w->txtCountSec->text(), QStringLiteral("5"));
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("0"));
}

TEST_F(LastSessionPanelTest, RecordNoticeAfterStoringAHeavierSetAndNoneForALighterOne) {
    enterCountSet();  // 60 × 10 today: no record
    w->cmdInsert->click();
    EXPECT_EQ(panel()->lblNotice->text(), QString());
    enterCountSet();
    w->txtTarget->setText(QStringLiteral("75"));
    w->txtCount->setText(QStringLiteral("8"));
    w->cmdInsert->click();
    // 75 kg > 70.31 kg; 75 × (1 + 8/30) = 95 > 88.67
    EXPECT_EQ(panel()->lblNotice->text(),
              QStringLiteral("自己記録更新: 最大重量 75 kg、推定1RM 95 kg"));
    // Another exercise clears the notice.
    pick(QStringLiteral("01"), QStringLiteral("02"));
    EXPECT_EQ(panel()->lblNotice->text(), QString());
}

TEST_F(LastSessionPanelTest, RecordNoticeAfterAnUpdate) {
    pick(QStringLiteral("01"), QStringLiteral("01"));
    w->txtYmd->setText(QStringLiteral("2024/05/10"));
    const int row = recordRow({QStringLiteral("2024/05/10"), QStringLiteral("01"),
                               QStringLiteral("01"), QStringLiteral("1")});
    ASSERT_GE(row, 0);
    MainWindow::selectRow(w->lstRecord, row);
    w->txtCount->setText(QStringLiteral("12"));
    pickItem(w->lstSweat, QStringLiteral("2 普通"));
    fx.platform.answers = {Answer::Yes};
    w->cmdUpdate->click();
    // Before set 1 of 05/10 only 05/03's 50 × 10 (e1RM 66.67): 60 × 12 gives 84, and more
    // repetitions than any set with a load.
    EXPECT_EQ(panel()->lblNotice->text(),
              QStringLiteral("自己記録更新: 最大重量 60 kg、推定1RM 84 kg、最多回数 60 kg × 12回"));
}

TEST_F(LastSessionPanelTest, RestClockCountsFromTodaysLastFinishAndRingsOnce) {
    // Today 2024/05/14, scripted clock 09:30:15; the last finish today 09:29:00.
    fx.layout.exec(QStringLiteral(
        "insert into t_exer values ('2024/05/14','02','01',1,'09:27:00','09:29:00',40,'kg',10,"
        "'回',null,null,'2','');"));
    panel()->cboRest->setCurrentIndex(panel()->cboRest->findData(90));
    pick(QStringLiteral("01"), QStringLiteral("01"));
    ASSERT_TRUE(panel()->lblRest->isVisibleTo(w.get()));
    EXPECT_EQ(panel()->lblRest->text(), QStringLiteral("休憩 1:15"));
    EXPECT_TRUE(panel()->restTimer->isActive());
    EXPECT_EQ(panel()->restTimer->interval(), 1000);
    EXPECT_TRUE(fx.platform.played.empty());

    fx.platform.clock = fx.platform.clock.addSecs(15);
    panel()->tick();
    EXPECT_EQ(panel()->lblRest->text(), QStringLiteral("休憩 1:30"));
    ASSERT_EQ(fx.platform.played.size(), 1u);
    EXPECT_TRUE(fx.platform.played[0].endsWith(QStringLiteral("/wav/start.wav")));
    EXPECT_FALSE(panel()->lblRest->styleSheet().isEmpty());  // red
    fx.platform.clock = fx.platform.clock.addSecs(1);
    panel()->tick();
    EXPECT_EQ(fx.platform.played.size(), 1u);

    // The rest length is kept for the next start.
    EXPECT_EQ(LoadRestLength(fx.layout.programFolder() + QStringLiteral("/rest_length.txt")), 90);

    // Another day: no clock, no timer; no described control changed by any of it.
    w->txtYmd->setText(QStringLiteral("2024/05/13"));
    EXPECT_FALSE(panel()->lblRest->isVisibleTo(w.get()));
    EXPECT_FALSE(panel()->restTimer->isActive());
    EXPECT_EQ(w->txtHMS[0]->text(), QString());
}

// A screen reader gets what the notice and the clock show, as they change.
TEST_F(LastSessionPanelTest, NoticeAndClockSpeakWhatTheyShow) {
    fx.layout.exec(QStringLiteral(
        "insert into t_exer values ('2024/05/14','02','01',1,'09:27:00','09:29:00',40,'kg',10,"
        "'回',null,null,'2','');"));
    panel()->cboRest->setCurrentIndex(panel()->cboRest->findData(90));
    pick(QStringLiteral("01"), QStringLiteral("01"));
    EXPECT_EQ(AccessibleName(panel()->lblRest), QStringLiteral("休憩 1:15"));
    fx.platform.clock = fx.platform.clock.addSecs(28);
    panel()->tick();
    EXPECT_EQ(AccessibleName(panel()->lblRest), QStringLiteral("休憩 1:43"));

    enterCountSet();
    w->txtTarget->setText(QStringLiteral("77.5"));
    w->txtCount->setText(QStringLiteral("1"));
    w->cmdInsert->click();
    // 77.5 × (1 + 1/30) = 80.08 < 88.67: the load only.
    EXPECT_EQ(panel()->lblNotice->text(), QStringLiteral("自己記録更新: 最大重量 77.5 kg"));
    EXPECT_EQ(AccessibleName(panel()->lblNotice), panel()->lblNotice->text());
    QAccessibleInterface* notice = QAccessible::queryAccessibleInterface(panel()->lblNotice);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(QAccessible::Description), QStringLiteral("自己記録の更新"));
    // Another exercise clears it, for the reader too.
    pick(QStringLiteral("01"), QStringLiteral("02"));
    EXPECT_FALSE(AccessibleName(panel()->lblNotice).contains(QStringLiteral("自己記録更新")));
}

}  // namespace
}  // namespace sorvenka::testing
