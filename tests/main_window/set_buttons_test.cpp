// 開始 and 完了して登録: the clock into the start or the finish, the day's last sweat level, and
// 登録 run as its own button runs it, against a real database.
#include "entry_window_fixture.h"
#include "last_session_window/last_session_panel.h"

namespace sorvenka::testing {
namespace {

class SetButtons : public EntryWindowTest {
  protected:
    // The sets stored today before the window opens, in the order given.
    void openWithDay(const QStringList& sweatCodes) {
        QString sql;
        int setNum = 0;
        for (const QString& sweat : sweatCodes) {
            ++setNum;
            sql += QStringLiteral(
                       "insert into t_exer values ('2024/05/14', '03', '01', %1, '08:%2:00', "
                       "'08:%2:30', 100, 'kg', 5, '回', null, null, %3, null);")
                       .arg(setNum)
                       .arg(10 + setNum)
                       .arg(sweat.isEmpty() ? QStringLiteral("null") : "'" + sweat + "'");
        }
        w.reset();
        open(sql);
    }
    int storedBench() const {
        return scalar(QStringLiteral("select count(*) from t_exer where grp_cd = '01'")).toInt();
    }
};

TEST_F(SetButtons, StartPutsTheClockIntoTheStartAndLeavesTheRestAlone) {
    enterCountSet();
    w->txtHMS[0]->clear();
    w->txtHMS[1]->clear();
    const EntryState before(*w);
    w->cmdStartSet->click();
    EXPECT_EQ(w->txtHMS[0]->text(), QStringLiteral("09:30:15"));
    EntryState after(*w);
    after.start.clear();
    EXPECT_EQ(after, before);  // the count survives, unlike with 現在時刻
    EXPECT_TRUE(fx.platform.shown.empty());
    EXPECT_EQ(storedSets(), 0);
}

TEST_F(SetButtons, FinishStoresTheSetWithTheClockAsItsFinish) {
    enterCountSet();
    w->txtHMS[1]->clear();
    w->cmdFinishInsert->click();
    EXPECT_TRUE(fx.platform.shown.empty());
    ASSERT_EQ(storedSets(), 1);
    EXPECT_EQ(scalar(QStringLiteral("select hms_sta || '-' || hms_end || ' ' || cnt || sweat_cd "
                                    "from t_exer")),
              QStringLiteral("08:10:00-09:30:15 102"));
    // The state 登録 leaves: per-set fields empty, the exercise and load kept, listed at once.
    EXPECT_EQ(w->txtHMS[1]->text(), QString());
    EXPECT_EQ(w->txtCount->text(), QString());
    EXPECT_EQ(MainWindow::selectedRow(w->lstSweat), -1);
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("60"));
    EXPECT_GE(recordRow({kToday, QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("1")}),
              0);
    // The rest clock runs from that finish.
    EXPECT_TRUE(w->lastSessionPanel->lblRest->isVisibleTo(w.get()));
    EXPECT_EQ(w->lastSessionPanel->lblRest->text(), QStringLiteral("休憩 0:00"));
    fx.platform.clock = fx.platform.clock.addSecs(75);
    w->lastSessionPanel->tick();
    EXPECT_EQ(w->lastSessionPanel->lblRest->text(), QStringLiteral("休憩 1:15"));
}

TEST_F(SetButtons, FinishTakesTheSweatLevelLastStoredThatDayWhenNoneIsChosen) {
    struct Case {
        const char* name;
        QStringList daySweats;  // sweat codes of the day's sets, stored in this order
        QString chosen;         // the level chosen before the click, "" for none
        QString stored;         // the set's stored level, "" for nothing stored
    };
    const Case cases[] = {
        {"the last stored, not the highest", {"3", "1"}, "", "1"},
        {"a set without a level is passed over", {"3", ""}, "", "3"},
        {"a chosen level stays", {"3"}, "2 普通", "2"},
        {"no set that day: 登録's own message", {}, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openWithDay(c.daySweats);
        enterCountSet();
        pickItem(w->lstSweat, c.chosen);
        w->cmdFinishInsert->click();
        if (c.stored.isEmpty()) {
            ASSERT_EQ(fx.platform.shown.size(), 1u);
            EXPECT_EQ(fx.platform.shown[0].text, QStringLiteral("発汗状況を選択してください"));
            EXPECT_EQ(storedBench(), 0);
            EXPECT_EQ(w->txtHMS[1]->text(), QStringLiteral("09:30:15"));  // as the checks left it
            EXPECT_EQ(w->focusWidget(), w->lstSweat);
        } else {
            EXPECT_TRUE(fx.platform.shown.empty());
            EXPECT_EQ(scalar(QStringLiteral("select sweat_cd from t_exer where grp_cd = '01'")),
                      c.stored);
        }
        fx.platform.shown.clear();
        fx.layout.exec(QStringLiteral("delete from t_exer;"));
    }
}

TEST_F(SetButtons, FinishRunsTheChecksAndTheSameTimeQuestionOf登録) {
    // A count that is not a number: 登録's message, nothing stored.
    enterCountSet();
    w->txtCount->setText(QStringLiteral("ten"));
    w->cmdFinishInsert->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(fx.platform.shown[0].text, QStringLiteral("回数を数字で入力してください"));
    EXPECT_EQ(storedSets(), 0);

    // Another set of the day finished at the same second: asked, and Cancel stores nothing.
    fx.platform.shown.clear();
    fx.layout.exec(QStringLiteral(
        "insert into t_exer values ('2024/05/14', '03', '01', 1, '09:29:00', '09:30:15', 100, "
        "'kg', 5, '回', null, null, '2', null);"));
    enterCountSet();
    fx.platform.answers.push_back(Answer::Cancel);
    w->cmdFinishInsert->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(storedBench(), 0);
    EXPECT_EQ(w->txtCount->text(), QStringLiteral("10"));  // nothing emptied
}

}  // namespace
}  // namespace sorvenka::testing
