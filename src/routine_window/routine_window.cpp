#include "routine_window/routine_window.h"

#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "db/database.h"
#include "db/master_lists.h"
#include "routines/day_plan.h"

namespace sorvenka {

namespace {

QPushButton* Button(const QString& text) {
    auto* button = new QPushButton(text);
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : widgets) row->addWidget(w);
    row->addStretch();
    return row;
}

}  // namespace

RoutineWindow::RoutineWindow(const RoutineContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window),
      db_(context.db),
      platform_(context.platform),
      mainDate_(context.mainDate),
      fillMain_(context.fillMain),
      plan_(std::make_unique<DayPlan>()) {
    setWindowTitle(QStringLiteral("メニュー"));
    buildControls();
    nameControls();
    connectEvents();
    refresh();
}

RoutineWindow::~RoutineWindow() = default;

void RoutineWindow::buildControls() {
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildEditor(), 0);
    layout->addWidget(buildPlanArea(), 1);
    // Within a 1366×768 screen, title bar and task bar included.
    resize(1320, 700);
}

QWidget* RoutineWindow::buildEditor() {
    auto* editor = new QWidget;
    auto* column = new QVBoxLayout(editor);
    column->setContentsMargins(0, 0, 0, 0);

    auto* routineBox = new QGroupBox(QStringLiteral("メニュー"));
    auto* routineLayout = new QVBoxLayout(routineBox);
    cboRoutine = new QComboBox;
    cboRoutine->setMinimumWidth(200);
    cmdAddRoutine = Button(QStringLiteral("追加"));
    cmdRenameRoutine = Button(QStringLiteral("名前変更"));
    cmdDeleteRoutine = Button(QStringLiteral("削除"));
    cmdRoutineUp = Button(QStringLiteral("↑"));
    cmdRoutineDown = Button(QStringLiteral("↓"));
    // The list of routines on a line of its own: beside five buttons it was squeezed under them.
    routineLayout->addLayout(Row({cboRoutine}));
    routineLayout->addLayout(
        Row({cmdAddRoutine, cmdRenameRoutine, cmdDeleteRoutine, cmdRoutineUp, cmdRoutineDown}));
    cboSchedule = new QComboBox;
    cboSchedule->addItem(QStringLiteral("順番に（前回の次の日）"), int(Schedule::Rotation));
    cboSchedule->addItem(QStringLiteral("曜日で"), int(Schedule::Weekdays));
    auto* scheduleLabel = new QLabel(QStringLiteral("日の選び方"));
    scheduleLabel->setBuddy(cboSchedule);
    routineLayout->addLayout(Row({scheduleLabel, cboSchedule}));
    column->addWidget(routineBox);

    auto* dayBox = new QGroupBox(QStringLiteral("日"));
    auto* dayLayout = new QGridLayout(dayBox);
    lstDays = new QListWidget;
    lstDays->setMaximumHeight(72);
    cmdAddDay = Button(QStringLiteral("追加"));
    cmdRenameDay = Button(QStringLiteral("名前変更"));
    cmdDeleteDay = Button(QStringLiteral("削除"));
    cmdDayUp = Button(QStringLiteral("↑"));
    cmdDayDown = Button(QStringLiteral("↓"));
    cmdDayFromLog = Button(QStringLiteral("この日からメニューを作る"));
    cmdDayFromLog->setToolTip(
        QStringLiteral("メイン画面の日付に登録したセットから、このメニューに日を作ります"));
    txtWeekdays = new QLineEdit;
    txtWeekdays->setPlaceholderText(QStringLiteral("例: 月木"));
    txtWeekdays->setMaximumWidth(90);
    auto* weekdayLabel = new QLabel(QStringLiteral("曜日"));
    weekdayLabel->setBuddy(txtWeekdays);
    dayLayout->addWidget(lstDays, 0, 0, 2, 1);
    dayLayout->addLayout(Row({cmdAddDay, cmdRenameDay, cmdDeleteDay, cmdDayUp, cmdDayDown}), 0, 1);
    dayLayout->addLayout(Row({cmdDayFromLog, weekdayLabel, txtWeekdays}), 1, 1);
    column->addWidget(dayBox);

    auto* itemBox = new QGroupBox(QStringLiteral("種目"));
    auto* itemLayout = new QVBoxLayout(itemBox);
    lstItems = new QListWidget;
    lstItems->setMaximumHeight(84);
    itemLayout->addWidget(lstItems);
    cmdAddItem = Button(QStringLiteral("追加"));
    cmdSaveItem = Button(QStringLiteral("変更を保存"));
    cmdDeleteItem = Button(QStringLiteral("削除"));
    cmdItemUp = Button(QStringLiteral("↑"));
    cmdItemDown = Button(QStringLiteral("↓"));
    itemLayout->addLayout(Row({cmdAddItem, cmdSaveItem, cmdDeleteItem, cmdItemUp, cmdItemDown}));

    auto* fields = new QGridLayout;
    auto addField = [fields](int row, int col, const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        fields->addWidget(label, row, col * 2);
        fields->addWidget(field, row, col * 2 + 1);
    };
    cboGrp = new QComboBox;
    cboExer = new QComboBox;
    cboExer->setMinimumWidth(110);
    cboKind = new QComboBox;
    cboKind->addItem(QStringLiteral("回数"), int(ItemKind::Reps));
    cboKind->addItem(QStringLiteral("時間"), int(ItemKind::Duration));
    cboKind->addItem(QStringLiteral("距離"), int(ItemKind::Distance));
    spnSets = new QSpinBox;
    spnSets->setRange(1, 20);
    spnRepMin = new QSpinBox;
    spnRepMin->setRange(1, 999);
    spnRepMax = new QSpinBox;
    spnRepMax->setRange(1, 999);
    cboCountUnit = new QComboBox;
    spnDuration = new QSpinBox;
    spnDuration->setRange(0, 24 * 3600);
    spnDuration->setSuffix(QStringLiteral(" 秒"));
    spnLoad = new QDoubleSpinBox;
    spnLoad->setRange(0, 9999);
    spnLoad->setDecimals(2);
    cboLoadUnit = new QComboBox;
    spnRest = new QSpinBox;
    spnRest->setRange(0, 3600);
    spnRest->setSingleStep(15);
    spnRest->setSuffix(QStringLiteral(" 秒"));
    cboRule = new QComboBox;
    cboRule->addItem(QStringLiteral("なし"), int(ProgressionRule::None));
    cboRule->addItem(QStringLiteral("線形"), int(ProgressionRule::Linear));
    cboRule->addItem(QStringLiteral("ダブル"), int(ProgressionRule::Double));
    spnStep = new QDoubleSpinBox;
    spnStep->setRange(0, 100);
    spnStep->setDecimals(2);
    spnRounding = new QDoubleSpinBox;
    spnRounding->setRange(0, 100);
    spnRounding->setDecimals(2);
    chkPlates = new QCheckBox(QStringLiteral("プレートで作る"));
    txtSuperset = new QLineEdit;
    txtSuperset->setMaxLength(1);
    txtSuperset->setMaximumWidth(40);
    addField(0, 0, QStringLiteral("グループ"), cboGrp);
    addField(0, 1, QStringLiteral("種目"), cboExer);
    addField(0, 2, QStringLiteral("種類"), cboKind);
    addField(1, 0, QStringLiteral("セット数"), spnSets);
    addField(1, 1, QStringLiteral("回数 下限"), spnRepMin);
    addField(1, 2, QStringLiteral("上限"), spnRepMax);
    addField(2, 0, QStringLiteral("回数の単位"), cboCountUnit);
    addField(2, 1, QStringLiteral("時間"), spnDuration);
    addField(2, 2, QStringLiteral("休憩"), spnRest);
    addField(3, 0, QStringLiteral("開始重量"), spnLoad);
    addField(3, 1, QStringLiteral("重量の単位"), cboLoadUnit);
    addField(3, 2, QStringLiteral("漸進"), cboRule);
    addField(4, 0, QStringLiteral("増やす幅"), spnStep);
    addField(4, 1, QStringLiteral("丸め"), spnRounding);
    addField(4, 2, QStringLiteral("スーパーセット"), txtSuperset);
    fields->addWidget(chkPlates, 5, 0, 1, 4);
    itemLayout->addLayout(fields);
    column->addWidget(itemBox);

    auto* plateBox = new QGroupBox(QStringLiteral("プレートとウォームアップ"));
    auto* plateLayout = new QGridLayout(plateBox);
    cboPlateUnit = new QComboBox;
    cboPlateUnit->addItems({QStringLiteral("kg"), QStringLiteral("lb")});
    spnBar = new QDoubleSpinBox;
    spnBar->setRange(0, 100);
    spnBar->setDecimals(2);
    txtPlates = new QLineEdit;
    txtPlates->setPlaceholderText(QStringLiteral("重さ×ペア数, 例: 20×2, 10×1, 2.5×2"));
    cmdSavePlates = Button(QStringLiteral("プレートを保存"));
    txtWarmup = new QLineEdit;
    txtWarmup->setPlaceholderText(QStringLiteral("％×回数, 0はバーだけ, 例: 0×10, 40×5"));
    cmdSaveWarmup = Button(QStringLiteral("ウォームアップを保存"));
    auto* unitLabel = new QLabel(QStringLiteral("単位"));
    unitLabel->setBuddy(cboPlateUnit);
    auto* barLabel = new QLabel(QStringLiteral("バー"));
    barLabel->setBuddy(spnBar);
    auto* platesLabel = new QLabel(QStringLiteral("プレート"));
    platesLabel->setBuddy(txtPlates);
    auto* warmupLabel = new QLabel(QStringLiteral("ウォームアップ"));
    warmupLabel->setBuddy(txtWarmup);
    plateLayout->addLayout(Row({unitLabel, cboPlateUnit, barLabel, spnBar}), 0, 0, 1, 3);
    plateLayout->addWidget(platesLabel, 1, 0);
    plateLayout->addWidget(txtPlates, 1, 1);
    plateLayout->addWidget(cmdSavePlates, 1, 2);
    plateLayout->addWidget(warmupLabel, 2, 0);
    plateLayout->addWidget(txtWarmup, 2, 1);
    plateLayout->addWidget(cmdSaveWarmup, 2, 2);
    column->addWidget(plateBox);
    column->addStretch();
    editor->setFixedWidth(540);
    return editor;
}

