// "登録": numbering, the same-time warning, both forms, the refused date and the fields
// emptied for the next set, against a real database.
#include "entry_window_fixture.h"

namespace sorvenka::testing {
namespace {

class EntryInsert : public EntryWindowTest {
  protected:
    QString column(const QString& name, const QString& setNum,
                   const QString& where = QStringLiteral(
                       "ymd = '2024/05/14' and grp_cd = '01' and exer_cd = '01'")) const {
        return scalar(QStringLiteral("select ifnull(%1, 'NULL') from t_exer where %2 and "
                                     "set_num = %3")
                          .arg(name, where, setNum));
    }
    QString setNumbers() const {
        return scalar(
            QStringLiteral("select group_concat(set_num, ',') from (select set_num "
                           "from t_exer where grp_cd = '01' and exer_cd = '01' "
                           "order by set_num)"));
    }
};

TEST_F(EntryInsert, FirstSetIsNumberedOneAndTheNextTwo) {
    enterCountSet();
    w->setCommentText(QStringLiteral("一本目\r\nit's fine"));
    w->cmdInsert->click();
    EXPECT_TRUE(fx.platform.shown.empty());
    ASSERT_EQ(storedSets(), 1);
    EXPECT_EQ(column(QStringLiteral("hms_sta || '-' || hms_end"), QStringLiteral("1")),
              QStringLiteral("08:10:00-08:12:00"));
    EXPECT_EQ(column(QStringLiteral("target || unit_t"), QStringLiteral("1")),
              QStringLiteral("60.0kg"));
    EXPECT_EQ(column(QStringLiteral("cnt || unit"), QStringLiteral("1")), QStringLiteral("10回"));
    EXPECT_EQ(column(QStringLiteral("cnt_min"), QStringLiteral("1")), QStringLiteral("NULL"));
    EXPECT_EQ(column(QStringLiteral("sweat_cd"), QStringLiteral("1")), QStringLiteral("2"));
    EXPECT_EQ(column(QStringLiteral("comment"), QStringLiteral("1")),
              QStringLiteral("一本目\r\nit's fine"));
    // The list shows it at once.
    EXPECT_GE(recordRow({kToday, QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("1")}),
              0);

    enterCountSet();
    w->cmdInsert->click();
    EXPECT_EQ(setNumbers(), QStringLiteral("1,2"));
    EXPECT_GE(recordRow({kToday, QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("2")}),
              0);
}

TEST_F(EntryInsert, SuccessEmptiesThePerSetFieldsOnly) {
    enterCountSet();
    w->setCommentText(QStringLiteral("メモ"));
    w->txtWeekNum->setFocus();
    w->cmdInsert->click();
    ASSERT_EQ(storedSets(), 1);

    EXPECT_EQ(w->txtHMS[0]->text(), QString());
    EXPECT_EQ(w->txtHMS[1]->text(), QString());
    EXPECT_EQ(w->txtCount->text(), QString());
    EXPECT_EQ(w->txtCountMin->text(), QString());
    EXPECT_EQ(w->txtCountSec->text(), QString());
    EXPECT_EQ(w->commentText(), QString());
    EXPECT_EQ(MainWindow::selectedRow(w->lstSweat), -1);
    // Kept for the next set of the same exercise.
    EXPECT_EQ(w->txtYmd->text(), kToday);
    EXPECT_EQ(MainWindow::selectedText(w->lstGrp), QStringLiteral("01 胸"));
    EXPECT_EQ(MainWindow::selectedText(w->lstExer), QStringLiteral("01 ベンチプレス"));
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("60"));
    EXPECT_EQ(MainWindow::selectedText(w->lstUnitTarget), QStringLiteral("kg"));
    EXPECT_EQ(MainWindow::selectedText(w->lstUnit), QStringLiteral("回"));
    EXPECT_EQ(w->focusWidget(), w->txtWeekNum);  // the focus stays where it was
    // Insertion changes no button's state.
    EXPECT_TRUE(w->cmdInsert->isEnabled());
    EXPECT_FALSE(w->cmdUpdate->isEnabled());
    EXPECT_FALSE(w->cmdDelete->isEnabled());
}

TEST_F(EntryInsert, NumberingContinuesAfterTheHighestRemainingSet) {
    for (int i = 0; i < 3; ++i) {
        enterCountSet();
        w->txtHMS[0]->clear();  // no same-time warning between them
        w->txtHMS[1]->clear();
        w->cmdInsert->click();
    }
    ASSERT_EQ(setNumbers(), QStringLiteral("1,2,3"));
    fx.layout.exec(QStringLiteral("delete from t_exer where set_num = 2"));

    enterCountSet();
    w->txtHMS[0]->clear();
    w->txtHMS[1]->clear();
    w->cmdInsert->click();
    EXPECT_EQ(setNumbers(), QStringLiteral("1,3,4"));
    // Numbering is per day, group and exercise: another exercise starts at 1.
    enterCountSet();
    pick(QStringLiteral("01"), QStringLiteral("02"));
    w->txtHMS[0]->clear();
    w->txtHMS[1]->clear();
    w->cmdInsert->click();
    EXPECT_EQ(scalar(QStringLiteral("select set_num from t_exer where exer_cd = '02'")),
              QStringLiteral("1"));
}

TEST_F(EntryInsert, SameTimeWarningCancelStoresNothingAndKeepsEverything) {
    // A set of another group and exercise that day starting at the same time.
    fx.layout.exec(QStringLiteral(
        "insert into t_exer values('2024/05/14','03','01',1,'08:10:00','08:11:00',80,'kg',5,"
        "'回',null,null,'3','')"));
    enterCountSet();
    w->setCommentText(QStringLiteral("残す"));
    const EntryState before(*w);
    fx.platform.answers = {Answer::Cancel};
    w->cmdInsert->click();

    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(fx.platform.shown[0].text,
              QStringLiteral("開始時刻が一致のレコードが既存です。\r\n\r\n登録しますか？"));
    EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(storedSets(), 1);
    EXPECT_EQ(EntryState(*w), before);

    fx.platform.answers = {Answer::Ok};
    w->cmdInsert->click();
    EXPECT_EQ(fx.platform.shown.size(), 2u);
    EXPECT_EQ(storedSets(), 2);
    EXPECT_EQ(column(QStringLiteral("comment"), QStringLiteral("1")), QStringLiteral("残す"));
}

TEST_F(EntryInsert, FinishTimeClashWarnsWithItsOwnText) {
    fx.layout.exec(QStringLiteral(
        "insert into t_exer values('2024/05/14','03','01',1,'07:00:00','08:12:00',80,'kg',5,"
        "'回',null,null,'3','')"));
    enterCountSet();
    fx.platform.answers = {Answer::Cancel};
    w->cmdInsert->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(fx.platform.shown[0].text,
              QStringLiteral("終了時刻が一致のレコードが既存です。\r\n\r\n登録しますか？"));
    EXPECT_EQ(storedSets(), 1);
}

TEST_F(EntryInsert, DurationFormAndEmptyLoad) {
    enterCountSet();
    w->txtTarget->clear();  // an empty load is stored as 0
    w->txtCount->clear();
    w->txtCountMin->setText(QStringLiteral("2"));
    w->txtCountSec->setText(QStringLiteral("05"));
    w->cmdInsert->click();
    ASSERT_EQ(storedSets(), 1) << (fx.platform.shown.empty()
                                       ? std::string()
                                       : fx.platform.shown[0].text.toStdString());
    EXPECT_EQ(column(QStringLiteral("typeof(target) || ' ' || target"), QStringLiteral("1")),
              QStringLiteral("real 0.0"));
    EXPECT_EQ(column(QStringLiteral("cnt"), QStringLiteral("1")), QStringLiteral("NULL"));
    EXPECT_EQ(column(QStringLiteral("cnt_min || ':' || cnt_sec"), QStringLiteral("1")),
              QStringLiteral("2:5"));

    // Seconds alone: empty minutes, stored without a number of minutes.
    enterCountSet();
    w->txtHMS[0]->clear();
    w->txtHMS[1]->clear();
    w->txtCount->clear();
    w->txtCountSec->setText(QStringLiteral("30"));
    w->cmdInsert->click();
    ASSERT_EQ(storedSets(), 2);
    EXPECT_EQ(column(QStringLiteral("ifnull(cnt_min, 'NULL') || ':' || cnt_sec || ':' || "
                                    "ifnull(cnt, 'NULL')"),
                     QStringLiteral("2")),
              QStringLiteral("NULL:30:NULL"));
    EXPECT_EQ(column(QStringLiteral("target"), QStringLiteral("2")), QStringLiteral("60.0"));
}

// The date is typed freely: only a real day in the yyyy/mm/dd form may be stored.
TEST_F(EntryInsert, DateThatIsNoDayIsRefused) {
    for (const QString& ymd : {QStringLiteral("2024/02/30"), QStringLiteral("2024/5/14"),
                               QStringLiteral("2024/05/1'"), QString()}) {
        SCOPED_TRACE(ymd.toStdString());
        fx.platform.shown.clear();
        enterCountSet();
        w->txtYmd->setText(ymd);
        w->cmdFile->setFocus();
        const EntryState before(*w);
        w->cmdInsert->click();
        ASSERT_EQ(fx.platform.shown.size(), 1u);
        EXPECT_EQ(fx.platform.shown[0].text,
                  QStringLiteral("日付をyyyy/mm/ddの形で正しく入力してください"));
        EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::Ok);
        EXPECT_EQ(w->focusWidget(), w->txtYmd);
        EXPECT_EQ(storedSets(), 0);
        EXPECT_EQ(EntryState(*w), before);
    }
}

