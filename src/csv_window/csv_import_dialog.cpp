#include "csv_window/csv_import_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/platform.h"
#include "db/master_lists.h"
#include "masters/rest_day.h"

namespace sorvenka {

namespace {

enum Column { kName, kSets, kDays, kDestination, kNewName, kColumns };

// A destination as the chooser's item data: "grp|exer", exer empty for a new exercise.
QString TargetData(const ExerciseTarget& target) {
    return target.grpCd + QLatin1Char('|') + target.exerCd;
}

ExerciseTarget TargetOf(const QString& data) {
    const qsizetype bar = data.indexOf(QLatin1Char('|'));
    return {data.left(bar), data.mid(bar + 1)};
}

// Copies the file into a private temporary file; the preview and the import read only that.
std::unique_ptr<QTemporaryFile> CopyOf(const QString& path, QString& failure) {
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        failure = QStringLiteral("ファイルを開けませんでした。\r\n") + path +
                  QStringLiteral("\r\n") + source.errorString();
        return nullptr;
    }
    auto copy = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                 QStringLiteral("/sorvenka_import_XXXXXX.csv"));
    if (!copy->open()) {
        failure = QStringLiteral("一時ファイルを作れませんでした。\r\n") + copy->errorString();
        return nullptr;
    }
    for (;;) {
        const QByteArray chunk = source.read(1024 * 1024);
        if (chunk.isEmpty()) break;
        if (copy->write(chunk) != chunk.size()) {
            failure =
                QStringLiteral("一時ファイルに書き込めませんでした。\r\n") + copy->errorString();
            return nullptr;
        }
    }
    if (source.error() != QFileDevice::NoError || !copy->flush()) {
        failure = QStringLiteral("ファイルを読めませんでした。\r\n") + path +
                  QStringLiteral("\r\n") + source.errorString();
        return nullptr;
    }
    return copy;
}

}  // namespace

