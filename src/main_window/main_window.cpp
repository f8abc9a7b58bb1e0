#include "main_window/main_window.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QSignalBlocker>

#include "common/heap_memory.h"
#include "common/platform.h"
#include "db/database.h"
#include "main_window/comment_box.h"
#include "main_window/list_click_guard.h"

namespace sorvenka {

MainWindow::MainWindow(const WindowContext& context, QWidget* parent)
    : QWidget(parent),
      db_(context.db),
      platform_(context.platform),
      dbFilePath_(context.dbFilePath),
      baseFolder_(context.baseFolder),
      programName_(context.programName) {
    // Each rebuild of the record list runs hundreds of queries; their memory stays at hand.
    KeepHeapBetweenQueries();
    buildControls();
    nameControlsForScreenReaders();
    connectEvents();
    buildLastSessionPanel();
}

void MainWindow::connectEvents() {
    connect(txtYmd, &QLineEdit::textChanged, this, [this] { txtYmd_Change(); });
    connect(txtCountSec, &QLineEdit::textChanged, this, [this] { txtCountSec_Change(); });

    // A list's click: the selection changed, by the user or by code, or the user clicked the
    // item that was already selected.
    auto onListClick = [this](QListWidget* list, void (MainWindow::*handler)()) {
        connect(list, &QListWidget::itemSelectionChanged, this,
                [this, handler] { (this->*handler)(); });
        connect(ListClickGuard::of(list), &ListClickGuard::selectedItemClicked, this,
                [this, handler] { (this->*handler)(); });
    };
    onListClick(lstGrp, &MainWindow::lstGrp_Click);
    onListClick(lstExer, &MainWindow::lstExer_Click);
    onListClick(lstRange, &MainWindow::lstRange_Click);
    // The record list is a view over its lines: its selection model reports the change.
    connect(lstRecord->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { lstRecord_Click(); });
    connect(ListClickGuard::of(lstRecord), &ListClickGuard::selectedItemClicked, this,
            [this] { lstRecord_Click(); });

    // An option button's click: it became the selected one of its frame.
    for (int i = 0; i < 2; ++i) {
        connect(optOrder[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked) optOrder_Click(i);
        });
        connect(optComment[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked) optComment_Click(i);
        });
    }

    auto onClick = [this](QPushButton* button, auto handler) {
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    onClick(cmdUnselect, &MainWindow::cmdUnselect_Click);
    onClick(cmdInsert, &MainWindow::cmdInsert_Click);
    onClick(cmdUpdate, &MainWindow::cmdUpdate_Click);
    onClick(cmdDelete, &MainWindow::cmdDelete_Click);
    onClick(cmdFile, &MainWindow::cmdFile_Click);
    onClick(cmdEnd, &MainWindow::cmdEnd_Click);
    onClick(cmdProgress, &MainWindow::cmdProgress_Click);
    onClick(cmdCsvExport, &MainWindow::cmdCsvExport_Click);
    onClick(cmdCsvImport, &MainWindow::cmdCsvImport_Click);
    onClick(cmdMasters, &MainWindow::cmdMasters_Click);
    onClick(cmdRestoreBackup, &MainWindow::cmdRestoreBackup_Click);
    onClick(cmdStartSet, &MainWindow::cmdStartSet_Click);
    onClick(cmdFinishInsert, &MainWindow::cmdFinishInsert_Click);
    onClick(cmdRoutine, &MainWindow::cmdRoutine_Click);

    auto onIndexedClick = [this](auto& buttons, auto handler) {
        for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
            connect(buttons[i], &QPushButton::clicked, this,
                    [this, handler, i] { (this->*handler)(i); });
    };
    onIndexedClick(cmdClear, &MainWindow::cmdClear_Click);
    onIndexedClick(cmdNow, &MainWindow::cmdNow_Click);
    onIndexedClick(cmdZero, &MainWindow::cmdZero_Click);
    onIndexedClick(cmdInc, &MainWindow::cmdInc_Click);
    onIndexedClick(cmdOpen, &MainWindow::cmdOpen_Click);
}

void MainWindow::Form_Unload() {
    db_.close();
    platform_.endProgram(0);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The activation runs once, at the first showing; coming back to the window later does
    // not run it again.
    if (activated_) return;
    activated_ = true;
    Form_Activate();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

// --- comment text: the editor keeps "\n", the database CR LF ---

QString MainWindow::commentText() const {
    QString text = txtComment->toPlainText();
    // A comment shown in pieces reads back as stored as long as the box still shows it.
    if (commentInPieces_ && text == shownComment_) return storedComment_;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void MainWindow::setCommentText(const QString& text) {
    const QString shown = ShownCommentText(text);
    txtComment->setPlainText(shown);
    commentInPieces_ = shown.size() != text.size() - text.count(QStringLiteral("\r\n"));
    storedComment_ = commentInPieces_ ? text : QString();
    shownComment_ = commentInPieces_ ? txtComment->toPlainText() : QString();
}

// --- list helpers of the event conventions ---

QString MainWindow::selectedText(const QAbstractItemView* list) {
    const int row = selectedRow(list);
    return row < 0 ? QString() : list->model()->index(row, 0).data().toString();
}

int MainWindow::selectedRow(const QAbstractItemView* list) {
    const QModelIndexList rows = list->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MainWindow::selectRow(QAbstractItemView* list, int row) {
    if (row < 0 || row >= list->model()->rowCount()) {
        if (row < 0) list->clearSelection();
        return;
    }
    list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect);
}

void MainWindow::SelectItemByCode(QListWidget* list, const QString& code) {
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text().startsWith(code)) {
            selectRow(list, row);
            return;
        }
    }
}

void MainWindow::replaceItems(QListWidget* list, const QStringList& items) {
    const QSignalBlocker blocker(list);
    list->clear();
    list->addItems(items);
}

}  // namespace sorvenka
