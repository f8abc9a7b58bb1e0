#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <functional>
#include <vector>

#include "backups/backup_list.h"

namespace sorvenka {

class Database;
class Platform;

struct BackupWindowContext {
    Database& db;  // the program's connection: closed for the restore and opened again
    Platform& platform;
    QString baseFolder;  // where db and db_backup lie
    // Runs after a restore, with the restored database open: the main window reads it anew.
    std::function<void()> afterRestore;
};

// 「バックアップから復元」: every copy the program took (daily, before a merge, before an import,
// kept by a restore), newest first, with the time taken, the number of sets, the last day with
// sets, whether the copy passes the check and its kind. The chosen copy is restored after a
// confirmation that sets its figures beside the current file's; the current file is kept
// beside it first.
class BackupWindow : public QDialog {
    Q_OBJECT

  public:
    BackupWindow(const BackupWindowContext& context, QWidget* parent = nullptr);

    // Reads the folder again.
    void fillList();
    void cmdRestore_Click();

    // --- controls (public so that tests drive the real widgets) ---
    QLabel* lblBackups;
    QTableWidget* lstBackups;
    QLabel* lblFolder;
    QPushButton* cmdRestore;
    QPushButton* cmdClose;

  private:
    void selectionChanged();

    Database& db_;
    Platform& platform_;
    QString baseFolder_;
    std::function<void()> afterRestore_;
    std::vector<BackupEntry> entries_;
};

}  // namespace sorvenka
