// Window start and the lists that choose what the record list shows.
#include "main_window/window_start.h"

#include <QGuiApplication>
#include <QScreen>

#include "support/program_version.h"
#include "window_fixture.h"

namespace sorvenka::testing {
namespace {

using WindowStartTest = WindowTest;

TEST_F(WindowStartTest, StateAtTheEndOfStartUp) {
    StoredSet set;
    set.ymd = QStringLiteral("2024/05/10");
    Store(env.layout, set);
    set.ymd = QStringLiteral("2023/12/31");
    Store(env.layout, set);
    startWindow();
    MainWindow& w = *window;

    EXPECT_EQ(env.platform.title(), QStringLiteral("Sorvenka"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sorvenka Valdrome ") + ExpectedVersionText() +
                                   QStringLiteral(" - ") + env.layout.dbPath());
    EXPECT_EQ(w.txtYmd->text(), QStringLiteral("2024/05/14"));
    EXPECT_EQ(w.lblWeekday->text(), QStringLiteral("火"));
    EXPECT_EQ(w.lblFirstDayTitle->text(), QStringLiteral("初めて記録した日"));
    EXPECT_EQ(w.lblFirstDay->text(), QStringLiteral("2023/12/31"));

    EXPECT_EQ(Items(w.lstGrp).value(0), QStringLiteral("01 胸"));
    EXPECT_EQ(Items(w.lstGrp).size(), 8);
    EXPECT_EQ(MainWindow::selectedRow(w.lstGrp), 0);
    EXPECT_EQ(
        Items(w.lstExer),
        QStringList({QStringLiteral("01 ベンチプレス"), QStringLiteral("02 ダンベルフライ"),
                     QStringLiteral("03 腕立て伏せ"), QStringLiteral("04 インクラインプレス")}));
    EXPECT_EQ(MainWindow::selectedRow(w.lstExer), -1);
    EXPECT_EQ(Items(w.lstUnit), QStringList({"回", "歩", "周"}));
    EXPECT_EQ(MainWindow::selectedText(w.lstUnit), QStringLiteral("回"));
    EXPECT_EQ(Items(w.lstUnitTarget), QStringList({"kg", "km", "m", "lb"}));
    EXPECT_EQ(MainWindow::selectedText(w.lstUnitTarget), QStringLiteral("kg"));
    EXPECT_EQ(Items(w.lstSweat).value(0), QStringLiteral("0 なし"));
    EXPECT_EQ(MainWindow::selectedRow(w.lstSweat), -1);
    EXPECT_EQ(Items(w.lstRange), QStringList({"0 すべて", "1 指定グループ", "2 指定種目"}));
    EXPECT_EQ(MainWindow::selectedRow(w.lstRange), 0);

    // The design texts are gone and the entry fields are empty.
    for (QLineEdit* box :
         {w.txtTarget, w.txtHMS[0], w.txtHMS[1], w.txtCount, w.txtCountMin, w.txtCountSec})
        EXPECT_TRUE(box->text().isEmpty());
    EXPECT_TRUE(w.txtComment->toPlainText().isEmpty());
    EXPECT_EQ(w.txtWeekNum->text(), QStringLiteral("1"));
    EXPECT_TRUE(w.optOrder[1]->isChecked());
    EXPECT_FALSE(w.optOrder[0]->isChecked());
    EXPECT_TRUE(w.optComment[1]->isChecked());
    EXPECT_FALSE(w.m_loadingRecord);
    EXPECT_EQ(w.focusWidget(), w.lstGrp);

    // All sets of the seven days ending today, newest first.
    EXPECT_EQ(DayLines(w.lstRecord),
              QStringList({"2024/05/14(火)", "2024/05/13(月)", "2024/05/12(日)", "2024/05/11(土)",
                           "2024/05/10(金)", "2024/05/09(木)", "2024/05/08(水)"}));
    EXPECT_EQ(w.lstRecord->count(), 8);
    EXPECT_NE(RowOfKey(w.lstRecord, QStringLiteral("2024/05/10,01,01,1")), -1);
    EXPECT_TRUE(MainWindow::selectedRow(w.lstRecord) < 0);
}

TEST_F(WindowStartTest, PlacedCentredFiftyPixelsFromTheTop) {
    startWindow();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->pos(), QPoint(screen.x() + (screen.width() - 1259) / 2, screen.y() + 50));
}

TEST_F(WindowStartTest, EmptyRecordTableShowsNoFirstDay) {
    startWindow();
    EXPECT_TRUE(window->lblFirstDay->text().isEmpty());
    EXPECT_TRUE(window->lblFirstDayTitle->text().isEmpty());
}

TEST_F(WindowStartTest, ActivationRunsOnlyAtTheFirstShowing) {
    startWindow();
    MainWindow::selectRow(window->lstRange, 2);
    MainWindow::selectRow(window->lstGrp, 3);
    window->hide();
    window->show();
    EXPECT_EQ(MainWindow::selectedRow(window->lstRange), 2);
    EXPECT_EQ(MainWindow::selectedRow(window->lstGrp), 3);
}

TEST_F(WindowStartTest, DateChangesOnlyWhenTheTextIsADay) {
    StoredSet old;
    old.ymd = QStringLiteral("2020/02/29");
    Store(env.layout, old);
    startWindow();
    MainWindow& w = *window;
    const QStringList before = Items(w.lstRecord);

    struct DateCase {
        QString text;
        bool isDay;
        QString weekday;
    };
    const DateCase cases[] = {
        {QStringLiteral("2021/02/29"), false, {}},  // no such day
        {QStringLiteral("2021/4/1"), false, {}},    // 8 characters
        {QStringLiteral("2021-04-01"), false, {}},  // "/" required
        {QStringLiteral("2021/13/01"), false, {}},
        {QStringLiteral("2020/02/29"), true, QStringLiteral("土")},
    };
    for (const DateCase& c : cases) {
        w.txtYmd->setText(c.text);
        if (!c.isDay) {
            EXPECT_EQ(w.lblWeekday->text(), QStringLiteral("火")) << c.text.toStdString();
            EXPECT_EQ(Items(w.lstRecord), before) << c.text.toStdString();
            continue;
        }
        EXPECT_EQ(w.lblWeekday->text(), c.weekday);
        EXPECT_EQ(DayLines(w.lstRecord).value(0), QStringLiteral("2020/02/29(土)"));
        EXPECT_NE(RowOfKey(w.lstRecord, QStringLiteral("2020/02/29,01,01,1")), -1);
    }

    // Typing character by character: the half-typed dates change nothing, the last one does.
    w.txtYmd->clear();
    for (const QChar c : QStringLiteral("2024/05/12")) {
        w.txtYmd->insert(QString(c));
        if (w.txtYmd->text().size() < 10) {
            EXPECT_EQ(w.lblWeekday->text(), QStringLiteral("土"));
        }
    }
    EXPECT_EQ(w.lblWeekday->text(), QStringLiteral("日"));
    EXPECT_EQ(DayLines(w.lstRecord).value(0), QStringLiteral("2024/05/12(日)"));
}

// Whether a change of group or exercise rebuilt the record list shows in a set stored behind
// the window's back: only a rebuild lists it.
TEST_F(WindowStartTest, GroupAndExerciseRebuildOnlyOutsideAllSets) {
    startWindow();
    MainWindow& w = *window;
    StoredSet set;
    set.grp_cd = QStringLiteral("02");
    Store(env.layout, set);
    const QString key = QStringLiteral("2024/05/14,02,01,1");

    MainWindow::selectRow(w.lstGrp, 1);  // 02 背中, range "0 すべて"
    EXPECT_EQ(Items(w.lstExer).value(0), QStringLiteral("01 懸垂"));
    EXPECT_EQ(MainWindow::selectedRow(w.lstExer), -1);
    EXPECT_EQ(RowOfKey(w.lstRecord, key), -1);
    MainWindow::selectRow(w.lstExer, 0);
    EXPECT_EQ(RowOfKey(w.lstRecord, key), -1);

    MainWindow::selectRow(w.lstRange, 1);  // the range's click rebuilds: the group's sets
    EXPECT_NE(RowOfKey(w.lstRecord, key), -1);

    set.grp_cd = QStringLiteral("01");
    Store(env.layout, set);
    MainWindow::selectRow(w.lstGrp, 0);  // with "1 指定グループ" the group's click rebuilds
    EXPECT_NE(RowOfKey(w.lstRecord, QStringLiteral("2024/05/14,01,01,1")), -1);
    EXPECT_EQ(RowOfKey(w.lstRecord, key), -1);

    MainWindow::selectRow(w.lstRange, 2);  // no exercise selected: day lines only
    EXPECT_EQ(w.lstRecord->count(), 7);
    MainWindow::selectRow(w.lstExer, 0);  // the exercise's click rebuilds
    EXPECT_EQ(w.lstRecord->count(), 8);
    MainWindow::selectRow(w.lstExer, 1);
    EXPECT_EQ(w.lstRecord->count(), 7);
}

TEST_F(WindowStartTest, RestDayFillsItsFields) {
    startWindow();
    MainWindow& w = *window;
    w.txtHMS[0]->setText(QStringLiteral("08:00:00"));
    w.txtTarget->setText(QStringLiteral("12"));
    MainWindow::selectRow(w.lstUnit, 2);
    MainWindow::selectRow(w.lstUnitTarget, 1);
    MainWindow::SelectItemByCode(w.lstGrp, QStringLiteral("99"));
    EXPECT_TRUE(w.txtCount->text().isEmpty());  // selecting the group alone changes nothing
    MainWindow::SelectItemByCode(w.lstExer, QStringLiteral("99"));

    EXPECT_EQ(w.txtTarget->text(), QStringLiteral("0"));
    EXPECT_EQ(w.txtCount->text(), QStringLiteral("0"));
    EXPECT_EQ(MainWindow::selectedRow(w.lstUnit), 0);
    EXPECT_EQ(MainWindow::selectedRow(w.lstSweat), 0);
    EXPECT_EQ(w.txtHMS[0]->text(), QStringLiteral("08:00:00"));
    EXPECT_EQ(MainWindow::selectedRow(w.lstUnitTarget), 1);

    // Another exercise of another group does nothing of the sort.
    w.txtCount->clear();
    MainWindow::selectRow(w.lstGrp, 0);
    MainWindow::selectRow(w.lstExer, 0);
    EXPECT_TRUE(w.txtCount->text().isEmpty());
}

TEST_F(WindowStartTest, RangeSelectionAlwaysRebuilds) {
    startWindow();
    MainWindow& w = *window;
    Store(env.layout, StoredSet());
    MainWindow::selectRow(w.lstRange, 0);  // already selected: no click, nothing rebuilt
    EXPECT_EQ(w.lstRecord->count(), 7);
    MainWindow::selectRow(w.lstRange, 1);
    EXPECT_EQ(w.lstRecord->count(), 8);
    Store(env.layout, [] {
        StoredSet s;
        s.set_num = QStringLiteral("2");
        return s;
    }());
    w.lstRange->clearSelection();  // no range selected lists all sets
    EXPECT_EQ(w.lstRecord->count(), 9);
}

TEST_F(WindowStartTest, FillListFromCsvReplacesWithoutAClick) {
    startWindow();
    MainWindow& w = *window;
    Store(env.layout, StoredSet());
    FillListFromCsv(w.lstRange, QStringLiteral("a,,b"));
    EXPECT_EQ(Items(w.lstRange), QStringList({"a", "", "b"}));
    EXPECT_EQ(MainWindow::selectedRow(w.lstRange), -1);
    EXPECT_EQ(w.lstRecord->count(), 7);  // not rebuilt
    FillListFromCsv(w.lstRange, QString());
    EXPECT_EQ(w.lstRange->count(), 0);
    FillListFromCsv(w.lstRange, QStringLiteral(" x , y"));
    EXPECT_EQ(Items(w.lstRange), QStringList({" x ", " y"}));
}

TEST_F(WindowStartTest, SelectItemByCodeTakesTheFirstMatch) {
    startWindow();
    MainWindow& w = *window;
    MainWindow::SelectItemByCode(w.lstGrp, QStringLiteral("05"));
    EXPECT_EQ(MainWindow::selectedText(w.lstGrp), QStringLiteral("05 腕"));
    MainWindow::SelectItemByCode(w.lstGrp, QStringLiteral("5"));  // no match: unchanged
    EXPECT_EQ(MainWindow::selectedText(w.lstGrp), QStringLiteral("05 腕"));
    MainWindow::SelectItemByCode(w.lstGrp, QString());  // the empty code matches the first
    EXPECT_EQ(MainWindow::selectedRow(w.lstGrp), 0);
    MainWindow::SelectItemByCode(w.lstUnit, QStringLiteral("周"));
    EXPECT_EQ(MainWindow::selectedText(w.lstUnit), QStringLiteral("周"));
}

}  // namespace
}  // namespace sorvenka::testing
