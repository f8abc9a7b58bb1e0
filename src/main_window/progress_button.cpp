// "推移": the progress window, one per main window, brought to the front on a second click.
// Its code is a module loaded at the first click.
#include "common/data_folders.h"
#include "common/platform.h"
#include "main_window/main_window.h"
#include "main_window/progress_module.h"

namespace sorvenka {

void MainWindow::cmdProgress_Click() {
    auto* progress =
        findChild<QWidget*>(QLatin1String(kProgressWindowName), Qt::FindDirectChildrenOnly);
    if (progress == nullptr) {
        QString error;
        const OpenProgressFunction open = ProgressWindowOpener(error);
        if (open == nullptr) {
            platform_.message(QStringLiteral("推移の画面を開けませんでした。\r\n") + error);
            return;
        }
        progress =
            open(ProgressContext{db_, platform_, RecordsFolderPath(baseFolder_),
                                 [this] { return txtYmd->text(); },
                                 // The main window's own change behaviour lists the day's week.
                                 [this](const QString& ymd) { txtYmd->setText(ymd); }},
                 ProgressChoice{selectedText(lstGrp).left(2), selectedText(lstExer).left(2),
                                txtYmd->text()},
                 this);
    }
    progress->show();
    progress->raise();
    progress->activateWindow();
}

}  // namespace sorvenka
