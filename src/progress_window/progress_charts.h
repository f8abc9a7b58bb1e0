#pragma once

#include <QString>
#include <QStringList>

#include "progress/day_timeline.h"
#include "progress/exercise_history.h"
#include "progress/weekly_summary.h"

class QChart;

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

}  // namespace sorvenka
