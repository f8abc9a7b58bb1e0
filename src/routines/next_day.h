#pragma once

#include <QString>

#include "routines/routine_store.h"

struct sqlite3;

namespace sorvenka {

// Which day of a routine is due on a date, read from the log every time (never a stored
// position).
struct NextDay {
    bool ok = true;
    qint64 dayId = 0;  // 0: the routine has no day (or, by weekday, none on that weekday)
    // Rotation: the day whose exercises were trained last before the date (0 when none), and
    // that date. The due day is the one after it; a day whose exercises already have sets on
    // the date itself is the day being trained and stays due.
    qint64 lastDayId = 0;
    QString lastYmd;
    bool inProgress = false;  // the due day's exercises already have sets on the date
};

// One text for a group and exercise pair, to look it up in a set or a hash.
inline QString ExerciseLookupKey(const QString& grp, const QString& exer) {
    return grp + QChar(0x1f) + exer;
}

// ymd as stored (yyyy/mm/dd).
NextDay FindNextDay(sqlite3* db, const RoutineBook& book, qint64 routineId, const QString& ymd);

}  // namespace sorvenka
