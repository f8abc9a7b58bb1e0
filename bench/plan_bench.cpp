// The day's plan of a routine day of 8 items on ten years and more of daily training (100,000
// sets): the due day read from the log, every item's sessions walked for its progression, the
// sets done on the day, names, plates and warm-ups, against the bare engine running the same
// statements with the same values and reading every cell by its type. Rounds in turn, so that
// both meet the same load; wall and CPU medians; target at most 1.3x and at most 50 ms shown.
// Usage: plan_bench
#include <sqlite3.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <string>

#include "bench_support.h"
#include "db/first_database.h"
#include "routines/day_plan.h"
#include "routines/plan_text.h"
#include "routines/routine_store.h"

using namespace sorvenka;
using namespace sorvenka::bench;

namespace {

constexpr int kSets = 100000;
constexpr int kRounds = 31;

// Two days of 8 items: the four exercises of groups 01 and 03 (a day), of 02 and 04 (the other).
const char* const kDayA[8][2] = {{"01", "01"}, {"01", "02"}, {"01", "03"}, {"01", "04"},
                                 {"03", "01"}, {"03", "02"}, {"03", "03"}, {"03", "04"}};
const char* const kDayB[8][2] = {{"02", "01"}, {"02", "02"}, {"02", "03"}, {"02", "04"},
                                 {"04", "01"}, {"04", "02"}, {"04", "03"}, {"04", "04"}};

// Steps a statement to its end reading every cell by its type; the first text of the first row.
std::string StepAll(sqlite3_stmt* raw) {
    std::string first;
    volatile double sink = 0;
    const int columns = sqlite3_column_count(raw);
    while (sqlite3_step(raw) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(raw, c)) {
                case SQLITE_INTEGER:
                    sink = sink + static_cast<double>(sqlite3_column_int64(raw, c));
                    break;
                case SQLITE_FLOAT:
                    sink = sink + sqlite3_column_double(raw, c);
                    break;
                case SQLITE_NULL:
                    break;
                default: {
                    const unsigned char* text = sqlite3_column_text(raw, c);
                    if (first.empty() && text) first = reinterpret_cast<const char*>(text);
                    sink = sink + sqlite3_column_bytes(raw, c);
                }
            }
        }
    }
    return first;
}

std::string Run(sqlite3* db, const std::string& sql, const std::vector<std::string>& values) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    Statement statement(raw, &sqlite3_finalize);
    for (std::size_t i = 0; i < values.size(); ++i)
        sqlite3_bind_text(raw, static_cast<int>(i) + 1, values[i].c_str(), -1, SQLITE_STATIC);
    return StepAll(raw);
}

// The plan's statements, by the bare engine: the routines, the due day (the date's exercises,
// each routine exercise's last day), the items' sessions, the day's counts, names, warm-ups and
// plates.
void Bare(sqlite3* db, const std::string& day) {
    Run(db,
        "select count(*) from sqlite_master where type = 'table' and name in ('s_routine',"
        " 's_routine_day', 's_routine_item', 's_plate_bar', 's_plate')",
        {});
    Run(db, "select id, name, order_id, schedule from s_routine order by order_id, id", {});
    Run(db,
        "select d.id, d.routine_id, d.name, d.order_id, d.weekdays from s_routine_day d join"
        " s_routine r on r.id = d.routine_id order by r.order_id, r.id, d.order_id, d.id",
        {});
    Run(db,
        "select i.* from (select * from s_routine_item) i join s_routine_day d on d.id ="
        " i.day_id join s_routine r on r.id = d.routine_id order by r.order_id, r.id,"
        " d.order_id, d.id, i.order_id, i.id",
        {});
    Run(db, "SELECT DISTINCT grp_cd, exer_cd FROM t_exer WHERE ymd = ?1", {day});
    for (const auto* days : {kDayA, kDayB})
        for (int i = 0; i < 8; ++i)
            Run(db,
                "SELECT ymd FROM t_exer WHERE ymd < ?3 AND grp_cd = ?1 AND exer_cd = ?2"
                " ORDER BY ymd DESC LIMIT 1",
                {days[i][0], days[i][1], day});
    std::string sessions = "SELECT grp_cd, exer_cd, " SESSION_SET_COLUMNS
                           " FROM t_exer WHERE ymd >= ?1 AND ymd < ?2"
                           " AND (grp_cd, exer_cd) IN (VALUES ";
    std::vector<std::string> values{"", day};
    for (int i = 0; i < 8; ++i) {
        sessions += (i ? ",(?" : "(?") + std::to_string(2 * i + 3) + ", ?" +
                    std::to_string(2 * i + 4) + ")";
        values.push_back(kDayA[i][0]);
        values.push_back(kDayA[i][1]);
    }
    Run(db, sessions + ") ORDER BY ymd, set_num", values);
    Run(db, "SELECT grp_cd, exer_cd, count(*) FROM t_exer WHERE ymd = ?1 GROUP BY grp_cd, exer_cd",
        {day});
    Run(db, "select 1 from sqlite_master where type = 'table' and name = ?1", {"s_warmup"});
    for (int i = 0; i < 8; ++i)
        Run(db,
            "SELECT g.grp_name, e.exer_name FROM m_exer e JOIN m_grp g ON g.grp_cd = e.grp_cd"
            " WHERE e.grp_cd = ?1 AND e.exer_cd = ?2",
            {kDayA[i][0], kDayA[i][1]});
    Run(db, "select bar from s_plate_bar where unit = ?1", {"kg"});
}

