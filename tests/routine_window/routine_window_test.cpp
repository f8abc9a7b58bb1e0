// The メニュー window through its real widgets on a real database: the plan of the main window's
// date, a line filling the entry, 開始 and 完了して登録 with the done count and the reason
// following, the editing of routines, days, items, plates and warm-ups, and 「メニューに反映」.
#include "routine_window/routine_window.h"

#include <QTest>

#include "last_session_window/last_session_panel.h"
#include "main_window/entry_window_fixture.h"
#include "routines/routine_store.h"
#include "routines/routine_tables.h"
#include "support/accessible_names.h"

namespace sorvenka::testing {
namespace {

class RoutineWindowTest : public EntryWindowTest {
  protected:
    // 2024/05/10: bench press 60kg × 12, 12, 12 (sweat 3). The routine 全身, day A: bench press
    // (double progression 8–12 from 60kg, rest 2:00) and squat (linear 5 from 100kg, rest 3:00).
    void SetUp() override {
        open(QStringLiteral(
            "insert into t_exer values ('2024/05/10','01','01',1,'18:00:00','18:01:00',60,'kg',12,"
            "'回',null,null,'3',null),('2024/05/10','01','01',2,'18:04:00','18:05:00',60,'kg',12,"
            "'回',null,null,'3',null),('2024/05/10','01','01',3,'18:08:00','18:09:00',60,'kg',12,"
            "'回',null,null,'3',null);"));
        sqlite3* db = fx.db.connection();
        Routine routine;
        routine.name = QStringLiteral("全身");
        ASSERT_TRUE(AddRoutine(db, routine));
        RoutineDay day;
        day.routineId = routine.id;
        day.name = QStringLiteral("A");
        ASSERT_TRUE(AddDay(db, day));
        RoutineItem bench;
        bench.dayId = day.id;
        bench.grpCd = QStringLiteral("01");
        bench.exerCd = QStringLiteral("01");
        bench.rule = ProgressionRule::Double;
        bench.repMin = 8;
        bench.repMax = 12;
        bench.startLoad = 60;
        bench.restSec = 120;
        ASSERT_TRUE(AddItem(db, bench));
        RoutineItem squat = bench;
        squat.grpCd = QStringLiteral("03");
        squat.rule = ProgressionRule::Linear;
        squat.repMin = squat.repMax = 5;
        squat.startLoad = 100;
        squat.restSec = 180;
        ASSERT_TRUE(AddItem(db, squat));

        w->cmdRoutine->click();
        rw = w->findChild<RoutineWindow*>();
        ASSERT_NE(rw, nullptr);
    }

    // The row of the item's line (the first for a superset), -1 when none.
    int itemRow(int item) const {
        for (int row = 0; row < rw->tvPlan->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* line = rw->tvPlan->topLevelItem(row);
            if (line->data(0, RoutineWindow::kLineKindRole).toInt() == RoutineWindow::ItemLine &&
                line->data(0, RoutineWindow::kItemRole).toInt() == item)
                return row;
        }
        return -1;
    }
    QString cell(int item, int column) const {
        const int row = itemRow(item);
        return row < 0 ? QString() : rw->tvPlan->topLevelItem(row)->text(column);
    }
    // A user's click on the line.
    void clickRow(int row) {
        QTreeWidgetItem* line = rw->tvPlan->topLevelItem(row);
        ASSERT_NE(line, nullptr);
        rw->tvPlan->scrollToItem(line);
        QTest::mouseClick(rw->tvPlan->viewport(), Qt::LeftButton, {},
                          rw->tvPlan->visualItemRect(line).center());
    }
    int restLength() const { return w->lastSessionPanel->cboRest->currentData().toInt(); }
    RoutineBook book() const {
        RoutineBook b;
        EXPECT_TRUE(ReadRoutineBook(fx.db.connection(), b));
        return b;
    }

