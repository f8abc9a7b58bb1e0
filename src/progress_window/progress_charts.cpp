#include "progress_window/progress_charts.h"

#include <QDateTime>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "common/text_tests.h"
#include "progress/progress_texts.h"

namespace sorvenka {

namespace {

// Points of a day sit at its noon. One conversion goes through the time zone, the other days
// are whole days from it: a change of the clock moves a point an hour, never off its day.
qint64 DayX(const QDate& day) {
    static const QDate anchor(2000, 1, 1);
    static const qint64 anchorX = QDateTime(anchor, QTime(12, 0)).toMSecsSinceEpoch();
    return anchorX + anchor.daysTo(day) * 86400000LL;
}
qint64 DayX(const QString& ymd) {
    return DayX(ParseYmd(ymd));
}

// The hover texts of a chart, by x; the nearest one is shown.
struct HoverTexts {
    std::vector<qint64> xs;
    QStringList texts;

    QString nearest(qreal x) const {
        if (xs.empty()) return QString();
        auto it = std::lower_bound(xs.begin(), xs.end(), static_cast<qint64>(x));
        if (it == xs.end() || (it != xs.begin() && x - *(it - 1) < *it - x)) --it;
        return texts[static_cast<int>(it - xs.begin())];
    }
};

// The start of a day on the x axis: a point of the day sits 12 hours after it.
qint64 DayStartX(const QDate& day) {
    return DayX(day) - 12 * 3600 * 1000LL;
}

// Tick days between first and last: every 1, 2, 7 or 14 days, or on the first of every 1, 2, 3,
// 6, 12 or 24 months, whichever gives at most kMostTicks. Few enough that each label keeps its
// whole text on the progress window at its size on a 1366×768 screen (the chart elides a label
// wider than the axis's width over the ticks).
constexpr int kMostTicks = 6;
struct Ticks {
    std::vector<QDate> days;
    bool monthStarts = false;
};
Ticks TickDays(QDate first, QDate last) {
    Ticks ticks;
    for (const int step : {1, 2, 7, 14}) {
        if (first.daysTo(last) / step + 1 > kMostTicks) continue;
        for (QDate d = first; d <= last; d = d.addDays(step)) ticks.days.push_back(d);
        return ticks;
    }
    ticks.monthStarts = true;
    for (const int months : {1, 2, 3, 6, 12, 24, 60, 120}) {
        ticks.days.clear();
        QDate d(first.year(), first.month(), 1);
        if (d < first) d = d.addMonths(1);
        for (; d <= last; d = d.addMonths(1))
            if ((d.year() * 12 + d.month() - 1) % months == 0) ticks.days.push_back(d);
        if (static_cast<int>(ticks.days.size()) <= kMostTicks) return ticks;
    }
    return ticks;
}

// A date axis whose ticks sit at the start of the day they name; the range runs from the
// start of the first day to the end of the last. Ticks on the first of a month read 2024/05;
// day ticks read 05/14, the year in the axis title, so that every label stays short.
QCategoryAxis* AddDateAxis(QChart* chart, QDate first, QDate last) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setMin(static_cast<qreal>(DayStartX(first)));
    axis->setMax(static_cast<qreal>(DayStartX(last.addDays(1))));
    axis->setStartValue(static_cast<qreal>(DayStartX(first)));
    const Ticks ticks = TickDays(first, last);
    for (const QDate& day : ticks.days)
        axis->append(
            day.toString(ticks.monthStarts ? QStringLiteral("yyyy/MM") : QStringLiteral("MM/dd")),
            static_cast<qreal>(DayStartX(day)));
    QString title = QStringLiteral("日付");
    if (!ticks.monthStarts)
        title += first.year() == last.year()
                     ? QStringLiteral("（%1年）").arg(first.year())
                     : QStringLiteral("（%1年〜%2年）").arg(first.year()).arg(last.year());
    axis->setTitleText(title);
    chart->addAxis(axis, Qt::AlignBottom);
    return axis;
}

// Round steps of a time axis in seconds.
int TimeStep(double span, int mostTicks) {
    for (const int step : {5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200})
        if (span / step <= mostTicks) return step;
    return 14400;
}

// A value axis of seconds labelled m:ss at round steps (pace, rest).
QCategoryAxis* AddMinutesSecondsAxis(QChart* chart, const QString& title, Qt::Alignment side,
                                     double top, double bottom) {
    auto* axis = new QCategoryAxis;
    axis->setTitleText(title);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const int step = TimeStep(std::max(1.0, top - bottom), 6);
    const double low = std::floor(bottom / step) * step;
    const double high = std::ceil((top + (top - bottom) * 0.05) / step) * step;
    axis->setRange(low, std::max(high, low + step));
    axis->setStartValue(low);
    for (double v = low; v <= high + 0.5; v += step)
        axis->append(FormatDuration(static_cast<int>(v)), v);
    chart->addAxis(axis, side);
    return axis;
}

QValueAxis* AddValueAxis(QChart* chart, const QString& title, Qt::Alignment side, double top,
                         double bottom = 0) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(bottom, top > bottom ? top + (top - bottom) * 0.08 : bottom + 1);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->applyNiceNumbers();
    chart->addAxis(axis, side);
    return axis;
}

