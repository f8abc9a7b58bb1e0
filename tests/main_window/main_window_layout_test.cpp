// The window's controls: places, texts, fonts, states and the tab order.
#include <QApplication>
#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "common/display_width.h"
#include "last_session_window/last_session_panel.h"
#include "main_window/fixed_font.h"
#include "main_window/window_icon.h"
#include "window_fixture.h"

namespace sorvenka::testing {
namespace {

using LayoutTest = WindowTest;

struct Place {
    const char* name;
    QWidget* control;
    QWidget* parent;
    QRect rect;
};

TEST_F(LayoutTest, EveryControlAtItsPlace) {
    startWindow();
    MainWindow& w = *window;
    EXPECT_EQ(w.size(), QSize(1259, 662));
    EXPECT_EQ(w.minimumSize(), QSize(1259, 662));
    EXPECT_EQ(w.maximumSize(), QSize(1259, 662));

    const Place places[] = {
        {"txtYmd", w.txtYmd, &w, {8, 8, 101, 21}},
        {"lblWeekday", w.lblWeekday, &w, {108, 8, 21, 21}},
        {"lblFirstDayTitle", w.lblFirstDayTitle, &w, {148, 12, 97, 13}},
        {"lblFirstDay", w.lblFirstDay, &w, {252, 12, 77, 13}},
        {"cmdOpen(1)", w.cmdOpen[1], &w, {992, 4, 45, 21}},
        {"cmdOpen(2)", w.cmdOpen[2], &w, {1040, 4, 49, 21}},
        {"cmdOpen(0)", w.cmdOpen[0], &w, {1092, 4, 69, 21}},
        {"cmdEnd", w.cmdEnd, &w, {1180, 0, 65, 29}},
        {"Label1(0)", w.Label1[0], &w, {24, 36, 85, 13}},
        {"lstGrp", w.lstGrp, &w, {24, 52, 133, 147}},
        {"Label1(1)", w.Label1[1], &w, {160, 36, 85, 13}},
        {"lstExer", w.lstExer, &w, {160, 52, 153, 147}},
        {"Label1(3)", w.Label1[3], &w, {312, 36, 61, 13}},
        {"txtTarget", w.txtTarget, &w, {316, 52, 49, 21}},
        {"lstUnitTarget", w.lstUnitTarget, &w, {368, 52, 33, 69}},
        {"cmdClear(0)", w.cmdClear[0], &w, {316, 76, 41, 21}},
        {"cmdZero(0)", w.cmdZero[0], &w, {316, 100, 41, 25}},
        {"Label1(9)", w.Label1[9], &w, {412, 36, 33, 13}},
        {"txtHMS(0)", w.txtHMS[0], &w, {404, 52, 77, 21}},
        {"cmdClear(1)", w.cmdClear[1], &w, {404, 76, 41, 21}},
        {"cmdNow(0)", w.cmdNow[0], &w, {404, 100, 65, 25}},
        {"Label1(10)", w.Label1[10], &w, {484, 36, 37, 13}},
        {"txtHMS(1)", w.txtHMS[1], &w, {484, 52, 77, 21}},
        {"cmdClear(2)", w.cmdClear[2], &w, {484, 76, 41, 21}},
        {"cmdNow(1)", w.cmdNow[1], &w, {484, 100, 65, 25}},
        {"Label1(5)", w.Label1[5], &w, {564, 36, 33, 13}},
        {"txtCount", w.txtCount, &w, {564, 52, 41, 21}},
        {"cmdClear(3)", w.cmdClear[3], &w, {564, 76, 41, 21}},
        {"cmdZero(1)", w.cmdZero[1], &w, {564, 100, 41, 25}},
        {"Label1(4)", w.Label1[4], &w, {608, 36, 33, 13}},
        {"lstUnit", w.lstUnit, &w, {608, 52, 33, 121}},
        {"Label1(6)", w.Label1[6], &w, {648, 36, 65, 13}},
        {"lstSweat", w.lstSweat, &w, {648, 52, 121, 121}},
        {"Label1(7)", w.Label1[7], &w, {772, 36, 129, 13}},
        {"cmdClear(4)", w.cmdClear[4], &w, {908, 32, 41, 21}},
        {"txtComment", w.txtComment, &w, {772, 52, 357, 121}},
        {"cmdInsert", w.cmdInsert, &w, {1136, 68, 65, 89}},
        {"cmdUpdate", w.cmdUpdate, &w, {1204, 68, 49, 89}},
        {"Label1(13)", w.Label1[13], &w, {568, 160, 33, 13}},
        {"txtCountMin", w.txtCountMin, &w, {568, 176, 41, 21}},
        {"Label1(2)", w.Label1[2], &w, {612, 180, 17, 13}},
        {"txtCountSec", w.txtCountSec, &w, {628, 176, 41, 21}},
        {"Label1(12)", w.Label1[12], &w, {672, 180, 17, 13}},
        {"cmdClear(5)", w.cmdClear[5], &w, {696, 176, 41, 21}},
        {"Frame2", w.Frame2, &w, {24, 208, 1013, 445}},
        {"Frame1", w.Frame1, w.Frame2, {8, 24, 93, 73}},
        {"txtWeekNum", w.txtWeekNum, w.Frame1, {12, 20, 41, 21}},
        {"Label1(8)", w.Label1[8], w.Frame1, {56, 24, 29, 13}},
        {"cmdInc(0)", w.cmdInc[0], w.Frame1, {12, 44, 21, 21}},
        {"cmdInc(1)", w.cmdInc[1], w.Frame1, {36, 44, 21, 21}},
        {"Label1(11)", w.Label1[11], w.Frame2, {12, 108, 69, 13}},
        {"lstRange", w.lstRange, w.Frame2, {12, 124, 113, 69}},
        {"Frame3", w.Frame3, w.Frame2, {12, 200, 77, 69}},
        {"Label4", w.Label4, w.Frame3, {12, 16, 45, 13}},
        {"optOrder(0)", w.optOrder[0], w.Frame3, {16, 32, 53, 13}},
        {"optOrder(1)", w.optOrder[1], w.Frame3, {16, 48, 53, 13}},
        {"Frame4", w.Frame4, w.Frame2, {12, 276, 77, 57}},
        {"optComment(0)", w.optComment[0], w.Frame4, {8, 20, 61, 17}},
        {"optComment(1)", w.optComment[1], w.Frame4, {8, 36, 53, 17}},
        {"Label2", w.Label2, w.Frame2, {132, 24, 777, 17}},
        {"lstRecord", w.lstRecord, w.Frame2, {132, 40, 801, 394}},
        {"cmdDelete", w.cmdDelete, w.Frame2, {940, 44, 65, 25}},
        {"cmdUnselect", w.cmdUnselect, w.Frame2, {940, 84, 65, 25}},
        {"Label3", w.Label3, w.Frame2, {940, 384, 57, 17}},
        {"cmdFile", w.cmdFile, w.Frame2, {940, 400, 65, 25}},
        // Added in the free area; nothing above moves.
        {"cmdProgress", w.cmdProgress, &w, {1056, 216, 185, 33}},
        {"cmdCsvExport", w.cmdCsvExport, &w, {1056, 264, 185, 33}},
        {"cmdCsvImport", w.cmdCsvImport, &w, {1056, 304, 185, 33}},
        {"cmdMasters", w.cmdMasters, &w, {1056, 344, 185, 33}},
        {"cmdRestoreBackup", w.cmdRestoreBackup, &w, {1056, 384, 185, 33}},
        {"cmdStartSet", w.cmdStartSet, &w, {1056, 162, 64, 25}},
        {"cmdFinishInsert", w.cmdFinishInsert, &w, {1124, 162, 117, 25}},
        {"cmdRoutine", w.cmdRoutine, &w, {1056, 189, 185, 24}},
    };
    for (const Place& p : places) {
        ASSERT_NE(p.control, nullptr) << p.name;
        EXPECT_EQ(p.control->parentWidget(), p.parent) << p.name;
        EXPECT_EQ(p.control->geometry(), p.rect) << p.name;
    }
}

TEST_F(LayoutTest, CaptionsAndInitialTexts) {
    startWindow();
    MainWindow& w = *window;
    const std::pair<QString, QString> captions[] = {
        {w.cmdOpen[2]->text(), QStringLiteral("使い方")},
        {w.cmdOpen[0]->text(), QStringLiteral("DBを開く")},
        {w.cmdEnd->text(), QStringLiteral("終了")},
        {w.Label1[0]->text(), QStringLiteral("グループ*")},
        {w.Label1[1]->text(), QStringLiteral("種目*")},
        {w.Label1[3]->text(), QStringLiteral("重量/距離")},
        {w.Label1[9]->text(), QStringLiteral("開始")},
        {w.Label1[10]->text(), QStringLiteral("完了")},
        {w.Label1[5]->text(), QStringLiteral("ｶｳﾝﾄ*")},
        {w.Label1[4]->text(), QStringLiteral("単位*")},
        {w.Label1[6]->text(), QStringLiteral("発汗状況*")},
        {w.Label1[7]->text(), QStringLiteral("コメント (ひらがなモード)")},
        {w.Label1[13]->text(), QStringLiteral("ﾀｲﾑ*")},
        {w.Label1[2]->text(), QStringLiteral("分")},
        {w.Label1[12]->text(), QStringLiteral("秒")},
        {w.Label1[8]->text(), QStringLiteral("週分")},
        {w.Label1[11]->text(), QStringLiteral("種目の範囲")},
        {w.cmdZero[0]->text(), QStringLiteral("0")},
        {w.cmdZero[1]->text(), QStringLiteral("0")},
        {w.cmdNow[0]->text(), QStringLiteral("現在時刻")},
        {w.cmdNow[1]->text(), QStringLiteral("現在時刻")},
        {w.cmdInsert->text(), QStringLiteral("登録")},
        {w.cmdUpdate->text(), QStringLiteral("更新")},
        {w.cmdStartSet->text(), QStringLiteral("開始")},
        {w.cmdFinishInsert->text(), QStringLiteral("完了して登録")},
        {w.cmdRoutine->text(), QStringLiteral("メニュー")},
        {w.Frame2->title(), QStringLiteral("これまでの記録")},
        {w.Frame1->title(), QStringLiteral("期間")},
        {w.cmdInc[0]->text(), QStringLiteral("<")},
        {w.cmdInc[1]->text(), QStringLiteral(">")},
        {w.Frame3->title(), QStringLiteral("出力順")},
        {w.Label4->text(), QStringLiteral("日付の")},
        {w.optOrder[0]->text(), QStringLiteral("昇順")},
        {w.optOrder[1]->text(), QStringLiteral("降順")},
        {w.Frame4->title(), QStringLiteral("コメント")},
        {w.optComment[0]->text(), QStringLiteral("非表示")},
        {w.optComment[1]->text(), QStringLiteral("表示")},
        {w.Label2->text(), QStringLiteral("              グループ_種目              セット")},
        {w.cmdDelete->text(), QStringLiteral("削除")},
        {w.cmdUnselect->text(), QStringLiteral("選択解除")},
        {w.Label3->text(), QStringLiteral("ファイルに")},
        {w.cmdFile->text(), QStringLiteral("出力")},
        {w.txtWeekNum->text(), QStringLiteral("1")},
    };
    for (const auto& [shown, expected] : captions) EXPECT_EQ(shown, expected);
    for (QPushButton* clear : w.cmdClear) EXPECT_EQ(clear->text(), QStringLiteral("ｸﾘｱ"));
}

TEST_F(LayoutTest, StatesAlignmentAndInputHints) {
    startWindow();
    MainWindow& w = *window;
    EXPECT_FALSE(w.cmdUpdate->isEnabled());
    EXPECT_FALSE(w.cmdDelete->isEnabled());
    EXPECT_FALSE(w.cmdUnselect->isEnabled());
    EXPECT_TRUE(w.cmdInsert->isEnabled());
    EXPECT_FALSE(w.cmdOpen[1]->isVisible());
    EXPECT_EQ(w.cmdOpen[1]->focusPolicy(), Qt::NoFocus);
    for (QPushButton* button : w.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->text().toStdString();
    }
    for (QLineEdit* right : {w.txtTarget, w.txtCount, w.txtCountMin, w.txtCountSec, w.txtWeekNum})
        EXPECT_TRUE(right->alignment() & Qt::AlignRight);
    for (QLineEdit* left : {w.txtYmd, w.txtHMS[0], w.txtHMS[1]})
        EXPECT_FALSE(left->alignment() & Qt::AlignRight);
    EXPECT_TRUE(w.txtComment->tabChangesFocus());
    EXPECT_TRUE(w.txtComment->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(w.txtComment->inputMethodHints() & Qt::ImhPreferLatin);
    EXPECT_EQ(w.txtWeekNum->inputMethodHints(), Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
    for (QListWidget* list : w.findChildren<QListWidget*>()) {
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_FALSE(list->isSortingEnabled());
    }
    EXPECT_EQ(w.lstRecord->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(w.lstRecord->textElideMode(), Qt::ElideNone);
}

TEST_F(LayoutTest, TheWindowShowsTheDesktopIconAtEverySize) {
    // Decoded while the window is built (as the program starts) or by the window itself.
    for (const bool decodedAhead : {true, false}) {
        SCOPED_TRACE(decodedAhead ? "decoded ahead" : "decoded by the window");
        if (decodedAhead) StartDecodingWindowIcon();
        startWindow();
        const QIcon icon = window->windowIcon();
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QImage image = icon.pixmap(QSize(size, size)).toImage();
            ASSERT_EQ(image.size(), QSize(size, size)) << "no picture for " << size;
            // A dumbbell on a clear ground: a blue plate left of the middle, a grey bar in it.
            EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << size;
            EXPECT_EQ(image.pixelColor(size * 5 / 32, size / 2).name(), QStringLiteral("#1f5fbf"))
                << size;
            EXPECT_EQ(image.pixelColor(size / 2, size / 2).name(), QStringLiteral("#404048"))
                << size;
        }
    }
}

TEST_F(LayoutTest, TabOrderAsListed) {
    startWindow();
    MainWindow& w = *window;
    const std::vector<QWidget*> order{
        w.txtYmd, w.lstGrp, w.lstExer, w.txtTarget, w.cmdClear[0], w.cmdZero[0], w.txtHMS[0],
        w.cmdClear[1], w.cmdNow[0], w.txtHMS[1], w.cmdClear[2], w.cmdNow[1], w.txtCount,
        w.cmdClear[3], w.lstUnit, w.lstSweat, w.txtComment, w.cmdInsert, w.cmdUpdate, w.txtWeekNum,
        w.cmdInc[0], w.cmdInc[1], w.lstRange, w.optOrder[0], w.optOrder[1], w.lstRecord,
        w.cmdDelete, w.cmdUnselect, w.cmdFile, w.cmdOpen[0], w.cmdEnd, w.optComment[0],
        w.optComment[1], w.cmdClear[4], w.cmdZero[1], w.lstUnitTarget, w.txtCountMin, w.txtCountSec,
        w.cmdClear[5], w.cmdOpen[2], w.cmdStartSet, w.cmdFinishInsert, w.cmdRoutine, w.cmdProgress,
        w.cmdCsvExport, w.cmdCsvImport, w.cmdMasters, w.cmdRestoreBackup,
        // the 前回 panel
        w.lastSessionPanel->lstSets, w.lastSessionPanel->lstRecords, w.lastSessionPanel->cmdFill,
        w.lastSessionPanel->cboRest};
    // The focus chain, reduced to the controls that take the focus by Tab, once round.
    std::vector<QWidget*> chain;
    QWidget* next = w.txtYmd;
    do {
        if (next->focusPolicy() & Qt::TabFocus) chain.push_back(next);
        next = next->nextInFocusChain();
    } while (next != w.txtYmd);
    EXPECT_EQ(chain, order);
}

TEST_F(LayoutTest, FixedPitchFonts) {
    startWindow();
    MainWindow& w = *window;
    struct FontCase {
        const char* name;
        QWidget* control;
        int pixels;
        bool bold;
    };
    const FontCase cases[] = {
        {"lstRecord", w.lstRecord, 12, false},   {"lstGrp", w.lstGrp, 12, false},
        {"lstRange", w.lstRange, 12, false},     {"txtComment", w.txtComment, 12, false},
        {"Label2", w.Label2, 12, false},         {"lblFirstDay", w.lblFirstDay, 12, false},
        {"txtTarget", w.txtTarget, 16, false},   {"txtHMS(1)", w.txtHMS[1], 16, false},
        {"txtWeekNum", w.txtWeekNum, 16, false}, {"txtCountSec", w.txtCountSec, 16, false},
        {"txtYmd", w.txtYmd, 16, true},          {"lblWeekday", w.lblWeekday, 15, true},
    };
    QString firstInstalled;
    for (const QString& face : FixedFaces())
        if (firstInstalled.isEmpty() && QFontDatabase::families().contains(face))
            firstInstalled = face;
    ASSERT_FALSE(firstInstalled.isEmpty()) << "no fixed-pitch face installed";
    for (const FontCase& c : cases) {
        const QFont font = c.control->font();
        EXPECT_EQ(font.pixelSize(), c.pixels) << c.name;
        EXPECT_EQ(font.bold(), c.bold) << c.name;
        // The first installed of the faces, "ＭＳ ゴシック" where it exists.
        EXPECT_EQ(font.families().value(0), firstInstalled) << c.name;
    }
    // Buttons keep the window's default font.
    EXPECT_EQ(w.cmdInsert->font().families().value(0), w.font().families().value(0));
}

// The record list's columns line up only when every full-width glyph is exactly two half-width
// ones: checked on the drawn advances of the list's own font, with real record lines.
TEST_F(LayoutTest, RecordListFontKeepsColumns) {
    StoredSet set;
    set.comment = QStringLiteral("ｶﾀｶﾅとかな、English");
    Store(env.layout, set);
    StoredSet timed;
    timed.grp_cd = QStringLiteral("07");
    timed.exer_cd = QStringLiteral("03");
    timed.hms_sta = QStringLiteral("07:00:00");
    timed.cnt.clear();
    timed.unit.clear();
    timed.cnt_min = QStringLiteral("25");
    timed.cnt_sec = QStringLiteral("0");
    Store(env.layout, timed);
    startWindow();

    const QFont font = window->lstRecord->font();
    const QFontInfo info(font);
    EXPECT_TRUE(info.family() == QStringLiteral("IPAGothic") ||
                info.family().contains(QStringLiteral("Gothic")) ||
                info.family().contains(QStringLiteral("ゴシック")))
        << info.family().toStdString();
    const QFontMetricsF metrics(font);
    const QFontMetrics whole(font);
    const qreal half = metrics.horizontalAdvance(QStringLiteral("0"));
    EXPECT_GT(half, 0);
    EXPECT_EQ(half, std::round(half));  // whole pixels: no drift along a line
    for (const QString& full :
         {QStringLiteral("胸"), QStringLiteral("ベ"), QStringLiteral("秒"), QStringLiteral("（")})
        EXPECT_EQ(metrics.horizontalAdvance(full), 2 * half) << full.toStdString();
    for (const QString& narrow :
         {QStringLiteral("ｱ"), QStringLiteral(" "), QStringLiteral("-"), QStringLiteral("(")})
        EXPECT_EQ(metrics.horizontalAdvance(narrow), half) << narrow.toStdString();
    EXPECT_EQ(whole.horizontalAdvance(QStringLiteral("胸")),
              2 * whole.horizontalAdvance(QStringLiteral("0")));

    int lines = 0;
    for (int row = 0; row < window->lstRecord->count(); ++row) {
        const QString text = window->lstRecord->lineText(row);
        ++lines;
        for (int end = 1; end <= text.size(); ++end) {
            const QString prefix = text.left(end);
            ASSERT_EQ(metrics.horizontalAdvance(prefix), ByteWidth(prefix) * half)
                << "row " << row << " at " << end;
        }
    }
    EXPECT_GE(lines, 10);
}

// Not a check: saves a picture of the window for the README. Run it by hand under a display,
// for example:
//   SORVENKA_SCREENSHOT=docs/screenshot.png QT_QPA_PLATFORM=xcb xvfb-run -a
//     -s "-screen 0 1400x800x24" main_window_layout_test --gtest_also_run_disabled_tests
//     --gtest_filter=*SaveScreenshot
TEST_F(LayoutTest, DISABLED_SaveScreenshot) {
    const QString path = qEnvironmentVariable("SORVENKA_SCREENSHOT");
    ASSERT_FALSE(path.isEmpty()) << "SORVENKA_SCREENSHOT names the picture to write";
    struct Sample {
        const char *ymd, *grp, *exer, *set, *start, *end, *target, *unitT, *cnt, *unit, *min, *sec,
            *sweat, *comment;
    };
    const Sample samples[] = {
        {"2024/05/14", "01", "01", "1", "07:02:00", "07:03:10", "60", "kg", "10", "回", "", "", "1",
         "フォーム確認"},
        {"2024/05/14", "01", "01", "2", "07:06:00", "07:07:05", "62.5", "kg", "8", "回", "", "",
         "2", ""},
        {"2024/05/14", "01", "02", "1", "07:12:00", "07:13:00", "14", "kg", "12", "回", "", "", "2",
         "肩に違和感なし\r\n次回は 16kg"},
        {"2024/05/14", "06", "01", "1", "07:20:00", "07:22:30", "", "", "", "", "2", "30", "3", ""},
        {"2024/05/13", "07", "02", "1", "18:30:00", "19:05:40", "5.2", "km", "", "", "35", "40",
         "4", "河川敷コース"},
        {"2024/05/12", "03", "01", "1", "09:00:00", "09:01:20", "80", "kg", "8", "回", "", "", "2",
         ""},
        {"2024/05/12", "03", "01", "2", "09:05:00", "09:06:10", "80", "kg", "6", "回", "", "", "3",
         ""},
        {"2024/05/11", "99", "99", "1", "", "", "0", "kg", "0", "回", "", "", "0", "休養"},
    };
    for (const Sample& x : samples) {
        StoredSet set{
            x.ymd,   x.grp, x.exer, x.set, x.start, x.end,   x.target,
            x.unitT, x.cnt, x.unit, x.min, x.sec,   x.sweat, QString::fromUtf8(x.comment)};
        Store(env.layout, set);
    }
    startWindow();
    MainWindow::selectRow(window->lstRecord,
                          RowOfKey(window->lstRecord, QStringLiteral("2024/05/14,01,02,1")));
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(path));
}

}  // namespace
}  // namespace sorvenka::testing
