// The controls of the window: kinds, places, captions, fonts and the tab order.
#include <QStyle>

#include "main_window/clipped_text_delegate.h"
#include "main_window/fixed_font.h"
#include "main_window/input_method_off.h"
#include "main_window/list_click_guard.h"
#include "main_window/main_window.h"
#include "main_window/return_key_click.h"
#include "main_window/window_icon.h"

namespace sorvenka {

namespace {

template <typename T>
T* PlaceOnWindow(T* control, int x, int y, int w, int h) {
    control->setGeometry(x, y, w, h);
    return control;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int w, int h) {
    return PlaceOnWindow(new QLabel(text, parent), x, y, w, h);
}

QPushButton* MakeButton(QWidget* parent, const QString& text, int x, int y, int w, int h) {
    auto* button = PlaceOnWindow(new QPushButton(text, parent), x, y, w, h);
    button->setAutoDefault(false);
    button->setDefault(false);
    ClickOnReturnKey(button);
    return button;
}

QLineEdit* MakeTextBox(QWidget* parent, const QString& text, int x, int y, int w, int h,
                       const QFont& font, bool rightAligned = false) {
    // The font before the text: the box lays its text out again at every change of either.
    auto* box = PlaceOnWindow(new QLineEdit(parent), x, y, w, h);
    box->setFont(font);
    box->setText(text);
    box->setTextMargins(0, 0, 0, 0);
    if (rightAligned) box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return box;
}

QListWidget* MakeList(QWidget* parent, int x, int y, int w, int h, const QFont& font) {
    auto* list = PlaceOnWindow(new QListWidget(parent), x, y, w, h);
    list->setFont(font);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    list->setUniformItemSizes(true);
    ListClickGuard::install(list);
    return list;
}

QGroupBox* MakeFrame(QWidget* parent, const QString& title, int x, int y, int w, int h) {
    return PlaceOnWindow(new QGroupBox(title, parent), x, y, w, h);
}

QRadioButton* MakeOption(QWidget* parent, const QString& text, int x, int y, int w, int h) {
    auto* option = PlaceOnWindow(new QRadioButton(text, parent), x, y, w, h);
    ClickOnReturnKey(option);
    return option;
}

}  // namespace

void MainWindow::buildControls() {
    setFixedSize(1259, 662);
    setWindowTitle(QStringLiteral("Form1"));
    setFont(WindowFont());

    const QFont listFont = FixedFont(kListFontPixels);
    const QFont boxFont = FixedFont(kTextBoxFontPixels);
    const QFont ymdFont = FixedFont(kTextBoxFontPixels, true);
    const QFont weekdayFont = FixedFont(kWeekdayFontPixels, true);
    const QString clear = QStringLiteral("ｸﾘｱ");

    // Top row. The design texts stand until the load replaces them.
    txtYmd = MakeTextBox(this, QStringLiteral("2021/03/00"), 8, 8, 101, 21, ymdFont);
    lblWeekday = MakeLabel(this, QStringLiteral("月"), 108, 8, 21, 21);
    lblWeekday->setFont(weekdayFont);
    lblFirstDayTitle = MakeLabel(this, QStringLiteral("初めて記録した日"), 148, 12, 97, 13);
    lblFirstDay = MakeLabel(this, QStringLiteral("2021/04/01"), 252, 12, 77, 13);
    lblFirstDay->setFont(listFont);
    cmdOpen[1] = MakeButton(this, QString(), 992, 4, 45, 21);
    cmdOpen[1]->setVisible(false);
    cmdOpen[2] = MakeButton(this, QStringLiteral("使い方"), 1040, 4, 49, 21);
    cmdOpen[0] = MakeButton(this, QStringLiteral("DBを開く"), 1092, 4, 69, 21);
    cmdEnd = MakeButton(this, QStringLiteral("終了"), 1180, 0, 65, 29);

    // Entry area.
    Label1[0] = MakeLabel(this, QStringLiteral("グループ*"), 24, 36, 85, 13);
    lstGrp = MakeList(this, 24, 52, 133, 147, listFont);
    Label1[1] = MakeLabel(this, QStringLiteral("種目*"), 160, 36, 85, 13);
    lstExer = MakeList(this, 160, 52, 153, 147, listFont);
    Label1[3] = MakeLabel(this, QStringLiteral("重量/距離"), 312, 36, 61, 13);
    txtTarget = MakeTextBox(this, QStringLiteral("0"), 316, 52, 49, 21, boxFont, true);
    lstUnitTarget = MakeList(this, 368, 52, 33, 69, listFont);
    cmdClear[0] = MakeButton(this, clear, 316, 76, 41, 21);
    cmdZero[0] = MakeButton(this, QStringLiteral("0"), 316, 100, 41, 25);
    Label1[9] = MakeLabel(this, QStringLiteral("開始"), 412, 36, 33, 13);
    txtHMS[0] = MakeTextBox(this, QStringLiteral("08:10:20"), 404, 52, 77, 21, boxFont);
    cmdClear[1] = MakeButton(this, clear, 404, 76, 41, 21);
    cmdNow[0] = MakeButton(this, QStringLiteral("現在時刻"), 404, 100, 65, 25);
    Label1[10] = MakeLabel(this, QStringLiteral("完了"), 484, 36, 37, 13);
    txtHMS[1] = MakeTextBox(this, QStringLiteral("08:10:20"), 484, 52, 77, 21, boxFont);
    cmdClear[2] = MakeButton(this, clear, 484, 76, 41, 21);
    cmdNow[1] = MakeButton(this, QStringLiteral("現在時刻"), 484, 100, 65, 25);
    Label1[5] = MakeLabel(this, QStringLiteral("ｶｳﾝﾄ*"), 564, 36, 33, 13);
    txtCount = MakeTextBox(this, QString(), 564, 52, 41, 21, boxFont, true);
    cmdClear[3] = MakeButton(this, clear, 564, 76, 41, 21);
    cmdZero[1] = MakeButton(this, QStringLiteral("0"), 564, 100, 41, 25);
    Label1[4] = MakeLabel(this, QStringLiteral("単位*"), 608, 36, 33, 13);
    lstUnit = MakeList(this, 608, 52, 33, 121, listFont);
    Label1[6] = MakeLabel(this, QStringLiteral("発汗状況*"), 648, 36, 65, 13);
    lstSweat = MakeList(this, 648, 52, 121, 121, listFont);
    Label1[7] = MakeLabel(this, QStringLiteral("コメント (ひらがなモード)"), 772, 36, 129, 13);
    cmdClear[4] = MakeButton(this, clear, 908, 32, 41, 21);
    txtComment = PlaceOnWindow(new QPlainTextEdit(this), 772, 52, 357, 121);
    txtComment->setFont(listFont);
    txtComment->setTabChangesFocus(true);
    // Japanese input is welcome here; Qt has no hint that asks the input method for hiragana,
    // so the field only keeps the input method enabled and says it is multi-line.
    txtComment->setInputMethodHints(Qt::ImhMultiLine);
    cmdInsert = MakeButton(this, QStringLiteral("登録"), 1136, 68, 65, 89);
    cmdUpdate = MakeButton(this, QStringLiteral("更新"), 1204, 68, 49, 89);

    // Duration under the count, unit and sweat columns.
    Label1[13] = MakeLabel(this, QStringLiteral("ﾀｲﾑ*"), 568, 160, 33, 13);
    txtCountMin = MakeTextBox(this, QString(), 568, 176, 41, 21, boxFont, true);
    Label1[2] = MakeLabel(this, QStringLiteral("分"), 612, 180, 17, 13);
    txtCountSec = MakeTextBox(this, QString(), 628, 176, 41, 21, boxFont, true);
    Label1[12] = MakeLabel(this, QStringLiteral("秒"), 672, 180, 17, 13);
    cmdClear[5] = MakeButton(this, clear, 696, 176, 41, 21);

    // The frame of the record list; places inside a frame are relative to it.
    Frame2 = MakeFrame(this, QStringLiteral("これまでの記録"), 24, 208, 1013, 445);
    Frame1 = MakeFrame(Frame2, QStringLiteral("期間"), 8, 24, 93, 73);
    txtWeekNum = MakeTextBox(Frame1, QStringLiteral("1"), 12, 20, 41, 21, boxFont, true);
    // The week count takes digits only: with a Japanese input method on, typed digits would
    // arrive full-width. The hints tell on-screen keyboards the same.
    SwitchInputMethodOff(txtWeekNum);
    txtWeekNum->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
    Label1[8] = MakeLabel(Frame1, QStringLiteral("週分"), 56, 24, 29, 13);
    cmdInc[0] = MakeButton(Frame1, QStringLiteral("<"), 12, 44, 21, 21);
    cmdInc[1] = MakeButton(Frame1, QStringLiteral(">"), 36, 44, 21, 21);
    Label1[11] = MakeLabel(Frame2, QStringLiteral("種目の範囲"), 12, 108, 69, 13);
    lstRange = MakeList(Frame2, 12, 124, 113, 69, listFont);
    Frame3 = MakeFrame(Frame2, QStringLiteral("出力順"), 12, 200, 77, 69);
    Label4 = MakeLabel(Frame3, QStringLiteral("日付の"), 12, 16, 45, 13);
    optOrder[0] = MakeOption(Frame3, QStringLiteral("昇順"), 16, 32, 53, 13);
    optOrder[1] = MakeOption(Frame3, QStringLiteral("降順"), 16, 48, 53, 13);
    optOrder[1]->setChecked(true);
    Frame4 = MakeFrame(Frame2, QStringLiteral("コメント"), 12, 276, 77, 57);
    optComment[0] = MakeOption(Frame4, QStringLiteral("非表示"), 8, 20, 61, 17);
    optComment[1] = MakeOption(Frame4, QStringLiteral("表示"), 8, 36, 53, 17);
    optComment[1]->setChecked(true);
    Label2 = MakeLabel(Frame2, QStringLiteral("              グループ_種目              セット"),
                       132, 24, 777, 17);
    Label2->setFont(listFont);
    lstRecord = PlaceOnWindow(new RecordListView(Frame2), 132, 40, 801, 394);
    lstRecord->setFont(listFont);
    lstRecord->setSelectionMode(QAbstractItemView::SingleSelection);
    lstRecord->setUniformItemSizes(true);
    ListClickGuard::install(lstRecord);
    // The key part beyond the 50 blanks must stay out of sight: no scrolling sideways, no
    // ellipsis that would pull the line's end into view.
    lstRecord->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstRecord->setTextElideMode(Qt::ElideNone);
    lstRecord->setWordWrap(false);
    lstRecord->setItemDelegate(new ClippedTextDelegate(lstRecord));
    // The header starts where the list's text starts.
    Label2->setIndent(
        lstRecord->frameWidth() +
        lstRecord->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstRecord) + 1);
    cmdDelete = MakeButton(Frame2, QStringLiteral("削除"), 940, 44, 65, 25);
    cmdUnselect = MakeButton(Frame2, QStringLiteral("選択解除"), 940, 84, 65, 25);
    Label3 = MakeLabel(Frame2, QStringLiteral("ファイルに"), 940, 384, 57, 17);
    cmdFile = MakeButton(Frame2, QStringLiteral("出力"), 940, 400, 65, 25);

