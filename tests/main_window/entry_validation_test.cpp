// ValidateEntry: the checks in their order, each with its message and focus move, on the real
// controls of the window.
#include <functional>

#include "entry_window_fixture.h"

namespace sorvenka::testing {
namespace {

class EntryValidation : public EntryWindowTest {};

struct ValidationCase {
    const char* name;
    std::function<void(MainWindow&)> change;  // applied to a valid count-form entry
    const char16_t* message;                  // "" when the entry passes
    std::function<QWidget*(MainWindow&)> focus;
};

QWidget* NoFocus(MainWindow&) {
    return nullptr;
}

TEST_F(EntryValidation, ChecksInOrderWithMessageAndFocus) {
    const auto none = [](MainWindow& w) { MainWindow::selectRow(w.lstUnit, -1); };
    const auto duration = [](const char* min, const char* sec) {
        return [min, sec](MainWindow& w) {
            w.txtCount->clear();
            w.txtCountMin->setText(QString::fromUtf8(min));
            w.txtCountSec->setText(QString::fromUtf8(sec));
        };
    };
    const auto text = [](QLineEdit* MainWindow::*field, const char* value) {
        return [field, value](MainWindow& w) { (w.*field)->setText(QString::fromUtf8(value)); };
    };
    const auto time = [](int i, const char* value) {
        return [i, value](MainWindow& w) { w.txtHMS[i]->setText(QString::fromUtf8(value)); };
    };
    const auto focusOn = []<typename Control>(Control* MainWindow::*control) {
        return [control](MainWindow& w) -> QWidget* { return w.*control; };
    };
    const auto focusTime = [](int i) {
        return [i](MainWindow& w) -> QWidget* { return w.txtHMS[i]; };
    };
    const char16_t* kOneOf = u"回数かタイムのどちらか一方だけを入力してください";

    const ValidationCase cases[] = {
        {"valid count set", [](MainWindow&) {}, u"", NoFocus},
        {"no group", [](MainWindow& w) { MainWindow::selectRow(w.lstGrp, -1); },
         u"グループを選択してください", focusOn(&MainWindow::lstGrp)},
        {"no exercise", [](MainWindow& w) { MainWindow::selectRow(w.lstExer, -1); },
         u"種目を選択してください", focusOn(&MainWindow::lstExer)},
        {"load with comma", text(&MainWindow::txtTarget, "1,5"),
         u"重量は数字だけか「数字と小数点」で入力してください", focusOn(&MainWindow::txtTarget)},
        {"load with two points", text(&MainWindow::txtTarget, "1.2.5"),
         u"重量は数字だけか「数字と小数点」で入力してください", focusOn(&MainWindow::txtTarget)},
        {"empty load", text(&MainWindow::txtTarget, ""), u"", NoFocus},
        {"load .5", text(&MainWindow::txtTarget, ".5"), u"", NoFocus},
        {"start 24:00:00", time(0, "24:00:00"), u"有効な開始時刻を入力してください", focusTime(0)},
        {"start 8:10:20", time(0, "8:10:20"), u"有効な開始時刻を入力してください", focusTime(0)},
        {"finish 08:60:00", time(1, "08:60:00"), u"有効な完了時刻を入力してください", focusTime(1)},
        {"finish 1x:00:00", time(1, "1x:00:00"), u"有効な完了時刻を入力してください", focusTime(1)},
        {"no times",
         [](MainWindow& w) {
             w.txtHMS[0]->clear();
             w.txtHMS[1]->clear();
         },
         u"", NoFocus},
        {"count 0", text(&MainWindow::txtCount, "0"), u"", NoFocus},
        {"count 1.5", text(&MainWindow::txtCount, "1.5"), u"回数を数字で入力してください",
         focusOn(&MainWindow::txtCount)},
        {"count blank", text(&MainWindow::txtCount, " "), u"回数を数字で入力してください",
         focusOn(&MainWindow::txtCount)},
        {"count without unit", none, u"単位を選択してください", focusOn(&MainWindow::lstUnit)},
        {"count 1.5 without unit: the count first",
         [none](MainWindow& w) {
             none(w);
             w.txtCount->setText(QStringLiteral("1.5"));
         },
         u"回数を数字で入力してください", focusOn(&MainWindow::txtCount)},
        // Step 6's table of which fields are filled.
        {"seconds only", duration("", "30"), u"", NoFocus},
        {"minutes and seconds", duration("5", "0"), u"", NoFocus},
        {"duration needs no unit",
         [none, duration](MainWindow& w) {
             duration("1", "30")(w);
             none(w);
         },
         u"", NoFocus},
        {"nothing of either", duration("", ""), kOneOf, focusOn(&MainWindow::txtCountSec)},
        {"minutes only", duration("5", ""), kOneOf, focusOn(&MainWindow::txtCountSec)},
        {"count and seconds", text(&MainWindow::txtCountSec, "30"), kOneOf,
         focusOn(&MainWindow::txtCountSec)},
        {"count and minutes", text(&MainWindow::txtCountMin, "5"), kOneOf,
         focusOn(&MainWindow::txtCountSec)},
        {"count, minutes and seconds",
         [](MainWindow& w) {
             w.txtCountMin->setText(QStringLiteral("1"));
             w.txtCountSec->setText(QStringLiteral("2"));
         },
         kOneOf, focusOn(&MainWindow::txtCountSec)},
        {"minutes 1.5", duration("1.5", "0"), u"分に数字で入力するか空にしてください",
         focusOn(&MainWindow::txtCountMin)},
        {"seconds letters", duration("", "ab"), u"秒に数字で入力してください",
         focusOn(&MainWindow::txtCountSec)},
        {"seconds 60", duration("", "60"), u"秒は0-59の範囲で入力してください",
         focusOn(&MainWindow::txtCountSec)},
        {"seconds 59", duration("", "59"), u"", NoFocus},
        {"seconds 007", duration("", "007"), u"", NoFocus},
        {"seconds of many digits", duration("", "000000000000000000099999999999"),
         u"秒は0-59の範囲で入力してください", focusOn(&MainWindow::txtCountSec)},
        {"no sweat", [](MainWindow& w) { MainWindow::selectRow(w.lstSweat, -1); },
         u"発汗状況を選択してください", focusOn(&MainWindow::lstSweat)},
        // Several faults: only the first in the order is reported.
        {"bad load, times and count",
         [](MainWindow& w) {
             w.txtTarget->setText(QStringLiteral("x"));
             w.txtHMS[0]->setText(QStringLiteral("99:99:99"));
             w.txtCount->setText(QStringLiteral("y"));
             MainWindow::selectRow(w.lstSweat, -1);
         },
         u"重量は数字だけか「数字と小数点」で入力してください", focusOn(&MainWindow::txtTarget)},
        {"bad finish and no sweat",
         [](MainWindow& w) {
             w.txtHMS[1]->setText(QStringLiteral("08:10"));
             MainWindow::selectRow(w.lstSweat, -1);
         },
         u"有効な完了時刻を入力してください", focusTime(1)},
        // The date, the load unit and the comment take no part.
        {"date, load unit and comment ignored",
         [](MainWindow& w) {
             w.txtYmd->setText(QStringLiteral("not a day"));
             MainWindow::selectRow(w.lstUnitTarget, -1);
             w.setCommentText(QStringLiteral("'; drop table t_exer"));
         },
         u"", NoFocus},
    };

    for (const ValidationCase& c : cases) {
        SCOPED_TRACE(c.name);
        enterCountSet();
        w->txtYmd->setText(kToday);
        w->cmdFile->setFocus();  // a control that no check moves the focus to
        c.change(*w);
        const EntryState before(*w);
        QString message;
        const bool passed = w->ValidateEntry(message);
        const QString expected = QString::fromUtf16(c.message);
        EXPECT_EQ(passed, expected.isEmpty());
        EXPECT_EQ(message, expected);
        QWidget* focus = c.focus(*w);
        EXPECT_EQ(w->focusWidget(), focus ? focus : w->cmdFile);
        EXPECT_EQ(EntryState(*w), before);  // no control's content changes
    }
}

TEST_F(EntryValidation, SuccessLeavesTheMessageAsItWas) {
    enterCountSet();
    QString message = QStringLiteral("kept");
    EXPECT_TRUE(w->ValidateEntry(message));
    EXPECT_EQ(message, QStringLiteral("kept"));
}

// Right after start a group is selected but no exercise: "登録" stops at the exercise.
TEST_F(EntryValidation, InsertRightAfterStartAsksForTheExercise) {
    ASSERT_EQ(MainWindow::selectedRow(w->lstGrp), 0);
    ASSERT_EQ(MainWindow::selectedRow(w->lstExer), -1);
    const EntryState before(*w);
    w->cmdInsert->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(fx.platform.shown[0].text, QStringLiteral("種目を選択してください"));
    EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(fx.platform.shown[0].caption, QStringLiteral("Sorvenka"));
    EXPECT_EQ(w->focusWidget(), w->lstExer);
    EXPECT_EQ(storedSets(), 0);
    EXPECT_EQ(EntryState(*w), before);
}

}  // namespace
}  // namespace sorvenka::testing
