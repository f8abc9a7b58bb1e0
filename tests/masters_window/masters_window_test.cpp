// The management window driven through its real widgets, opened from the main window: a merge
// of twin exercises followed by the record list, the progress window and the file; names asked
// through the input box; hidden and reordered entries in the main window's lists.
#include "masters_window/masters_window.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>

#include "main_window/progress_module.h"
#include "main_window/window_fixture.h"
#include "progress_window/progress_window.h"
#include "startup/master_codes.h"

namespace sorvenka::testing {
namespace {

void ClickRow(QTableWidget* table, int row) {
    table->scrollToItem(table->item(row, 0));
    const QPoint point = table->visualItemRect(table->item(row, 0)).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, point, table->viewport()->mapToGlobal(point), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(table->viewport(), &event);
    }
}

// The row of a table whose code cell is the code.
int RowOf(const QTableWidget* table, const QString& code) {
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == code) return row;
    return -1;
}

QString Cell(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

class MastersWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        UseLinkedProgressWindow(&SorvenkaOpenProgress);
        env.layout.exec(
            QStringLiteral("insert into m_exer values ('01','05','Bench Press (Barbell)',1,5);"));
        // ベンチプレス and its twin share 2024/05/14; the twin alone has 2024/05/13.
        const struct {
            const char *ymd, *exer, *num, *start, *comment;
        } sets[] = {
            {"2024/05/14", "01", "1", "09:00:00", "b1"},
            {"2024/05/14", "01", "2", "09:05:00", "b2"},
            {"2024/05/14", "05", "1", "09:30:00", "t1"},
            {"2024/05/14", "05", "2", "", "t2"},
            {"2024/05/14", "05", "3", "08:00:00", "t3"},
            {"2024/05/13", "05", "1", "08:00:00", "t4"},
        };
        for (const auto& s : sets) {
            StoredSet set;
            set.ymd = QString::fromUtf8(s.ymd);
            set.exer_cd = QString::fromUtf8(s.exer);
            set.set_num = QString::fromUtf8(s.num);
            set.hms_sta = QString::fromUtf8(s.start);
            set.comment = QString::fromUtf8(s.comment);
            Store(env.layout, set);
        }
        startWindow();
        QApplication::processEvents();
        MainWindow::SelectItemByCode(window->lstGrp, QStringLiteral("01"));
        MainWindow::SelectItemByCode(window->lstExer, QStringLiteral("05"));
    }
    MastersWindow* open() {
        window->cmdMasters->click();
        QApplication::processEvents();
        return window->findChild<MastersWindow*>();
    }
    QString keys() {
        return ScalarText(env.layout.dbPath(),
                          QStringLiteral("select group_concat(k, ' ') from (select comment||'='||"
                                         "grp_cd||exer_cd||'#'||set_num as k from t_exer "
                                         "order by comment)"));
    }
    void expectMastersPass() {
        QString message;
        EXPECT_TRUE(CheckMasterCodes(env.db, message)) << message.toStdString();
    }
};

TEST_F(MastersWindowTest, TheButtonOpensOneWindowInTheFreeArea) {
    EXPECT_EQ(window->cmdMasters->geometry(), QRect(1056, 344, 185, 33));
    EXPECT_EQ(window->cmdMasters->text(), QStringLiteral("種目の管理"));
    EXPECT_EQ(window->cmdCsvImport->nextInFocusChain(), window->cmdMasters);
    MastersWindow* masters = open();
    ASSERT_NE(masters, nullptr);
    EXPECT_TRUE(masters->isVisible());
    EXPECT_TRUE(masters->isWindow());
    EXPECT_FALSE(masters->isModal());
    // It starts on the main window's choice, with the usage of each exercise.
    EXPECT_EQ(masters->selectedExercise(), (ExerciseKey{"01", "05"}));
    const int twin = RowOf(masters->tblExercises, QStringLiteral("05"));
    EXPECT_EQ(Cell(masters->tblExercises, twin, 3), QStringLiteral("4"));
    EXPECT_EQ(Cell(masters->tblExercises, twin, 4), QStringLiteral("2024/05/13"));
    EXPECT_EQ(Cell(masters->tblExercises, twin, 5), QStringLiteral("2024/05/14"));
    masters->hide();
    window->cmdMasters->click();
    EXPECT_EQ(window->findChildren<MastersWindow*>().size(), 1);
    EXPECT_TRUE(masters->isVisible());
    // Every control a screen reader names.
    for (QWidget* control : masters->findChildren<QWidget*>()) {
        if (qobject_cast<QPushButton*>(control) || qobject_cast<QTableWidget*>(control) ||
            qobject_cast<QComboBox*>(control)) {
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
        }
    }
}

