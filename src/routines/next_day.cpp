#include "routines/next_day.h"

#include <sqlite3.h>

#include <QDate>
#include <QSet>

#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// The day whose exercises were trained on a date: the most of its exercises, then the larger
// share of them, then the first in order; -1 when none was.
int BestDay(const std::vector<RoutineDay>& days, const std::vector<QSet<QString>>& exercises,
            const QSet<QString>& trained) {
    int best = -1;
    int bestCount = 0;
    double bestShare = 0;
    for (int d = 0; d < static_cast<int>(days.size()); ++d) {
        int count = 0;
        for (const QString& key : exercises[d])
            if (trained.contains(key)) ++count;
        if (count == 0) continue;
        const double share = static_cast<double>(count) / exercises[d].size();
        if (count > bestCount || (count == bestCount && share > bestShare)) {
            best = d;
            bestCount = count;
            bestShare = share;
        }
    }
    return best;
}

}  // namespace

NextDay FindNextDay(sqlite3* db, const RoutineBook& book, qint64 routineId, const QString& ymd) {
    NextDay next;
    const Routine* routine = book.routine(routineId);
    const std::vector<RoutineDay> days = book.daysOf(routineId);
    if (!routine || days.empty()) return next;

    if (routine->schedule == Schedule::Weekdays) {
        const QDate date = QDate::fromString(ymd, QStringLiteral("yyyy/MM/dd"));
        if (!date.isValid()) return next;
        for (const RoutineDay& day : days)
            if (day.weekdays & WeekdayBit(date.dayOfWeek())) {
                next.dayId = day.id;
                break;
            }
        return next;
    }

    std::vector<QSet<QString>> exercises(days.size());
    QSet<QString> all;
    for (std::size_t d = 0; d < days.size(); ++d)
        for (const RoutineItem& item : book.itemsOf(days[d].id)) {
            exercises[d].insert(ExerciseLookupKey(item.grpCd, item.exerCd));
            all.insert(ExerciseLookupKey(item.grpCd, item.exerCd));
        }

    // A day whose exercises already have sets on the date is the day being trained.
    {
        QSet<QString> today;
        PreparedStatement s(db, "SELECT DISTINCT grp_cd, exer_cd FROM t_exer WHERE ymd = ?1");
        s.bindText(1, ymd);
        while (s.next()) today.insert(ExerciseLookupKey(s.columnText(0), s.columnText(1)));
        if (!s.ok()) {
            next.ok = false;
            return next;
        }
        const int best = BestDay(days, exercises, today);
        if (best >= 0) {
            next.dayId = days[best].id;
            next.inProgress = true;
        }
    }

    // The last date before the day on which any of the routine's exercises was trained, and
    // which of them were trained then: each exercise's last day walks the key's index backwards.
    QString last;
    QSet<QString> trained;
    {
        PreparedStatement s(db,
                            "SELECT ymd FROM t_exer WHERE ymd < ?3 AND grp_cd = ?1 AND"
                            " exer_cd = ?2 ORDER BY ymd DESC LIMIT 1");
        for (const QString& key : all) {
            const QStringList parts = key.split(QChar(0x1f));
            s.bindText(1, parts[0]);
            s.bindText(2, parts[1]);
            s.bindText(3, ymd);
            const int code = s.ok() ? s.step() : SQLITE_ERROR;
            if (code == SQLITE_ROW) {
                const QString day = s.columnText(0);
                if (day > last) {
                    last = day;
                    trained.clear();
                }
                if (day == last) trained.insert(key);
            } else if (code != SQLITE_DONE) {
                next.ok = false;
                return next;
            }
            s.reset();
        }
    }
    const int lastDay = last.isEmpty() ? -1 : BestDay(days, exercises, trained);
    if (lastDay >= 0) {
        next.lastDayId = days[lastDay].id;
        next.lastYmd = last;
    }
    if (!next.inProgress) next.dayId = days[lastDay < 0 ? 0 : (lastDay + 1) % days.size()].id;
    return next;
}

}  // namespace sorvenka
