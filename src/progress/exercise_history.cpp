#include "progress/exercise_history.h"

#include <map>

#include "progress/bound_statement.h"
#include "progress/progress_math.h"
#include "progress/progress_records.h"
#include "progress/progress_texts.h"

namespace sorvenka {

namespace {

// A set whose load, count or duration holds something other than a number (a file edited
// elsewhere) is left out of every figure and counted.
#define NOT_A_NUMBER                                     \
    "(typeof(target) NOT IN ('integer', 'real', 'null')" \
    " OR typeof(cnt) NOT IN ('integer', 'null')"         \
    " OR typeof(cnt_min) NOT IN ('integer', 'null')"     \
    " OR typeof(cnt_sec) NOT IN ('integer', 'null'))"
// The exercise in the period; the day range comes first so that the key's index bounds it.
#define EXERCISE_IN_PERIOD "ymd BETWEEN ?1 AND ?2 AND grp_cd = ?3 AND exer_cd = ?4"
#define VALID_TIME(column) \
    "(length(" column ") = 8 AND " column " BETWEEN '00:00:00' AND '23:59:59')"

const char* const kDayFiguresSql =
    "SELECT ymd, count(*), sum(bad),"
    " max(CASE WHEN bad = 0 AND kg > 0 THEN kg END),"
    " max(CASE WHEN bad = 0 AND kg > 0 AND cnt BETWEEN 1 AND 12"
    "      THEN CASE WHEN cnt = 1 THEN kg ELSE kg * (1 + cnt / 30.0) END END),"
    " sum(CASE WHEN bad = 0 AND kg > 0 AND cnt > 0 THEN kg * cnt END),"
    " sum(CASE WHEN bad = 0 AND secs > 0 THEN secs END),"
    " max(CASE WHEN bad = 0 AND secs > 0 THEN secs END),"
    " sum(CASE WHEN bad = 0 AND km > 0 THEN km END),"
    " sum(CASE WHEN bad = 0 AND km > 0 AND secs > 0 THEN km END),"
    " sum(CASE WHEN bad = 0 AND km > 0 AND secs > 0 THEN secs END)"
    " FROM (SELECT ymd, cnt, " NOT_A_NUMBER
    " AS bad,"
    "   CASE unit_t WHEN 'kg' THEN target WHEN 'lb' THEN target * 0.45359237 END AS kg,"
    "   CASE unit_t WHEN 'km' THEN target WHEN 'm' THEN target / 1000.0 END AS km,"
    "   CASE WHEN cnt IS NULL AND (cnt_min IS NOT NULL OR cnt_sec IS NOT NULL)"
    "     THEN coalesce(cnt_min, 0) * 60 + coalesce(cnt_sec, 0) END AS secs"
    "   FROM t_exer WHERE " EXERCISE_IN_PERIOD
    ")"
    " GROUP BY ymd ORDER BY ymd";

const char* const kSetTimesSql =
    "SELECT ymd, hms_sta, hms_end FROM t_exer WHERE " EXERCISE_IN_PERIOD " ORDER BY ymd";

// All sets of the exercise's training days count for the working time.
const char* const kWorkingTimeSql =
    "SELECT ymd, min(CASE WHEN " VALID_TIME("hms_sta") " THEN hms_sta END),"
    " max(CASE WHEN " VALID_TIME("hms_end") " THEN hms_end END)"
    " FROM t_exer WHERE ymd BETWEEN ?1 AND ?2"
    " AND ymd IN (SELECT ymd FROM t_exer WHERE " EXERCISE_IN_PERIOD ")"
    " GROUP BY ymd ORDER BY ymd";

const char* const kLoadRepsSql =
    "SELECT ymd, unit_t, target, max(cnt), unit FROM t_exer WHERE " EXERCISE_IN_PERIOD
    " AND unit_t IN ('kg', 'lb') AND typeof(target) IN ('integer', 'real') AND target > 0"
    " AND typeof(cnt) = 'integer' AND cnt > 0"
    " AND typeof(cnt_min) IN ('integer', 'null') AND typeof(cnt_sec) IN ('integer', 'null')"
    " GROUP BY ymd, unit_t, target ORDER BY ymd";

const char* const kDaySetsSql =
    "SELECT target, unit_t, cnt, unit FROM t_exer"
    " WHERE ymd = ?1 AND grp_cd = ?2 AND exer_cd = ?3 AND " NOT_A_NUMBER
    " = 0"
    " ORDER BY set_num";

void BindSelection(BoundStatement& statement, const ExerciseSelection& selection) {
    statement.bind(1, selection.days.first);
    statement.bind(2, selection.days.last);
    statement.bind(3, selection.grpCd);
    statement.bind(4, selection.exerCd);
}

std::optional<double> OptionalReal(const BoundStatement& s, int column) {
    if (s.isNull(column)) return std::nullopt;
    return s.real(column);
}

std::optional<int> OptionalInt(const BoundStatement& s, int column) {
    if (s.isNull(column)) return std::nullopt;
    return static_cast<int>(s.integer(column));
}

bool Fail(ExerciseHistory& history, const BoundStatement& statement) {
    history.ok = false;
    history.error = statement.error();
    return false;
}

bool ReadDays(sqlite3* connection, const ExerciseSelection& selection, ExerciseHistory& history) {
    BoundStatement s(connection, kDayFiguresSql);
    BindSelection(s, selection);
    while (s.next()) {
        DayFigures day;
        day.ymd = s.text(0);
        day.sets = static_cast<int>(s.integer(1));
        day.skipped = static_cast<int>(s.integer(2));
        day.topKg = OptionalReal(s, 3);
        day.bestE1rmKg = OptionalReal(s, 4);
        day.volumeKg = OptionalReal(s, 5);
        day.durationSeconds = OptionalInt(s, 6);
        day.longestSeconds = OptionalInt(s, 7);
        day.distanceKm = OptionalReal(s, 8);
        const std::optional<double> pacedKm = OptionalReal(s, 9);
        const std::optional<double> pacedSeconds = OptionalReal(s, 10);
        if (pacedKm && pacedSeconds && *pacedKm > 0)
            day.paceSecondsPerKm = *pacedSeconds / *pacedKm;
        history.skipped += day.skipped;
        history.days.push_back(day);
    }
    return s.ok() || Fail(history, s);
}

// Days of both lists come in day order; each list holds a day at most once.
template <typename Each>
void ForMatchingDay(std::vector<DayFigures>& days, std::size_t& cursor, const QString& ymd,
                    Each each) {
    while (cursor < days.size() && days[cursor].ymd < ymd) ++cursor;
    if (cursor < days.size() && days[cursor].ymd == ymd) each(days[cursor]);
}

bool ReadRests(sqlite3* connection, const ExerciseSelection& selection, ExerciseHistory& history) {
    BoundStatement s(connection, kSetTimesSql);
    BindSelection(s, selection);
    std::size_t cursor = 0;
    QString currentDay;
    std::vector<SetTimes> times;
    auto flush = [&] {
        if (times.empty()) return;
        ForMatchingDay(history.days, cursor, currentDay, [&](DayFigures& day) {
            const RestPairs pairs = PairRests(std::move(times));
            day.medianRestSeconds = Median(pairs.rests);
            day.restsCounted = static_cast<int>(pairs.rests.size());
            day.restsLeftOut = pairs.leftOut;
        });
        times.clear();
    };
    while (s.next()) {
        const QString ymd = s.text(0);
        if (ymd != currentDay) {
            flush();
            currentDay = ymd;
        }
        times.push_back({s.timeOfDay(1), s.timeOfDay(2)});
    }
    flush();
    return s.ok() || Fail(history, s);
}

bool ReadWorkingTimes(sqlite3* connection, const ExerciseSelection& selection,
                      ExerciseHistory& history) {
    BoundStatement s(connection, kWorkingTimeSql);
    BindSelection(s, selection);
    std::size_t cursor = 0;
    while (s.next()) {
        const int first = s.timeOfDay(1);
        const int last = s.timeOfDay(2);
        if (first < 0 || last < first) continue;
        ForMatchingDay(history.days, cursor, s.text(0),
                       [&](DayFigures& day) { day.workingSeconds = last - first; });
    }
    return s.ok() || Fail(history, s);
}

bool ReadLoadReps(sqlite3* connection, const ExerciseSelection& selection,
                  std::vector<LoadRepsDay>& loadReps, ExerciseHistory& history) {
    BoundStatement s(connection, kLoadRepsSql);
    BindSelection(s, selection);
    while (s.next())
        loadReps.push_back(
            {s.text(0), s.text(1), s.real(2), static_cast<int>(s.integer(3)), s.text(4)});
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
    BoundStatement s(connection, kDaySetsSql);
    s.bind(1, ymd);
    s.bind(2, selection.grpCd);
    s.bind(3, selection.exerCd);
    std::optional<StoredSet> best;
    double bestScore = 0;
    while (s.next()) {
        StoredSet set{s.real(0), s.text(1), OptionalInt(s, 2), s.text(3), 0};
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

void AddRecords(sqlite3* connection, const ExerciseSelection& selection,
                const std::vector<LoadRepsDay>& loadReps, ExerciseHistory& history) {
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
    for (PersonalRecord& record : MostRepsRecords(loadReps))
        history.records.push_back(std::move(record));
}

}  // namespace

ExerciseHistory ReadExerciseHistory(sqlite3* connection, const ExerciseSelection& selection) {
    ExerciseHistory history;
    std::vector<LoadRepsDay> loadReps;
    if (!ReadDays(connection, selection, history) || !ReadRests(connection, selection, history) ||
        !ReadWorkingTimes(connection, selection, history) ||
        !ReadLoadReps(connection, selection, loadReps, history))
        return history;
    MarkBeatenRecords(history.days, loadReps);
    AddRecords(connection, selection, loadReps, history);
    return history;
}

const std::vector<const char*>& ExerciseHistoryStatements() {
    static const std::vector<const char*> statements{kDayFiguresSql, kSetTimesSql, kWorkingTimeSql,
                                                     kLoadRepsSql};
    return statements;
}

}  // namespace sorvenka
