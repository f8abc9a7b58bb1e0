#include "masters_window/masters_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "common/platform.h"
#include "db/database.h"
#include "masters/master_rows.h"

namespace sorvenka {

namespace {

QPushButton* Button(const QString& text, const QString& accessibleName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(accessibleName);
    button->setAutoDefault(false);
    return button;
}

QTableWidget* Table(const QStringList& headers, const QString& accessibleName, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->setAccessibleName(accessibleName);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    return table;
}

void SetRow(QTableWidget* table, int row, const QString& code, const QStringList& cells,
            bool shown) {
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        if (column == 0) item->setData(MastersWindow::kCodeRole, code);
        // Hidden entries stay listed here, greyed.
        if (!shown) item->setForeground(QColor(Qt::gray));
        table->setItem(row, column, item);
    }
}

QString ShownText(bool shown) {
    return shown ? QStringLiteral("表示") : QStringLiteral("非表示");
}

QString SelectedCode(const QTableWidget* table) {
    const int row = table->currentRow();
    const QTableWidgetItem* item = row >= 0 ? table->item(row, 0) : nullptr;
    return item && table->selectionModel()->isRowSelected(row, QModelIndex())
               ? item->data(MastersWindow::kCodeRole).toString()
               : QString();
}

bool SelectCode(QTableWidget* table, const QString& code) {
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->data(MastersWindow::kCodeRole).toString() == code) {
            table->selectRow(row);
            return true;
        }
    return false;
}

}  // namespace

MastersWindow::MastersWindow(const MastersContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window),
      db_(context.db),
      platform_(context.platform),
      dbFilePath_(context.dbFilePath),
      backupFolder_(context.backupFolder),
      dataChanged_(context.dataChanged) {
    setWindowTitle(QStringLiteral("種目の管理"));
    resize(1000, 560);
    buildControls();

    connect(tblGroups, &QTableWidget::itemSelectionChanged, this, [this] {
        if (filling_) return;
        fillExercises();
        fillTargets();
        updateButtons();
    });
    connect(tblExercises, &QTableWidget::itemSelectionChanged, this, [this] {
        if (filling_) return;
        fillTargets();
        updateButtons();
    });
    const auto onClick = [this](QPushButton* button, auto handler) {
        connect(button, &QPushButton::clicked, this, handler);
    };
    onClick(cmdGroupAdd, [this] { addGroup(); });
    onClick(cmdGroupRename, [this] { renameGroup(); });
    onClick(cmdGroupUp, [this] { moveGroup(-1); });
    onClick(cmdGroupDown, [this] { moveGroup(+1); });
    onClick(cmdGroupShow, [this] { toggleGroup(); });
    onClick(cmdGroupDelete, [this] { deleteGroup(); });
    onClick(cmdExerAdd, [this] { addExercise(); });
    onClick(cmdExerRename, [this] { renameExercise(); });
    onClick(cmdExerUp, [this] { moveExerciseInList(-1); });
    onClick(cmdExerDown, [this] { moveExerciseInList(+1); });
    onClick(cmdExerShow, [this] { toggleExercise(); });
    onClick(cmdExerDelete, [this] { deleteExercise(); });
    onClick(cmdMove, [this] { moveExerciseToGroup(); });
    onClick(cmdMerge, [this] { mergeExercise(); });

    reloadTables();
    if (tblGroups->rowCount() > 0 && selectedGrpCd().isEmpty()) tblGroups->selectRow(0);
}