// The entry is validated before the date: a wrong entry gets its own message first.
TEST_F(EntryInsert, EntryIsValidatedBeforeTheDate) {
    enterCountSet();
    w->txtYmd->setText(QStringLiteral("2024/02/30"));
    w->txtCount->setText(QStringLiteral("x"));
    w->cmdInsert->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(fx.platform.shown[0].text, QStringLiteral("回数を数字で入力してください"));
    EXPECT_EQ(w->focusWidget(), w->txtCount);
    EXPECT_EQ(storedSets(), 0);
}

// A value that the record writes refuse (here a count unit holding a quote, edited into the
// masters by hand) is reported and nothing is stored.
class EntryInsertRefused : public EntryWindowTest {
  protected:
    void SetUp() override { open(QStringLiteral("insert into m_unit values('回''', 1, 9)")); }
};

TEST_F(EntryInsertRefused, RefusedValueIsShownAndNothingIsStored) {
    enterCountSet();
    pickItem(w->lstUnit, QStringLiteral("回'"));
    const EntryState before(*w);
    w->cmdInsert->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_TRUE(fx.platform.shown[0].text.contains(QStringLiteral("unit")))
        << fx.platform.shown[0].text.toStdString();
    EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(storedSets(), 0);
    EXPECT_EQ(EntryState(*w), before);
}

}  // namespace
}  // namespace sorvenka::testing