TEST_F(MastersWindowTest, MergeOfTwinsFollowedEverywhere) {
    window->cmdProgress->click();
    auto* progress = window->findChild<ProgressWindow*>();
    ASSERT_NE(progress, nullptr);
    ASSERT_EQ(progress->selectedExerCd(), QStringLiteral("05"));
    MastersWindow* masters = open();
    ASSERT_NE(masters, nullptr);
    ClickRow(masters->tblExercises, RowOf(masters->tblExercises, QStringLiteral("05")));
    masters->cboMergeInto->setCurrentIndex(
        masters->cboMergeInto->findText(QStringLiteral("01 胸 / 01 ベンチプレス")));
    env.platform.shown.clear();
    masters->cmdMerge->click();  // the preview's OK, then the summary

    ASSERT_EQ(env.platform.shown.size(), 2u);
    const QString preview = env.platform.shown[0].text;
    EXPECT_EQ(env.platform.shown[0].buttons, Buttons::OkCancel);
    EXPECT_TRUE(preview.contains(QStringLiteral("移すセット: 4セット（2日分）")))
        << preview.toStdString();
    EXPECT_TRUE(preview.contains(QStringLiteral("統合先にも記録がある日: 1日（その3セット")));
    EXPECT_TRUE(preview.contains(QStringLiteral("merge_exercise_20240514-093015.sqlite3")));
    // Written by hand: t3 (08:00) and t1 (09:30) after ベンチプレス's two, t2 without a time
    // last; t4 keeps its number on a day of its own.
    EXPECT_EQ(keys(),
              QStringLiteral("b1=0101#1 b2=0101#2 t1=0101#4 t2=0101#5 t3=0101#3 t4=0101#1"));
    EXPECT_TRUE(QFile::exists(env.layout.folder(QStringLiteral("db_backup")) +
                              QStringLiteral("/merge_exercise_20240514-093015.sqlite3")));

    // The main window: the twin is gone, the group stays chosen, the record list names the sets
    // ベンチプレス.
    EXPECT_EQ(MainWindow::selectedText(window->lstGrp), QStringLiteral("01 胸"));
    EXPECT_FALSE(Items(window->lstExer).contains(QStringLiteral("05 Bench Press (Barbell)")));
    EXPECT_EQ(MainWindow::selectedRow(window->lstExer), -1);
    int benchLines = 0;
    for (int row = 0; row < window->lstRecord->count(); ++row) {
        EXPECT_FALSE(window->lstRecord->lineText(row).contains(QStringLiteral("Bench Press")));
        benchLines += window->lstRecord->lineText(row).contains(QStringLiteral("ベンチプレス"));
    }
    EXPECT_EQ(benchLines, 6);
    // The progress window: its lists follow, and ベンチプレス's figures hold the merged sets.
    for (int i = 0; i < progress->cboExer->count(); ++i)
        EXPECT_FALSE(progress->cboExer->itemText(i).startsWith(QStringLiteral("05")));
    progress->cboExer->setCurrentIndex(0);
    ASSERT_EQ(progress->selectedExerCd(), QStringLiteral("01"));
    ASSERT_EQ(progress->history().days.size(), 2u);
    EXPECT_EQ(progress->history().days[0].sets, 1);
    EXPECT_EQ(progress->history().days[1].sets, 5);
    // The management window now shows ベンチプレス chosen with all six sets.
    EXPECT_EQ(masters->selectedExercise(), (ExerciseKey{"01", "01"}));
    EXPECT_EQ(Cell(masters->tblExercises, RowOf(masters->tblExercises, QStringLiteral("01")), 3),
              QStringLiteral("6"));
    expectMastersPass();
}

