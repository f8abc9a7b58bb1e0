// The record list: its rebuild, the selection of a line and the buttons around it.
#include <QGuiApplication>

#include "common/heap_memory.h"
#include "common/platform.h"
#include "common/text_tests.h"
#include "common/version.h"
#include "db/database.h"
#include "db/record_reads.h"
#include "db/record_statements.h"
#include "main_window/main_window.h"
#include "record_list/record_lines.h"
#include "record_list/record_period.h"

namespace sorvenka {

namespace {

// Shows the wait cursor while a long period is listed; a year and more takes a moment.
class BusyCursor {
  public:
    explicit BusyCursor(bool busy) : busy_(busy) {
        if (busy_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor() {
        if (busy_) QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    bool busy_;
};
constexpr int kDaysListedWithoutWaitCursor = 366;
// Lines dropped by a rebuild beyond which the memory they took is handed back at once.
constexpr int kLinesWorthReleasing = 20000;

}  // namespace

void MainWindow::RefreshRecordList() {
    const QString grpCd = selectedText(lstGrp).left(2);
    const QString exerCd = selectedText(lstExer).left(2);
    FillRecordList(txtYmd->text(), txtWeekNum->text(), selectedRow(lstRange), grpCd, exerCd,
                   optOrder[0]->isChecked(), optComment[1]->isChecked());
}

void MainWindow::FillRecordList(const QString& ymd, const QString& weeks, int range,
                                const QString& grpCd, const QString& exerCd, bool ascending,
                                bool showComments) {
    // A half-typed date or a week count that is no number lists nothing.
    const int linesBefore = lstRecord->count();
    const QDate lastDay = ParseYmd(ymd);
    const int n = PeriodLastOffset(lastDay, weeks);
    if (n < 0) {
        lstRecord->setLines({});
        releaseMemoryAfterLongList(linesBefore);
        return;
    }

    // Every line is read from the database again; the list gets them at once, without a
    // click, and nothing is selected afterwards.
    const BusyCursor busyCursor(n > kDaysListedWithoutWaitCursor);
    std::vector<ListLine> lines;
    for (int step = 0; step <= n; ++step) {
        const int daysBack = ascending ? n - step : step;
        const QString dayText = FormatYmd(lastDay.addDays(-daysBack));
        lines.push_back({DayLineText(dayText), LineKind::Day});
        AppendDayRecords(db_, dayText, range, grpCd, exerCd, showComments, lines);
    }
    lstRecord->setLines(std::move(lines));
    releaseMemoryAfterLongList(linesBefore);
}

void MainWindow::releaseMemoryAfterLongList(int linesBefore) {
    // The engine's page cache and the heap grew with the long list: both go back.
    if (linesBefore - lstRecord->count() < kLinesWorthReleasing) return;
    db_.releaseMemory();
    ReleaseFreeHeap();
}

bool MainWindow::SelectedRecordKey(RecordKey& key) const {
    const int row = selectedRow(lstRecord);
    return row >= 0 && lstRecord->lineKind(row) == LineKind::Record &&
           ParseRecordKey(lstRecord->lineText(row), key);
}

void MainWindow::lstRecord_Click() {
    RecordKey key;
    if (!SelectedRecordKey(key)) {
        // A day line, a comment line or no selection: back to a fresh entry.
        txtTarget->clear();
        txtHMS[0]->clear();
        txtHMS[1]->clear();
        txtCount->clear();
        setCommentText(QString());
        selectRow(lstUnit, -1);
        selectRow(lstSweat, -1);
        cmdDelete->setEnabled(false);
        cmdInsert->setEnabled(true);
        cmdUpdate->setEnabled(false);
        cmdUnselect->setEnabled(true);
        return;
    }

    m_loadingRecord = true;
    ExerRecord set;
    DBLoadExer(db_, key, set);
    // Group before exercise: the group's click refills the exercises, and neither click
    // rebuilds the list while the set is loading, so the clicked line stays selected.
    loadItemByCode(lstGrp, key.grp_cd, &MainWindow::lstGrp_Click);
    loadItemByCode(lstExer, key.exer_cd, &MainWindow::lstExer_Click);
    txtTarget->setText(set.target);
    SelectItemByCode(lstUnit, set.unit);
    SelectItemByCode(lstUnitTarget, set.unit_t);
    txtHMS[0]->setText(set.hms_sta);
    txtHMS[1]->setText(set.hms_end);
    txtCount->setText(set.cnt);
    txtCountMin->setText(set.cnt_min);
    // The seconds of a duration take the count unit away, also when they equal those shown.
    loadText(txtCountSec, set.cnt_sec, &MainWindow::txtCountSec_Change);
    // The sweat level is shown by position: the list holds the levels in code order.
    bool isNumber = false;
    const int sweatRow = set.sweat_cd.toInt(&isNumber);
    if (!isNumber || sweatRow < 0 || sweatRow >= lstSweat->count()) {
        const QString description =
            isNumber ? QStringLiteral("Invalid property value") : QStringLiteral("Type mismatch");
        platform_.message(description + kCrLf + LoadExerSql(key));
        platform_.endProgram(kFailureExitStatus);
    }
    selectRow(lstSweat, sweatRow);
    setCommentText(set.comment);
    m_loadingRecord = false;

    cmdDelete->setEnabled(true);
    cmdInsert->setEnabled(false);
    cmdUpdate->setEnabled(true);
    cmdUnselect->setEnabled(true);
}

// Setting a value equal to the one shown fires no change signal. The load runs the behaviour
// all the same, so that what it leaves does not depend on what was shown before it.
void MainWindow::loadItemByCode(QListWidget* list, const QString& code,
                                void (MainWindow::*click)()) {
    for (int row = 0; row < list->count(); ++row) {
        if (!list->item(row)->text().startsWith(code)) continue;
        if (selectedRow(list) == row)
            (this->*click)();
        else
            selectRow(list, row);
        return;
    }
}

void MainWindow::loadText(QLineEdit* box, const QString& text, void (MainWindow::*change)()) {
    if (box->text() == text)
        (this->*change)();
    else
        box->setText(text);
}

void MainWindow::cmdUnselect_Click() {
    // Clearing the selection runs the list's click; with nothing selected (the list was
    // rebuilt after a set was loaded) the click runs all the same, so that the buttons and
    // fields return to a fresh entry either way.
    if (selectedRow(lstRecord) >= 0)
        selectRow(lstRecord, -1);
    else
        lstRecord_Click();
    cmdUnselect->setEnabled(false);
    cmdUpdate->setEnabled(false);
    txtCountMin->clear();
    txtCountSec->clear();
}

void MainWindow::cmdClear_Click(int index) {
    switch (index) {
        case 0:
            txtTarget->clear();
            txtTarget->setFocus();
            break;
        case 1:
        case 2:
            txtHMS[index - 1]->clear();
            txtHMS[index - 1]->setFocus();
            break;
        case 3:
            txtCount->clear();
            txtCount->setFocus();
            break;
        case 4:
            setCommentText(QString());
            txtComment->setFocus();
            break;
        case 5:
            txtCountMin->clear();
            txtCountSec->clear();
            txtCountMin->setFocus();
            break;
        default:
            break;
    }
}

void MainWindow::optOrder_Click(int) {
    RefreshRecordList();
}

void MainWindow::optComment_Click(int) {
    RefreshRecordList();
}

}  // namespace sorvenka