QChart* NewChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

struct SeriesPlan {
    QString name;
    std::function<std::optional<double>(const DayFigures&)> value;
    // Also the best of each week (Monday to Sunday) as a line at that week's best day: the
    // direction shows through a week of heavy and light days.
    bool weeklyTrend = false;
};

// The series of one value axis.
struct AxisPlan {
    std::vector<SeriesPlan> series;
    QString title;
    bool fromZero = true;         // loads change slowly: an axis from zero flattens progress
    bool minutesSeconds = false;  // values in seconds, labelled m:ss
};

// The width of a line drawn thinner or thicker than the chart's own.
constexpr char kLineWidth[] = "sorvenkaLineWidth";
// A series of the days' values (not a trend): its points are drawn as markers over every line.
constexpr char kDayValues[] = "sorvenkaDayValues";
// Wide enough to find a day under a trend line of 3 pixels, small enough for a year of days.
constexpr qreal kDayMarkerSize = 7;

// Every day's value as a marker of its series' colour, above every line (a series added later
// is drawn over the earlier ones): where a week holds one training day its best lies on the
// day and would hide it. The line's own legend entry stands for it.
void AddDayMarkers(QChart* chart, QLineSeries* days, const QList<QAbstractAxis*>& axes) {
    auto* markers = new QScatterSeries;
    markers->setName(days->name());
    markers->append(days->points());
    markers->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    markers->setMarkerSize(kDayMarkerSize);
    chart->addSeries(markers);
    markers->setColor(days->color());
    markers->setBorderColor(days->color());
    for (QAbstractAxis* axis : axes) markers->attachAxis(axis);
    for (QLegendMarker* marker : chart->legend()->markers(markers)) marker->setVisible(false);
}

// The best value of each week, at the day it was reached.
QLineSeries* WeeklyBestSeries(const ExerciseHistory& history, const SeriesPlan& plan) {
    auto* series = new QLineSeries;
    series->setName(plan.name + QStringLiteral("（週の最高）"));
    QDate weekStart;
    std::optional<double> best;
    qint64 bestX = 0;
    auto flush = [&] {
        if (best) series->append(static_cast<qreal>(bestX), *best);
        best.reset();
    };
    for (const DayFigures& day : history.days) {
        const QDate date = ParseYmd(day.ymd);
        const QDate monday = date.addDays(1 - date.dayOfWeek());
        if (monday != weekStart) {
            flush();
            weekStart = monday;
        }
        const auto value = plan.value(day);
        if (value && (!best || *value > *best)) {
            best = value;
            bestX = DayX(date);
        }
    }
    flush();
    return series;
}

