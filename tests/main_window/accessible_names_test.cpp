// What a screen reader speaks for the main window's controls: every text box, list and button
// has a name, buttons that look alike are told apart by the field they serve, and the captions
// shown stay as they are.
#include "support/accessible_names.h"

#include <QSet>

#include "main_window/entry_window_fixture.h"

namespace sorvenka::testing {
namespace {

using AccessibleNames = EntryWindowTest;

TEST_F(AccessibleNames, TextBoxesAndListsSpeakTheirCaptionsAndLookalikeButtonsTheirField) {
    const std::vector<std::pair<QWidget*, QString>> expected{
        {w->txtYmd, "日付"},
        {w->lstGrp, "グループ"},
        {w->lstExer, "種目"},
        {w->txtTarget, "重量/距離"},
        {w->txtHMS[0], "開始"},
        {w->txtHMS[1], "完了"},
        {w->txtCount, "カウント"},
        {w->lstUnit, "単位"},
        {w->lstSweat, "発汗状況"},
        {w->txtComment, "コメント"},
        {w->txtCountSec, "タイムの秒"},
        {w->lstRecord, "これまでの記録"},
        {w->cmdClear[0], "重量をクリア"},
        {w->cmdClear[1], "開始をクリア"},
        {w->cmdClear[5], "タイムをクリア"},
        {w->cmdZero[0], "重量を0に"},
        {w->cmdZero[1], "カウントを0に"},
        {w->cmdNow[0], "開始を現在時刻に"},
        {w->cmdNow[1], "完了を現在時刻に"},
        // 開始 is a button beside the start box of the same caption.
        {w->cmdStartSet, "セットを開始"},
        {w->cmdFinishInsert, "完了して登録"},
        {w->cmdRoutine, "メニュー"},
    };
    for (const auto& [control, name] : expected)
        EXPECT_EQ(AccessibleName(control), name) << control->metaObject()->className();
    // The captions on the screen are unchanged.
    EXPECT_EQ(w->cmdClear[1]->text(), QStringLiteral("ｸﾘｱ"));
    EXPECT_EQ(w->cmdNow[0]->text(), QStringLiteral("現在時刻"));
}

TEST_F(AccessibleNames, EveryReachableControlHasANameAndNoTwoButtonsShareOne) {
    const std::vector<QWidget*> controls = SpokenControls(w.get());
    // 9 text boxes, 7 lists and 27 buttons of the described window, and the 前回 panel's.
    EXPECT_GE(controls.size(), 47u);
    QSet<QString> buttonNames;
    for (QWidget* control : controls) {
        const QString name = AccessibleName(control);
        EXPECT_FALSE(name.trimmed().isEmpty())
            << control->metaObject()->className() << " at " << control->x() << "," << control->y();
        if (qobject_cast<QAbstractButton*>(control)) {
            EXPECT_FALSE(buttonNames.contains(name)) << name.toStdString();
            buttonNames.insert(name);
        }
    }
}

}  // namespace
}  // namespace sorvenka::testing