    // Beyond the record frame (x 1048 and right of it) and below 登録/更新 (y 165 and below).
    cmdProgress = MakeButton(this, QStringLiteral("推移"), 1056, 216, 185, 33);
    cmdCsvExport = MakeButton(this, QStringLiteral("CSVに書き出す"), 1056, 264, 185, 33);
    cmdCsvImport = MakeButton(this, QStringLiteral("CSVを読み込む"), 1056, 304, 185, 33);
    cmdMasters = MakeButton(this, QStringLiteral("種目の管理"), 1056, 344, 185, 33);
    cmdRestoreBackup = MakeButton(this, QStringLiteral("バックアップから復元"), 1056, 384, 185, 33);
    // A set in few clicks, right under 登録: start, finish and store; the plan above the tools.
    cmdStartSet = MakeButton(this, QStringLiteral("開始"), 1056, 162, 64, 25);
    cmdFinishInsert = MakeButton(this, QStringLiteral("完了して登録"), 1124, 162, 117, 25);
    cmdRoutine = MakeButton(this, QStringLiteral("メニュー"), 1056, 189, 185, 24);
    cmdStartSet->setToolTip(QStringLiteral("開始に現在時刻を入れます（ほかの欄はそのまま）"));
    cmdFinishInsert->setToolTip(
        QStringLiteral("完了に現在時刻を入れて登録します（発汗状況が未選択ならその日の最後の値）"));