// Line series of day figures on a date axis and one value axis per side.
QChart* DayFiguresChart(const QString& title, const ExerciseHistory& history, const DayRange& range,
                        const AxisPlan& left, const AxisPlan& right, const QString& emptyMessage) {
    auto hover = std::make_shared<HoverTexts>();
    for (const DayFigures& day : history.days) {
        hover->xs.push_back(DayX(day.ymd));
        hover->texts << DayTooltip(day);
    }
    struct Built {
        std::vector<QLineSeries*> series;
        double top = 0, lowest = std::numeric_limits<double>::max();
    };
    auto build = [&](const AxisPlan& plan) {
        Built built;
        for (const SeriesPlan& seriesPlan : plan.series) {
            auto* series = new QLineSeries;
            series->setName(seriesPlan.name);
            for (const DayFigures& day : history.days)
                if (const auto value = seriesPlan.value(day)) {
                    series->append(static_cast<qreal>(DayX(day.ymd)), *value);
                    built.top = std::max(built.top, *value);
                    built.lowest = std::min(built.lowest, *value);
                }
            if (series->count() == 0) {
                delete series;
                continue;
            }
            series->setProperty(kDayValues, true);
            if (seriesPlan.weeklyTrend && series->count() > 1) {
                // The days as thin lines, the weeks' best over them.
                series->setProperty(kLineWidth, 1);
                built.series.push_back(series);
                series = WeeklyBestSeries(history, seriesPlan);
                series->setProperty(kLineWidth, 3);
            }
            built.series.push_back(series);
        }
        return built;
    };
    const Built leftSeries = build(left);
    const Built rightSeries = build(right);
    if (leftSeries.series.empty() && rightSeries.series.empty()) return MessageChart(emptyMessage);

    QChart* chart = NewChart(title);
    QDate first = ParseYmd(range.first);
    const QDate firstDay = ParseYmd(history.days.front().ymd);
    if (!first.isValid() || first < firstDay.addDays(-7)) first = firstDay;  // すべて
    QAbstractAxis* dates = AddDateAxis(chart, first, ParseYmd(range.last));
    auto attach = [&](const Built& built, const AxisPlan& plan, Qt::Alignment side) {
        if (built.series.empty()) return;
        const double bottom = plan.fromZero         ? 0
                              : plan.minutesSeconds ? built.lowest * 0.9
                                                    : std::floor(built.lowest * 0.85 / 10) * 10;
        QAbstractAxis* values = plan.minutesSeconds
                                    ? static_cast<QAbstractAxis*>(AddMinutesSecondsAxis(
                                          chart, plan.title, side, built.top, bottom))
                                    : AddValueAxis(chart, plan.title, side, built.top, bottom);
        for (QLineSeries* s : built.series) {
            chart->addSeries(s);
            // After the chart gave the series its colour: a pen set before would be black.
            if (const QVariant width = s->property(kLineWidth); width.isValid()) {
                QPen pen = s->pen();
                pen.setWidthF(width.toReal());
                s->setPen(pen);
            }
            s->attachAxis(dates);
            s->attachAxis(values);
        }
    };
    attach(leftSeries, left, Qt::AlignLeft);
    attach(rightSeries, right, Qt::AlignRight);
    for (const Built* built : {&leftSeries, &rightSeries})
        for (QLineSeries* s : built->series)
            if (s->property(kDayValues).toBool()) AddDayMarkers(chart, s, s->attachedAxes());
    new ChartHover(chart, [hover](const QPointF& value) { return hover->nearest(value.x()); });
    return chart;
}

std::optional<double> Minutes(std::optional<int> seconds) {
    if (!seconds) return std::nullopt;
    return *seconds / 60.0;
}

}  // namespace

QStringList ChartKindNames() {
    return {QStringLiteral("重量（最大・推定1RM）"), QStringLiteral("ボリューム"),
            QStringLiteral("回数（自重）"),          QStringLiteral("時間（合計・最長）"),
            QStringLiteral("距離・ペース"),          QStringLiteral("休憩時間・作業時間"),
            QStringLiteral("1日のタイムライン"),     QStringLiteral("週ごとのセット数（部位別）")};
}

