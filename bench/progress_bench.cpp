// Times the progress window's reads on ten years of daily training (about 70,000 sets of one
// exercise): the request for すべて and the switches between charts, against the bare engine
// running the same statements, and the 1年 view on one against ten years of history, cold (the
// first view on a connection) and warm (reached from another period, the earlier days' bests
// held), against the bare engine running the read's statements and against the engine
// computing the same bests before the year with aggregates; and, on a copy, what an index
// would change.
#include <sqlite3.h>

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtCharts/QChart>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

#include "common/text_tests.h"
#include "db/first_database.h"
#include "progress/day_timeline.h"
#include "progress/exercise_history.h"
#include "progress/weekly_summary.h"
#include "progress_window/progress_charts.h"

using namespace sorvenka;

namespace {

constexpr int kSetsPerDay = 19;  // 19 × 3,652 days ≈ 69,400 sets
constexpr int kRepetitions = 21;
const QDate kLastDay(2024, 5, 14);

using Handle = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

Handle OpenRaw(const QString& path) {
    sqlite3* raw = nullptr;
    sqlite3_open(path.toUtf8().constData(), &raw);
    return Handle(raw, &sqlite3_close);
}

// Daily sessions of bench press ending on kLastDay: a slow progression of the load, 3 to 12
// repetitions, one minute a set and two minutes' rest, now and then a pound plate set.
bool FillYears(const QString& path, int years) {
    Handle db = OpenRaw(path);
    if (sqlite3_exec(db.get(), "begin", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(
        db.get(), "insert into t_exer values(?1,'01','01',?2,?3,?4,?5,?6,?7,'回',null,null,'2','')",
        -1, &raw, nullptr);
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> insert(raw, &sqlite3_finalize);
    const QDate first = kLastDay.addYears(-years).addDays(1);
    for (QDate day = first; day <= kLastDay; day = day.addDays(1)) {
        const QByteArray ymd = FormatYmd(day).toUtf8();
        const int index = static_cast<int>(first.daysTo(day));
        for (int set = 0; set < kSetsPerDay; ++set) {
            const int start = 18 * 3600 + set * 180, finish = start + 60;
            const QByteArray sta = QTime(0, 0).addSecs(start).toString("HH:mm:ss").toUtf8();
            const QByteArray end = QTime(0, 0).addSecs(finish).toString("HH:mm:ss").toUtf8();
            const bool pounds = (index + set) % 23 == 0;
            const double kg = 60 + index / 60 * 0.5 + (set % 5) * 2.5;
            sqlite3_bind_text(insert.get(), 1, ymd.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert.get(), 2, set + 1);
            sqlite3_bind_text(insert.get(), 3, sta.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert.get(), 4, end.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert.get(), 5, pounds ? kg / 0.45359237 : kg);
            sqlite3_bind_text(insert.get(), 6, pounds ? "lb" : "kg", -1, SQLITE_STATIC);
            sqlite3_bind_int(insert.get(), 7, 3 + (index * 7 + set) % 10);
            if (sqlite3_step(insert.get()) != SQLITE_DONE) return false;
            sqlite3_reset(insert.get());
        }
    }
    return sqlite3_exec(db.get(), "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
}

double MedianMilliseconds(const std::function<void()>& work) {
    work();  // warm the page cache
    std::vector<double> samples;
    QElapsedTimer timer;
    for (int i = 0; i < kRepetitions; ++i) {
        timer.start();
        work();
        samples.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// The statements as the engine alone runs them: prepared, bound, stepped to the end; with
// `deliver`, every column of every row is also handed out once in its stored type, as any
// reader of the rows must take them.
void RunBare(sqlite3* db, const std::vector<const char*>& statements, const QStringList& values,
             bool deliver = true) {
    for (const char* sql : statements) {
        sqlite3_stmt* raw = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
        const int parameters = sqlite3_bind_parameter_count(raw);
        for (int i = 0; i < parameters && i < values.size(); ++i) {
            const QByteArray utf8 = values[i].toUtf8();
            sqlite3_bind_text(raw, i + 1, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
        }
        const int columns = sqlite3_column_count(raw);
        volatile long long sink = 0;
        while (sqlite3_step(raw) == SQLITE_ROW) {
            if (!deliver) continue;
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(raw, c)) {
                    case SQLITE_INTEGER:
                        sink = sink + sqlite3_column_int64(raw, c);
                        break;
                    case SQLITE_FLOAT:
                        sink = sink + static_cast<long long>(sqlite3_column_double(raw, c));
                        break;
                    case SQLITE_NULL:
                        break;
                    default:
                        sink = sink + (sqlite3_column_text(raw, c) != nullptr);
                        break;
                }
            }
        }
        sqlite3_finalize(raw);
    }
}

void PrintPlan(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    const QByteArray text = QByteArray("explain query plan ") + sql;
    if (sqlite3_prepare_v2(db, text.constData(), -1, &raw, nullptr) != SQLITE_OK) return;
    while (sqlite3_step(raw) == SQLITE_ROW)
        std::printf("    %s\n", reinterpret_cast<const char*>(sqlite3_column_text(raw, 3)));
    sqlite3_finalize(raw);
}

// The first row of a statement as text, or the engine's message: a reference that does not
// run is no reference.
QString FirstRow(sqlite3* db, const char* sql, const QStringList& values) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
        return QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db));
    for (int i = 0; i < sqlite3_bind_parameter_count(raw) && i < values.size(); ++i) {
        const QByteArray utf8 = values[i].toUtf8();
        sqlite3_bind_text(raw, i + 1, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
    }
    QStringList cells;
    if (sqlite3_step(raw) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(raw); ++c)
            cells << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw, c)));
    sqlite3_finalize(raw);
    return cells.join(QStringLiteral(" | "));
}

