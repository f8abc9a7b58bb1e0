#include "progress/progress_period.h"

#include "common/text_tests.h"

namespace sorvenka {

QStringList ProgressPeriodNames() {
    return {QStringLiteral("3か月"), QStringLiteral("6か月"), QStringLiteral("1年"),
            QStringLiteral("3年"), QStringLiteral("すべて")};
}

DayRange PeriodDays(ProgressPeriod period, const QDate& lastDay) {
    QDate first;
    switch (period) {
        case ProgressPeriod::Months3:
            first = lastDay.addMonths(-3);
            break;
        case ProgressPeriod::Months6:
            first = lastDay.addMonths(-6);
            break;
        case ProgressPeriod::Year1:
            first = lastDay.addYears(-1);
            break;
        case ProgressPeriod::Years3:
            first = lastDay.addYears(-3);
            break;
        case ProgressPeriod::All:
            break;
    }
    DayRange range;
    range.last = FormatYmd(lastDay);
    // Day after the same day of the earlier month, so a period holds no day twice over.
    range.first = first.isValid() ? FormatYmd(first.addDays(1)) : QStringLiteral("0000/00/00");
    return range;
}

}  // namespace sorvenka
