// The window follows data changed elsewhere: a change of the masters, an import, a restore.
#include <QSignalBlocker>

#include "db/master_lists.h"
#include "db/record_reads.h"
#include "main_window/main_window.h"
#include "progress_window/progress_context.h"

namespace sorvenka {

namespace {

// The row whose entry has exactly the code before its blank; -1 when none.
int RowOfCode(const QListWidget* list, const QString& code) {
    if (code.isEmpty()) return -1;
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text().left(2) == code) return row;
    return -1;
}

}  // namespace

void MainWindow::reloadAfterDataChange() {
    const QString grpCd = selectedText(lstGrp).left(2);
    const QString exerCd = selectedText(lstExer).left(2);
    {
        // Refilled without their clicks: one rebuild of the record list below instead of one
        // per list, and no entry field filled in as a choice of the rest day would.
        const QSignalBlocker groups(lstGrp);
        const QSignalBlocker exercises(lstExer);
        replaceItems(lstGrp, DBFillMasterList(db_, MasterList::Groups));
        const int grpRow = RowOfCode(lstGrp, grpCd);
        selectRow(lstGrp, grpRow);
        replaceItems(lstExer, grpRow < 0 ? QStringList() : DBFillExerList(db_, grpCd));
        selectRow(lstExer, RowOfCode(lstExer, exerCd));
    }
    lstGrp->viewport()->update();
    lstExer->viewport()->update();

    const QString firstYmd = DBGetFirstYmd(db_);
    lblFirstDay->setText(firstYmd);
    if (firstYmd.isEmpty())
        lblFirstDayTitle->clear();
    else if (lblFirstDayTitle->text().isEmpty())
        lblFirstDayTitle->setText(QStringLiteral("初めて記録した日"));
    RefreshRecordList();
    refreshLastSession();  // the lists were refilled without their clicks

    if (auto* progress =
            findChild<QWidget*>(QLatin1String(kProgressWindowName), Qt::FindDirectChildrenOnly))
        QMetaObject::invokeMethod(progress, kReloadListsMethod);
}

}  // namespace sorvenka