QWidget* RoutineWindow::buildPlanArea() {
    auto* box = new QGroupBox(QStringLiteral("今日のメニュー"));
    auto* layout = new QVBoxLayout(box);
    lblPlanDay = new QLabel;
    lblPlanDay->setWordWrap(true);
    cboPlanDay = new QComboBox;
    auto* dayLabel = new QLabel(QStringLiteral("行う日"));
    dayLabel->setBuddy(cboPlanDay);
    layout->addWidget(lblPlanDay);
    layout->addLayout(Row({dayLabel, cboPlanDay}));
    tvPlan = new QTreeWidget;
    tvPlan->setRootIsDecorated(false);
    tvPlan->setUniformRowHeights(true);
    tvPlan->setHeaderLabels({QStringLiteral("種目"), QStringLiteral("セット"),
                             QStringLiteral("目標"), QStringLiteral("休憩"), QStringLiteral("理由"),
                             QStringLiteral("プレート（片側）")});
    tvPlan->header()->setStretchLastSection(true);
    tvPlan->setColumnWidth(0, 120);
    tvPlan->setColumnWidth(1, 42);
    tvPlan->setColumnWidth(2, 125);
    tvPlan->setColumnWidth(3, 36);
    tvPlan->setColumnWidth(4, 200);
    tvPlan->setToolTip(
        QStringLiteral("行をクリックすると、その値をメイン画面に入れます（登録はしません）"));
    layout->addWidget(tvPlan, 1);
    cmdReflect = Button(QStringLiteral("メニューに反映"));
    cmdReflect->setToolTip(
        QStringLiteral("今日使った重量を、種目ごとに確かめてメニューに取り込みます"));
    layout->addLayout(Row({cmdReflect}));
    return box;
}

