// Selecting lines of the record list, the selection buttons and the end of the window.
#include <QFile>

#include "db/record_statements.h"
#include "window_fixture.h"

namespace sorvenka::testing {
namespace {

using RecordSelectionTest = WindowTest;

StoredSet LegPress() {
    StoredSet s;
    s.grp_cd = QStringLiteral("03");
    s.exer_cd = QStringLiteral("02");
    s.set_num = QStringLiteral("2");
    s.hms_sta = QStringLiteral("10:00:00");
    s.hms_end = QStringLiteral("10:02:10");
    s.target = QStringLiteral("80.5");
    s.unit_t = QStringLiteral("lb");
    s.cnt = QStringLiteral("12");
    s.unit = QStringLiteral("歩");
    s.sweat_cd = QStringLiteral("3");
    s.comment = QStringLiteral("膝に注意\r\n\r\n次回 85");
    return s;
}

StoredSet Plank() {
    StoredSet s;
    s.grp_cd = QStringLiteral("06");
    s.exer_cd = QStringLiteral("01");
    s.cnt.clear();
    s.unit.clear();
    s.cnt_min = QStringLiteral("2");
    s.cnt_sec = QStringLiteral("30");
    s.sweat_cd = QStringLiteral("1");
    s.comment = QStringLiteral("PK=2024/05/14,03,02,2");
    return s;
}

class SelectionTest : public RecordSelectionTest {
  protected:
    void SetUp() override {
        Store(env.layout, LegPress());
        Store(env.layout, Plank());
        startWindow();
    }
    void selectKey(const QString& key) {
        const int row = RowOfKey(window->lstRecord, key);
        ASSERT_NE(row, -1) << key.toStdString();
        MainWindow::selectRow(window->lstRecord, row);
    }
    // Start, set loaded, key-less line selected, nothing selected: the four button states.
    void expectButtons(bool insert, bool update, bool remove, bool unselect) {
        EXPECT_EQ(window->cmdInsert->isEnabled(), insert);
        EXPECT_EQ(window->cmdUpdate->isEnabled(), update);
        EXPECT_EQ(window->cmdDelete->isEnabled(), remove);
        EXPECT_EQ(window->cmdUnselect->isEnabled(), unselect);
    }
    void expectEntryEmptied() {
        MainWindow& w = *window;
        for (QLineEdit* box : {w.txtTarget, w.txtHMS[0], w.txtHMS[1], w.txtCount})
            EXPECT_TRUE(box->text().isEmpty()) << box->text().toStdString();
        EXPECT_TRUE(w.txtComment->toPlainText().isEmpty());
        EXPECT_EQ(MainWindow::selectedRow(w.lstUnit), -1);
        EXPECT_EQ(MainWindow::selectedRow(w.lstSweat), -1);
    }
};

TEST_F(SelectionTest, RecordLineLoadsItsSet) {
    MainWindow& w = *window;
    // With no range selected every set is listed and a group's click would rebuild the list,
    // but not while a set is loading.
    MainWindow::selectRow(w.lstRange, -1);
    ASSERT_EQ(MainWindow::selectedText(w.lstGrp), QStringLiteral("01 胸"));
    selectKey(QStringLiteral("2024/05/14,03,02,2"));

    EXPECT_EQ(MainWindow::selectedText(w.lstGrp), QStringLiteral("03 脚"));
    EXPECT_EQ(MainWindow::selectedText(w.lstExer), QStringLiteral("02 レッグプレス"));
    EXPECT_EQ(w.txtTarget->text(), QStringLiteral("80.5"));
    EXPECT_EQ(MainWindow::selectedText(w.lstUnitTarget), QStringLiteral("lb"));
    EXPECT_EQ(MainWindow::selectedText(w.lstUnit), QStringLiteral("歩"));
    EXPECT_EQ(w.txtHMS[0]->text(), QStringLiteral("10:00:00"));
    EXPECT_EQ(w.txtHMS[1]->text(), QStringLiteral("10:02:10"));
    EXPECT_EQ(w.txtCount->text(), QStringLiteral("12"));
    EXPECT_TRUE(w.txtCountMin->text().isEmpty());
    EXPECT_TRUE(w.txtCountSec->text().isEmpty());
    EXPECT_EQ(MainWindow::selectedRow(w.lstSweat), 3);
    EXPECT_EQ(w.txtComment->toPlainText(), QStringLiteral("膝に注意\n\n次回 85"));
    EXPECT_EQ(w.commentText(), QStringLiteral("膝に注意\r\n\r\n次回 85"));
    EXPECT_EQ(w.txtYmd->text(), QStringLiteral("2024/05/14"));
    EXPECT_FALSE(w.m_loadingRecord);
    expectButtons(false, true, true, true);
    // The list was not rebuilt: the clicked line is still the selection.
    RecordKey key;
    ASSERT_TRUE(w.SelectedRecordKey(key));
    EXPECT_EQ(key.grp_cd, QStringLiteral("03"));
    EXPECT_EQ(key.set_num, QStringLiteral("2"));
}

TEST_F(SelectionTest, DurationSetFillsMinutesAndSeconds) {
    MainWindow& w = *window;
    w.txtCount->setText(QStringLiteral("7"));
    selectKey(QStringLiteral("2024/05/14,06,01,1"));
    EXPECT_EQ(MainWindow::selectedText(w.lstGrp), QStringLiteral("06 体幹"));
    EXPECT_EQ(MainWindow::selectedText(w.lstExer), QStringLiteral("01 プランク"));
    EXPECT_TRUE(w.txtCount->text().isEmpty());
    EXPECT_EQ(w.txtCountMin->text(), QStringLiteral("2"));
    EXPECT_EQ(w.txtCountSec->text(), QStringLiteral("30"));
    EXPECT_EQ(MainWindow::selectedRow(w.lstUnit), -1);  // the seconds took the count unit away
    EXPECT_EQ(MainWindow::selectedRow(w.lstSweat), 1);
}

TEST_F(SelectionTest, DayLineAfterALoadedSetGivesAFreshEntry) {
    MainWindow& w = *window;
    selectKey(QStringLiteral("2024/05/14,06,01,1"));
    MainWindow::selectRow(w.lstRecord, 0);  // 2024/05/14(火)

    expectEntryEmptied();
    EXPECT_EQ(w.txtCountMin->text(), QStringLiteral("2"));
    EXPECT_EQ(w.txtCountSec->text(), QStringLiteral("30"));
    EXPECT_EQ(MainWindow::selectedText(w.lstGrp), QStringLiteral("06 体幹"));
    EXPECT_EQ(MainWindow::selectedText(w.lstExer), QStringLiteral("01 プランク"));
    EXPECT_EQ(MainWindow::selectedText(w.lstUnitTarget), QStringLiteral("kg"));
    EXPECT_EQ(w.txtYmd->text(), QStringLiteral("2024/05/14"));
    expectButtons(true, false, false, true);
}

// A comment holding a key's letters is a comment: it loads nothing.
TEST_F(SelectionTest, CommentLineNeverActsAsAKey) {
    MainWindow& w = *window;
    int commentRow = -1;
    for (int row = 0; row < w.lstRecord->count(); ++row)
        if (w.lstRecord->lineText(row).trimmed() == QStringLiteral("PK=2024/05/14,03,02,2"))
            commentRow = row;
    ASSERT_NE(commentRow, -1);
    MainWindow::selectRow(w.lstRecord, commentRow);
    expectEntryEmptied();
    EXPECT_NE(MainWindow::selectedText(w.lstGrp), QStringLiteral("03 脚"));
    expectButtons(true, false, false, true);
    RecordKey key;
    EXPECT_FALSE(w.SelectedRecordKey(key));
}

// A name holding "PK=" stands before the key part: the key is the line's last "PK=".
TEST_F(RecordSelectionTest, NameHoldingKeyLettersLoadsTheListedSet) {
    env.layout.exec(
        QStringLiteral("update m_exer set exer_name = 'PK=2024/05/14,01,01,1' where grp_cd = '02' "
                       "and exer_cd = '01';"));
    StoredSet pullUp;
    pullUp.grp_cd = QStringLiteral("02");
    pullUp.cnt = QStringLiteral("5");
    Store(env.layout, pullUp);
    Store(env.layout, StoredSet());  // the set the name points at
    startWindow();
    MainWindow& w = *window;
    MainWindow::selectRow(w.lstRecord, RowOfKey(w.lstRecord, QStringLiteral("2024/05/14,02,01,1")));
    EXPECT_EQ(MainWindow::selectedText(w.lstGrp), QStringLiteral("02 背中"));
    EXPECT_EQ(w.txtCount->text(), QStringLiteral("5"));
}

TEST_F(SelectionTest, UnselectReturnsToAFreshEntry) {
    MainWindow& w = *window;
    selectKey(QStringLiteral("2024/05/14,06,01,1"));
    w.cmdUnselect->click();
    EXPECT_TRUE(MainWindow::selectedRow(w.lstRecord) < 0);
    expectEntryEmptied();
    EXPECT_TRUE(w.txtCountMin->text().isEmpty());
    EXPECT_TRUE(w.txtCountSec->text().isEmpty());
    expectButtons(true, false, false, false);
}

// After a rebuild the loaded set is no longer selected; "選択解除" still leaves the set's
// buttons behind, so that delete cannot act on a line that is gone.
TEST_F(SelectionTest, UnselectAfterARebuildStillResetsTheButtons) {
    MainWindow& w = *window;
    selectKey(QStringLiteral("2024/05/14,03,02,2"));
    w.optComment[0]->click();
    ASSERT_TRUE(MainWindow::selectedRow(w.lstRecord) < 0);
    ASSERT_TRUE(w.cmdDelete->isEnabled());
    w.cmdUnselect->click();
    expectEntryEmptied();
    expectButtons(true, false, false, false);
}

TEST_F(SelectionTest, ClearButtonsEmptyTheirFieldsAndTakeTheFocus) {
    MainWindow& w = *window;
    w.activateWindow();
    struct ClearCase {
        int index;
        std::vector<QLineEdit*> emptied;
        QWidget* focus;
    };
    const ClearCase cases[] = {
        {0, {w.txtTarget}, w.txtTarget}, {1, {w.txtHMS[0]}, w.txtHMS[0]},
        {2, {w.txtHMS[1]}, w.txtHMS[1]}, {3, {w.txtCount}, w.txtCount},
        {4, {}, w.txtComment},           {5, {w.txtCountMin, w.txtCountSec}, w.txtCountMin},
    };
    for (const ClearCase& c : cases) {
        for (QLineEdit* box :
             {w.txtTarget, w.txtHMS[0], w.txtHMS[1], w.txtCount, w.txtCountMin, w.txtCountSec})
            box->setText(QStringLiteral("1"));
        w.setCommentText(QStringLiteral("a\r\nb"));
        w.txtYmd->setFocus();
        w.cmdClear[c.index]->click();

        for (QLineEdit* box :
             {w.txtTarget, w.txtHMS[0], w.txtHMS[1], w.txtCount, w.txtCountMin, w.txtCountSec}) {
            const bool emptied =
                std::find(c.emptied.begin(), c.emptied.end(), box) != c.emptied.end();
            EXPECT_EQ(box->text().isEmpty(), emptied) << "index " << c.index;
        }
        EXPECT_EQ(w.txtComment->toPlainText().isEmpty(), c.index == 4) << "index " << c.index;
        EXPECT_EQ(w.focusWidget(), c.focus) << "index " << c.index;
    }
}

TEST_F(RecordSelectionTest, SweatCodeBeyondTheListEndsWithTheStatement) {
    struct SweatCase {
        QString code;
        QString description;
    };
    const SweatCase cases[] = {{QStringLiteral("7"), QStringLiteral("Invalid property value")},
                               {QStringLiteral("x"), QStringLiteral("Type mismatch")}};
    StoredSet set;
    for (const SweatCase& c : cases) {
        set.set_num = QString::number(set.set_num.toInt() + 1);
        set.sweat_cd = c.code;
        Store(env.layout, set);
    }
    startWindow();
    int setNum = 1;
    for (const SweatCase& c : cases) {
        ++setNum;
        const RecordKey key{"2024/05/14", "01", "01", QString::number(setNum)};
        const EndedRun run = RunExpectingEnd(env.platform, [&] {
            MainWindow::selectRow(
                window->lstRecord,
                RowOfKey(window->lstRecord, QStringLiteral("2024/05/14,01,01,") + key.set_num));
        });
        EXPECT_TRUE(run.ended);
        EXPECT_NE(run.status, 0);
        ASSERT_EQ(run.shown.size(), 1u);
        EXPECT_EQ(run.shown[0].text, c.description + QStringLiteral("\r\n") + LoadExerSql(key));
        EXPECT_EQ(run.shown[0].caption, QStringLiteral("Sorvenka"));
    }
}

TEST_F(RecordSelectionTest, VanishedSetEndsTheProgram) {
    Store(env.layout, StoredSet());
    startWindow();
    env.layout.exec(QStringLiteral("delete from t_exer;"));
    const EndedRun run = RunExpectingEnd(env.platform, [&] {
        MainWindow::selectRow(window->lstRecord,
                              RowOfKey(window->lstRecord, QStringLiteral("2024/05/14,01,01,1")));
    });
    EXPECT_TRUE(run.ended);
    ASSERT_FALSE(run.shown.empty());
    EXPECT_TRUE(run.shown[0].text.startsWith(QStringLiteral("Error!")));
}

QString LogText(const TempLayout& layout) {
    QFile file(layout.programFolder() + QStringLiteral("/Valdrome_log.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST_F(RecordSelectionTest, CloseBoxAndQuitButtonCloseTheDatabaseAndEnd) {
    startWindow();
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"close box", [&] { window->close(); }},
        {"終了", [&] { window->cmdEnd->click(); }},
        {"unload", [&] { window->Form_Unload(); }},
    };
    for (const auto& [name, way] : ways) {
        QFile::remove(env.layout.programFolder() + QStringLiteral("/Valdrome_log.txt"));
        const EndedRun run = RunExpectingEnd(env.platform, way);
        EXPECT_TRUE(run.ended) << name;
        EXPECT_EQ(run.status, 0) << name;
        EXPECT_TRUE(run.shown.empty()) << name;
        EXPECT_TRUE(LogText(env.layout).contains(QStringLiteral("SQLite3Close"))) << name;
    }
}

}  // namespace
}  // namespace sorvenka::testing
