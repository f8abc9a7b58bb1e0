// The window from the keyboard: Tab onto a button and Return or Enter presses it, Return in a
// text box presses nothing, and the week count takes no input method.
#include <QInputMethodQueryEvent>
#include <QTest>
#include <functional>

#include "entry_window_fixture.h"
#include "window_fixture.h"

namespace sorvenka::testing {
namespace {

using Keyboard = EntryWindowTest;

struct Key {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};
const Key kPressKeys[] = {{"Return", Qt::Key_Return, Qt::NoModifier},
                          {"Enter", Qt::Key_Enter, Qt::KeypadModifier}};

TEST_F(Keyboard, TabThenReturnOrEnterPressesEachKindOfButton) {
    using Control = std::function<QWidget*(MainWindow&)>;
    const struct {
        const char* name;
        Control from;    // the control before the button in the tab order
        Control button;  // where Tab moves the focus
        std::function<void()> prepare;
        std::function<void()> check;
    } cases[] = {
        {"ｸﾘｱ of the load", [](MainWindow& m) { return m.txtTarget; },
         [](MainWindow& m) { return m.cmdClear[0]; },
         [&] { w->txtTarget->setText(QStringLiteral("60")); },
         [&] {
             EXPECT_EQ(w->txtTarget->text(), QString());
             EXPECT_EQ(QApplication::focusWidget(), w->txtTarget);
         }},
        {"0 of the load", [](MainWindow& m) { return m.cmdClear[0]; },
         [](MainWindow& m) { return m.cmdZero[0]; },
         [&] { w->txtTarget->setText(QStringLiteral("60")); },
         [&] { EXPECT_EQ(w->txtTarget->text(), QStringLiteral("0")); }},
        {"現在時刻 of the start", [](MainWindow& m) { return m.cmdClear[1]; },
         [](MainWindow& m) { return m.cmdNow[0]; }, [&] { w->txtHMS[0]->clear(); },
         [&] { EXPECT_EQ(w->txtHMS[0]->text(), QStringLiteral("09:30:15")); }},
        {"登録", [](MainWindow& m) { return m.txtComment; },
         [](MainWindow& m) { return m.cmdInsert; }, [&] { enterCountSet(); },
         [&] {
             EXPECT_EQ(storedSets(), 1);
             fx.layout.exec(QStringLiteral("delete from t_exer"));
         }},
        {">", [](MainWindow& m) { return m.cmdInc[0]; }, [](MainWindow& m) { return m.cmdInc[1]; },
         [&] { w->txtWeekNum->setText(QStringLiteral("1")); },
         [&] {
             EXPECT_EQ(w->txtWeekNum->text(), QStringLiteral("2"));
             EXPECT_EQ(DayLines(w->lstRecord).size(), 14);
         }},
        {"<", [](MainWindow& m) { return m.txtWeekNum; }, [](MainWindow& m) { return m.cmdInc[0]; },
         [&] { w->txtWeekNum->setText(QStringLiteral("3")); },
         [&] { EXPECT_EQ(w->txtWeekNum->text(), QStringLiteral("2")); }},
        {"昇順", [](MainWindow& m) { return m.lstRange; },
         [](MainWindow& m) { return m.optOrder[0]; },
         [&] {
             w->txtWeekNum->setText(QStringLiteral("1"));
             w->optOrder[1]->setChecked(true);
         },
         [&] {
             EXPECT_TRUE(w->optOrder[0]->isChecked());
             EXPECT_EQ(DayLines(w->lstRecord).first(), QStringLiteral("2024/05/08(水)"));
         }},
        {"非表示", [](MainWindow& m) { return m.cmdEnd; },
         [](MainWindow& m) { return m.optComment[0]; }, [&] { w->optComment[1]->setChecked(true); },
         [&] { EXPECT_TRUE(w->optComment[0]->isChecked()); }},
        {"選択解除", [](MainWindow& m) { return m.cmdDelete; },
         [](MainWindow& m) { return m.cmdUnselect; },
         [&] {
             fx.layout.exec(QStringLiteral(
                 "insert into t_exer values('2024/05/14','01','01',1,'08:10:00','08:12:00',"
                 "60,'kg',10,'回',null,null,'2','')"));
             w->RefreshRecordList();
             selectRecord(
                 {kToday, QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("1")});
         },
         [&] {
             EXPECT_EQ(MainWindow::selectedRow(w->lstRecord), -1);
             EXPECT_FALSE(w->cmdUnselect->isEnabled());
             EXPECT_EQ(w->txtCount->text(), QString());
             fx.layout.exec(QStringLiteral("delete from t_exer"));
         }},
    };
    for (const auto& c : cases) {
        for (const Key& key : kPressKeys) {
            SCOPED_TRACE(std::string(c.name) + " by " + key.name);
            c.prepare();
            QWidget* from = c.from(*w);
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab);
            QWidget* button = c.button(*w);
            ASSERT_EQ(QApplication::focusWidget(), button);
            QTest::keyClick(button, key.key, key.modifiers);
            c.check();
        }
    }
    EXPECT_TRUE(fx.platform.shown.empty());
}

// A key held down repeats its presses; the button acts on the first only.
TEST_F(Keyboard, AHeldReturnStoresOneSet) {
    enterCountSet();
    w->cmdInsert->setFocus();
    QKeyEvent first(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(w->cmdInsert, &first);
    ASSERT_EQ(storedSets(), 1);
    enterCountSet();
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                           true);
        QApplication::sendEvent(w->cmdInsert, &repeated);
    }
    EXPECT_EQ(storedSets(), 1);
}

// No button is the default: a complete entry stays unstored whatever text box gets Return.
TEST_F(Keyboard, ReturnInATextBoxPressesNothing) {
    enterCountSet();
    const EntryState before(*w);
    for (QLineEdit* box : {w->txtYmd, w->txtTarget, w->txtHMS[0], w->txtHMS[1], w->txtCount,
                           w->txtWeekNum, w->txtCountMin, w->txtCountSec}) {
        for (const Key& key : kPressKeys) {
            SCOPED_TRACE(box->objectName().toStdString() + key.name);
            box->setFocus();
            QTest::keyClick(box, key.key, key.modifiers);
        }
    }
    EXPECT_EQ(EntryState(*w), before);
    EXPECT_EQ(storedSets(), 0);
    EXPECT_TRUE(fx.platform.shown.empty());

    // The comment is several lines: Return starts the next one.
    w->txtComment->setFocus();
    QTest::keyClicks(w->txtComment, QStringLiteral("a"));
    QTest::keyClick(w->txtComment, Qt::Key_Return);
    QTest::keyClicks(w->txtComment, QStringLiteral("b"));
    EXPECT_EQ(w->commentText(), QStringLiteral("a\r\nb"));
    EXPECT_EQ(storedSets(), 0);
}

// What an input method asks the focused box before it composes: the week count says no, so
// a Japanese input method in hiragana mode leaves its digits half-width.
TEST_F(Keyboard, TheWeekCountTakesNoInputMethod) {
    const struct {
        QWidget* box;
        bool enabled;
    } cases[] = {{w->txtWeekNum, false}, {w->txtComment, true}, {w->txtTarget, true}};
    for (const auto& c : cases) {
        c.box->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), c.box);
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(c.box, &query);
        EXPECT_EQ(query.value(Qt::ImEnabled).toBool(), c.enabled);
    }
}

}  // namespace
}  // namespace sorvenka::testing