CsvImportDialog::CsvImportDialog(Database& db, Platform& platform, const QString& path,
                                 QWidget* parent)
    : QDialog(parent), db_(db), platform_(platform), path_(path) {
    setWindowTitle(QStringLiteral("CSVの読み込み: ") + QFileInfo(path).fileName());
    resize(900, 640);

    cboGroup = new QComboBox(this);
    cboUnit = new QComboBox(this);
    cboDistanceUnit = new QComboBox(this);
    tblNames = new QTableWidget(0, kColumns, this);
    txtSummary = new QPlainTextEdit(this);
    txtSummary->setReadOnly(true);
    txtSummary->setLineWrapMode(QPlainTextEdit::NoWrap);
    cmdImport = new QPushButton(QStringLiteral("読み込む"), this);
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);

    tblNames->setHorizontalHeaderLabels(
        {QStringLiteral("ファイルの種目名"), QStringLiteral("セット数"), QStringLiteral("期間"),
         QStringLiteral("読み込み先"), QStringLiteral("新しい種目の名前")});
    // Only the name of a new exercise is typed in the table.
    tblNames->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    tblNames->setSelectionMode(QAbstractItemView::NoSelection);
    tblNames->verticalHeader()->hide();
    tblNames->horizontalHeader()->setSectionResizeMode(kDestination, QHeaderView::Stretch);
    tblNames->setColumnWidth(kName, 260);
    tblNames->setColumnWidth(kDays, 170);
    tblNames->setColumnWidth(kNewName, 180);

    const QString groupLabel = QStringLiteral("新しい種目のグループ:");
    const QString unitLabel = QStringLiteral("重量の単位（ファイルに単位がありません）:");
    const QString namesLabel = QStringLiteral("種目の対応");
    cboGroup->setAccessibleName(groupLabel.chopped(1));
    cboUnit->setAccessibleName(QStringLiteral("重量の単位"));
    cboDistanceUnit->setAccessibleName(QStringLiteral("距離の単位"));
    tblNames->setAccessibleName(namesLabel);
    txtSummary->setAccessibleName(QStringLiteral("読み込みの内容"));
    cmdImport->setAccessibleName(QStringLiteral("読み込む"));
    cmdCancel->setAccessibleName(QStringLiteral("キャンセル"));

    auto* choices = new QHBoxLayout;
    choices->addWidget(new QLabel(groupLabel, this));
    choices->addWidget(cboGroup, 1);
    auto* unitCaption = new QLabel(unitLabel, this);
    choices->addWidget(unitCaption);
    choices->addWidget(cboUnit);
    auto* distanceCaption = new QLabel(QStringLiteral("距離の単位:"), this);
    choices->addWidget(distanceCaption);
    choices->addWidget(cboDistanceUnit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(new QLabel(namesLabel, this));
    layout->addWidget(tblNames, 3);
    layout->addWidget(txtSummary, 2);
    layout->addLayout(buttons);

    groups_ = DBFillMasterList(db_, MasterList::Groups);
    for (const QString& group : groups_)
        for (const QString& exercise : DBFillExerList(db_, group.left(2)))
            // Another logger's sets never go to the rest day.
            if (!IsRestDay(group.left(2), exercise.left(2)))
                exercises_ << group.left(2) + QLatin1Char(' ') + exercise;
    {
        const QSignalBlocker blockGroup(cboGroup);
        const QSignalBlocker blockUnit(cboUnit);
        const QSignalBlocker blockDistance(cboDistanceUnit);
        cboDistanceUnit->addItem(QStringLiteral("km"), QStringLiteral("km"));
        cboDistanceUnit->addItem(QStringLiteral("mi"), QStringLiteral("mi"));
        cboGroup->addItem(QStringLiteral("種目ごとに提案（名前・カテゴリから）"), QString());
        for (const QString& item : groups_) cboGroup->addItem(item, item.left(2));
        cboUnit->addItem(QStringLiteral("kg"), QStringLiteral("kg"));
        cboUnit->addItem(QStringLiteral("lb"), QStringLiteral("lb"));
    }

    copy_ = CopyOf(path, copyFailure_);
    runPreview();
    // A file without a unit: the loads propose one, and the preview shows it in use.
    if (preview_.loadUnitMissing) {
        const QSignalBlocker blockUnit(cboUnit);
        cboUnit->setCurrentIndex(cboUnit->findData(preview_.proposedLoadUnit));
        runPreview();
    }
    // Distances without a unit: the unit of the loads proposes one.
    if (preview_.distanceUnitMissing) proposeDistanceUnit();
    unitCaption->setVisible(preview_.loadUnitMissing);
    cboUnit->setVisible(preview_.loadUnitMissing);
    distanceCaption->setVisible(preview_.distanceUnitMissing);
    cboDistanceUnit->setVisible(preview_.distanceUnitMissing);
    // Sorvenka's own CSV keeps its codes: nothing to map.
    const bool own = preview_.format == CsvFormat::Sorvenka;
    cboGroup->setEnabled(!own);
    tblNames->setEnabled(!own);

    connect(cboGroup, &QComboBox::currentIndexChanged, this, [this] { runPreview(); });
    connect(cboUnit, &QComboBox::currentIndexChanged, this, [this] {
        if (preview_.distanceUnitMissing && !distanceUnitChosen_)
            proposeDistanceUnit();
        else
            runPreview();
    });
    connect(cboDistanceUnit, &QComboBox::currentIndexChanged, this, [this] {
        distanceUnitChosen_ = true;
        runPreview();
    });
    connect(tblNames, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == kNewName) newNameTyped(item->row(), item->text());
    });
    previewTimer_.setSingleShot(true);
    previewTimer_.setInterval(0);
    connect(&previewTimer_, &QTimer::timeout, this, [this] { runPreview(); });
    connect(cmdImport, &QPushButton::clicked, this, [this] { cmdImport_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    cmdCancel->setDefault(true);
}

CsvImportDialog::~CsvImportDialog() = default;

QComboBox* CsvImportDialog::destinationBox(int row) const {
    return qobject_cast<QComboBox*>(tblNames->cellWidget(row, kDestination));
}

ImportOptions CsvImportDialog::options() const {
    ImportOptions options;
    options.group = cboGroup->currentIndex() < 0 ? QString() : cboGroup->currentData().toString();
    options.mapping = chosen_;
    options.newNames = newNames_;
    if (preview_.loadUnitMissing) options.loadUnit = cboUnit->currentData().toString();
    if (preview_.distanceUnitMissing)
        options.distanceUnit = cboDistanceUnit->currentData().toString();
    return options;
}

void CsvImportDialog::proposeDistanceUnit() {
    // The proposal follows the load unit in use: a preview without a distance unit gives it.
    ImportOptions probe = options();
    probe.distanceUnit.clear();
    ImportSummary summary;
    ImportCsv(db_, copy_->fileName(), probe, summary);
    const QSignalBlocker blockDistance(cboDistanceUnit);
    if (summary.distanceUnitMissing)
        cboDistanceUnit->setCurrentIndex(cboDistanceUnit->findData(summary.proposedDistanceUnit));
    runPreview();
}

void CsvImportDialog::runPreview() {
    if (!copy_) {
        preview_ = ImportSummary();
        preview_.failure = copyFailure_;
        txtSummary->setPlainText(SummaryLines(preview_).join(QLatin1Char('\n')));
        cmdImport->setEnabled(false);
        return;
    }
    ImportCsv(db_, copy_->fileName(), options(), preview_);
    fillNames();
    txtSummary->setPlainText(SummaryLines(preview_).join(QLatin1Char('\n')));
    // Refused rows are left out only when the user asks for it.
    cmdImport->setText(preview_.refusedCount > 0 ? QStringLiteral("残りを読み込む")
                                                 : QStringLiteral("読み込む"));
    cmdImport->setEnabled(preview_.importable(true) && preview_.newSets > 0);
}

void CsvImportDialog::fillNames() {
    const QSignalBlocker block(tblNames);
    tblNames->setRowCount(static_cast<int>(preview_.names.size()));
    for (int row = 0; row < tblNames->rowCount(); ++row) {
        const NameUse& use = preview_.names[static_cast<size_t>(row)];
        const auto fixed = [](QTableWidgetItem* item) {
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            return item;
        };
        auto* name = fixed(new QTableWidgetItem(use.name));
        name->setToolTip(use.category.isEmpty() ? use.name
                                                : use.name + QStringLiteral("（") + use.category +
                                                      QStringLiteral("）"));
        tblNames->setItem(row, kName, name);
        auto* sets = fixed(new QTableWidgetItem(QString::number(use.sets)));
        sets->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        tblNames->setItem(row, kSets, sets);
        tblNames->setItem(
            row, kDays,
            fixed(new QTableWidgetItem(use.firstDay == use.lastDay
                                           ? use.firstDay
                                           : use.firstDay + QStringLiteral("〜") + use.lastDay)));
        // A new exercise's name can be typed (a Japanese one, say) before it is made.
        auto* newName = new QTableWidgetItem(use.created ? use.exerName : QString());
        if (!use.created) fixed(newName);
        newName->setToolTip(use.created ? QStringLiteral("新しい種目の名前（変更できます）")
                                        : QString());
        tblNames->setItem(row, kNewName, newName);

        QComboBox* box = destinationBox(row);
        if (box == nullptr) {
            box = new QComboBox(tblNames);
            tblNames->setCellWidget(row, kDestination, box);
            connect(box, &QComboBox::currentIndexChanged, this, [this, box] {
                for (int r = 0; r < tblNames->rowCount(); ++r)
                    if (destinationBox(r) == box) destinationChosen(r);
            });
        }
        const QSignalBlocker blockBox(box);
        box->clear();
        box->setAccessibleName(QStringLiteral("読み込み先: ") + use.name);
        for (const QString& group : groups_)
            box->addItem(QStringLiteral("新しい種目: ") + group, TargetData({group.left(2), {}}));
        for (const QString& exercise : exercises_)
            box->addItem(exercise, TargetData({exercise.left(2), exercise.mid(3, 2)}));
        const ExerciseTarget shown =
            use.created ? ExerciseTarget{use.target.grpCd, QString()} : use.target;
        int index = box->findData(TargetData(shown));
        if (index < 0) {
            // A hidden exercise found by its name: offered on this row only.
            box->addItem(use.target.grpCd + QLatin1Char(' ') + use.target.exerCd +
                             QLatin1Char(' ') + use.exerName,
                         TargetData(shown));
            index = box->count() - 1;
        }
        box->setCurrentIndex(index);
        box->setToolTip(NameMatchText(use.match));
    }
}

void CsvImportDialog::destinationChosen(int row) {
    const QComboBox* box = destinationBox(row);
    if (box == nullptr || row >= static_cast<int>(preview_.names.size())) return;
    chosen_.insert(preview_.names[static_cast<size_t>(row)].name,
                   TargetOf(box->currentData().toString()));
    runPreview();
}

void CsvImportDialog::newNameTyped(int row, const QString& text) {
    if (row < 0 || row >= static_cast<int>(preview_.names.size())) return;
    const NameUse& use = preview_.names[static_cast<size_t>(row)];
    if (!use.created || text == use.exerName) return;
    newNames_.insert(use.name, text);
    // The table is filled anew by the preview: not while it reports the edit.
    previewTimer_.start();
}

void CsvImportDialog::cmdImport_Click() {
    if (!copy_) return;
    ImportOptions chosen = options();
    chosen.skipRefused = true;
    chosen.commit = true;
    if (!ImportCsv(db_, copy_->fileName(), chosen, result_)) {
        platform_.message(QStringLiteral("読み込めませんでした。何も書き込んでいません。\r\n") +
                          result_.failure);
        runPreview();
        return;
    }
    accept();
}

}  // namespace sorvenka
