#include "progress/exercise_history.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "common/text_tests.h"
#include "db/prepared_statement.h"
#include "progress/day_accumulator.h"
#include "progress/earlier_bests.h"
#include "progress/progress_math.h"
#include "progress/progress_records.h"
#include "progress/progress_texts.h"
#include "progress/set_numbers.h"

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

// Where the period's rows hold a set's numbers, and its count's unit.
constexpr SetColumns kPeriodColumns{5, 6, 7, 9, 10};
constexpr int kCountUnitColumn = 8;

const char* const kDayFiguresSql =
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

bool Same(const char* text, const std::string& expected) {
    return text != nullptr && expected == text;
}

// The period's days into the history, each marked with the records it beat against every day
// before it (historyMarks, already holding the bests before the period) and counted into the
// period's own records (periodMarks).
bool ReadPeriodSets(sqlite3* connection, const ExerciseSelection& selection,
                    ExerciseHistory& history, RecordMarks& periodMarks, RecordMarks& historyMarks) {
    PreparedStatement s(connection, kPeriodSetsSql);
    s.bindText(1, selection.days.first);
    s.bindText(2, selection.days.last);
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
            history.skipped += accumulator.finish(ymd, ignored).sets;
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
        const SetTimes times{s.timeOfDay(3), s.timeOfDay(4)};
        if (times.start >= 0 && (firstStart < 0 || times.start < firstStart))
            firstStart = times.start;
        lastFinish = std::max(lastFinish, times.finish);
        if (!Same(s.cText(1), grp) || !Same(s.cText(2), exer)) continue;
        trained = true;
        SetValues set;
        set.times = times;
        ReadSetNumbers(s, kPeriodColumns, set);
        if (set.cnt) {
            const char* unit = s.cText(kCountUnitColumn);
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
    PreparedStatement s(connection, kDayFiguresSql);
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
    if (!AddEarlierBests(connection, selection, historyMarks, history.error)) {
        history.ok = false;
        return history;
    }
    if (!ReadPeriodSets(connection, selection, history, periodMarks, historyMarks)) return history;
    AddRecords(connection, selection, periodMarks, history);
    return history;
}

const std::vector<const char*>& ExerciseHistoryStatements() {
    static const std::vector<const char*> statements{EarlierSetsStatement(), kPeriodSetsSql};
    return statements;
}

}  // namespace sorvenka
