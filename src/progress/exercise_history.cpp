#include "progress/exercise_history.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "common/text_tests.h"
#include "db/prepared_statement.h"
#include "progress/day_accumulator.h"
#include "progress/progress_math.h"
#include "progress/progress_records.h"
#include "progress/progress_texts.h"

namespace sorvenka {

namespace {

// A set whose load, count or duration holds something other than a number (a file edited
// elsewhere), an infinite or negative load, or a negative count or duration is left out of
// every figure and counted (NaN reads back as NULL).
#define NOT_A_NUMBER                                     \
    "(typeof(target) NOT IN ('integer', 'real', 'null')" \
    " OR typeof(cnt) NOT IN ('integer', 'null')"         \
    " OR typeof(cnt_min) NOT IN ('integer', 'null')"     \
    " OR typeof(cnt_sec) NOT IN ('integer', 'null')"     \
    " OR ifnull(target < 0 OR abs(target) >= 9e999, 0)"  \
    " OR ifnull(cnt < 0, 0) OR ifnull(cnt_min < 0, 0) OR ifnull(cnt_sec < 0, 0))"

// Every set of the period in day order, which the key's index gives without sorting: the
// exercise's sets for its figures, all of them for the working time of its days. One pass
// in the program costs less than the engine's per-set expressions inside aggregates.
const char* const kPeriodSetsSql =
    "SELECT ymd, grp_cd, exer_cd, hms_sta, hms_end, target, unit_t, cnt, unit, cnt_min, cnt_sec"
    " FROM t_exer WHERE ymd BETWEEN ?1 AND ?2 ORDER BY ymd";

// The exercise's sets before the period (?1), for the records its days are measured against;
// ?3 and ?4 name the exercise. Only the columns the records are figured from: every column
// more is read from each of the whole history's rows.
const char* const kEarlierSetsSql =
    "SELECT ymd, target, unit_t, cnt, cnt_min, cnt_sec"
    " FROM t_exer WHERE ymd < ?1 AND grp_cd = ?3 AND exer_cd = ?4 ORDER BY ymd";

// Where a statement's rows hold a set's values.
struct SetColumns {
    int target, targetUnit, count, countUnit, minutes, seconds;  // countUnit -1: not read
};
constexpr SetColumns kPeriodColumns{5, 6, 7, 8, 9, 10};
constexpr SetColumns kEarlierColumns{1, 2, 3, -1, 4, 5};

const char* const kDaySetsSql =
    "SELECT target, unit_t, cnt, unit FROM t_exer"
    " WHERE ymd = ?1 AND grp_cd = ?2 AND exer_cd = ?3 AND " NOT_A_NUMBER
    " = 0"
    " ORDER BY set_num";

std::optional<int> OptionalInt(const PreparedStatement& s, int column) {
    if (s.isNull(column)) return std::nullopt;
    return static_cast<int>(s.columnInt(column));
}

bool Fail(ExerciseHistory& history, const PreparedStatement& statement) {
    history.ok = false;
    history.error = statement.error();
    return false;
}

// Character by character: called for every set of the whole history.
TargetUnit UnitOf(const char* text) {
    if (text == nullptr || text[0] == '\0') return TargetUnit::Other;
    if (text[1] == '\0') return text[0] == 'm' ? TargetUnit::M : TargetUnit::Other;
    if (text[2] != '\0') return TargetUnit::Other;
    if (text[0] == 'k' && text[1] == 'g') return TargetUnit::Kg;
    if (text[0] == 'l' && text[1] == 'b') return TargetUnit::Lb;
    if (text[0] == 'k' && text[1] == 'm') return TargetUnit::Km;
    return TargetUnit::Other;
}

// A whole number from 0 or nothing; anything else marks the set as not a number.
std::optional<long long> WholeNumber(const PreparedStatement& s, int column, bool& notANumber) {
    switch (s.columnType(column)) {
        case SQLITE_NULL:
            return std::nullopt;
        case SQLITE_INTEGER:
            if (const long long value = s.columnInt(column); value >= 0) return value;
            [[fallthrough]];
        default:
            notANumber = true;
            return std::nullopt;
    }
}

bool Same(const char* text, const std::string& expected) {
    return text != nullptr && expected == text;
}

// The period's days into the history, each marked with the records it beat against every day
// before it (historyMarks, also fed the days before the period) and counted into the period's
// own records (periodMarks). With `earlier`, the exercise's days before the period only feed
// historyMarks.
bool ReadSets(sqlite3* connection, const ExerciseSelection& selection, ExerciseHistory& history,
              RecordMarks& periodMarks, RecordMarks& historyMarks, bool earlier) {
    PreparedStatement s(connection, earlier ? kEarlierSetsSql : kPeriodSetsSql);
    s.bindText(1, selection.days.first);
    if (earlier) {
        s.bindText(3, selection.grpCd);
        s.bindText(4, selection.exerCd);
    } else {
        s.bindText(2, selection.days.last);
    }
    const std::string grp = selection.grpCd.toStdString();
    const std::string exer = selection.exerCd.toStdString();
    const bool restDay = IsRestDayExercise(selection.grpCd, selection.exerCd);
    DayAccumulator accumulator;
    std::vector<LoadRepsDay> loads;        // of the current day
    bool trained = false;                  // the exercise has sets on the current day
    int firstStart = -1, lastFinish = -1;  // over all sets of the current day
    std::string currentDay;
    QString countUnit;
    std::string countUnitBytes;
    auto flush = [&] {
        const QString ymd = QString::fromStdString(currentDay);
        if (trained && !IsValidYmd(ymd)) {  // a day text edited into something else
            std::vector<LoadRepsDay> ignored;
            const int sets = accumulator.finish(ymd, ignored).sets;
            if (!earlier) history.skipped += sets;
        } else if (trained && earlier) {
            loads.clear();
            DayFigures day = accumulator.finish(ymd, loads);
            if (restDay) day.mostRepsNoLoad = day.totalRepsNoLoad = std::nullopt;
            historyMarks.add(day, loads);
        } else if (trained) {
            loads.clear();
            DayFigures day = accumulator.finish(ymd, loads);
            if (restDay) day.mostRepsNoLoad = day.totalRepsNoLoad = std::nullopt;
            periodMarks.add(day, loads);
            historyMarks.add(day, loads);  // the marks that stay: against the whole history
            if (firstStart >= 0 && lastFinish >= firstStart)
                day.workingSeconds = lastFinish - firstStart;
            history.skipped += day.skipped;
            history.days.push_back(std::move(day));
        }
        trained = false;
        firstStart = lastFinish = -1;
    };
    while (s.next()) {
        // Column by column, each read once: every call into the engine takes its lock.
        const char* ymd = s.cText(0);
        if (ymd == nullptr) ymd = "";
        if (std::strcmp(currentDay.c_str(), ymd) != 0) {
            flush();
            currentDay = ymd;
        }
        // Days before the period count only for their records: no rests, no working time,
        // and the statement names the exercise.
        const SetTimes times = earlier ? SetTimes{} : SetTimes{s.timeOfDay(3), s.timeOfDay(4)};
        if (times.start >= 0 && (firstStart < 0 || times.start < firstStart))
            firstStart = times.start;
        lastFinish = std::max(lastFinish, times.finish);
        if (!earlier && (!Same(s.cText(1), grp) || !Same(s.cText(2), exer))) continue;
        trained = true;
        const SetColumns& at = earlier ? kEarlierColumns : kPeriodColumns;
        SetValues set;
        set.times = times;
        switch (s.columnType(at.target)) {
            case SQLITE_INTEGER:
            case SQLITE_FLOAT:
                set.target = s.columnDouble(at.target);
                // 1e9999 reads as infinity: no load, and scales that no chart can draw.
                if (!std::isfinite(*set.target) || *set.target < 0) set.notANumber = true;
                break;
            case SQLITE_NULL:
                break;
            default:
                set.notANumber = true;
        }
        set.unit = UnitOf(s.cText(at.targetUnit));
        set.cnt = WholeNumber(s, at.count, set.notANumber);
        set.minutes = WholeNumber(s, at.minutes, set.notANumber);
        set.seconds = WholeNumber(s, at.seconds, set.notANumber);
        // The count's unit shows only in the period's records; the earlier days' stays empty.
        if (set.cnt && at.countUnit >= 0) {
            const char* unit = s.cText(at.countUnit);
            if (unit == nullptr) unit = "";
            if (countUnitBytes != unit) {  // the same unit set after set: converted once
                countUnitBytes = unit;
                countUnit = QString::fromStdString(countUnitBytes);
            }
            set.countUnit = &countUnit;
        }
        accumulator.add(set);
    }
    flush();
    return s.ok() || Fail(history, s);
}

// One set of a record day, as stored.
struct StoredSet {
    double load = 0;
    QString loadUnit;
    std::optional<int> reps;
    QString repsUnit;
    double kg = 0;
};

QString LoadAsStored(const StoredSet& set, bool withKg) {
    QString text = FormatNumber(set.load) + QLatin1Char(' ') + set.loadUnit;
    if (set.reps) text += QStringLiteral(" × ") + QString::number(*set.reps) + set.repsUnit;
    if (withKg && set.loadUnit != QStringLiteral("kg"))
        text += QStringLiteral("（") + FormatKg(set.kg) + QStringLiteral("）");
    return text;
}

// The set of the day with the highest score (first one on a tie); nothing when none scores.
template <typename Score>
std::optional<StoredSet> BestSetOfDay(sqlite3* connection, const ExerciseSelection& selection,
                                      const QString& ymd, Score score) {
    PreparedStatement s(connection, kDaySetsSql);
    s.bindText(1, ymd);
    s.bindText(2, selection.grpCd);
    s.bindText(3, selection.exerCd);
    std::optional<StoredSet> best;
    double bestScore = 0;
    while (s.next()) {
        StoredSet set{s.columnDouble(0), s.columnText(1), OptionalInt(s, 2), s.columnText(3), 0};
        const std::optional<double> kg = LoadInKg(set.load, set.loadUnit);
        if (!kg || !(*kg > 0)) continue;
        set.kg = *kg;
        const std::optional<double> value = score(set);
        if (value && (!best || *value > bestScore)) {
            best = set;
            bestScore = *value;
        }
    }
    return best;
}

void AddRecords(sqlite3* connection, const ExerciseSelection& selection, const RecordMarks& marks,
                ExerciseHistory& history) {
    const std::vector<DayFigures>& days = history.days;
    auto add = [&](RecordKind kind, int day, const QString& value, double sortValue) {
        history.records.push_back({kind, RecordName(kind), value, days[day].ymd, sortValue});
    };
    if (const int day = BestDayIndex(days, &DayFigures::topKg); day >= 0) {
        const auto set = BestSetOfDay(connection, selection, days[day].ymd,
                                      [](const StoredSet& s) -> std::optional<double> {
                                          return s.kg + (s.reps ? *s.reps * 1e-6 : 0);
                                      });
        add(RecordKind::HeaviestLoad, day,
            set ? LoadAsStored(*set, true) : FormatKg(*days[day].topKg), *days[day].topKg);
    }
    if (const int day = BestDayIndex(days, &DayFigures::bestE1rmKg); day >= 0) {
        const auto set = BestSetOfDay(connection, selection, days[day].ymd,
                                      [](const StoredSet& s) -> std::optional<double> {
                                          if (!s.reps) return std::nullopt;
                                          return EstimatedOneRepMax(s.kg, *s.reps);
                                      });
        QString value = FormatKg(*days[day].bestE1rmKg);
        if (set) value += QStringLiteral("（") + LoadAsStored(*set, false) + QStringLiteral("）");
        add(RecordKind::BestEstimate, day, value, *days[day].bestE1rmKg);
    }
    if (const int day = BestDayIndex(days, &DayFigures::volumeKg); day >= 0)
        add(RecordKind::BestVolume, day, FormatKg(*days[day].volumeKg), *days[day].volumeKg);
    if (const int day = BestDayIndex(days, &DayFigures::longestSeconds); day >= 0)
        add(RecordKind::LongestDuration, day, FormatDuration(*days[day].longestSeconds),
            *days[day].longestSeconds);
    if (const int day = BestDayIndex(days, &DayFigures::mostRepsNoLoad); day >= 0)
        add(RecordKind::MostRepsBodyweight, day,
            QString::number(*days[day].mostRepsNoLoad) + QStringLiteral("回"),
            *days[day].mostRepsNoLoad);
    if (const int day = BestDayIndex(days, &DayFigures::longestDistanceKm); day >= 0)
        add(RecordKind::LongestDistance, day, FormatKm(*days[day].longestDistanceKm),
            *days[day].longestDistanceKm);
    int fastest = -1;  // the first day of the lowest pace
    for (int i = 0; i < static_cast<int>(days.size()); ++i)
        if (days[i].paceSecondsPerKm &&
            (fastest < 0 || *days[i].paceSecondsPerKm < *days[fastest].paceSecondsPerKm))
            fastest = i;
    if (fastest >= 0)
        add(RecordKind::BestPace, fastest, FormatPace(*days[fastest].paceSecondsPerKm),
            *days[fastest].paceSecondsPerKm);
    for (PersonalRecord& record : marks.mostRepsRecords())
        history.records.push_back(std::move(record));
}

}  // namespace

ExerciseHistory ReadExerciseHistory(sqlite3* connection, const ExerciseSelection& selection) {
    ExerciseHistory history;
    RecordMarks periodMarks, historyMarks;
    if (!ReadSets(connection, selection, history, periodMarks, historyMarks, true) ||
        !ReadSets(connection, selection, history, periodMarks, historyMarks, false))
        return history;
    AddRecords(connection, selection, periodMarks, history);
    return history;
}

const std::vector<const char*>& ExerciseHistoryStatements() {
    static const std::vector<const char*> statements{kEarlierSetsSql, kPeriodSetsSql};
    return statements;
}

}  // namespace sorvenka