QString ChartKindWord(ChartKind kind) {
    static const QStringList kWords{"load",     "volume", "reps",     "time",
                                    "distance", "rest",   "timeline", "weekly"};
    return kWords[static_cast<int>(kind)];
}

QChart* MessageChart(const QString& message) {
    QChart* chart = NewChart(message);
    chart->legend()->hide();
    return chart;
}

QChart* BuildExerciseChart(ChartKind kind, const ExerciseHistory& history, const DayRange& range) {
    if (history.days.empty()) return MessageChart(QStringLiteral("この期間には記録がありません"));
    auto count = [](std::optional<int> DayFigures::*figure) {
        return [figure](const DayFigures& d) -> std::optional<double> {
            if (!(d.*figure)) return std::nullopt;
            return *(d.*figure);
        };
    };
    switch (kind) {
        case ChartKind::Load:
            return DayFiguresChart(
                QStringLiteral("最大重量と推定1RM"), history, range,
                {{{QStringLiteral("最大重量"), [](const DayFigures& d) { return d.topKg; }, true},
                  {QStringLiteral("推定1RM"), [](const DayFigures& d) { return d.bestE1rmKg; },
                   true}},
                 QStringLiteral("重量 (kg)"),
                 false},
                {}, QStringLiteral("この期間には重量のある記録がありません"));
        case ChartKind::Volume:
            return DayFiguresChart(
                QStringLiteral("ボリューム（重量×回数の合計）"), history, range,
                {{{QStringLiteral("ボリューム"), [](const DayFigures& d) { return d.volumeKg; }}},
                 QStringLiteral("ボリューム (kg)")},
                {}, QStringLiteral("この期間には重量と回数のある記録がありません"));
        case ChartKind::Reps:
            return DayFiguresChart(
                QStringLiteral("重量なしのセットの回数（1セット最多・1日合計）"), history, range,
                {{{QStringLiteral("1セット最多"), count(&DayFigures::mostRepsNoLoad), true}},
                 QStringLiteral("1セット最多 (回)")},
                {{{QStringLiteral("1日合計"), count(&DayFigures::totalRepsNoLoad)}},
                 QStringLiteral("1日合計 (回)")},
                QStringLiteral("この期間には重量なしで回数のある記録がありません"));
        case ChartKind::Duration:
            return DayFiguresChart(
                QStringLiteral("合計時間と最長セット"), history, range,
                {{{QStringLiteral("合計時間"), count(&DayFigures::durationSeconds)},
                  {QStringLiteral("最長セット"), count(&DayFigures::longestSeconds)}},
                 QStringLiteral("時間 (分:秒)"),
                 true,
                 true},
                {}, QStringLiteral("この期間には時間の記録がありません"));
        case ChartKind::Distance:
            return DayFiguresChart(
                QStringLiteral("距離とペース"), history, range,
                {{{QStringLiteral("距離"), [](const DayFigures& d) { return d.distanceKm; }}},
                 QStringLiteral("距離 (km)")},
                {{{QStringLiteral("ペース"),
                   [](const DayFigures& d) { return d.paceSecondsPerKm; }}},
                 QStringLiteral("ペース (分:秒/km)"),
                 false,
                 true},
                QStringLiteral("この期間には距離の記録がありません"));
        case ChartKind::Rest:
            return DayFiguresChart(
                QStringLiteral("セット間の休憩（中央値）と作業時間"), history, range,
                {{{QStringLiteral("休憩（中央値）"),
                   [](const DayFigures& d) { return d.medianRestSeconds; }}},
                 QStringLiteral("休憩 (分:秒)"),
                 true,
                 true},
                {{{QStringLiteral("作業時間"),
                   [](const DayFigures& d) { return Minutes(d.workingSeconds); }}},
                 QStringLiteral("作業時間 (分)")},
                QStringLiteral("この期間には開始・終了時刻のある記録がありません"));
        case ChartKind::Timeline:
        case ChartKind::Weekly:
            break;
    }
    return MessageChart(QString());
}

