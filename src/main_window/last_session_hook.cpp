// 前回: the panel of the exercise's last session, records and rest clock, following every
// change of the date, the group, the exercise and every stored change.
#include "common/data_folders.h"
#include "common/paths.h"
#include "db/database.h"
#include "last_session/last_session.h"
#include "last_session_window/last_session_panel.h"
#include "main_window/main_window.h"

namespace sorvenka {

void MainWindow::buildLastSessionPanel() {
    lastSessionPanel = new LastSessionPanel(
        [this] { return db_.connection(); }, platform_,
        JoinPath(JoinPath(baseFolder_, programName_), QStringLiteral("rest_length.txt")),
        StartSoundPath(baseFolder_), this);
    lastSessionPanel->setGeometry(1048, 424, 209, 234);
    setTabOrder(cmdRestoreBackup, lastSessionPanel->lstSets);
    setTabOrder(lastSessionPanel->lstSets, lastSessionPanel->lstRecords);
    setTabOrder(lastSessionPanel->lstRecords, lastSessionPanel->cmdFill);
    setTabOrder(lastSessionPanel->cmdFill, lastSessionPanel->cboRest);

    // Connected after the window's own behaviours, so these run when those have ended.
    connect(txtYmd, &QLineEdit::textChanged, this, [this] { refreshLastSession(); });
    for (QListWidget* list : {lstGrp, lstExer})
        connect(list, &QListWidget::itemSelectionChanged, this, [this] { refreshLastSession(); });
    for (QPushButton* button : {cmdInsert, cmdUpdate, cmdDelete})
        connect(button, &QPushButton::clicked, this, [this] { refreshLastSession(); });
    connect(this, &MainWindow::setStored, this,
            [this](const RecordKey& key) { lastSessionPanel->noteStored(key); });
    connect(lastSessionPanel->cmdFill, &QPushButton::clicked, this,
            [this] { cmdFillLast_Click(); });
}

void MainWindow::refreshLastSession() {
    if (!db_.isOpen()) return;
    lastSessionPanel->showFor(txtYmd->text(), selectedText(lstGrp).left(2),
                              selectedText(lstExer).left(2));
}

void MainWindow::cmdFillLast_Click() {
    if (!db_.isOpen()) return;
    // Read again: the panel may show what another window has changed since.
    const std::optional<FillValues> values =
        NextSetValues(ReadLastSession(db_.connection(), selectedText(lstGrp).left(2),
                                      selectedText(lstExer).left(2), txtYmd->text()));
    if (!values) return;
    txtTarget->setText(values->load);
    if (!values->loadUnit.isEmpty()) SelectItemByCode(lstUnitTarget, values->loadUnit);
    if (!values->count.isEmpty()) {
        txtCountMin->setText(QString());
        txtCountSec->setText(QString());
        txtCount->setText(values->count);
        if (!values->countUnit.isEmpty()) SelectItemByCode(lstUnit, values->countUnit);
    } else {
        // Typing the seconds empties the count's unit, as for a timed set typed by hand.
        txtCount->setText(QString());
        txtCountMin->setText(values->minutes);
        txtCountSec->setText(values->seconds);
    }
}

}  // namespace sorvenka
