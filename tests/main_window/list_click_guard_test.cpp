// The list behaviour every list of the window shares, on a bare list: a click on the selected
// item is a click, and only the program can empty the list.
#include "main_window/list_click_guard.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>
#include <functional>

namespace sorvenka::testing {
namespace {

// Three items with the middle one selected, the guard installed, and every click counted as
// the window counts it: a change of the selection or a click on the selected item.
class GuardedList : public ::testing::Test {
  protected:
    GuardedList() {
        list.setSelectionMode(QAbstractItemView::SingleSelection);
        list.setGeometry(0, 0, 200, 120);
        ListClickGuard* guard = ListClickGuard::install(&list);
        list.addItems(Items());
        list.setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        list.show();
        QObject::connect(&list, &QListWidget::itemSelectionChanged, [this] { ++clicks; });
        QObject::connect(guard, &ListClickGuard::selectedItemClicked, [this] { ++clicks; });
        list.setFocus();
    }

    static QStringList Items() {
        return {QStringLiteral("01 胸"), QStringLiteral("02 背中"), QStringLiteral("03 脚")};
    }
    int selectedRow() const {
        const QList<QListWidgetItem*> items = list.selectedItems();
        return items.isEmpty() ? -1 : list.row(items.first());
    }
    QPoint centreOf(int row) const { return list.visualItemRect(list.item(row)).center(); }

    QListWidget list;
    int clicks = 0;
};

struct Action {
    const char* name;
    std::function<void(QListWidget&, QPoint selected, QPoint other)> act;
    int clicks;       // how often the list's click behaviour runs
    int selectedRow;  // the selection afterwards (row 1 was selected, row 2 is the other)
};

const Action kActions[] = {
    // The user's mouse.
    {"click on another item",
     [](QListWidget& l, QPoint, QPoint other) {
         QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, other);
     },
     1, 2},
    {"click on the selected item",
     [](QListWidget& l, QPoint selected, QPoint) {
         QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, selected);
     },
     1, 1},
    {"Ctrl+click on the selected item",
     [](QListWidget& l, QPoint selected, QPoint) {
         QTest::mouseClick(l.viewport(), Qt::LeftButton, Qt::ControlModifier, selected);
     },
     1, 1},
    {"Ctrl+click on another item",
     [](QListWidget& l, QPoint, QPoint other) {
         QTest::mouseClick(l.viewport(), Qt::LeftButton, Qt::ControlModifier, other);
     },
     1, 2},
    {"right click on the selected item",
     [](QListWidget& l, QPoint selected, QPoint) {
         QTest::mouseClick(l.viewport(), Qt::RightButton, {}, selected);
     },
     0, 1},
    {"press on the selected item, release below the items",
     [](QListWidget& l, QPoint selected, QPoint) {
         QTest::mousePress(l.viewport(), Qt::LeftButton, {}, selected);
         QTest::mouseMove(l.viewport(), QPoint(selected.x(), 110));
         QTest::mouseRelease(l.viewport(), Qt::LeftButton, Qt::ControlModifier,
                             QPoint(selected.x(), 110));
     },
     1, 1},
    {"click below the items",
     [](QListWidget& l, QPoint selected, QPoint) {
         QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, QPoint(selected.x(), 110));
     },
     0, 1},
    {"Ctrl+click below the items",
     [](QListWidget& l, QPoint selected, QPoint) {
         QTest::mouseClick(l.viewport(), Qt::LeftButton, Qt::ControlModifier,
                           QPoint(selected.x(), 110));
     },
     0, 1},
    // The user's keyboard.
    {"Ctrl+Space on the selected item",
     [](QListWidget& l, QPoint, QPoint) {
         QTest::keyClick(&l, Qt::Key_Space, Qt::ControlModifier);
     },
     0, 1},
    {"Space on the selected item",
     [](QListWidget& l, QPoint, QPoint) { QTest::keyClick(&l, Qt::Key_Space); }, 0, 1},
    {"Down arrow", [](QListWidget& l, QPoint, QPoint) { QTest::keyClick(&l, Qt::Key_Down); }, 1, 2},
    // The program.
    {"clearSelection from code", [](QListWidget& l, QPoint, QPoint) { l.clearSelection(); }, 1, -1},
    {"another row from code",
     [](QListWidget& l, QPoint, QPoint) {
         l.setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
     },
     1, 0},
    {"the same row from code",
     [](QListWidget& l, QPoint, QPoint) {
         l.setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
     },
     0, 1},
    {"emptying the items from code", [](QListWidget& l, QPoint, QPoint) { l.clear(); }, 1, -1},
};

TEST_F(GuardedList, ClicksRunOnceAndOnlyTheProgramEmptiesTheList) {
    const QStringList items = Items();
    for (const Action& action : kActions) {
        SCOPED_TRACE(action.name);
        if (list.count() == 0) list.addItems(items);
        list.setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        clicks = 0;
        action.act(list, centreOf(1), centreOf(2));
        EXPECT_EQ(clicks, action.clicks);
        EXPECT_EQ(selectedRow(), action.selectedRow);
    }
}

}  // namespace
}  // namespace sorvenka::testing