void MastersWindow::buildControls() {
    tblGroups = Table({QStringLiteral("コード"), QStringLiteral("グループ"), QStringLiteral("表示"),
                       QStringLiteral("種目数"), QStringLiteral("セット数")},
                      QStringLiteral("グループ"), this);
    cmdGroupAdd = Button(QStringLiteral("追加"), QStringLiteral("グループを追加"), this);
    cmdGroupRename =
        Button(QStringLiteral("名前の変更"), QStringLiteral("グループの名前の変更"), this);
    cmdGroupUp = Button(QStringLiteral("上へ"), QStringLiteral("グループを上へ"), this);
    cmdGroupDown = Button(QStringLiteral("下へ"), QStringLiteral("グループを下へ"), this);
    cmdGroupShow = Button(QStringLiteral("表示／非表示"),
                          QStringLiteral("グループの表示と非表示の切り替え"), this);
    cmdGroupDelete = Button(QStringLiteral("削除"), QStringLiteral("グループを削除"), this);

    tblExercises =
        Table({QStringLiteral("コード"), QStringLiteral("種目"), QStringLiteral("表示"),
               QStringLiteral("セット数"), QStringLiteral("最初の日"), QStringLiteral("最後の日")},
              QStringLiteral("選んだグループの種目"), this);
    cmdExerAdd = Button(QStringLiteral("追加"), QStringLiteral("種目を追加"), this);
    cmdExerRename = Button(QStringLiteral("名前の変更"), QStringLiteral("種目の名前の変更"), this);
    cmdExerUp = Button(QStringLiteral("上へ"), QStringLiteral("種目を上へ"), this);
    cmdExerDown = Button(QStringLiteral("下へ"), QStringLiteral("種目を下へ"), this);
    cmdExerShow = Button(QStringLiteral("表示／非表示"),
                         QStringLiteral("種目の表示と非表示の切り替え"), this);
    cmdExerDelete = Button(QStringLiteral("削除"), QStringLiteral("種目を削除"), this);

    auto* moveLabel = new QLabel(QStringLiteral("移動先のグループ"), this);
    cboMoveTo = new QComboBox(this);
    cboMoveTo->setAccessibleName(moveLabel->text());
    moveLabel->setBuddy(cboMoveTo);
    cmdMove = Button(QStringLiteral("移動"), QStringLiteral("種目を移動先のグループへ移動"), this);
    auto* mergeLabel = new QLabel(QStringLiteral("統合先の種目"), this);
    cboMergeInto = new QComboBox(this);
    cboMergeInto->setAccessibleName(mergeLabel->text());
    cboMergeInto->setMinimumWidth(320);
    mergeLabel->setBuddy(cboMergeInto);
    cmdMerge = Button(QStringLiteral("統合"), QStringLiteral("種目を統合先の種目に統合"), this);
    lblNote = new QLabel(this);
    lblNote->setWordWrap(true);
    // Room for three lines from the start: a longer note never moves the buttons under the
    // pointer.
    lblNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNote->setFixedHeight(lblNote->fontMetrics().lineSpacing() * 3 + 4);

    tblGroups->setColumnWidth(0, 50);
    tblGroups->setColumnWidth(1, 110);
    tblGroups->setColumnWidth(2, 60);
    tblGroups->setColumnWidth(3, 60);
    tblExercises->setColumnWidth(0, 50);
    tblExercises->setColumnWidth(1, 200);
    tblExercises->setColumnWidth(2, 60);
    tblExercises->setColumnWidth(3, 70);
    tblExercises->setColumnWidth(4, 90);

    const auto buttonRow = [](std::initializer_list<QPushButton*> buttons) {
        auto* row = new QHBoxLayout;
        for (QPushButton* button : buttons) row->addWidget(button);
        row->addStretch(1);
        return row;
    };
    auto* groups = new QVBoxLayout;
    groups->addWidget(new QLabel(QStringLiteral("グループ"), this));
    groups->addWidget(tblGroups, 1);
    groups->addLayout(buttonRow({cmdGroupAdd, cmdGroupRename, cmdGroupDelete}));
    groups->addLayout(buttonRow({cmdGroupUp, cmdGroupDown, cmdGroupShow}));

    auto* exercises = new QVBoxLayout;
    exercises->addWidget(new QLabel(QStringLiteral("選んだグループの種目"), this));
    exercises->addWidget(tblExercises, 1);
    exercises->addLayout(buttonRow({cmdExerAdd, cmdExerRename, cmdExerDelete}));
    exercises->addLayout(buttonRow({cmdExerUp, cmdExerDown, cmdExerShow}));
    auto* moves = new QGridLayout;
    moves->addWidget(moveLabel, 0, 0);
    moves->addWidget(cboMoveTo, 0, 1);
    moves->addWidget(cmdMove, 0, 2);
    moves->addWidget(mergeLabel, 1, 0);
    moves->addWidget(cboMergeInto, 1, 1);
    moves->addWidget(cmdMerge, 1, 2);
    moves->setColumnStretch(3, 1);
    exercises->addLayout(moves);

    auto* body = new QHBoxLayout;
    body->addLayout(groups, 2);
    body->addLayout(exercises, 3);
    auto* all = new QVBoxLayout(this);
    all->addLayout(body, 1);
    all->addWidget(lblNote);

    QWidget* previous = nullptr;
    for (QWidget* control : std::initializer_list<QWidget*>{
             tblGroups, cmdGroupAdd, cmdGroupRename, cmdGroupDelete, cmdGroupUp, cmdGroupDown,
             cmdGroupShow, tblExercises, cmdExerAdd, cmdExerRename, cmdExerDelete, cmdExerUp,
             cmdExerDown, cmdExerShow, cboMoveTo, cmdMove, cboMergeInto, cmdMerge}) {
        if (previous) setTabOrder(previous, control);
        previous = control;
    }
}

QString MastersWindow::selectedGrpCd() const {
    return SelectedCode(tblGroups);
}

ExerciseKey MastersWindow::selectedExercise() const {
    const QString exerCd = SelectedCode(tblExercises);
    return exerCd.isEmpty() ? ExerciseKey() : ExerciseKey{selectedGrpCd(), exerCd};
}

bool MastersWindow::selectGroup(const QString& grpCd) {
    return SelectCode(tblGroups, grpCd);
}

bool MastersWindow::selectExercise(const QString& exerCd) {
    return SelectCode(tblExercises, exerCd);
}