    RoutineWindow* rw = nullptr;
};

TEST_F(RoutineWindowTest, PickALineFillStartFinishAndTheLinesFollow) {
    EXPECT_EQ(cell(0, 0), QStringLiteral("ベンチプレス"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("0/3"));
    EXPECT_TRUE(cell(0, 2).startsWith(QStringLiteral("62.5kg×8"))) << cell(0, 2).toStdString();
    EXPECT_EQ(cell(0, 3), QStringLiteral("2:00"));
    EXPECT_EQ(cell(0, 4), QStringLiteral("前回 60kg×12,12,12 達成 → 62.5kg"));
    EXPECT_TRUE(cell(0, 5).contains(QStringLiteral("片側"))) << cell(0, 5).toStdString();
    EXPECT_EQ(cell(1, 4), QStringLiteral("前回なし → 開始重量"));
    // The warm-ups come before the first working set.
    ASSERT_GT(itemRow(0), 0);
    EXPECT_EQ(rw->tvPlan->topLevelItem(0)->data(0, RoutineWindow::kLineKindRole).toInt(),
              int(RoutineWindow::WarmupLine));

    clickRow(itemRow(0));
    EXPECT_EQ(MainWindow::selectedText(w->lstGrp), QStringLiteral("01 胸"));
    EXPECT_EQ(MainWindow::selectedText(w->lstExer), QStringLiteral("01 ベンチプレス"));
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("62.5"));
    EXPECT_EQ(MainWindow::selectedText(w->lstUnitTarget), QStringLiteral("kg"));
    EXPECT_EQ(w->txtCount->text(), QStringLiteral("8"));
    EXPECT_EQ(MainWindow::selectedText(w->lstUnit), QStringLiteral("回"));
    EXPECT_EQ(restLength(), 120);
    EXPECT_EQ(storedSets(), 3);  // nothing stored by a fill

    w->cmdStartSet->click();
    EXPECT_EQ(w->txtHMS[0]->text(), QStringLiteral("09:30:15"));
    EXPECT_EQ(w->txtCount->text(), QStringLiteral("8"));
    fx.platform.clock = fx.platform.clock.addSecs(60);
    pickItem(w->lstSweat, QStringLiteral("2 普通"));
    w->cmdFinishInsert->click();
    EXPECT_TRUE(fx.platform.shown.empty());
    EXPECT_EQ(scalar(QStringLiteral("select hms_sta||'-'||hms_end||' '||target||unit_t||'×'||cnt "
                                    "from t_exer where ymd = '2024/05/14'")),
              QStringLiteral("09:30:15-09:31:15 62.5kg×8"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("1/3"));

    // The second set in three clicks: the line, 開始, 完了して登録 (the day's sweat level).
    clickRow(itemRow(0));
    w->cmdStartSet->click();
    fx.platform.clock = fx.platform.clock.addSecs(180);
    w->cmdFinishInsert->click();
    EXPECT_TRUE(fx.platform.shown.empty());
    EXPECT_EQ(cell(0, 1), QStringLiteral("2/3"));
    EXPECT_EQ(scalar(QStringLiteral("select group_concat(sweat_cd) from t_exer "
                                    "where ymd = '2024/05/14'")),
              QStringLiteral("2,2"));

    // A set of the last session deleted in the main window: the reason follows at once.
    w->txtYmd->setText(QStringLiteral("2024/05/10"));
    selectRecord({QStringLiteral("2024/05/10"), QStringLiteral("01"), QStringLiteral("01"),
                  QStringLiteral("3")});
    w->cmdDelete->click();
    w->txtYmd->setText(kToday);
    EXPECT_EQ(cell(0, 4), QStringLiteral("前回 60kg×12,12 → 据え置き"));
    EXPECT_TRUE(cell(0, 2).startsWith(QStringLiteral("60kg×"))) << cell(0, 2).toStdString();
    EXPECT_EQ(cell(0, 1), QStringLiteral("2/3"));
}

TEST_F(RoutineWindowTest, AWarmupRowFillsItsLoadAndRepetitions) {
    ASSERT_EQ(rw->tvPlan->topLevelItem(0)->data(0, RoutineWindow::kLineKindRole).toInt(),
              int(RoutineWindow::WarmupLine));
    EXPECT_TRUE(rw->tvPlan->topLevelItem(0)->text(5).startsWith(QStringLiteral("バー20kg")));
    clickRow(0);
    EXPECT_EQ(MainWindow::selectedText(w->lstExer), QStringLiteral("01 ベンチプレス"));
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("20"));
    EXPECT_EQ(w->txtCount->text(), QStringLiteral("10"));
    EXPECT_EQ(storedSets(), 3);
}

TEST_F(RoutineWindowTest, ARestTheClockDoesNotOfferJoinsItsList) {
    RoutineItem bench = book().items.front();
    bench.restSec = 75;
    ASSERT_TRUE(UpdateItem(fx.db.connection(), bench));
    rw->refresh();
    clickRow(itemRow(0));
    EXPECT_EQ(restLength(), 75);
    EXPECT_EQ(w->lastSessionPanel->cboRest->currentText(), QStringLiteral("1:15"));
}

TEST_F(RoutineWindowTest, SupersetLinesAlternateAndRestAfterTheRound) {
    RoutineBook b = book();
    for (RoutineItem item : b.items) {
        item.superset = QStringLiteral("A");
        item.workingSets = 2;
        ASSERT_TRUE(UpdateItem(fx.db.connection(), item));
    }
    rw->refresh();
    QStringList lines;
    std::vector<int> itemRows;
    for (int row = 0; row < rw->tvPlan->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* line = rw->tvPlan->topLevelItem(row);
        if (line->data(0, RoutineWindow::kLineKindRole).toInt() != RoutineWindow::ItemLine)
            continue;
        lines << line->text(0) + QLatin1Char(' ') + line->text(3);
        itemRows.push_back(row);
    }
    EXPECT_EQ(lines, (QStringList{"A1 ベンチプレス —", "B1 スクワット 3:00", "A2 ベンチプレス —",
                                  "B2 スクワット 3:00"}));
    ASSERT_EQ(itemRows.size(), 4u);
    // Within a round the next exercise follows at once; the round's end sets the rest.
    clickRow(itemRows[0]);
    EXPECT_EQ(restLength(), 0);
    EXPECT_EQ(MainWindow::selectedText(w->lstExer), QStringLiteral("01 ベンチプレス"));
    clickRow(itemRows[1]);
    EXPECT_EQ(restLength(), 180);
    EXPECT_EQ(MainWindow::selectedText(w->lstGrp), QStringLiteral("03 脚"));
}

TEST_F(RoutineWindowTest, AnotherDayCanBePicked) {
    RoutineDay b;
    b.routineId = book().routines.front().id;
    b.name = QStringLiteral("B");
    ASSERT_TRUE(AddDay(fx.db.connection(), b));
    rw->refresh();
    EXPECT_TRUE(rw->lblPlanDay->text().contains(QStringLiteral("「A」")));
    rw->cboPlanDay->setCurrentIndex(rw->cboPlanDay->findText(QStringLiteral("B")));
    Q_EMIT rw->cboPlanDay->activated(rw->cboPlanDay->currentIndex());
    EXPECT_TRUE(rw->lblPlanDay->text().contains(QStringLiteral("「B」")));
    EXPECT_EQ(rw->tvPlan->topLevelItemCount(), 0);
}

TEST_F(RoutineWindowTest, RoutinesDaysAndItemsAreMadeRenamedOrderedAndDeleted) {
    fx.platform.inputs = {QStringLiteral("脚の日"), QStringLiteral("月"), QStringLiteral("下半身")};
    rw->cmdAddRoutine->click();
    EXPECT_EQ(rw->cboRoutine->currentText(), QStringLiteral("脚の日"));
    rw->cmdAddDay->click();
    EXPECT_EQ(rw->lstDays->currentItem()->text(), QStringLiteral("月"));
    rw->cmdRenameRoutine->click();
    EXPECT_EQ(rw->cboRoutine->currentText(), QStringLiteral("下半身"));

    // Two items chosen from the masters; the second moved up.
    for (const auto& [grp, exer] : {std::pair{"03", "01"}, std::pair{"03", "02"}}) {
        rw->cboGrp->setCurrentIndex(rw->cboGrp->findData(QString::fromUtf8(grp)));
        Q_EMIT rw->cboGrp->activated(rw->cboGrp->currentIndex());
        rw->cboExer->setCurrentIndex(rw->cboExer->findData(QString::fromUtf8(exer)));
        rw->spnSets->setValue(4);
        rw->cmdAddItem->click();
    }
    ASSERT_EQ(rw->lstItems->count(), 2);
    EXPECT_EQ(rw->lstItems->currentRow(), 1);
    rw->cmdItemUp->click();
    std::vector<RoutineItem> items;
    for (const RoutineItem& i : book().items)
        if (i.dayId == rw->lstDays->currentItem()->data(Qt::UserRole).toLongLong())
            items.push_back(i);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].exerCd, QStringLiteral("02"));
    EXPECT_EQ(items[0].workingSets, 4);
    // The new routine goes last; moved up it comes first.
    rw->cmdRoutineUp->click();
    EXPECT_EQ(book().routines.front().name, QStringLiteral("下半身"));

