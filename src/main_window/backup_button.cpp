// 「バックアップから復元」: the daily copies listed, one restored after a confirmation, and the
// window then showing the restored data.
#include "backup_window/backup_window.h"
#include "main_window/main_window.h"

namespace sorvenka {

void MainWindow::cmdRestoreBackup_Click() {
    BackupWindow window({db_, platform_, baseFolder_, [this] { reloadAfterDataChange(); }}, this);
    window.exec();
}

}  // namespace sorvenka
