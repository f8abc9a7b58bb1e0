// The progress window's lists read again after the masters or the sets changed elsewhere.
#include "db/master_lists.h"
#include "progress_window/progress_window.h"

namespace sorvenka {

void ProgressWindow::reloadLists() {
    const QString grpCd = selectedGrpCd(), exerCd = selectedExerCd();
    auto rowOf = [](const QComboBox* box, const QString& code) {
        for (int i = 0; i < box->count(); ++i)
            if (box->itemText(i).startsWith(code)) return i;
        return box->count() > 0 ? 0 : -1;
    };
    quiet_ = true;
    cboGrp->clear();
    cboGrp->addItems(DBFillMasterList(db_, MasterList::Groups));
    cboGrp->setCurrentIndex(rowOf(cboGrp, grpCd));
    fillExercises();
    cboExer->setCurrentIndex(rowOf(cboExer, exerCd));
    quiet_ = false;
    refresh();
}

}  // namespace sorvenka