    // Changed fields are saved to the chosen item.
    rw->spnRest->setValue(150);
    rw->cmdSaveItem->click();
    EXPECT_EQ(book().itemsOf(items[0].dayId).front().restSec, 150);

    // Deleting asks first: No keeps, Yes deletes with the days and items.
    fx.platform.answers = {Answer::No};
    rw->cmdDeleteRoutine->click();
    EXPECT_EQ(book().routines.size(), 2u);
    fx.platform.answers = {Answer::Yes};
    rw->cmdDeleteRoutine->click();
    ASSERT_EQ(book().routines.size(), 1u);
    EXPECT_EQ(book().routines.front().name, QStringLiteral("全身"));
    EXPECT_EQ(book().items.size(), 2u);
}

TEST_F(RoutineWindowTest, ADayIsMadeFromTheSetsOfTheMainWindowsDate) {
    w->txtYmd->setText(QStringLiteral("2024/05/10"));
    rw->cmdDayFromLog->click();  // named after the date: the input box's default
    EXPECT_EQ(rw->lstDays->currentItem()->text(), QStringLiteral("2024/05/10"));
    ASSERT_EQ(rw->lstItems->count(), 1);
    const RoutineBook b = book();
    const std::vector<RoutineItem> items =
        b.itemsOf(rw->lstDays->currentItem()->data(Qt::UserRole).toLongLong());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].workingSets, 3);
    EXPECT_EQ(items[0].startLoad, 60);

    // A date without sets says so and makes nothing.
    w->txtYmd->setText(QStringLiteral("2024/05/11"));
    rw->cmdDayFromLog->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(book().days.size(), 2u);
}