QChart* BuildTimelineChart(const DayTimeline& timeline, const QString& ymd) {
    const QDate day = ParseYmd(ymd);
    if (timeline.rows.empty() || !day.isValid())
        return MessageChart(ymd + QStringLiteral(" には開始・終了時刻のある記録がありません"));
    QChart* chart =
        NewChart(ymd + QStringLiteral("（") + WeekdayText(day) + QStringLiteral("）のセッション"));
    chart->legend()->hide();
    int first = 24 * 3600, last = 0;
    for (const TimelineRow& row : timeline.rows)
        for (const TimelineBar& bar : row.bars) {
            first = std::min(first, bar.start);
            last = std::max(last, bar.finish);
        }
    const QDateTime midnight(day, QTime(0, 0));
    auto x = [&](int seconds) {
        return static_cast<qreal>(midnight.addSecs(seconds).toMSecsSinceEpoch());
    };
    // Ticks on round minutes (every 5, 10, 15, 30 or 60 …) across the session.
    auto* times = new QCategoryAxis;
    times->setTitleText(QStringLiteral("時刻"));
    times->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const int from = std::max(0, first - 300), to = std::min(24 * 3600, last + 300);
    const int step = std::max(300, TimeStep(to - from, 7));
    times->setRange(x(from), x(to));
    times->setStartValue(x(from));
    for (int t = (from + step - 1) / step * step; t <= to; t += step)
        times->append(QStringLiteral("%1:%2")
                          .arg(t / 3600, 2, 10, QLatin1Char('0'))
                          .arg(t / 60 % 60, 2, 10, QLatin1Char('0')),
                      x(t));
    chart->addAxis(times, Qt::AlignBottom);
    auto* rows = new QCategoryAxis;
    rows->setTitleText(QStringLiteral("種目（行った順）"));
    rows->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const int count = static_cast<int>(timeline.rows.size());
    rows->setRange(-0.5, count - 0.5);
    rows->setReverse(true);  // the first exercise on top
    for (int i = 0; i < count; ++i) rows->append(timeline.rows[i].name, i);
    chart->addAxis(rows, Qt::AlignLeft);
    const int barWidth = std::clamp(240 / std::max(1, count), 6, 28);
    struct HoverBar {
        int row;
        qreal from, to;
        QString text;
    };
    auto bars = std::make_shared<std::vector<HoverBar>>();
    for (int i = 0; i < count; ++i) {
        const QColor color = QColor::fromHsv((i * 67) % 360, 170, 200);
        for (const TimelineBar& bar : timeline.rows[i].bars) {
            auto* series = new QLineSeries;
            series->append(x(bar.start), i);
            series->append(x(std::max(bar.finish, bar.start + 1)), i);
            QPen pen(color);
            pen.setWidth(barWidth);
            pen.setCapStyle(Qt::FlatCap);
            series->setPen(pen);
            chart->addSeries(series);
            series->attachAxis(times);
            series->attachAxis(rows);
            bars->push_back({i, x(bar.start), x(std::max(bar.finish, bar.start + 1)),
                             timeline.rows[i].name + QLatin1Char('\n') + bar.detail});
        }
    }
    // The bar of the row under the pointer, or the nearest one of that row within two minutes.
    new ChartHover(chart, [bars](const QPointF& value) {
        const int row = static_cast<int>(std::lround(value.y()));
        const HoverBar* nearest = nullptr;
        qreal distance = 120 * 1000.0;
        for (const HoverBar& bar : *bars) {
            if (bar.row != row) continue;
            const qreal d = value.x() < bar.from ? bar.from - value.x()
                            : value.x() > bar.to ? value.x() - bar.to
                                                 : 0;
            if (d <= distance) {
                distance = d;
                nearest = &bar;
            }
        }
        return nearest ? nearest->text : QString();
    });
    return chart;
}

