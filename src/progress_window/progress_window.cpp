#include "progress_window/progress_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QToolTip>
#include <QVBoxLayout>

#include "common/platform.h"
#include "common/text_tests.h"
#include "db/database.h"
#include "db/master_lists.h"
#include "last_session/last_session.h"
#include "progress/opening_period.h"
#include "progress/progress_period.h"

namespace sorvenka {

namespace {

// A caption; with a buddy, also what a screen reader speaks as that control's label.
QLabel* Caption(const QString& text, QWidget* parent, QWidget* buddy = nullptr) {
    auto* label = new QLabel(text, parent);
    if (buddy) label->setBuddy(buddy);
    return label;
}

int RowOfCode(const QComboBox* box, const QString& code) {
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i).startsWith(code)) return i;
    return code.isEmpty() && box->count() > 0 ? 0 : -1;
}

}  // namespace

ProgressWindow::ProgressWindow(const ProgressContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window),
      db_(context.db),
      platform_(context.platform),
      recFolder_(context.recFolder),
      mainDate_(context.mainDate),
      showDayInMain_(context.showDayInMain) {
    setWindowTitle(QStringLiteral("推移"));
    // Fits a 1366×768 screen with its frame and a panel; smaller screens can shrink it.
    resize(1260, 660);
    buildControls();

    quiet_ = true;
    cboGrp->addItems(DBFillMasterList(db_, MasterList::Groups));
    cboPeriod->addItems(ProgressPeriodNames());
    cboPeriod->setCurrentIndex(static_cast<int>(ProgressPeriod::Year1));
    cboChart->addItems(ChartKindNames());
    quiet_ = false;

    connect(cboGrp, &QComboBox::currentIndexChanged, this, [this] {
        if (quiet_) return;
        fillExercises();
        reload();
        chooseChartOfExercise();
    });
    connect(cboExer, &QComboBox::currentIndexChanged, this, [this] {
        if (quiet_) return;
        reload();
        chooseChartOfExercise();
    });
    connect(cboPeriod, &QComboBox::currentIndexChanged, this, [this] {
        if (!quiet_) reload();
    });
    connect(cboChart, &QComboBox::currentIndexChanged, this, [this] {
        if (!quiet_) redraw();
    });
    connect(tblRecords, &QTableWidget::cellClicked, this,
            [this](int row, int) { dayClicked(row, tblRecords); });
    connect(tblDays, &QTableWidget::cellClicked, this,
            [this](int row, int) { dayClicked(row, tblDays); });
    for (QTableWidget* table : {tblRecords, tblDays})
        connect(table, &QTableWidget::cellDoubleClicked, this, [this, table](int row, int) {
            dayClicked(row, table);
            showDayInMain();
        });
    connect(cmdShowInMain, &QPushButton::clicked, this, &ProgressWindow::showDayInMain);
    connect(cmdSavePng, &QPushButton::clicked, this, &ProgressWindow::savePng);
}

