// Placeholder until the window is built: an empty window of the right size.
#include "window/main_window.h"

#include <QCloseEvent>

#include "common/platform.h"
#include "db/database.h"

namespace sorvenka {

MainWindow::MainWindow(const WindowContext& context, QWidget* parent)
    : QWidget(parent),
      db_(context.db),
      platform_(context.platform),
      dbFilePath_(context.dbFilePath),
      baseFolder_(context.baseFolder),
      programName_(context.programName) {
    setFixedSize(1259, 662);
}

void MainWindow::Form_Load() {
    setWindowTitle(QStringLiteral("Sorvenka - ") + dbFilePath_);
}

void MainWindow::Form_Activate() {}

void MainWindow::Form_Unload() {
    db_.close();
    platform_.endProgram(0);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

}  // namespace sorvenka