    cmdUpdate->setEnabled(false);
    cmdDelete->setEnabled(false);
    cmdUnselect->setEnabled(false);

    const std::initializer_list<QWidget*> tabOrder{
        txtYmd,      lstGrp,        lstExer,       txtTarget,    cmdClear[0], cmdZero[0],
        txtHMS[0],   cmdClear[1],   cmdNow[0],     txtHMS[1],    cmdClear[2], cmdNow[1],
        txtCount,    cmdClear[3],   lstUnit,       lstSweat,     txtComment,  cmdInsert,
        cmdUpdate,   txtWeekNum,    cmdInc[0],     cmdInc[1],    lstRange,    optOrder[0],
        optOrder[1], lstRecord,     cmdDelete,     cmdUnselect,  cmdFile,     cmdOpen[0],
        cmdEnd,      optComment[0], optComment[1], cmdClear[4],  cmdZero[1],  lstUnitTarget,
        txtCountMin, txtCountSec,   cmdClear[5],   cmdOpen[2],   cmdStartSet, cmdFinishInsert,
        cmdRoutine,  cmdProgress,   cmdCsvExport,  cmdCsvImport, cmdMasters,  cmdRestoreBackup};
    QWidget* previous = nullptr;
    for (QWidget* control : tabOrder) {
        if (previous) setTabOrder(previous, control);
        previous = control;
    }
    cmdOpen[1]->setFocusPolicy(Qt::NoFocus);

    // Set last: its pictures may have been decoding on another thread meanwhile.
    setWindowIcon(WindowIcon());
}

}  // namespace sorvenka