QChart* BuildWeeklyChart(const WeeklySummary& summary, const DayRange& range) {
    if (summary.weeks.empty()) return MessageChart(QStringLiteral("この期間には記録がありません"));
    QChart* chart = NewChart(QStringLiteral("週ごとのセット数（部位別、") + range.last +
                             QStringLiteral("で終わる週）"));
    auto hover = std::make_shared<HoverTexts>();
    for (const WeekBucket& week : summary.weeks) {
        QString text = week.firstYmd + QStringLiteral("〜") + week.lastYmd +
                       QStringLiteral("\n合計: %1セット").arg(week.total);
        for (std::size_t g = 0; g < summary.groups.size(); ++g)
            if (week.setsByGroup[g] > 0)
                text += QStringLiteral("\n%1: %2セット")
                            .arg(summary.groups[g].name)
                            .arg(week.setsByGroup[g]);
        hover->xs.push_back(DayX(week.firstYmd) + (DayX(week.lastYmd) - DayX(week.firstYmd)) / 2);
        hover->texts << text;
    }
    const QDate first = ParseYmd(summary.weeks.front().firstYmd);
    const QDate last = ParseYmd(summary.weeks.back().lastYmd);
    QAbstractAxis* dates = AddDateAxis(chart, first, last);
    int top = 0;
    for (const WeekBucket& week : summary.weeks) top = std::max(top, week.total);
    QValueAxis* values =
        AddValueAxis(chart, QStringLiteral("セット数 (セット/週)"), Qt::AlignLeft, top);
    // Each group is a band from the groups below it to itself, flat across each week.
    std::vector<int> below(summary.weeks.size(), 0);
    for (std::size_t g = 0; g < summary.groups.size(); ++g) {
        auto* lower = new QLineSeries;
        auto* upper = new QLineSeries;
        for (std::size_t w = 0; w < summary.weeks.size(); ++w) {
            const WeekBucket& week = summary.weeks[w];
            const qreal from = QDateTime(ParseYmd(week.firstYmd), QTime(0, 0)).toMSecsSinceEpoch();
            const qreal to =
                QDateTime(ParseYmd(week.lastYmd), QTime(23, 59, 59)).toMSecsSinceEpoch();
            lower->append(from, below[w]);
            lower->append(to, below[w]);
            below[w] += week.setsByGroup[g];
            upper->append(from, below[w]);
            upper->append(to, below[w]);
        }
        auto* area = new QAreaSeries(upper, lower);
        // The band does not take its edges over: they go with it.
        upper->setParent(area);
        lower->setParent(area);
        area->setName(summary.groups[g].name);
        area->setColor(QColor::fromHsv((static_cast<int>(g) * 47) % 360, 150, 215));
        area->setBorderColor(area->color().darker(130));
        chart->addSeries(area);
        area->attachAxis(dates);
        area->attachAxis(values);
    }
    new ChartHover(chart, [hover](const QPointF& value) { return hover->nearest(value.x()); });
    return chart;
}

ChartHover::ChartHover(QChart* chart, std::function<QString(const QPointF&)> text)
    : QObject(chart), text_(std::move(text)) {}

QString ChartHover::textAt(const QPointF& value) const {
    return text_ ? text_(value) : QString();
}

QString HoverTextAt(QChartView* view, const QPoint& viewportPosition) {
    QChart* chart = view ? view->chart() : nullptr;
    if (chart == nullptr || chart->series().isEmpty()) return QString();
    const auto* hover = chart->findChild<ChartHover*>(QString(), Qt::FindDirectChildrenOnly);
    if (hover == nullptr) return QString();
    const QPointF inChart = chart->mapFromScene(view->mapToScene(viewportPosition));
    if (!chart->plotArea().contains(inChart)) return QString();
    // The first series' axes: the bottom date or time axis and the left one.
    return hover->textAt(chart->mapToValue(inChart, chart->series().first()));
}

}  // namespace sorvenka
