// The main window after data changed outside its entry controls (a master change, an import, a
// restore): lists refilled keeping the choice where it still exists, the first recorded day and
// the record list read again.
#include "main_window/window_fixture.h"

namespace sorvenka::testing {
namespace {

using DataReloadTest = WindowTest;

TEST_F(DataReloadTest, ListsFollowAndTheChoiceStaysWhereItExists) {
    startWindow();
    MainWindow::SelectItemByCode(window->lstGrp, QStringLiteral("02"));
    MainWindow::SelectItemByCode(window->lstExer, QStringLiteral("03"));
    struct Case {
        const char* what;
        QString change;
        QString group, exercise;  // the choice afterwards
        QString lastExercise;     // the last entry of lstExer
    };
    const Case cases[] = {
        {"renamed and added",
         QStringLiteral("update m_exer set exer_name = 'ロウ' where grp_cd = "
                        "'02' and exer_cd = '03'; insert into m_exer values "
                        "('02', '05', 'シュラッグ', 1, 5);"),
         QStringLiteral("02 背中"), QStringLiteral("03 ロウ"), QStringLiteral("05 シュラッグ")},
        {"the exercise hidden",
         QStringLiteral("update m_exer set status = 0 where exer_cd = '03';"),
         QStringLiteral("02 背中"), QString(), QStringLiteral("05 シュラッグ")},
        {"the group hidden", QStringLiteral("update m_grp set status = 0 where grp_cd = '02';"),
         QString(), QString(), QString()},
    };
    for (const Case& c : cases) {
        env.layout.exec(c.change);
        window->reloadAfterDataChange();
        EXPECT_EQ(MainWindow::selectedText(window->lstGrp), c.group) << c.what;
        EXPECT_EQ(MainWindow::selectedText(window->lstExer), c.exercise) << c.what;
        const QStringList exercises = Items(window->lstExer);
        EXPECT_EQ(exercises.isEmpty() ? QString() : exercises.last(), c.lastExercise) << c.what;
    }
    EXPECT_FALSE(Items(window->lstGrp).contains(QStringLiteral("02 背中")));
}

TEST_F(DataReloadTest, FirstDayAndRecordListReadAgain) {
    startWindow();
    EXPECT_EQ(window->lblFirstDay->text(), QString());
    EXPECT_EQ(window->lblFirstDayTitle->text(), QString());
    StoredSet set;
    set.ymd = QStringLiteral("2024/05/13");
    set.comment = QStringLiteral("imported");
    Store(env.layout, set);
    // The choice made before is kept through the refill without running its clicks: a chosen
    // rest day would otherwise fill the entry fields anew.
    MainWindow::SelectItemByCode(window->lstGrp, QStringLiteral("99"));
    MainWindow::SelectItemByCode(window->lstExer, QStringLiteral("99"));
    window->txtTarget->setText(QStringLiteral("12"));
    window->reloadAfterDataChange();
    EXPECT_EQ(window->lblFirstDay->text(), QStringLiteral("2024/05/13"));
    EXPECT_EQ(window->lblFirstDayTitle->text(), QStringLiteral("初めて記録した日"));
    EXPECT_GE(RowOfKey(window->lstRecord, QStringLiteral("2024/05/13,01,01,1")), 0);
    EXPECT_EQ(window->txtTarget->text(), QStringLiteral("12"));
}

}  // namespace
}  // namespace sorvenka::testing
