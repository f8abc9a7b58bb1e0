#include "record_list/record_period.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace sorvenka {

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double rest = value - floor;
    if (rest < 0.5) return floor;
    if (rest > 0.5) return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

int PeriodLastOffset(const QDate& lastDay, const QString& weeks) {
    if (!lastDay.isValid()) return -1;
    bool ok = false;
    const double count = QLocale::c().toDouble(weeks.trimmed(), &ok);
    if (!ok || !std::isfinite(count)) return -1;
    const double bounded = std::min(count, static_cast<double>(kMaxListedWeeks));
    const double n = RoundHalfEven(bounded * 7 - 1);
    if (n < 0) return -1;
    const qint64 daysSinceFirst = QDate(1, 1, 1).daysTo(lastDay);
    return static_cast<int>(std::min<qint64>(static_cast<qint64>(n), daysSinceFirst));
}

}  // namespace sorvenka
