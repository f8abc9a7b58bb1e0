#pragma once

#include <QDate>
#include <QString>

#include "progress/progress_period.h"

struct sqlite3;

namespace sorvenka {

// The training days a period should hold to show where an exercise stands.
constexpr int kOpeningDays = 4;

// The period the progress window opens on for the exercise, ending at the day: the shortest
// of 3か月, 6か月, 1年 and 3年 that holds its last kOpeningDays training days up to that day,
// else すべて; 1年 for an exercise not trained by then or when the read fails.
ProgressPeriod OpeningPeriod(sqlite3* connection, const QString& grpCd, const QString& exerCd,
                             const QDate& lastDay);

}  // namespace sorvenka