int CountSets(sqlite3* db) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from t_exer", -1, &raw, nullptr);
    sqlite3_step(raw);
    const int count = sqlite3_column_int(raw, 0);
    sqlite3_finalize(raw);
    return count;
}

// Processor time of this thread: what the work costs when the shared machine's other
// processes take turns on the cores.
double CpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Medians of the processor time of the program's read and the bare engine's, in turns.
std::pair<double, double> CpuMedianPair(const std::function<void()>& ours,
                                        const std::function<void()>& bare) {
    ours();
    bare();
    std::vector<double> a, b;
    for (int i = 0; i < kRepetitions; ++i) {
        double start = CpuMilliseconds();
        ours();
        a.push_back(CpuMilliseconds() - start);
        start = CpuMilliseconds();
        bare();
        b.push_back(CpuMilliseconds() - start);
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

// The program's read and the bare engine's, taken in turns so that both meet the same load
// of a shared machine; the medians of each.
std::pair<double, double> MedianPair(const std::function<void()>& ours,
                                     const std::function<void()>& bare) {
    ours();
    bare();
    std::vector<double> a, b;
    QElapsedTimer timer;
    for (int i = 0; i < kRepetitions; ++i) {
        timer.start();
        ours();
        a.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        bare();
        b.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

// Medians of several pieces of work taken in turns, so that each meets the same load of a
// shared machine; by the wall clock or by the processor time of the thread.
std::vector<double> Medians(const std::vector<std::function<void()>>& works, bool processorTime) {
    for (const auto& work : works) work();
    std::vector<std::vector<double>> samples(works.size());
    QElapsedTimer timer;
    for (int i = 0; i < kRepetitions; ++i) {
        for (std::size_t w = 0; w < works.size(); ++w) {
            const double start = processorTime ? CpuMilliseconds() : 0;
            timer.start();
            works[w]();
            samples[w].push_back(processorTime ? CpuMilliseconds() - start
                                               : timer.nsecsElapsed() / 1e6);
        }
    }
    std::vector<double> medians;
    for (auto& s : samples) {
        std::sort(s.begin(), s.end());
        medians.push_back(s[s.size() / 2]);
    }
    return medians;
}

// The same bests before the period computed by the engine itself, as a second reference: sets
// with a value that is not a number and days whose text names no day left out, as the
// program leaves them out. ?1 = the period's first day, ?3, ?4 = group and exercise.
#define EARLIER_SETS " FROM t_exer WHERE ymd < ?1 AND grp_cd = ?3 AND exer_cd = ?4 AND " VALID_SET
#define VALID_SET                                                                            \
    "typeof(target) IN ('integer', 'real', 'null') AND typeof(cnt) IN ('integer', 'null')"   \
    " AND typeof(cnt_min) IN ('integer', 'null') AND typeof(cnt_sec) IN ('integer', 'null')" \
    " AND ifnull(target >= 0 AND target < 9e999, 1) AND ifnull(cnt >= 0, 1)"                 \
    " AND ifnull(cnt_min >= 0, 1) AND ifnull(cnt_sec >= 0, 1)"
#define NAMES_A_DAY(ymd)                                                  \
    "(" ymd " GLOB '[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]' AND " ymd \
    " >= '0001' AND date(replace(" ymd ", '/', '-')) = replace(" ymd ", '/', '-'))"
#define KG                                                                                  \
    "(CASE WHEN target > 0 THEN CASE unit_t WHEN 'kg' THEN target WHEN 'lb' THEN target * " \
    "0.45359237 END END)"
#define KM                                                                                        \
    "(CASE WHEN target > 0 THEN CASE unit_t WHEN 'km' THEN target WHEN 'm' THEN target / 1000.0 " \
    "END END)"
#define DURATION                                                                                   \
    "(CASE WHEN cnt IS NULL AND coalesce(cnt_min, cnt_sec) IS NOT NULL THEN ifnull(cnt_min, 0) * " \
    "60 + ifnull(cnt_sec, 0) END)"
const std::vector<const char*>& AggregateStatements() {
    static const std::vector<const char*> statements{
        // The bests of single sets and of whole days, over the days.
        "SELECT max(kg), max(e1rm), max(volume), max(longest), max(reps), max(km), min(pace)"
        " FROM (SELECT ymd, max(" KG
        ") kg,"
        " max(CASE WHEN cnt = 1 THEN " KG " WHEN cnt BETWEEN 2 AND 12 THEN " KG
        " * (1.0 + cnt / 30.0) END) e1rm,"
        " sum(CASE WHEN cnt > 0 THEN " KG
        " * cnt END) volume,"
        " max(CASE WHEN " DURATION " > 0 THEN " DURATION
        " END) longest,"
        " max(CASE WHEN ifnull(target, 0) <= 0 AND cnt > 0 AND ifnull(unit_t NOT IN ('km', 'm'), 1)"
        " THEN cnt END) reps,"
        " max(" KM
        ") km,"
        " sum(CASE WHEN " DURATION " > 0 THEN " DURATION " * (" KM
        " > 0) END)"
        " / sum(CASE WHEN " DURATION " > 0 THEN " KM " END) pace" EARLIER_SETS
        " GROUP BY ymd HAVING " NAMES_A_DAY("ymd") ")",
        // The most repetitions at each load.
        "SELECT unit_t, target, max(cnt)" EARLIER_SETS
        " AND unit_t IN ('kg', 'lb') AND target > 0 AND cnt > 0 AND " NAMES_A_DAY(
            "ymd") " GROUP BY unit_t, target"};
    return statements;
}

void Compare(const char* what, double ours, double bare) {
    std::printf("  %-44s %8.2f ms   bare engine %8.2f ms   ratio %.2f\n", what, ours, bare,
                ours / bare);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QString paths[2];
    const int years[2] = {1, 10};
    for (int i = 0; i < 2; ++i) {
        paths[i] = dir.filePath(QStringLiteral("exercise_%1y.sqlite3").arg(years[i]));
        QString error;
        if (!CreateFirstDatabase(paths[i], error) || !FillYears(paths[i], years[i])) {
            std::printf("cannot build the database of %d years: %s\n", years[i], qPrintable(error));
            return 1;
        }
    }
    Handle tenYears = OpenRaw(paths[1]);
    sqlite3* db = tenYears.get();
    std::printf("Ten years: %d sets of one exercise, %d a day, last day %s\n\n", CountSets(db),
                kSetsPerDay, qPrintable(FormatYmd(kLastDay)));

    const DayRange all = PeriodDays(ProgressPeriod::All, kLastDay);
    const ExerciseSelection selection{QStringLiteral("01"), QStringLiteral("01"), all};
    const QStringList values{all.first, all.last, selection.grpCd, selection.exerCd};
    std::printf("すべて, from the request to the data ready for drawing (median of %d):\n",
                kRepetitions);
    ExerciseHistory history;
    if (qEnvironmentVariableIsSet("PROGRESS_BENCH_PROFILE")) {  // for a profiler's run
        // "year": the 1年 view again and again on one connection (warm); "cold": each on a
        // connection of its own; anything else: すべて.
        const QByteArray mode = qgetenv("PROGRESS_BENCH_PROFILE");
        const bool yearView = mode == "year" || mode == "cold";
        const ExerciseSelection profiled{selection.grpCd, selection.exerCd,
                                         PeriodDays(ProgressPeriod::Year1, kLastDay)};
        for (int i = 0; i < (yearView ? 1000 : 200); ++i) {
            if (mode == "cold") {
                Handle fresh = OpenRaw(paths[1]);
                ReadExerciseHistory(fresh.get(), profiled);
            } else {
                ReadExerciseHistory(db, yearView ? profiled : selection);
            }
        }
        return 0;
    }
    const auto [open, openBare] =
        MedianPair([&] { history = ReadExerciseHistory(db, selection); },
                   [&] { RunBare(db, ExerciseHistoryStatements(), values); });
    Compare("opening (figures, rests, records, days)", open, openBare);
    const auto [openAgain, stepOnly] =
        MedianPair([&] { ReadExerciseHistory(db, selection); },
                   [&] { RunBare(db, ExerciseHistoryStatements(), values, false); });
    std::printf("  %-44s %8.2f ms   engine stepping only %6.2f ms   ratio %.2f\n",
                "  (the same against rows not handed out)", openAgain, stepOnly,
                openAgain / stepOnly);
    const auto [openCpu, openBareCpu] =
        CpuMedianPair([&] { ReadExerciseHistory(db, selection); },
                      [&] { RunBare(db, ExerciseHistoryStatements(), values); });
    std::printf("  %-44s %8.2f ms   bare engine %8.2f ms   ratio %.2f\n",
                "  (processor time of the thread)", openCpu, openBareCpu, openCpu / openBareCpu);
    std::printf("    %zu training days, %zu records, %d skipped\n", history.days.size(),
                history.records.size(), history.skipped);
    // The charts of the exercise draw from the figures already read: no query when switching.
    const double draw =
        MedianMilliseconds([&] { delete BuildExerciseChart(ChartKind::Load, history, all); });
    std::printf("  %-44s %8.2f ms   (chart objects, no query)\n", "switch to 重量 chart (build)",
                draw);
    WeeklySummary weekly;
    const auto [week, weekBare] =
        MedianPair([&] { weekly = ReadWeeklySummary(db, all); },
                   [&] {
                       RunBare(db, WeeklySummaryStatements(), {all.first, all.last});
                   });
    Compare("switch to weekly sets by group", week, weekBare);
    std::printf("    %zu weeks\n", weekly.weeks.size());
    const double day = MedianMilliseconds([&] { ReadDayTimeline(db, all.last); });
    std::printf("  %-44s %8.2f ms\n", "switch to the day's timeline", day);
    std::printf("  %-44s %8.2f ms   bare engine %8.2f ms   ratio %.2f\n\n",
                "total of the three requests", open + week + day, openBare + weekBare,
                (open + week + day) / (openBare + weekBare));

    std::printf("Bare engine per statement:\n");
    for (const char* sql : ExerciseHistoryStatements())
        std::printf("  %8.2f ms  %.60s\n", MedianMilliseconds([&] { RunBare(db, {sql}, values); }),
                    sql);
    std::printf("Query plans:\n");
    for (const char* sql : ExerciseHistoryStatements()) PrintPlan(db, sql);
    PrintPlan(db, WeeklySummaryStatements().front());

    std::printf("\n1年 view on one and on ten years of history (median of %d, in turns):\n",
                kRepetitions);
    std::printf(
        "  cold: the first 1年 view on a connection just opened (nothing held);\n"
        "  warm: the 1年 view reached by switching from 3か月 on the same connection.\n"
        "  references, each on a connection just opened: the bare engine running the\n"
        "  read's statements (the earlier sets and the year's, every column handed out\n"
        "  once), and the bare engine computing the bests before the year itself\n"
        "  (aggregates) with the year's sets; for the warm view also the bare engine\n"
        "  running the year's statement alone (the rows a switch still reads)\n");
    const DayRange year = PeriodDays(ProgressPeriod::Year1, kLastDay);
    const ExerciseSelection yearSelection{QStringLiteral("01"), QStringLiteral("01"), year};
    const ExerciseSelection monthsSelection{QStringLiteral("01"), QStringLiteral("01"),
                                            PeriodDays(ProgressPeriod::Months3, kLastDay)};
    const QStringList yearValues{year.first, year.last, yearSelection.grpCd, yearSelection.exerCd};
    std::vector<const char*> aggregates = AggregateStatements();
    aggregates.push_back(ExerciseHistoryStatements().back());  // the year's sets
    double yearTimes[2];
    for (int i = 0; i < 2; ++i) {
        {
            Handle handle = OpenRaw(paths[i]);
            std::printf("  %2d years: the engine's bests before the year: %s\n", years[i],
                        qPrintable(FirstRow(handle.get(), aggregates[0], yearValues)));
            if (FirstRow(handle.get(), aggregates[1], yearValues)
                    .startsWith(QStringLiteral("error")))
                std::printf("  %s\n",
                            qPrintable(FirstRow(handle.get(), aggregates[1], yearValues)));
        }
        // Each cold run and each bare reference on a connection of its own, opened in the run.
        auto opened = [&](const std::function<void(sqlite3*)>& work) {
            return [&, work] {
                Handle handle = OpenRaw(paths[i]);
                work(handle.get());
            };
        };
        Handle switching = OpenRaw(paths[i]);
        const std::vector<std::function<void()>> works{
            opened([&](sqlite3* h) { ReadExerciseHistory(h, yearSelection); }),
            opened([&](sqlite3* h) { RunBare(h, ExerciseHistoryStatements(), yearValues); }),
            opened([&](sqlite3* h) { RunBare(h, aggregates, yearValues); }),
            opened([&](sqlite3* h) {
                RunBare(h, {ExerciseHistoryStatements().front()}, yearValues, false);
            }),
            [&] { ReadExerciseHistory(switching.get(), yearSelection); },
            [&] { RunBare(switching.get(), {ExerciseHistoryStatements().back()}, yearValues); }};
        // The warm view is timed right after a switch to 3か月, which itself is not timed.
        auto medians = [&](bool processorTime) {
            std::vector<double> result;
            for (const auto& w : works) w();
            std::vector<std::vector<double>> samples(works.size());
            QElapsedTimer timer;
            for (int r = 0; r < kRepetitions; ++r) {
                for (std::size_t w = 0; w < works.size(); ++w) {
                    if (w == 4) ReadExerciseHistory(switching.get(), monthsSelection);
                    const double start = processorTime ? CpuMilliseconds() : 0;
                    timer.start();
                    works[w]();
                    samples[w].push_back(processorTime ? CpuMilliseconds() - start
                                                       : timer.nsecsElapsed() / 1e6);
                }
            }
            for (auto& s : samples) {
                std::sort(s.begin(), s.end());
                result.push_back(s[s.size() / 2]);
            }
            return result;
        };
        const std::vector<double> wall = medians(false);
        const std::vector<double> cpu = medians(true);
        std::printf("  %2d years (%6d sets):\n", years[i], CountSets(switching.get()));
        Compare("  cold (wall clock) / read's statements", wall[0], wall[1]);
        Compare("                    / engine's aggregates", wall[0], wall[2]);
        Compare("  cold (processor)  / read's statements", cpu[0], cpu[1]);
        Compare("                    / engine's aggregates", cpu[0], cpu[2]);
        std::printf("  %-44s %8.2f ms   (processor; the floor of any read of them)\n",
                    "  engine stepping the earlier sets only", cpu[3]);
        Compare("  warm (wall clock) / read's statements", wall[4], wall[1]);
        Compare("                    / the year's statement", wall[4], wall[5]);
        Compare("  warm (processor)  / read's statements", cpu[4], cpu[1]);
        Compare("                    / the year's statement", cpu[4], cpu[5]);
        const double weeks = MedianMilliseconds([&] { ReadWeeklySummary(switching.get(), year); });
        yearTimes[i] = wall[0] + weeks;
        std::printf("  %-44s %8.2f ms   (cold figures %.2f + weeks %.2f, wall clock)\n",
                    "  the 1年 view's reads", yearTimes[i], wall[0], weeks);
    }
    std::printf("  ratio 10 / 1 years (cold): %.2f\n", yearTimes[1] / yearTimes[0]);
    std::printf("  goal on ten years: figures <= 1.30 x the read's statements, and <= 10 ms\n\n");

    // An index on the exercise's sets holding the columns read, measured on a copy: the
    // program does not build it.
    const QString indexed = dir.filePath(QStringLiteral("indexed.sqlite3"));
    if (QFile::copy(paths[1], indexed)) {
        Handle handle = OpenRaw(indexed);
        sqlite3* h = handle.get();
        const qint64 before = QFileInfo(indexed).size();
        sqlite3_exec(h,
                     "create index bench_exercise_sets on t_exer(grp_cd, exer_cd, ymd, target,"
                     " unit_t, cnt, cnt_min, cnt_sec)",
                     nullptr, nullptr, nullptr);
        const qint64 after = QFileInfo(indexed).size();
        const std::vector<double> cpu =
            Medians({[&] {
                         Handle fresh = OpenRaw(indexed);  // cold: nothing held
                         ReadExerciseHistory(fresh.get(), yearSelection);
                     },
                     [&] {
                         Handle fresh = OpenRaw(indexed);
                         RunBare(fresh.get(), ExerciseHistoryStatements(), yearValues);
                     },
                     [&] { RunBare(h, {ExerciseHistoryStatements().front()}, yearValues, false); }},
                    true);
        std::printf(
            "\nWith an index on (group, exercise, day and the columns read), ten years:\n"
            "  file %.2f MiB -> %.2f MiB (+%.0f%%)\n",
            before / 1048576.0, after / 1048576.0, 100.0 * (after - before) / before);
        Compare("  cold (processor) / read's statements", cpu[0], cpu[1]);
        std::printf("  %-44s %8.2f ms\n", "  engine stepping the earlier sets only", cpu[2]);
        PrintPlan(h, ExerciseHistoryStatements().front());
    }
    return 0;
}
