// Clicks on the window's lists with the mouse: a click on the selected item runs the list's
// click as any click does, and neither Ctrl+click nor Ctrl+Space can empty a list.
#include <QTest>

#include "entry_window_fixture.h"

namespace sorvenka::testing {
namespace {

// The left button on the middle of a row, as the user clicks it.
void ClickRow(QAbstractItemView* list, int row, Qt::KeyboardModifiers modifiers = {}) {
    ASSERT_GE(row, 0);
    const QModelIndex item = list->model()->index(row, 0);
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualRect(item).center());
}

class ListClicks : public EntryWindowTest {
  protected:
    // Every stored row with every column quoted (NULL stays NULL), in key order.
    QString rows() const {
        return scalar(QStringLiteral(
            "select group_concat(line, char(10)) from (select quote(ymd)||quote(grp_cd)||"
            "quote(exer_cd)||quote(set_num)||quote(hms_sta)||quote(hms_end)||quote(target)||"
            "quote(unit_t)||quote(cnt)||quote(unit)||quote(cnt_min)||quote(cnt_sec)||"
            "quote(sweat_cd)||quote(comment) as line from t_exer "
            "order by ymd, grp_cd, exer_cd, set_num)"));
    }
    void SetUp() override {
        EntryWindowTest::SetUp();
        fx.layout.exec(QStringLiteral(
            "insert into t_exer values"
            "('2024/05/14','01','01',1,'08:10:00','08:12:00',60,'kg',10,'回',null,null,'2',"
            "'フォーム良し')"));
        w->RefreshRecordList();
    }
    // A set stored behind the window's back: listed only after a rebuild.
    void storeUnlistedSet() {
        fx.layout.exec(QStringLiteral(
            "insert into t_exer values"
            "('2024/05/14','01','01',2,'08:20:00','08:22:00',7.5,'kg',8,'回',null,null,'1','')"));
    }
    static RecordKey Set(const char* setNum) {
        return {kToday, QStringLiteral("01"), QStringLiteral("01"), QString::fromLatin1(setNum)};
    }
};

// After an edit, a click on the line of the loaded set brings the stored set back.
TEST_F(ListClicks, ClickOnTheSelectedRecordLineLoadsTheStoredSetAgain) {
    ClickRow(w->lstRecord, recordRow(Set("1")));
    ASSERT_EQ(w->txtCount->text(), QStringLiteral("10"));
    const EntryState loaded(*w);

    w->txtTarget->setText(QStringLiteral("80"));
    w->txtHMS[0]->clear();
    w->txtCount->setText(QStringLiteral("3"));
    pickItem(w->lstUnitTarget, QStringLiteral("lb"));
    pickItem(w->lstSweat, QStringLiteral("4 大量"));
    w->setCommentText(QStringLiteral("書き換え"));
    ASSERT_NE(EntryState(*w), loaded);

    ClickRow(w->lstRecord, MainWindow::selectedRow(w->lstRecord));
    EXPECT_EQ(EntryState(*w), loaded);
}

// A click on the selected group, exercise or range runs that list's click: with a range that
// rebuilds, a set stored meanwhile appears.
TEST_F(ListClicks, ClickOnTheSelectedItemRunsTheListsClick) {
    const struct {
        const char* list;
        QListWidget* MainWindow::*member;
        int range;
    } cases[] = {
        {"lstGrp", &MainWindow::lstGrp, 1},
        {"lstExer", &MainWindow::lstExer, 2},
        {"lstRange", &MainWindow::lstRange, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        fx.layout.exec(QStringLiteral("delete from t_exer where set_num = 2"));
        pick(QStringLiteral("01"), QStringLiteral("01"));
        MainWindow::selectRow(w->lstRange, c.range);
        storeUnlistedSet();
        ASSERT_LT(recordRow(Set("2")), 0);

        QListWidget* list = (*w).*c.member;
        ClickRow(list, MainWindow::selectedRow(list));
        EXPECT_GE(recordRow(Set("2")), 0);
    }
    // The group's click refills the exercises, as a click on another group would.
    pick(QStringLiteral("01"), QStringLiteral("02"));
    ClickRow(w->lstGrp, MainWindow::selectedRow(w->lstGrp));
    EXPECT_EQ(MainWindow::selectedRow(w->lstExer), -1);
    EXPECT_EQ(w->lstExer->count(), 4);
}

// The user cannot take the selection away from any list; the no-selection behaviour never
// runs (the exercises stay listed, the range stays, the loaded set stays loaded).
TEST_F(ListClicks, CtrlClickAndCtrlSpaceLeaveEveryListSelected) {
    // Space also searches the lines by their first character; with comments hidden the set's
    // line is the only one that begins with a blank.
    w->optComment[0]->click();
    pickItem(w->lstRange, QStringLiteral("1 指定グループ"));
    ClickRow(w->lstRecord, recordRow(Set("1")));

    QAbstractItemView* const lists[] = {w->lstGrp,   w->lstExer,  w->lstUnitTarget, w->lstUnit,
                                        w->lstSweat, w->lstRange, w->lstRecord};
    const struct {
        const char* name;
        std::function<void(QAbstractItemView*)> act;
    } gestures[] = {
        {"Ctrl+click",
         [](QAbstractItemView* list) {
             ClickRow(list, MainWindow::selectedRow(list), Qt::ControlModifier);
         }},
        {"Ctrl+Space",
         [](QAbstractItemView* list) {
             list->setFocus();
             QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
         }},
        {"click below the items",
         [](QAbstractItemView* list) {
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                               QPoint(5, list->viewport()->height() - 2));
         }},
    };
    for (const auto& gesture : gestures) {
        for (QAbstractItemView* list : lists) {
            SCOPED_TRACE(std::string(gesture.name) + " on " +
                         MainWindow::selectedText(list).toStdString());
            // Each list from the state of a loaded set: the clicks of the group and the range
            // take the selections of the exercise and the record line away, as they should.
            ClickRow(w->lstRecord, recordRow(Set("1")));
            const int selected = MainWindow::selectedRow(list);
            ASSERT_GE(selected, 0);
            gesture.act(list);
            EXPECT_EQ(MainWindow::selectedRow(list), selected);
        }
        EXPECT_EQ(w->lstExer->count(), 4);
        EXPECT_EQ(MainWindow::selectedText(w->lstRange), QStringLiteral("1 指定グループ"));
        EXPECT_TRUE(w->cmdUpdate->isEnabled());
        EXPECT_EQ(w->txtCount->text(), QStringLiteral("10"));
    }
    EXPECT_TRUE(fx.platform.shown.empty());
}

// Loading a set leaves the same controls whatever was shown before, so that an unchanged
// "更新" stores the set as it was: a duration set loaded after one with the same seconds, or
// loaded again by a click on its line, has no count unit; loads far from 1 read back as
// typed.
TEST_F(ListClicks, UnchangedUpdateAfterALoadStoresTheSetAsItWas) {
    fx.layout.exec(QStringLiteral(
        "delete from t_exer;"
        "insert into t_exer values"
        "('2024/05/14','06','01',1,'07:00:00','07:25:07',0,'kg',null,'',25,7,'1','一本目'),"
        "('2024/05/14','06','01',2,'07:30:00','07:55:07',0,'kg',null,'',25,7,'2','二本目'),"
        "('2024/05/14','01','01',1,'08:10:00','08:12:00',0.00005,'kg',10,'回',null,null,'2',''),"
        "('2024/05/14','01','01',2,'08:20:00','08:22:00',100000000000000000000,'kg',10,'回',"
        "null,null,'2','')"));
    w->RefreshRecordList();
    const auto key = [](const char* grp, const char* setNum) {
        return RecordKey{kToday, QString::fromLatin1(grp), QStringLiteral("01"),
                         QString::fromLatin1(setNum)};
    };
    const struct {
        const char* name;
        std::vector<RecordKey> clicks;  // the lines clicked in turn; the last one is updated
    } cases[] = {
        {"duration after a duration of the same seconds", {key("06", "1"), key("06", "2")}},
        {"duration clicked again", {key("06", "1"), key("06", "1")}},
        {"count after the duration", {key("06", "2"), key("01", "1")}},
        {"tiny load", {key("01", "1")}},
        {"huge load", {key("01", "2")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString before = rows();
        for (const RecordKey& line : c.clicks) ClickRow(w->lstRecord, recordRow(line));
        if (c.clicks.back().grp_cd == QStringLiteral("06")) {
            EXPECT_EQ(MainWindow::selectedRow(w->lstUnit), -1);
        }
        fx.platform.shown.clear();
        w->cmdUpdate->click();  // the question is answered Yes
        ASSERT_EQ(fx.platform.shown.size(), 1u) << fx.platform.shown[0].text.toStdString();
        EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::YesNo);
        EXPECT_EQ(rows(), before);
    }
}

}  // namespace
}  // namespace sorvenka::testing