TEST_F(MastersWindowTest, CancelledPreviewWritesNothing) {
    MastersWindow* masters = open();
    ASSERT_NE(masters, nullptr);
    masters->cboMergeInto->setCurrentIndex(
        masters->cboMergeInto->findText(QStringLiteral("01 胸 / 01 ベンチプレス")));
    env.platform.answers = {Answer::Cancel};
    const QString before = keys();
    masters->cmdMerge->click();
    EXPECT_EQ(keys(), before);
    EXPECT_TRUE(QDir(env.layout.folder(QStringLiteral("db_backup"))).isEmpty());
    EXPECT_TRUE(Items(window->lstExer).contains(QStringLiteral("05 Bench Press (Barbell)")));
}

TEST_F(MastersWindowTest, NamesAreAskedAndRefusedNamesShown) {
    MastersWindow* masters = open();
    ASSERT_NE(masters, nullptr);
    struct Case {
        const char* what;
        QPushButton* button;
        QString typed;
        QString shownPart;  // the refusal shown; empty when the change is made
    };
    const Case cases[] = {
        {"exercise renamed to a used name", masters->cmdExerRename, QStringLiteral("ベンチプレス"),
         QStringLiteral("すでにあります")},
        {"blank name", masters->cmdExerRename, QStringLiteral("　"),
         QStringLiteral("名前を入力してください")},
        {"exercise renamed",
         masters->cmdExerRename,
         QStringLiteral("ベンチプレス（バーベル）"),
         {}},
        {"exercise added", masters->cmdExerAdd, QStringLiteral("ケーブルフライ"), {}},
        {"group added", masters->cmdGroupAdd, QStringLiteral("ストレッチ"), {}},
    };
    for (const Case& c : cases) {
        env.platform.shown.clear();
        env.platform.inputs = {c.typed};
        c.button->click();
        if (c.shownPart.isEmpty()) {
            EXPECT_TRUE(env.platform.shown.empty()) << c.what;
        } else {
            ASSERT_EQ(env.platform.shown.size(), 1u) << c.what;
            EXPECT_TRUE(env.platform.shown[0].text.contains(c.shownPart)) << c.what;
        }
    }
    // The main window's lists: the renamed twin still chosen, the new exercise and group listed.
    EXPECT_EQ(MainWindow::selectedText(window->lstExer),
              QStringLiteral("05 ベンチプレス（バーベル）"));
    EXPECT_TRUE(Items(window->lstExer).contains(QStringLiteral("06 ケーブルフライ")));
    EXPECT_EQ(Items(window->lstGrp).last(), QStringLiteral("08 ストレッチ"));
    EXPECT_EQ(masters->selectedGrpCd(), QStringLiteral("08"));
    expectMastersPass();
}

