// "メニュー": the routines and today's plan, one per main window.
#include "window/main_window.h"

namespace sorvenka {

void MainWindow::cmdRoutine_Click() {}

}  // namespace sorvenka
