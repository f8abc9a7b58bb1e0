#include "progress_window/progress_charts.h"

#include <QCursor>
#include <QDateTime>
#include <QToolTip>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
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

void ShowHover(const QString& text, bool state) {
    if (state && !text.isEmpty())
        QToolTip::showText(QCursor::pos(), text);
    else
        QToolTip::hideText();
}

void ConnectHover(QXYSeries* series, std::shared_ptr<const HoverTexts> hover) {
    QObject::connect(
        series, &QXYSeries::hovered, series,
        [hover](const QPointF& point, bool state) { ShowHover(hover->nearest(point.x()), state); });
}

QDateTimeAxis* AddDateAxis(QChart* chart, QDate first, QDate last) {
    auto* axis = new QDateTimeAxis;
    axis->setTitleText(QStringLiteral("日付"));
    const qint64 days = first.daysTo(last);
    axis->setFormat(days > 1100 ? QStringLiteral("yyyy/MM") : QStringLiteral("yyyy/MM/dd"));
    axis->setTickCount(
        days > 60
            ? 7
            : std::max<int>(2, static_cast<int>(days) + 1 > 7 ? 7 : static_cast<int>(days) + 1));
    // Half a day at each end keeps the first and last points inside the frame.
    axis->setRange(QDateTime(first, QTime(0, 0)), QDateTime(last, QTime(23, 59, 59)));
    chart->addAxis(axis, Qt::AlignBottom);
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
};

