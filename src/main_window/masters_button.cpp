// "種目の管理": the window that manages groups and exercises, one per main window, brought to the
// front on a second click.
#include "common/data_folders.h"
#include "main_window/main_window.h"
#include "masters_window/masters_window.h"

namespace sorvenka {

void MainWindow::cmdMasters_Click() {
    auto* masters = findChild<MastersWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (masters == nullptr) {
        masters = new MastersWindow(
            MastersContext{db_, platform_, dbFilePath_, BackupFolderPath(baseFolder_),
                           [this] { reloadAfterDataChange(); }},
            this);
        // Starts on the main window's group and exercise.
        if (masters->selectGroup(selectedText(lstGrp).left(2)))
            masters->selectExercise(selectedText(lstExer).left(2));
    }
    masters->show();
    masters->raise();
    masters->activateWindow();
}

}  // namespace sorvenka
