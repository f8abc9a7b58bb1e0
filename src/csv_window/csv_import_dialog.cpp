#include "csv_window/csv_import_dialog.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/platform.h"
#include "db/master_lists.h"

namespace sorvenka {

CsvImportDialog::CsvImportDialog(Database& db, Platform& platform, const QString& path,
                                 QWidget* parent)
    : QDialog(parent), db_(db), platform_(platform), path_(path) {
    setWindowTitle(QStringLiteral("CSVの読み込み: ") + QFileInfo(path).fileName());
    resize(640, 480);

    cboGroup = new QComboBox(this);
    txtSummary = new QPlainTextEdit(this);
    txtSummary->setReadOnly(true);
    txtSummary->setLineWrapMode(QPlainTextEdit::NoWrap);
    cmdImport = new QPushButton(QStringLiteral("読み込む"), this);
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);

    auto* groupRow = new QHBoxLayout;
    groupRow->addWidget(new QLabel(QStringLiteral("新しい種目のグループ:"), this));
    groupRow->addWidget(cboGroup, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groupRow);
    layout->addWidget(txtSummary, 1);
    layout->addLayout(buttons);

    // The first preview tells the format; FitNotes names a category for every exercise.
    runPreview();
    {
        const QSignalBlocker blocker(cboGroup);
        if (preview_.format == CsvFormat::FitNotes)
            cboGroup->addItem(QStringLiteral("カテゴリ名のグループ（なければ先頭のグループ）"),
                              QString());
        for (const QString& item : DBFillMasterList(db_, MasterList::Groups))
            cboGroup->addItem(item, item.left(2));
        // Sorvenka's own CSV keeps its codes: no group to choose.
        cboGroup->setEnabled(preview_.format != CsvFormat::Sorvenka);
    }
    connect(cboGroup, &QComboBox::currentIndexChanged, this, [this] { runPreview(); });
    connect(cmdImport, &QPushButton::clicked, this, [this] { cmdImport_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    cmdCancel->setDefault(true);
}

QString CsvImportDialog::chosenGroup() const {
    return cboGroup->currentIndex() < 0 ? QString() : cboGroup->currentData().toString();
}

void CsvImportDialog::runPreview() {
    ImportOptions options;
    options.group = chosenGroup();
    ImportCsv(db_, path_, options, preview_);
    txtSummary->setPlainText(SummaryLines(preview_).join(QLatin1Char('\n')));
    // Refused rows are left out only when the user asks for it.
    cmdImport->setText(preview_.refusedCount > 0 ? QStringLiteral("残りを読み込む")
                                                 : QStringLiteral("読み込む"));
    cmdImport->setEnabled(preview_.importable(true) && preview_.newSets > 0);
}

void CsvImportDialog::cmdImport_Click() {
    ImportOptions options;
    options.group = chosenGroup();
    options.skipRefused = true;
    options.commit = true;
    if (!ImportCsv(db_, path_, options, result_)) {
        platform_.message(QStringLiteral("読み込めませんでした。何も書き込んでいません。\r\n") +
                          result_.failure);
        runPreview();
        return;
    }
    accept();
}

}  // namespace sorvenka
