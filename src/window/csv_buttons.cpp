#include "window/main_window.h"

namespace sorvenka {

// CSV export and import (not yet built).
void MainWindow::cmdCsvExport_Click() {}
void MainWindow::cmdCsvImport_Click() {}

}  // namespace sorvenka
