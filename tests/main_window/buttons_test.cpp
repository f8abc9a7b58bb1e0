// The small buttons: current time, zero, week count, the unit clearing by seconds, the shell
// opens and quit.
#include <QFile>

#include "entry_window_fixture.h"

namespace sorvenka::testing {
namespace {

class SmallButtons : public EntryWindowTest {
  protected:
    // A set stored behind the window's back: it shows in the list only after a rebuild.
    void storeUnlistedSet() {
        fx.layout.exec(
            QStringLiteral(
                "insert into t_exer values('%1','01','01',1,'08:10:00','08:12:00',60,'kg',10,'回',"
                "null,null,'2','')")
                .arg(w->txtYmd->text()));
    }
    bool listed() const {
        return recordRow({w->txtYmd->text(), QStringLiteral("01"), QStringLiteral("01"),
                          QStringLiteral("1")}) >= 0;
    }
};

TEST_F(SmallButtons, NowPutsTheTimeEmptiesTheCountAndFocusesIt) {
    fx.platform.clock = QDateTime(QDate(2024, 5, 14), QTime(7, 5, 9));
    w->txtCount->setText(QStringLiteral("12"));
    w->txtHMS[0]->setText(QStringLiteral("06:00:00"));
    w->cmdNow[1]->click();
    EXPECT_EQ(w->txtHMS[1]->text(), QStringLiteral("07:05:09"));
    EXPECT_EQ(w->txtHMS[0]->text(), QStringLiteral("06:00:00"));
    EXPECT_EQ(w->txtCount->text(), QString());
    EXPECT_EQ(w->focusWidget(), w->txtCount);

    fx.platform.clock = QDateTime(QDate(2024, 5, 14), QTime(23, 59, 59));
    w->cmdFile->setFocus();
    w->cmdNow[0]->click();
    EXPECT_EQ(w->txtHMS[0]->text(), QStringLiteral("23:59:59"));
    EXPECT_EQ(w->focusWidget(), w->txtCount);
}

TEST_F(SmallButtons, ZeroButtonsFillTheirOwnFieldOnly) {
    w->txtTarget->setText(QStringLiteral("60"));
    w->txtCount->setText(QStringLiteral("10"));
    w->cmdZero[0]->click();
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("0"));
    EXPECT_EQ(w->txtCount->text(), QStringLiteral("10"));
    w->txtTarget->setText(QStringLiteral("60"));
    w->cmdZero[1]->click();
    EXPECT_EQ(w->txtCount->text(), QStringLiteral("0"));
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("60"));
}

TEST_F(SmallButtons, WeekCountStepsAndTheListIsRebuiltInEveryCase) {
    struct Case {
        const char* before;
        int button;  // 0 "<", 1 ">"
        const char* after;
    };
    const Case cases[] = {
        {"1", 1, "2"},
        {"2", 0, "1"},
        {"1", 0, "1"},
        {"007", 1, "8"},
        {"0", 0, "0"},
        {"abc", 1, "abc"},
        {"", 0, ""},
        {"-2", 1, "-2"},
        {"2147483647", 1, "2147483648"},  // beyond a 32-bit count, stepped as text
        {"2147483648", 0, "2147483647"},
    };
    // An early last day keeps the period of a huge count short.
    w->txtYmd->setText(QStringLiteral("0001/01/10"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        fx.layout.exec(QStringLiteral("delete from t_exer"));
        w->txtWeekNum->setText(QString::fromUtf8(c.before));
        w->RefreshRecordList();
        storeUnlistedSet();
        ASSERT_FALSE(listed());
        w->cmdInc[c.button]->click();
        EXPECT_EQ(w->txtWeekNum->text(), QString::fromUtf8(c.after));
        // The rebuild shows the set stored meanwhile; a count that is no number lists nothing.
        const bool isCount = QString::fromUtf8(c.after).toLongLong() > 0;
        EXPECT_EQ(listed(), isCount);
        EXPECT_EQ(w->lstRecord->count() > 0, isCount);
    }
}

// A rebuild without a number still happens: the old lines go.
TEST_F(SmallButtons, WeekCountThatIsNoNumberStillRebuilds) {
    storeUnlistedSet();
    w->RefreshRecordList();
    ASSERT_TRUE(listed());
    w->txtWeekNum->setText(QStringLiteral("x"));
    w->cmdInc[1]->click();
    EXPECT_EQ(w->txtWeekNum->text(), QStringLiteral("x"));
    EXPECT_EQ(w->lstRecord->count(), 0);
}

TEST_F(SmallButtons, TypedSecondsDeselectTheCountUnit) {
    pickItem(w->lstUnit, QStringLiteral("歩"));
    w->txtCountSec->setText(QString());  // an empty text changes nothing
    EXPECT_EQ(MainWindow::selectedText(w->lstUnit), QStringLiteral("歩"));
    w->txtCountSec->setFocus();
    w->txtCountSec->insert(QStringLiteral("3"));
    EXPECT_EQ(MainWindow::selectedRow(w->lstUnit), -1);
    w->txtCountSec->backspace();
    EXPECT_EQ(w->txtCountSec->text(), QString());
    EXPECT_EQ(MainWindow::selectedRow(w->lstUnit), -1);  // does not come back
}

TEST_F(SmallButtons, LoadingADurationSetDeselectsTheCountUnit) {
    fx.layout.exec(QStringLiteral(
        "insert into t_exer values('2024/05/14','06','01',1,'','',0,'kg',null,'',1,30,'1','')"));
    w->RefreshRecordList();
    pickItem(w->lstUnit, QStringLiteral("回"));
    selectRecord({kToday, QStringLiteral("06"), QStringLiteral("01"), QStringLiteral("1")});
    EXPECT_EQ(w->txtCountSec->text(), QStringLiteral("30"));
    EXPECT_EQ(MainWindow::selectedRow(w->lstUnit), -1);
}

TEST_F(SmallButtons, OpenButtonsOpenTheDatabaseAndTheHelpPage) {
    w->cmdOpen[0]->click();
    w->cmdOpen[2]->click();
    w->cmdOpen_Click(1);  // never visible: nothing
    EXPECT_EQ(fx.platform.opened,
              (std::vector<QString>{fx.layout.base() + QStringLiteral("/db/exercise.sqlite3"),
                                    fx.layout.base() + QStringLiteral("/htm/index.htm")}));
    EXPECT_FALSE(w->cmdOpen[1]->isVisible());
    EXPECT_TRUE(fx.platform.shown.empty());
}

TEST_F(SmallButtons, QuitClosesTheDatabaseAndEndsTheProgram) {
    const EndedRun run = RunExpectingEnd(fx.platform, [&] { w->cmdEnd->click(); });
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.shown.empty());
    QFile log(fx.layout.programFolder() + QStringLiteral("/Valdrome_log.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("SQLite3Close"));
}

}  // namespace
}  // namespace sorvenka::testing
