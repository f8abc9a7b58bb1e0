// The choices follow a change of the masters made in another window.
#include "db/master_lists.h"
#include "progress_window/progress_window.h"

namespace sorvenka {

void ProgressWindow::reloadLists() {
    const QString grpCd = selectedGrpCd();
    const QString exerCd = selectedExerCd();
    quiet_ = true;
    cboGrp->clear();
    cboGrp->addItems(DBFillMasterList(db_, MasterList::Groups));
    // A code is matched whole: the first characters of "code name".
    const auto rowOf = [](const QComboBox* box, const QString& code) {
        for (int i = 0; i < box->count(); ++i)
            if (!code.isEmpty() && box->itemText(i).left(2) == code) return i;
        return box->count() > 0 ? 0 : -1;
    };
    cboGrp->setCurrentIndex(rowOf(cboGrp, grpCd));
    fillExercises();
    cboExer->setCurrentIndex(rowOf(cboExer, exerCd));
    quiet_ = false;
    if (last_.isValid()) reload();
}

}  // namespace sorvenka