// Line series of day figures on a date axis and one value axis per side.
QChart* DayFiguresChart(const QString& title, const ExerciseHistory& history, const DayRange& range,
                        const std::vector<SeriesPlan>& left, const QString& leftTitle,
                        const std::vector<SeriesPlan>& right, const QString& rightTitle,
                        const QString& emptyMessage, bool fromZero = true) {
    auto hover = std::make_shared<HoverTexts>();
    for (const DayFigures& day : history.days) {
        hover->xs.push_back(DayX(day.ymd));
        hover->texts << DayTooltip(day);
    }
    double lowest = std::numeric_limits<double>::max();
    auto build = [&](const std::vector<SeriesPlan>& plans, double& top) {
        std::vector<QLineSeries*> built;
        for (const SeriesPlan& plan : plans) {
            auto* series = new QLineSeries;
            series->setName(plan.name);
            for (const DayFigures& day : history.days)
                if (const auto value = plan.value(day)) {
                    series->append(static_cast<qreal>(DayX(day.ymd)), *value);
                    top = std::max(top, *value);
                    lowest = std::min(lowest, *value);
                }
            series->setPointsVisible(series->count() < 400);
            if (series->count() == 0) {
                delete series;
                continue;
            }
            built.push_back(series);
        }
        return built;
    };
    double leftTop = 0, rightTop = 0;
    const auto leftSeries = build(left, leftTop);
    const auto rightSeries = build(right, rightTop);
    if (leftSeries.empty() && rightSeries.empty()) return MessageChart(emptyMessage);

    QChart* chart = NewChart(title);
    QDate first = ParseYmd(range.first);
    const QDate firstDay = ParseYmd(history.days.front().ymd);
    if (!first.isValid() || first < firstDay.addDays(-7)) first = firstDay;  // すべて
    QDateTimeAxis* dates = AddDateAxis(chart, first, ParseYmd(range.last));
    auto attach = [&](const std::vector<QLineSeries*>& series, const QString& axisTitle,
                      Qt::Alignment side, double top) {
        if (series.empty()) return;
        // Loads change slowly: an axis from zero would flatten the progress into a line.
        const double bottom = fromZero ? 0 : std::floor(lowest * 0.85 / 10) * 10;
        QValueAxis* values = AddValueAxis(chart, axisTitle, side, top, bottom);
        for (QLineSeries* s : series) {
            chart->addSeries(s);
            s->attachAxis(dates);
            s->attachAxis(values);
            ConnectHover(s, hover);
        }
    };
    attach(leftSeries, leftTitle, Qt::AlignLeft, leftTop);
    attach(rightSeries, rightTitle, Qt::AlignRight, rightTop);
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
    switch (kind) {
        case ChartKind::Load:
            return DayFiguresChart(
                QStringLiteral("最大重量と推定1RM"), history, range,
                {{QStringLiteral("最大重量"), [](const DayFigures& d) { return d.topKg; }},
                 {QStringLiteral("推定1RM"), [](const DayFigures& d) { return d.bestE1rmKg; }}},
                QStringLiteral("重量 (kg)"), {}, QString(),
                QStringLiteral("この期間には重量のある記録がありません"), false);
        case ChartKind::Volume:
            return DayFiguresChart(
                QStringLiteral("ボリューム（重量×回数の合計）"), history, range,
                {{QStringLiteral("ボリューム"), [](const DayFigures& d) { return d.volumeKg; }}},
                QStringLiteral("ボリューム (kg)"), {}, QString(),
                QStringLiteral("この期間には重量と回数のある記録がありません"));
        case ChartKind::Reps:
            return DayFiguresChart(
                QStringLiteral("重量なしのセットの回数（1セット最多・1日合計）"), history, range,
                {{QStringLiteral("1セット最多"),
                  [](const DayFigures& d) -> std::optional<double> {
                      if (!d.mostRepsNoLoad) return std::nullopt;
                      return *d.mostRepsNoLoad;
                  }}},
                QStringLiteral("1セット最多 (回)"),
                {{QStringLiteral("1日合計"),
                  [](const DayFigures& d) -> std::optional<double> {
                      if (!d.totalRepsNoLoad) return std::nullopt;
                      return *d.totalRepsNoLoad;
                  }}},
                QStringLiteral("1日合計 (回)"),
                QStringLiteral("この期間には重量なしで回数のある記録がありません"));
        case ChartKind::Duration:
            return DayFiguresChart(
                QStringLiteral("合計時間と最長セット"), history, range,
                {{QStringLiteral("合計時間"),
                  [](const DayFigures& d) { return Minutes(d.durationSeconds); }},
                 {QStringLiteral("最長セット"),
                  [](const DayFigures& d) { return Minutes(d.longestSeconds); }}},
                QStringLiteral("時間 (分)"), {}, QString(),
                QStringLiteral("この期間には時間の記録がありません"));
        case ChartKind::Distance:
            return DayFiguresChart(
                QStringLiteral("距離とペース"), history, range,
                {{QStringLiteral("距離"), [](const DayFigures& d) { return d.distanceKm; }}},
                QStringLiteral("距離 (km)"),
                {{QStringLiteral("ペース"),
                  [](const DayFigures& d) -> std::optional<double> {
                      if (!d.paceSecondsPerKm) return std::nullopt;
                      return *d.paceSecondsPerKm / 60.0;
                  }}},
                QStringLiteral("ペース (分/km)"),
                QStringLiteral("この期間には距離の記録がありません"));
        case ChartKind::Rest:
            return DayFiguresChart(
                QStringLiteral("セット間の休憩（中央値）と作業時間"), history, range,
                {{QStringLiteral("休憩（中央値）"),
                  [](const DayFigures& d) { return d.medianRestSeconds; }}},
                QStringLiteral("休憩 (秒)"),
                {{QStringLiteral("作業時間"),
                  [](const DayFigures& d) { return Minutes(d.workingSeconds); }}},
                QStringLiteral("作業時間 (分)"),
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
    auto* times = new QDateTimeAxis;
    times->setTitleText(QStringLiteral("時刻"));
    times->setFormat(QStringLiteral("HH:mm"));
    times->setRange(midnight.addSecs(std::max(0, first - 300)),
                    midnight.addSecs(std::min(24 * 3600 - 1, last + 300)));
    times->setTickCount(7);
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
            const QString text = timeline.rows[i].name + QLatin1Char('\n') + bar.detail;
            QObject::connect(series, &QXYSeries::hovered, series,
                             [text](const QPointF&, bool state) { ShowHover(text, state); });
        }
    }
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
    QDateTimeAxis* dates = AddDateAxis(chart, first, last);
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
        QObject::connect(area, &QAreaSeries::hovered, area,
                         [hover](const QPointF& point, bool state) {
                             ShowHover(hover->nearest(point.x()), state);
                         });
    }
    return chart;
}

}  // namespace sorvenka