void ProgressWindow::buildControls() {
    cboGrp = new QComboBox(this);
    cboExer = new QComboBox(this);
    cboPeriod = new QComboBox(this);
    cboChart = new QComboBox(this);
    cboGrp->setMinimumWidth(110);
    cboExer->setMinimumWidth(160);
    cboChart->setMinimumWidth(200);
    lblPeriod = new QLabel(this);
    cmdSavePng = new QPushButton(QStringLiteral("PNGで保存"), this);

    chartView = new QChartView(this);
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumSize(360, 260);
    // The hover text of the day, bar or week under the pointer, wherever it is on the plot.
    chartView->viewport()->setMouseTracking(true);
    chartView->viewport()->installEventFilter(this);

    tblRecords = new QTableWidget(0, 3, this);
    tblRecords->setHorizontalHeaderLabels(
        {QStringLiteral("記録"), QStringLiteral("値"), QStringLiteral("日付")});
    tblDays = new QTableWidget(this);
    for (QTableWidget* table : {tblRecords, tblDays}) {
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->verticalHeader()->hide();
        // The days' last column (記録更新) keeps its words: stretched, it gets what is left.
        table->horizontalHeader()->setStretchLastSection(table == tblRecords);
        table->setWordWrap(false);
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    }
    lblDaySets = new QLabel(QStringLiteral("日付をクリックするとその日のセットを表示します"), this);
    lstDaySets = new QListWidget(this);
    lstDaySets->setSelectionMode(QAbstractItemView::NoSelection);
    cmdShowInMain = new QPushButton(QStringLiteral("この日を記録画面で表示"), this);
    cmdShowInMain->setEnabled(false);
    cmdShowInMain->setToolTip(QStringLiteral(
        "メイン画面の日付をこの日にします（新しく登録するセットもこの日になります）"));
    lblNote = new QLabel(this);
    lblNote->setWordWrap(true);

    // What a screen reader speaks: the caption beside each choice and list.
    const std::initializer_list<std::pair<QWidget*, const char*>> names{
        {cboGrp, "グループ"},
        {cboExer, "種目"},
        {cboPeriod, "期間"},
        {cboChart, "グラフ"},
        {cmdSavePng, "グラフをPNGで保存"},
        {chartView, "グラフ"},
        {tblRecords, "自己記録（期間内）"},
        {tblDays, "トレーニング日"},
        {lstDaySets, "選んだ日のセット"},
        {cmdShowInMain, "この日を記録画面で表示"},
    };
    for (const auto& [control, name] : names) control->setAccessibleName(QString::fromUtf8(name));

    auto* choices = new QHBoxLayout;
    choices->addWidget(Caption(QStringLiteral("グループ"), this, cboGrp));
    choices->addWidget(cboGrp);
    choices->addWidget(Caption(QStringLiteral("種目"), this, cboExer));
    choices->addWidget(cboExer);
    choices->addWidget(Caption(QStringLiteral("期間"), this, cboPeriod));
    choices->addWidget(cboPeriod);
    choices->addWidget(lblPeriod);
    choices->addStretch(1);
    choices->addWidget(Caption(QStringLiteral("グラフ"), this, cboChart));
    choices->addWidget(cboChart);
    choices->addWidget(cmdSavePng);

    auto* lists = new QVBoxLayout;
    lists->addWidget(Caption(QStringLiteral("自己記録（期間内）"), this));
    lists->addWidget(tblRecords, 2);
    lists->addWidget(Caption(
        QStringLiteral(
            "トレーニング日（新しい順、クリックでその日を表示、ダブルクリックで記録画面へ）"),
        this));
    lists->addWidget(tblDays, 3);
    lists->addWidget(lblDaySets);
    lists->addWidget(lstDaySets, 1);
    lists->addWidget(cmdShowInMain, 0, Qt::AlignRight);

    auto* body = new QHBoxLayout;
    body->addWidget(chartView, 5);
    body->addLayout(lists, 4);

    auto* all = new QVBoxLayout(this);
    all->addLayout(choices);
    all->addLayout(body, 1);
    all->addWidget(lblNote);
}

void ProgressWindow::fillExercises() {
    const bool wasQuiet = quiet_;
    quiet_ = true;
    cboExer->clear();
    cboExer->addItems(DBFillExerList(db_, selectedGrpCd()));
    quiet_ = wasQuiet;
}

void ProgressWindow::preselect(const QString& grpCd, const QString& exerCd, const QString& ymd) {
    quiet_ = true;
    cboGrp->setCurrentIndex(RowOfCode(cboGrp, grpCd));
    fillExercises();
    cboExer->setCurrentIndex(RowOfCode(cboExer, exerCd));
    const QDate day = ParseYmd(ymd);
    last_ = day.isValid() ? day : platform_.now().date();
    // A period that shows the exercise's recent training, however long ago it was.
    cboPeriod->setCurrentIndex(static_cast<int>(
        OpeningPeriod(db_.connection(), selectedGrpCd(), selectedExerCd(), last_)));
    quiet_ = false;
    dateSetHere_.clear();
    timelineDay_.clear();
    reload();
    chooseChartOfExercise();
}

void ProgressWindow::chooseChartOfExercise() {
    const ChartKind kind = chartKind();
    if (kind == ChartKind::Timeline || kind == ChartKind::Weekly) return;
    bool load = false, reps = false, distance = false, duration = false;
    for (const DayFigures& day : history_.days) {
        load = load || day.topKg.has_value();
        reps = reps || day.mostRepsNoLoad.has_value();
        distance = distance || day.distanceKm.has_value();
        duration = duration || day.durationSeconds.has_value();
    }
    // The load chart of pull-ups or of a run would only say that there is no load.
    const bool shown = (kind == ChartKind::Load || kind == ChartKind::Volume) ? load
                       : kind == ChartKind::Reps                              ? reps
                       : kind == ChartKind::Distance                          ? distance
                       : kind == ChartKind::Duration                          ? duration
                                                                              : true;
    if (shown || history_.days.empty()) return;
    const ChartKind fitting = load       ? ChartKind::Load
                              : reps     ? ChartKind::Reps
                              : distance ? ChartKind::Distance
                              : duration ? ChartKind::Duration
                                         : kind;
    cboChart->setCurrentIndex(static_cast<int>(fitting));
}

DayRange ProgressWindow::period() const {
    return PeriodDays(static_cast<ProgressPeriod>(cboPeriod->currentIndex()), last_);
}

bool ProgressWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != chartView->viewport()) return QWidget::eventFilter(watched, event);
    auto show = [this](const QPoint& at, const QPoint& global) {
        const QString text = HoverTextAt(chartView, at);
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(global, text, chartView->viewport(),
                               QRect(at - QPoint(3, 3), QSize(7, 7)));
    };
    if (event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        show(move->position().toPoint(), move->globalPosition().toPoint());
    } else if (event->type() == QEvent::ToolTip) {
        // The chart's scene answers a resting pointer with its own, empty, tip, which would
        // hide the day's figures: the window answers instead.
        const auto* help = static_cast<QHelpEvent*>(event);
        show(help->pos(), help->globalPos());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool ProgressWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && last_.isValid()) refresh();
    return QWidget::event(event);
}