TEST_F(RoutineWindowTest, PlatesAndWarmupsAreEditedAndWrongTextIsRefused) {
    rw->cboPlateUnit->setCurrentText(QStringLiteral("kg"));
    rw->txtPlates->setText(QStringLiteral("20×2, ten×1"));
    rw->cmdSavePlates->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_FALSE(RoutineTablesExist(fx.db.connection()) && [&] {
        std::vector<PlateInventory> all;
        return ReadAllPlates(fx.db.connection(), all) && !all.empty();
    }());

    rw->spnBar->setValue(15);
    rw->txtPlates->setText(QStringLiteral("10x1、20×1"));
    rw->cmdSavePlates->click();
    PlateInventory plates;
    ASSERT_TRUE(ReadPlates(fx.db.connection(), QStringLiteral("kg"), plates));
    EXPECT_EQ(plates.bar, 15);
    EXPECT_EQ(plates.plates, (std::vector<PlatePair>{{20, 1}, {10, 1}}));
    EXPECT_EQ(rw->txtPlates->text(), QStringLiteral("20×1, 10×1"));
    // 62.5kg cannot be made from these: the plan says so.
    EXPECT_TRUE(cell(0, 5).contains(QStringLiteral("作れません"))) << cell(0, 5).toStdString();

    rw->txtWarmup->setText(QStringLiteral("0×10, 150×1"));
    rw->cmdSaveWarmup->click();
    EXPECT_EQ(fx.platform.shown.size(), 2u);
    rw->txtWarmup->setText(QStringLiteral("0×8, 50×5"));
    rw->cmdSaveWarmup->click();
    WarmupScheme scheme;
    ASSERT_TRUE(ReadWarmup(fx.db.connection(), scheme));
    EXPECT_EQ(scheme.steps, (std::vector<WarmupStep>{{0, 8}, {50, 5}}));
}

TEST_F(RoutineWindowTest, TodaysLoadsAreTakenIntoThePlanItemByItem) {
    fx.layout.exec(QStringLiteral(
        "insert into t_exer values ('2024/05/14','01','01',1,'09:00:00','09:01:00',65,'kg',8,"
        "'回',null,null,'2',null),('2024/05/14','03','01',1,'09:10:00','09:11:00',110,'kg',5,"
        "'回',null,null,'2',null);"));
    rw->refresh();
    fx.platform.answers = {Answer::No, Answer::Yes};
    rw->cmdReflect->click();
    ASSERT_EQ(fx.platform.shown.size(), 2u);
    EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(fx.platform.shown[0].text.contains(QStringLiteral("ベンチプレス")));
    const RoutineBook b = book();
    EXPECT_EQ(b.items[0].startLoad, 60);   // No: kept
    EXPECT_EQ(b.items[1].startLoad, 110);  // Yes: taken
}

TEST_F(RoutineWindowTest, OneWindowEveryControlNamedAndItFitsTheScreen) {
    w->cmdRoutine->click();
    EXPECT_EQ(w->findChildren<RoutineWindow*>().size(), 1u);
    EXPECT_FALSE(rw->isModal());
    for (QWidget* control : SpokenControls(rw))
        EXPECT_FALSE(AccessibleName(control).trimmed().isEmpty())
            << control->metaObject()->className() << " " << control->x() << "," << control->y();
    EXPECT_LE(rw->width(), 1366);
    EXPECT_LE(rw->height(), 768 - 60);  // a title bar and a task bar
    EXPECT_LE(rw->minimumSizeHint().width(), rw->width());
    EXPECT_LE(rw->minimumSizeHint().height(), rw->height());
    // A picture to look at: SORVENKA_SHOTS=folder.
    if (const QByteArray folder = qgetenv("SORVENKA_SHOTS"); !folder.isEmpty()) {
        rw->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/routine_window.png"));
        w->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/main_window.png"));
    }
}

}  // namespace
}  // namespace sorvenka::testing