TEST_F(MastersWindowTest, HiddenAndReorderedEntriesInTheMainLists) {
    MastersWindow* masters = open();
    ASSERT_NE(masters, nullptr);
    ClickRow(masters->tblGroups, RowOf(masters->tblGroups, QStringLiteral("02")));
    masters->cmdGroupShow->click();
    EXPECT_EQ(Cell(masters->tblGroups, 1, 2), QStringLiteral("非表示"));
    EXPECT_FALSE(Items(window->lstGrp).contains(QStringLiteral("02 背中")));
    masters->cmdGroupUp->click();  // the hidden group keeps its place in the management list
    EXPECT_EQ(Cell(masters->tblGroups, 0, 0), QStringLiteral("02"));
    masters->cmdGroupShow->click();
    EXPECT_EQ(Items(window->lstGrp).mid(0, 2),
              (QStringList{QStringLiteral("02 背中"), QStringLiteral("01 胸")}));
    // The main window's choice stayed through all of it.
    EXPECT_EQ(MainWindow::selectedText(window->lstGrp), QStringLiteral("01 胸"));
    EXPECT_EQ(MainWindow::selectedText(window->lstExer),
              QStringLiteral("05 Bench Press (Barbell)"));

    // Delete is refused for an exercise with sets, done for one without.
    ClickRow(masters->tblGroups, RowOf(masters->tblGroups, QStringLiteral("01")));
    ClickRow(masters->tblExercises, RowOf(masters->tblExercises, QStringLiteral("05")));
    env.platform.shown.clear();
    masters->cmdExerDelete->click();
    ASSERT_EQ(env.platform.shown.size(), 2u);
    EXPECT_TRUE(env.platform.shown[1].text.contains(QStringLiteral("記録が4セット")));
    ClickRow(masters->tblExercises, RowOf(masters->tblExercises, QStringLiteral("03")));
    masters->cmdExerDelete->click();
    EXPECT_EQ(RowOf(masters->tblExercises, QStringLiteral("03")), -1);
    // The row that held it now holds the next exercise, which must not be taken as chosen.
    EXPECT_EQ(masters->selectedExercise(), ExerciseKey());
    EXPECT_FALSE(masters->cmdExerDelete->isEnabled());
    EXPECT_FALSE(Items(window->lstExer).contains(QStringLiteral("03 腕立て伏せ")));
    expectMastersPass();
}

TEST_F(MastersWindowTest, MoveToAnotherGroup) {
    MastersWindow* masters = open();
    ASSERT_NE(masters, nullptr);
    masters->cboMoveTo->setCurrentIndex(masters->cboMoveTo->findData(QStringLiteral("03")));
    masters->cmdMove->click();
    EXPECT_EQ(keys(),
              QStringLiteral("b1=0101#1 b2=0101#2 t1=0305#1 t2=0305#2 t3=0305#3 t4=0305#1"));
    // The management window follows the exercise; the main window loses it from group 01.
    EXPECT_EQ(masters->selectedExercise(), (ExerciseKey{"03", "05"}));
    EXPECT_FALSE(Items(window->lstExer).contains(QStringLiteral("05 Bench Press (Barbell)")));
    MainWindow::SelectItemByCode(window->lstGrp, QStringLiteral("03"));
    EXPECT_TRUE(Items(window->lstExer).contains(QStringLiteral("05 Bench Press (Barbell)")));
    expectMastersPass();
}

// The note under the tables grows from one line to three: the buttons stay where they were.
TEST_F(MastersWindowTest, ButtonsStayWhereTheyAreAsTheNoteGrows) {
    MastersWindow* masters = open();
    ASSERT_NE(masters, nullptr);
    const auto places = [masters] {
        std::vector<QRect> rects;
        for (QWidget* control : masters->findChildren<QWidget*>())
            if (qobject_cast<QPushButton*>(control) || qobject_cast<QComboBox*>(control) ||
                qobject_cast<QTableWidget*>(control))
                rects.push_back(QRect(control->mapTo(masters, QPoint(0, 0)), control->size()));
        return rects;
    };
    masters->lblNote->setText(QStringLiteral("一行"));
    QApplication::processEvents();
    const std::vector<QRect> before = places();
    // A real note: the merge's, then one of three lines.
    ClickRow(masters->tblExercises, RowOf(masters->tblExercises, QStringLiteral("05")));
    masters->cboMergeInto->setCurrentIndex(
        masters->cboMergeInto->findText(QStringLiteral("01 胸 / 01 ベンチプレス")));
    masters->cmdMerge->click();
    QApplication::processEvents();
    EXPECT_FALSE(masters->lblNote->text().isEmpty());
    EXPECT_EQ(places(), before) << masters->lblNote->text().toStdString();
    masters->lblNote->setText(QStringLiteral("一行目\n二行目\n三行目"));
    QApplication::processEvents();
    EXPECT_EQ(places(), before);
    EXPECT_GE(masters->lblNote->height(), masters->lblNote->sizeHint().height());
}

