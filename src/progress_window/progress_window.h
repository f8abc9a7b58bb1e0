#pragma once

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <QtCharts/QChartView>
#include <functional>
#include <optional>

#include "progress/day_timeline.h"
#include "progress/exercise_history.h"
#include "progress/weekly_summary.h"
#include "progress_window/progress_charts.h"
#include "progress_window/progress_context.h"

namespace sorvenka {

// The progress of one exercise over a period ending at the main window's date: charts of its
// figures, its personal records and its training days, plus the weekly sets of all groups and
// a day's session. It reads again whenever it is activated, so changes made in the main window
// show when the user comes back to it.
class ProgressWindow : public QWidget {
    Q_OBJECT

  public:
    ProgressWindow(const ProgressContext& context, QWidget* parent = nullptr);

    // Chooses the group, the exercise and the period's last day and reads.
    void preselect(const QString& grpCd, const QString& exerCd, const QString& ymd);
    // Reads everything again for the current choice, the period following the main window's
    // date unless that date was set from here.
    void refresh();
    // Refills the group and exercise choices from the masters after they changed, keeping the
    // chosen ones where they still exist, and reads again. Invokable: the main window calls it
    // by name (kReloadListsMethod), the window's type being the module's own.
    Q_INVOKABLE void reloadLists();

    // --- controls (public so that tests drive the real widgets) ---
    QComboBox* cboGrp;
    QComboBox* cboExer;
    QComboBox* cboPeriod;
    QComboBox* cboChart;
    QLabel* lblPeriod;
    QPushButton* cmdSavePng;
    QChartView* chartView;
    QTableWidget* tblRecords;
    QTableWidget* tblDays;
    QLabel* lblDaySets;          // the clicked day
    QListWidget* lstDaySets;     // the exercise's sets of that day
    QPushButton* cmdShowInMain;  // この日を記録画面で表示
    QLabel* lblNote;

    // --- what is shown ---
    DayRange period() const;
    ChartKind chartKind() const { return static_cast<ChartKind>(cboChart->currentIndex()); }
    QString timelineDay() const { return timelineDay_; }
    // The day last clicked in the tables; empty before any click.
    QString shownDay() const { return shownDay_; }
    const ExerciseHistory& history() const { return history_; }
    QString selectedGrpCd() const { return cboGrp->currentText().left(2); }
    QString selectedExerCd() const { return cboExer->currentText().left(2); }

    // Role of table items that holds the day a row refers to.
    static constexpr int kDayRole = Qt::UserRole + 1;

    // "Progress" + yyyy_mmdd + group and exercise codes + the chart's word + ".png", e.g.
    // Progress2024_0514_0101_load.png; a session names its day, the weekly chart no exercise.
    QString proposedPngName() const;
    // The line above the saved chart: exercise, chart and period (the day of a session).
    QString pngTitle() const;
    void savePng();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void fillExercises();
    void reload();
    void redraw();
    void fillRecords();
    void fillDays();
    // A click shows the day here: its sets, and its session when the session chart is the one
    // chosen. The main window's date moves only by the explicit action (double-click or
    // cmdShowInMain).
    void dayClicked(int row, QTableWidget* table);
    void showDayInMain();
    // After another exercise was chosen: a chart that has figures for it, when the one shown
    // has none (pull-ups have no load chart, a run no repetitions).
    void chooseChartOfExercise();
    void fillDaySets();

    Database& db_;
    Platform& platform_;
    QString recFolder_;
    std::function<QString()> mainDate_;
    std::function<void(const QString&)> showDayInMain_;

    QDate last_;           // the period's last day
    QString dateSetHere_;  // the main window's date as this window last set it
    QString timelineDay_;  // the day of the session chart
    QString shownDay_;     // the day whose sets are listed
    bool quiet_ = false;   // choices set from code read once at the end
    ExerciseHistory history_;
    std::optional<WeeklySummary> weekly_;
    std::optional<DayTimeline> timeline_;
};

}  // namespace sorvenka

// The window linked into this program and its tests in place of the module.
extern "C" Q_DECL_EXPORT QWidget* SorvenkaOpenProgress(const sorvenka::ProgressContext& context,
                                                       const sorvenka::ProgressChoice& choice,
                                                       QWidget* parent);
