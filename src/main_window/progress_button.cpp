// "推移": the progress window, one per main window, brought to the front on a second click.
#include "common/data_folders.h"
#include "main_window/main_window.h"
#include "progress_window/progress_window.h"

namespace sorvenka {

void MainWindow::cmdProgress_Click() {
    auto* progress = findChild<ProgressWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (progress == nullptr) {
        progress = new ProgressWindow(
            ProgressContext{db_, platform_, RecordsFolderPath(baseFolder_),
                            [this] { return txtYmd->text(); },
                            // The main window's own change behaviour lists the day's week.
                            [this](const QString& ymd) { txtYmd->setText(ymd); }},
            this);
        progress->preselect(selectedText(lstGrp).left(2), selectedText(lstExer).left(2),
                            txtYmd->text());
    }
    progress->show();
    progress->raise();
    progress->activateWindow();
}

}  // namespace sorvenka
