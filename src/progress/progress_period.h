#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace sorvenka {

// The periods the progress window offers, each ending at a given day.
enum class ProgressPeriod { Months3, Months6, Year1, Years3, All };

// "3か月", "6か月", "1年", "3年", "すべて" in the order of the enumeration.
QStringList ProgressPeriodNames();

// The days of a period as day texts, both ends included.
struct DayRange {
    QString first;  // "0000/00/00" for すべて: before every day text
    QString last;
};

// The period ending at the day: 3か月 ends on 2024/05/14 and begins on 2024/02/15.
DayRange PeriodDays(ProgressPeriod period, const QDate& lastDay);

}  // namespace sorvenka
