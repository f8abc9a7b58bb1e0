#include "backup_window/backup_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "backups/backup_names.h"
#include "backups/backup_texts.h"
#include "backups/restore.h"
#include "common/data_folders.h"
#include "common/log.h"
#include "common/platform.h"
#include "db/database.h"
#include "startup/master_codes.h"

namespace sorvenka {

namespace {

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

BackupWindow::BackupWindow(const BackupWindowContext& context, QWidget* parent)
    : QDialog(parent),
      db_(context.db),
      platform_(context.platform),
      baseFolder_(context.baseFolder),
      afterRestore_(context.afterRestore) {
    setWindowTitle(QStringLiteral("バックアップから復元"));
    resize(640, 460);

    lblBackups = new QLabel(QStringLiteral("バックアップ（新しい順）"), this);
    lstBackups = new QTableWidget(0, 5, this);
    lstBackups->setHorizontalHeaderLabels({QStringLiteral("日時"), QStringLiteral("セット数"),
                                           QStringLiteral("最後の記録日"), QStringLiteral("確認"),
                                           QStringLiteral("種類")});
    lstBackups->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    lstBackups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstBackups->verticalHeader()->hide();
    lstBackups->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    lstBackups->setAccessibleName(lblBackups->text());
    lblBackups->setBuddy(lstBackups);
    lblFolder = new QLabel(
        QStringLiteral("バックアップのフォルダ: ") + BackupFolderPath(baseFolder_), this);
    lblFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdRestore = new QPushButton(QStringLiteral("復元"), this);
    cmdRestore->setAccessibleName(QStringLiteral("選んだバックアップから復元"));
    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);
    cmdClose->setAccessibleName(cmdClose->text());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblBackups);
    layout->addWidget(lstBackups);
    layout->addWidget(lblFolder);
    layout->addLayout(buttons);

    connect(cmdRestore, &QPushButton::clicked, this, &BackupWindow::cmdRestore_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstBackups, &QTableWidget::itemSelectionChanged, this, &BackupWindow::selectionChanged);
    connect(lstBackups, &QTableWidget::cellDoubleClicked, this, &BackupWindow::cmdRestore_Click);
    fillList();
}

void BackupWindow::fillList() {
    if (!ListCopies(baseFolder_, platform_.now(), entries_)) entries_.clear();
    lstBackups->setRowCount(0);
    lstBackups->setRowCount(static_cast<int>(entries_.size()));
    for (int row = 0; row < static_cast<int>(entries_.size()); ++row) {
        const BackupEntry& entry = entries_[row];
        lstBackups->setItem(row, 0, Cell(MomentText(entry.taken)));
        lstBackups->setItem(
            row, 1,
            Cell(entry.sets >= 0 ? QString::number(entry.sets) : QStringLiteral("-"),
                 Qt::AlignRight));
        lstBackups->setItem(row, 2, Cell(entry.lastDay));
        QTableWidgetItem* verdict = Cell(IntegrityText(static_cast<int>(entry.integrity)));
        verdict->setToolTip(entry.problem);
        lstBackups->setItem(row, 3, verdict);
        lstBackups->setItem(row, 4, Cell(CopyKindText(entry.kind)));
    }
    // The newest copy that passes the check is proposed.
    for (int row = 0; row < static_cast<int>(entries_.size()); ++row) {
        if (entries_[row].integrity == Integrity::Sound) {
            lstBackups->selectRow(row);
            break;
        }
    }
    selectionChanged();
}

void BackupWindow::selectionChanged() {
    const int row = lstBackups->currentRow();
    const bool chosen = !lstBackups->selectedItems().isEmpty() && row >= 0 &&
                        row < static_cast<int>(entries_.size());
    cmdRestore->setEnabled(chosen && entries_[row].integrity == Integrity::Sound);
}

void BackupWindow::cmdRestore_Click() {
    const int row = lstBackups->currentRow();
    if (lstBackups->selectedItems().isEmpty() || row < 0 ||
        row >= static_cast<int>(entries_.size()))
        return;
    const BackupEntry entry = entries_[row];
    if (entry.integrity != Integrity::Sound) {
        platform_.message(QStringLiteral("このバックアップは確認できないため、復元できません。"));
        return;
    }
    const QString dbPath = DatabaseFilePath(baseFolder_);
    BackupEntry current;
    ReadSetFigures(dbPath, current.sets, current.lastDay);
    if (platform_.message(RestoreQuestionText(entry, current), Buttons::YesNo) != Answer::Yes)
        return;

    // The file is replaced under no open connection of this program.
    db_.close();
    QString kept, message;
    const bool restored =
        RestoreBackup(baseFolder_, entry.name, platform_.now(), kKeptBeforeRestore, kept, message);
    QString openMessage;
    // Opened again in any case: the file that was there before when the restore failed.
    if (!db_.open(dbPath, openMessage) || !CheckMasterCodes(db_, openMessage)) {
        platform_.message(openMessage);
        platform_.endProgram(kFailureExitStatus);
    }
    if (!restored) {
        db_.log().write(QStringLiteral("restore failed: ") + message);
        platform_.message(message);
        return;
    }
    db_.log().write(QStringLiteral("restored ") + entry.name + QStringLiteral(", kept ") + kept);
    if (afterRestore_) afterRestore_();
    platform_.message(RestoredText(entry.name, kept));
    fillList();
}

}  // namespace sorvenka
