// After data changed outside the entry controls (an import, a master change, a restore): the
// lists, the first recorded day, the record list and an open progress window read again.
#include "db/master_lists.h"
#include "db/record_reads.h"
#include "progress_window/progress_window.h"
#include "window/main_window.h"

namespace sorvenka {

namespace {

// Refills a list, keeping the item of the same code selected where it still exists (the
// first item otherwise); not a click of the list. A code length of -1 compares whole items.
void RefillKeeping(QListWidget* list, const QStringList& items, int codeLength) {
    const QString code = MainWindow::selectedText(list).left(codeLength);
    MainWindow::replaceItems(list, items);
    int row = items.isEmpty() ? -1 : 0;
    for (int i = 0; i < items.size(); ++i) {
        if (!code.isEmpty() && items[i].startsWith(code)) {
            row = i;
            break;
        }
    }
    const QSignalBlocker blocker(list);
    MainWindow::selectRow(list, row);
}

}  // namespace

void MainWindow::reloadAfterDataChange() {
    lblFirstDay->setText(DBGetFirstYmd(db_));
    lblFirstDayTitle->setText(lblFirstDay->text().isEmpty() ? QString()
                                                            : QStringLiteral("初めて記録した日"));
    const QString grpCd = selectedText(lstGrp).left(2);
    const QString exerCd = selectedText(lstExer).left(2);
    RefillKeeping(lstUnit, DBFillMasterList(db_, MasterList::CountUnits), -1);
    RefillKeeping(lstUnitTarget, DBFillMasterList(db_, MasterList::LoadUnits), -1);
    RefillKeeping(lstSweat, DBFillMasterList(db_, MasterList::SweatLevels), 1);
    replaceItems(lstGrp, DBFillMasterList(db_, MasterList::Groups));
    replaceItems(lstExer, QStringList());
    {
        // The group's click fills the exercises; the record list is built once, below.
        const QSignalBlocker blocker(lstGrp);
        SelectItemByCode(lstGrp, grpCd);
        if (selectedRow(lstGrp) < 0 && lstGrp->count() > 0) selectRow(lstGrp, 0);
    }
    replaceItems(lstExer, DBFillExerList(db_, selectedText(lstGrp).left(2)));
    {
        const QSignalBlocker blocker(lstExer);
        if (!exerCd.isEmpty()) SelectItemByCode(lstExer, exerCd);
    }
    RefreshRecordList();
    if (auto* progress = findChild<ProgressWindow*>(QString(), Qt::FindDirectChildrenOnly))
        progress->refresh();
}

}  // namespace sorvenka
