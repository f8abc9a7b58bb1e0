// After data changed outside the entry controls (an import, a change of the masters): the
// lists, the first recorded day, the record list and an open progress window read again.
#include <QSignalBlocker>

#include "db/master_lists.h"
#include "db/record_reads.h"
#include "progress_window/progress_window.h"
#include "window/main_window.h"

namespace sorvenka {

namespace {

// The row whose item begins with the code, or -1.
int RowOfCode(const QListWidget* list, const QString& code) {
    if (code.isEmpty()) return -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().startsWith(code)) return i;
    return -1;
}

}  // namespace

void MainWindow::reloadAfterDataChange() {
    const QString grpCd = selectedText(lstGrp).left(2);
    const QString exerCd = selectedText(lstExer).left(2);
    {
        // The user's choice is kept where it still exists; no click runs on the way.
        const QSignalBlocker blockGroups(lstGrp);
        const QSignalBlocker blockExercises(lstExer);
        replaceItems(lstGrp, DBFillMasterList(db_, MasterList::Groups));
        const int groupRow = RowOfCode(lstGrp, grpCd);
        if (groupRow >= 0) lstGrp->setCurrentRow(groupRow);
        replaceItems(lstExer, groupRow >= 0 ? DBFillExerList(db_, grpCd) : QStringList());
        if (const int exerRow = RowOfCode(lstExer, exerCd); exerRow >= 0)
            lstExer->setCurrentRow(exerRow);
    }
    lblFirstDayTitle->setText(QStringLiteral("初めて記録した日"));
    lblFirstDay->setText(DBGetFirstYmd(db_));
    if (lblFirstDay->text().isEmpty()) lblFirstDayTitle->clear();
    RefreshRecordList();
    if (auto* progress = findChild<ProgressWindow*>(QString(), Qt::FindDirectChildrenOnly))
        progress->reloadLists();
}

}  // namespace sorvenka
