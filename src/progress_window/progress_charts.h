#pragma once

#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <functional>

#include "progress/day_timeline.h"
#include "progress/exercise_history.h"
#include "progress/weekly_summary.h"

class QChart;
class QChartView;

namespace sorvenka {

// The charts the progress window offers, in the order of its list.
enum class ChartKind { Load, Volume, Reps, Duration, Distance, Rest, Timeline, Weekly };

QStringList ChartKindNames();
// A short ASCII word for file names: load, volume, reps, time, distance, rest, timeline,
// weekly.
QString ChartKindWord(ChartKind kind);

// The charts of one exercise over the period; a period without figures of the kind gives an
// empty chart whose title says so. Hovering a point shows the day's figures.
QChart* BuildExerciseChart(ChartKind kind, const ExerciseHistory& history, const DayRange& range);
// The sets of one day as bars from start to finish, one row per exercise.
QChart* BuildTimelineChart(const DayTimeline& timeline, const QString& ymd);
// Sets per week stacked by group over the period.
QChart* BuildWeeklyChart(const WeeklySummary& summary, const DayRange& range);
// An empty chart carrying a plain message as its title.
QChart* MessageChart(const QString& message);

// The hover text of a chart for a point given in the values of its first series' axes: the
// nearest day, the bar under the pointer, the week. A child of its chart.
class ChartHover : public QObject {
    Q_OBJECT

  public:
    ChartHover(QChart* chart, std::function<QString(const QPointF&)> text);
    QString textAt(const QPointF& value) const;

  private:
    std::function<QString(const QPointF&)> text_;
};

// The hover text under a position in the view's viewport; empty outside the plot area or for
// a chart without one. The pointer need not touch a line: anywhere above a day will do.
QString HoverTextAt(QChartView* view, const QPoint& viewportPosition);

}  // namespace sorvenka
