// The small buttons around the entry: current time, zero, week count, shell opens and quit,
// and the unit clearing when seconds are typed.
#include "common/data_folders.h"
#include "common/platform.h"
#include "main_window/main_window.h"
#include "record_list/week_count.h"

namespace sorvenka {

void MainWindow::cmdNow_Click(int index) {
    txtHMS[index]->setText(platform_.now().time().toString(QStringLiteral("HH:mm:ss")));
    txtCount->setText(QString());
    txtCount->setFocus();
}

void MainWindow::cmdZero_Click(int index) {
    (index == 0 ? txtTarget : txtCount)->setText(QStringLiteral("0"));
}

void MainWindow::cmdInc_Click(int index) {
    // Stepped as decimal text, so that no count is too large to step.
    const QString weeks = txtWeekNum->text();
    const QString stepped = index == 1 ? WeekCountUp(weeks) : WeekCountDown(weeks);
    if (stepped != weeks) txtWeekNum->setText(stepped);
    RefreshRecordList();
}

void MainWindow::txtCountSec_Change() {
    // A duration excludes a count unit.
    if (!txtCountSec->text().isEmpty()) selectRow(lstUnit, -1);
}

void MainWindow::cmdOpen_Click(int index) {
    if (index == 0)
        platform_.shellOpen(DatabaseFilePath(baseFolder_));
    else if (index == 2)
        platform_.shellOpen(HelpPagePath(baseFolder_));
    // cmdOpen(1) is never visible and does nothing.
}

void MainWindow::cmdEnd_Click() {
    Form_Unload();
}

}  // namespace sorvenka
