#include "progress/progress_texts.h"

#include <QStringList>
#include <cmath>

#include "common/text_tests.h"
#include "progress/exercise_history.h"

namespace sorvenka {

QString FormatNumber(double value) {
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

QString FormatKg(double kg) {
    return FormatNumber(kg) + QStringLiteral(" kg");
}

QString FormatDuration(int seconds) {
    const int h = seconds / 3600;
    const int m = seconds / 60 % 60;
    const int s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(h)
            .arg(m, 2, 10, QLatin1Char('0'))
            .arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

QString FormatPace(double secondsPerKm) {
    return FormatDuration(static_cast<int>(std::lround(secondsPerKm))) + QStringLiteral(" /km");
}

QString FormatKm(double km) {
    return FormatNumber(km) + QStringLiteral(" km");
}

QString DayTooltip(const DayFigures& day) {
    QStringList lines;
    lines << day.ymd + QStringLiteral(" (") + WeekdayText(ParseYmd(day.ymd)) + QStringLiteral(")");
    lines << QStringLiteral("セット数: %1").arg(day.sets);
    if (day.topKg) lines << QStringLiteral("最大重量: ") + FormatKg(*day.topKg);
    if (day.bestE1rmKg) lines << QStringLiteral("推定1RM: ") + FormatKg(*day.bestE1rmKg);
    if (day.volumeKg) lines << QStringLiteral("ボリューム: ") + FormatKg(*day.volumeKg);
    if (day.mostRepsNoLoad)
        lines << QStringLiteral("回数（自重）: 合計 %1回、1セット最多 %2回")
                     .arg(day.totalRepsNoLoad.value_or(0))
                     .arg(*day.mostRepsNoLoad);
    if (day.durationSeconds)
        lines << QStringLiteral("合計時間: ") + FormatDuration(*day.durationSeconds);
    if (day.longestSeconds)
        lines << QStringLiteral("最長セット: ") + FormatDuration(*day.longestSeconds);
    if (day.distanceKm) lines << QStringLiteral("距離: ") + FormatKm(*day.distanceKm);
    if (day.longestDistanceKm && day.distanceKm && *day.longestDistanceKm < *day.distanceKm)
        lines << QStringLiteral("最長距離: ") + FormatKm(*day.longestDistanceKm);
    if (day.paceSecondsPerKm)
        lines << QStringLiteral("ペース: ") + FormatPace(*day.paceSecondsPerKm);
    if (day.medianRestSeconds)
        lines << QStringLiteral("休憩（中央値）: %1（%2回）")
                     .arg(FormatDuration(static_cast<int>(std::lround(*day.medianRestSeconds))))
                     .arg(day.restsCounted);
    if (day.workingSeconds)
        lines << QStringLiteral("作業時間: ") + FormatDuration(*day.workingSeconds);
    if (day.skipped > 0) lines << QStringLiteral("数値でないため除外: %1セット").arg(day.skipped);
    if (!day.beaten.isEmpty())
        lines << QStringLiteral("記録更新: ") + day.beaten.join(QStringLiteral("、"));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace sorvenka