void RoutineWindow::nameControls() {
    const std::initializer_list<std::pair<QWidget*, const char*>> names{
        {cboRoutine, "メニュー"},
        {cmdAddRoutine, "メニューを追加"},
        {cmdRenameRoutine, "メニューの名前を変更"},
        {cmdDeleteRoutine, "メニューを削除"},
        {cmdRoutineUp, "メニューを上へ"},
        {cmdRoutineDown, "メニューを下へ"},
        {cboSchedule, "日の選び方"},
        {lstDays, "日"},
        {cmdAddDay, "日を追加"},
        {cmdRenameDay, "日の名前を変更"},
        {cmdDeleteDay, "日を削除"},
        {cmdDayUp, "日を上へ"},
        {cmdDayDown, "日を下へ"},
        {cmdDayFromLog, "この日からメニューを作る"},
        {txtWeekdays, "日の曜日"},
        {lstItems, "日の種目"},
        {cmdAddItem, "種目を追加"},
        {cmdSaveItem, "種目の変更を保存"},
        {cmdDeleteItem, "種目を削除"},
        {cmdItemUp, "種目を上へ"},
        {cmdItemDown, "種目を下へ"},
        {cboGrp, "グループ"},
        {cboExer, "種目"},
        {cboKind, "種類"},
        {spnSets, "セット数"},
        {spnRepMin, "回数の下限"},
        {spnRepMax, "回数の上限"},
        {cboCountUnit, "回数の単位"},
        {spnDuration, "時間（秒）"},
        {spnLoad, "開始重量"},
        {cboLoadUnit, "重量の単位"},
        {spnRest, "休憩（秒）"},
        {cboRule, "漸進"},
        {spnStep, "増やす幅"},
        {spnRounding, "丸め"},
        {chkPlates, "プレートで作る"},
        {txtSuperset, "スーパーセットの記号"},
        {cboPlateUnit, "プレートの単位"},
        {spnBar, "バーの重さ"},
        {txtPlates, "プレート"},
        {cmdSavePlates, "プレートを保存"},
        {txtWarmup, "ウォームアップ"},
        {cmdSaveWarmup, "ウォームアップを保存"},
        {lblPlanDay, "今日の日"},
        {cboPlanDay, "行う日"},
        {tvPlan, "今日のメニュー"},
        {cmdReflect, "メニューに反映"},
    };
    for (const auto& [control, name] : names) {
        control->setAccessibleName(QString::fromUtf8(name));
        // A spin box is typed into through its own text box: that box speaks the same name.
        if (qobject_cast<QAbstractSpinBox*>(control))
            for (QLineEdit* box : control->findChildren<QLineEdit*>())
                box->setAccessibleName(QString::fromUtf8(name));
    }
}