// The rest day and its group: each button that would move, merge, hide or delete them says
// why not at once, before any question, and changes nothing.
TEST_F(MastersWindowTest, TheRestDayIsRefusedAtEveryButtonButRename) {
    MastersWindow* masters = open();
    ASSERT_NE(masters, nullptr);
    struct Case {
        const char* what;
        QPushButton* button;
        const char* reason;
    };
    const Case cases[] = {
        {"hide", masters->cmdExerShow, "非表示にできません"},
        {"delete", masters->cmdExerDelete, "削除できません"},
        {"move", masters->cmdMove, "移動できません"},
        {"merge into another", masters->cmdMerge, "統合できません"},
        {"hide the group", masters->cmdGroupShow, "非表示にできません"},
        {"delete the group", masters->cmdGroupDelete, "削除できません"},
    };
    const QString everything = QStringLiteral(
        "select (select group_concat(grp_cd || exer_cd || exer_name || status) from m_exer) || "
        "(select group_concat(grp_cd || grp_name || status) from m_grp)");
    const QString before = ScalarText(env.layout.dbPath(), everything);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClickRow(masters->tblGroups, RowOf(masters->tblGroups, QStringLiteral("99")));
        ClickRow(masters->tblExercises, RowOf(masters->tblExercises, QStringLiteral("99")));
        ASSERT_EQ(masters->selectedExercise(), (ExerciseKey{"99", "99"}));
        masters->cboMoveTo->setCurrentIndex(masters->cboMoveTo->findData(QStringLiteral("01")));
        masters->cboMergeInto->setCurrentIndex(
            masters->cboMergeInto->findText(QStringLiteral("01 胸 / 01 ベンチプレス")));
        env.platform.shown.clear();
        c.button->click();
        ASSERT_EQ(env.platform.shown.size(), 1u);
        EXPECT_EQ(env.platform.shown[0].buttons, Buttons::Ok);
        EXPECT_TRUE(env.platform.shown[0].text.contains(QString::fromUtf8(c.reason)))
            << env.platform.shown[0].text.toStdString();
        EXPECT_EQ(ScalarText(env.layout.dbPath(), everything), before);
    }
    // Merging another exercise into it is refused the same way.
    ClickRow(masters->tblGroups, RowOf(masters->tblGroups, QStringLiteral("01")));
    ClickRow(masters->tblExercises, RowOf(masters->tblExercises, QStringLiteral("05")));
    const int restDay = masters->cboMergeInto->findText(QStringLiteral("99"), Qt::MatchStartsWith);
    ASSERT_GE(restDay, 0);
    masters->cboMergeInto->setCurrentIndex(restDay);
    env.platform.shown.clear();
    masters->cmdMerge->click();
    ASSERT_EQ(env.platform.shown.size(), 1u);
    EXPECT_TRUE(env.platform.shown[0].text.contains(QStringLiteral("統合することはできません")));
    EXPECT_EQ(ScalarText(env.layout.dbPath(), everything), before);
    EXPECT_TRUE(Items(window->lstGrp).contains(QStringLiteral("99 その他")));
    // Its name may change.
    ClickRow(masters->tblGroups, RowOf(masters->tblGroups, QStringLiteral("99")));
    ClickRow(masters->tblExercises, RowOf(masters->tblExercises, QStringLiteral("99")));
    env.platform.shown.clear();
    env.platform.inputs = {QStringLiteral("休み")};
    masters->cmdExerRename->click();
    EXPECT_TRUE(env.platform.shown.empty());
    expectMastersPass();
}

}  // namespace
}  // namespace sorvenka::testing