bool StoreRoutine(sqlite3* db, qint64& routineId) {
    Routine routine{0, QStringLiteral("2分割"), 0, Schedule::Rotation};
    if (!AddRoutine(db, routine)) return false;
    routineId = routine.id;
    for (const auto* days : {kDayA, kDayB}) {
        RoutineDay day{0, routine.id, days == kDayA ? QStringLiteral("A") : QStringLiteral("B"), 0,
                       0};
        if (!AddDay(db, day)) return false;
        for (int i = 0; i < 8; ++i) {
            RoutineItem item;
            item.dayId = day.id;
            item.grpCd = QString::fromLatin1(days[i][0]);
            item.exerCd = QString::fromLatin1(days[i][1]);
            item.rule = i % 2 ? ProgressionRule::Double : ProgressionRule::Linear;
            item.startLoad = 40;
            if (i >= 6) item.superset = QStringLiteral("s");
            if (!AddItem(db, item)) return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/exercise.sqlite3");
    QString message;
    if (!CreateFirstDatabase(path, message)) {
        std::fprintf(stderr, "first database: %s\n", qPrintable(message));
        return 1;
    }
    if (!FillDailySets(path, kSets)) {
        std::fprintf(stderr, "could not fill the database\n");
        return 1;
    }
    Handle db = OpenRaw(path);
    qint64 routineId = 0;
    if (!StoreRoutine(db.get(), routineId)) {
        std::fprintf(stderr, "could not store the routine\n");
        return 1;
    }
    // The day after the last: day B's groups (02, 04) are not trained on every weekday, so
    // the due day may be either; the plan is computed for day A, chosen, as the window may.
    const QString day = FormatYmd(kLastDay.addDays(1));
    const std::string dayBytes = day.toStdString();
    RoutineBook book;
    ReadRoutineBook(db.get(), book);
    const qint64 dayA = book.daysOf(routineId).front().id;
    auto ours = [&] {
        RoutineBook read;
        ReadRoutineBook(db.get(), read);
        const DayPlan plan = ComputeDayPlan(db.get(), read, routineId, day, dayA);
        volatile std::size_t sink = plan.items.size() + plan.lines.size();
        (void)sink;
    };
    {
        const DayPlan plan = ComputeDayPlan(db.get(), book, routineId, day, dayA);
        std::size_t sessions = 0;
        for (const ItemPlan& item : plan.items) sessions += item.target.fromLog ? 1 : 0;
        std::printf("%d sets; day A of %zu items, %zu lines, %zu with a last session\n", kSets,
                    plan.items.size(), plan.lines.size(), sessions);
        const QStringList lines = PlanTextLines(plan, book, day);
        for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), 6); ++i)
            std::printf("  %s\n", qPrintable(lines[i]));
    }
    const Medians wall = InTurn(
        kRounds, ours, [&] { Bare(db.get(), dayBytes); }, CLOCK_MONOTONIC);
    const Medians cpu = InTurn(
        kRounds, ours, [&] { Bare(db.get(), dayBytes); }, CLOCK_THREAD_CPUTIME_ID);
    std::printf("plan of the day, medians of %d rounds taken in turn\n", kRounds);
    std::printf(
        "  wall: ours %7.2f ms  bare engine %7.2f ms  ratio %.2f (target <= 1.30, <= 50 ms)\n",
        wall.ours, wall.bare, wall.ours / wall.bare);
    std::printf("  cpu:  ours %7.2f ms  bare engine %7.2f ms  ratio %.2f (target <= 1.30)\n",
                cpu.ours, cpu.bare, cpu.ours / cpu.bare);
    std::printf("load: %s", [] {
        static char line[128] = "";
        if (FILE* f = std::fopen("/proc/loadavg", "r")) {
            if (!std::fgets(line, sizeof(line), f)) line[0] = 0;
            std::fclose(f);
        }
        return line;
    }());
    return 0;
}