void RoutineWindow::connectEvents() {
    connect(cboRoutine, &QComboBox::currentIndexChanged, this, [this] {
        if (filling_) return;
        showDays(0);
    });
    connect(cboSchedule, &QComboBox::activated, this, [this] { scheduleChosen(); });
    connect(lstDays, &QListWidget::currentRowChanged, this, [this] {
        if (filling_) return;
        showItems(0);
    });
    connect(lstItems, &QListWidget::currentRowChanged, this, [this] {
        if (filling_) return;
        for (const RoutineItem& item : book_.items)
            if (item.id == currentItemId()) showItem(item);
    });
    connect(cboGrp, &QComboBox::activated, this,
            [this] { fillExercises(cboGrp->currentData().toString()); });
    connect(cboPlateUnit, &QComboBox::currentIndexChanged, this, [this] { showPlates(); });
    connect(cboPlanDay, &QComboBox::activated, this, [this] { refreshPlan(); });
    connect(txtWeekdays, &QLineEdit::editingFinished, this, [this] { weekdaysEdited(); });
    connect(tvPlan, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* line) { fillFromLine(tvPlan->indexOfTopLevelItem(line)); });
    connect(tvPlan, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* line) { fillFromLine(tvPlan->indexOfTopLevelItem(line)); });

    const std::initializer_list<std::pair<QPushButton*, std::function<void()>>> clicks{
        {cmdAddRoutine, [this] { addRoutine(); }},
        {cmdRenameRoutine, [this] { renameRoutine(); }},
        {cmdDeleteRoutine, [this] { deleteRoutine(); }},
        {cmdRoutineUp, [this] { moveRoutine(-1); }},
        {cmdRoutineDown, [this] { moveRoutine(1); }},
        {cmdAddDay, [this] { addDay(); }},
        {cmdRenameDay, [this] { renameDay(); }},
        {cmdDeleteDay, [this] { deleteDay(); }},
        {cmdDayUp, [this] { moveDay(-1); }},
        {cmdDayDown, [this] { moveDay(1); }},
        {cmdDayFromLog, [this] { dayFromLog(); }},
        {cmdAddItem, [this] { addItem(); }},
        {cmdSaveItem, [this] { saveItem(); }},
        {cmdDeleteItem, [this] { deleteItem(); }},
        {cmdItemUp, [this] { moveItem(-1); }},
        {cmdItemDown, [this] { moveItem(1); }},
        {cmdSavePlates, [this] { savePlates(); }},
        {cmdSaveWarmup, [this] { saveWarmup(); }},
        {cmdReflect, [this] { reflect(); }},
    };
    for (const auto& [button, action] : clicks)
        connect(button, &QPushButton::clicked, this, action);
}

void RoutineWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Coming back from the main window: what was stored there shows.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) refreshPlan();
}

void RoutineWindow::refresh() {
    if (!db_.isOpen()) return;
    filling_ = true;
    const QString grp = cboGrp->currentData().toString();
    cboGrp->clear();
    for (const QString& entry : DBFillMasterList(db_, MasterList::Groups))
        cboGrp->addItem(entry.mid(3), entry.left(2));
    cboGrp->setCurrentIndex(std::max(0, cboGrp->findData(grp)));
    fillExercises(cboGrp->currentData().toString());
    for (auto [box, list] : {std::pair{cboCountUnit, MasterList::CountUnits},
                             std::pair{cboLoadUnit, MasterList::LoadUnits}}) {
        const QString kept = box->currentText();
        box->clear();
        box->addItems(DBFillMasterList(db_, list));
        if (box->findText(kept) >= 0) box->setCurrentText(kept);
    }
    filling_ = false;
    showRoutines(currentRoutineId());
    showPlates();
}

}  // namespace sorvenka
