#include "window/main_window.h"

namespace sorvenka {

// Opens the progress window (not yet built).
void MainWindow::cmdProgress_Click() {}

}  // namespace sorvenka