void ProgressWindow::refresh() {
    const QString mainDate = mainDate_ ? mainDate_() : QString();
    const QDate day = ParseYmd(mainDate);
    // A day picked here moves the main window only; the period stays where the user is.
    if (day.isValid() && mainDate != dateSetHere_) {
        if (day != last_) timelineDay_.clear();
        last_ = day;
        dateSetHere_.clear();
    }
    reload();
}

void ProgressWindow::reload() {
    const DayRange range = period();
    lblPeriod->setText(range.first.startsWith(QStringLiteral("0000"))
                           ? QStringLiteral("〜 ") + range.last
                           : range.first + QStringLiteral(" 〜 ") + range.last);
    history_ = ReadExerciseHistory(db_.connection(), {selectedGrpCd(), selectedExerCd(), range});
    weekly_.reset();
    timeline_.reset();
    if (timelineDay_.isEmpty() || timelineDay_ < range.first || timelineDay_ > range.last)
        timelineDay_ = history_.days.empty() ? range.last : history_.days.back().ymd;
    fillRecords();
    fillDays();
    fillDaySets();
    redraw();
}

void ProgressWindow::redraw() {
    const DayRange range = period();
    QString failure = history_.ok ? QString() : history_.error;
    QChart* chart = nullptr;
    switch (chartKind()) {
        case ChartKind::Weekly:
            if (!weekly_) weekly_ = ReadWeeklySummary(db_.connection(), range);
            if (!weekly_->ok) failure = weekly_->error;
            chart = BuildWeeklyChart(*weekly_, range);
            break;
        case ChartKind::Timeline:
            if (!timeline_) timeline_ = ReadDayTimeline(db_.connection(), timelineDay_);
            if (!timeline_->ok) failure = timeline_->error;
            chart = BuildTimelineChart(*timeline_, timelineDay_);
            break;
        default:
            chart = BuildExerciseChart(chartKind(), history_, range);
            break;
    }
    if (!failure.isEmpty()) {
        delete chart;
        chart = MessageChart(QStringLiteral("記録を読み込めませんでした"));
    }
    QChart* old = chartView->chart();
    chartView->setChart(chart);
    delete old;

    QStringList notes;
    if (!failure.isEmpty()) notes << QStringLiteral("読み込みエラー: ") + failure;
    if (history_.skipped > 0)
        notes << QStringLiteral("数値でない値が保存されているため除外したセット: %1")
                     .arg(history_.skipped);
    if (chartKind() == ChartKind::Timeline && timeline_ && timeline_->untimed > 0)
        notes << QStringLiteral("開始・終了時刻のないセット: %1").arg(timeline_->untimed);
    lblNote->setText(notes.join(QStringLiteral("　")));
}

void ProgressWindow::dayClicked(int row, QTableWidget* table) {
    const QTableWidgetItem* item = table->item(row, 0);
    if (item == nullptr) return;
    const QString ymd = item->data(kDayRole).toString();
    if (!IsValidYmd(ymd)) return;
    shownDay_ = ymd;
    timelineDay_ = ymd;
    timeline_.reset();
    fillDaySets();
    cmdShowInMain->setEnabled(true);
    // The chart stays the one chosen: an imported day without times has no session to draw.
    if (chartKind() == ChartKind::Timeline) redraw();
}

void ProgressWindow::showDayInMain() {
    if (!IsValidYmd(shownDay_)) return;
    dateSetHere_ = shownDay_;
    if (showDayInMain_) showDayInMain_(shownDay_);
}

void ProgressWindow::fillDaySets() {
    lstDaySets->clear();
    if (shownDay_.isEmpty()) return;
    std::vector<SessionSet> sets;
    const bool read =
        ReadDaySets(db_.connection(), selectedGrpCd(), selectedExerCd(), shownDay_, sets);
    lblDaySets->setText(shownDay_ + QStringLiteral(" (") + WeekdayText(ParseYmd(shownDay_)) +
                        QStringLiteral(") の ") + cboExer->currentText().mid(3) +
                        QStringLiteral("：%1セット").arg(sets.size()));
    if (!read) lblDaySets->setText(QStringLiteral("その日のセットを読み込めませんでした"));
    for (const SessionSet& set : sets) {
        QString line = QStringLiteral("%1. ").arg(set.setNum) + SetValuesText(set);
        if (!set.start.isEmpty() || !set.finish.isEmpty())
            line += QStringLiteral("  ") + set.start + QStringLiteral("–") + set.finish;
        lstDaySets->addItem(line);
    }
}

}  // namespace sorvenka