bool MastersWindow::event(QEvent* event) {
    // Sets stored in the main window meanwhile change the counts.
    if (event->type() == QEvent::WindowActivate) reloadTables();
    return QWidget::event(event);
}

void MastersWindow::reloadTables() {
    const QString grpCd = selectedGrpCd();
    const QString exerCd = SelectedCode(tblExercises);
    filling_ = true;
    fillGroups();
    selectGroup(grpCd);
    fillExercises();
    selectExercise(exerCd);
    filling_ = false;
    fillTargets();
    updateButtons();
}

void MastersWindow::fillGroups() {
    const bool wasFilling = filling_;
    filling_ = true;
    std::vector<GroupRow> rows;
    if (!ReadGroups(db_.connection(), rows))
        lblNote->setText(QStringLiteral("グループを読み込めませんでした。"));
    // No row stays chosen by its place: a deleted or merged entry's row now holds another.
    tblGroups->clearSelection();
    tblGroups->setCurrentCell(-1, -1);
    tblGroups->clearContents();
    tblGroups->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const GroupRow& g = rows[i];
        SetRow(tblGroups, i, g.code,
               {g.code, g.name, ShownText(g.shown), QString::number(g.exercises),
                QString::number(g.sets)},
               g.shown);
    }
    filling_ = wasFilling;
}

void MastersWindow::fillExercises() {
    const bool wasFilling = filling_;
    filling_ = true;
    std::vector<ExerciseRow> rows;
    const QString grpCd = selectedGrpCd();
    if (!grpCd.isEmpty() && !ReadExercises(db_.connection(), grpCd, rows))
        lblNote->setText(QStringLiteral("種目を読み込めませんでした。"));
    // No row stays chosen by its place: a deleted or merged entry's row now holds another.
    tblExercises->clearSelection();
    tblExercises->setCurrentCell(-1, -1);
    tblExercises->clearContents();
    tblExercises->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const ExerciseRow& e = rows[i];
        SetRow(tblExercises, i, e.code,
               {e.code, e.name, ShownText(e.shown), QString::number(e.sets), e.firstYmd, e.lastYmd},
               e.shown);
    }
    filling_ = wasFilling;
}

void MastersWindow::fillTargets() {
    const QString grpCd = selectedGrpCd();
    const ExerciseKey exercise = selectedExercise();
    const QString moveTo = cboMoveTo->currentData().toString();
    const QString mergeInto = cboMergeInto->currentData().toString();
    cboMoveTo->clear();
    std::vector<GroupRow> groups;
    ReadGroups(db_.connection(), groups);
    for (const GroupRow& g : groups)
        if (g.code != grpCd) cboMoveTo->addItem(g.code + QLatin1Char(' ') + g.name, g.code);
    cboMoveTo->setCurrentIndex(std::max(0, cboMoveTo->findData(moveTo)));

    cboMergeInto->clear();
    std::vector<ExerciseRow> all;
    ReadAllExercises(db_.connection(), all);
    QHash<QString, QString> groupNames;
    for (const GroupRow& g : groups) groupNames.insert(g.code, g.name);
    for (const ExerciseRow& e : all) {
        if (ExerciseKey{e.grpCd, e.code} == exercise) continue;
        cboMergeInto->addItem(e.grpCd + QLatin1Char(' ') + groupNames.value(e.grpCd) +
                                  QStringLiteral(" / ") + e.code + QLatin1Char(' ') + e.name,
                              e.grpCd + QLatin1Char('\t') + e.code);
    }
    // The same group's exercises first come to mind: start there unless one was chosen.
    int at = cboMergeInto->findData(mergeInto);
    if (at < 0)
        for (int i = 0; i < cboMergeInto->count() && at < 0; ++i)
            if (cboMergeInto->itemData(i).toString().startsWith(grpCd + QLatin1Char('\t'))) at = i;
    cboMergeInto->setCurrentIndex(std::max(0, at));
}

void MastersWindow::updateButtons() {
    const bool group = !selectedGrpCd().isEmpty();
    const bool exercise = !selectedExercise().exerCd.isEmpty();
    for (QPushButton* button :
         {cmdGroupRename, cmdGroupUp, cmdGroupDown, cmdGroupShow, cmdGroupDelete, cmdExerAdd})
        button->setEnabled(group);
    for (QPushButton* button : {cmdExerRename, cmdExerUp, cmdExerDown, cmdExerShow, cmdExerDelete})
        button->setEnabled(exercise);
    cmdMove->setEnabled(exercise && cboMoveTo->count() > 0);
    cmdMerge->setEnabled(exercise && cboMergeInto->count() > 0);
}

void MastersWindow::finish(bool done, const QString& message, const QString& note) {
    if (!done) {
        platform_.message(message);
        return;
    }
    lblNote->setText(note);
    reloadTables();
    if (dataChanged_) dataChanged_();
}

}  // namespace sorvenka
