// "メニュー": the routines and today's plan, one per main window, following the date and every
// stored change; a plan line fills the entry as 前回の値 does and sets the rest clock's length.
#include "last_session/rest_clock.h"
#include "last_session_window/last_session_panel.h"
#include "main_window/main_window.h"
#include "routine_window/routine_window.h"

namespace sorvenka {

namespace {

// The rest clock's length; a length the list does not offer joins it in its place.
void ChooseRestLength(QComboBox* lengths, int seconds) {
    int at = lengths->findData(seconds);
    if (at < 0) {
        at = 0;
        while (at < lengths->count() && lengths->itemData(at).toInt() < seconds) ++at;
        lengths->insertItem(at, seconds == 0 ? QStringLiteral("なし") : RestText(seconds), seconds);
    }
    lengths->setCurrentIndex(at);
}

}  // namespace

void MainWindow::cmdRoutine_Click() {
    auto* routines = findChild<RoutineWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (routines == nullptr) {
        routines = new RoutineWindow(
            RoutineContext{db_, platform_, [this] { return txtYmd->text(); },
                           [this](const PlanFill& fill) {
                               SelectItemByCode(lstGrp, fill.grpCd);
                               SelectItemByCode(lstExer, fill.exerCd);
                               // Filled only when the exercise is the one now chosen.
                               if (selectedText(lstGrp).left(2) != fill.grpCd ||
                                   selectedText(lstExer).left(2) != fill.exerCd)
                                   return;
                               txtTarget->setText(fill.load);
                               if (!fill.loadUnit.isEmpty())
                                   SelectItemByCode(lstUnitTarget, fill.loadUnit);
                               if (!fill.count.isEmpty() || fill.minutes.isEmpty()) {
                                   txtCountMin->setText(QString());
                                   txtCountSec->setText(QString());
                                   txtCount->setText(fill.count);
                                   if (!fill.countUnit.isEmpty())
                                       SelectItemByCode(lstUnit, fill.countUnit);
                               } else {
                                   txtCount->setText(QString());
                                   txtCountMin->setText(fill.minutes);
                                   txtCountSec->setText(fill.seconds);
                               }
                               ChooseRestLength(lastSessionPanel->cboRest, fill.restSec);
                           }},
            this);
        // After the window's own behaviours, as the 前回 panel follows them.
        connect(txtYmd, &QLineEdit::textChanged, routines, [routines] { routines->refreshPlan(); });
        for (QPushButton* button : {cmdInsert, cmdUpdate, cmdDelete})
            connect(button, &QPushButton::clicked, routines,
                    [routines] { routines->refreshPlan(); });
    } else if (!routines->isVisible()) {
        // Closed meanwhile: the masters or the routines may have changed (an import, a restore).
        routines->refresh();
    }
    routines->show();
    routines->raise();
    routines->activateWindow();
}

}  // namespace sorvenka
