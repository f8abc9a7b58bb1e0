// The メニュー window's plan on ten years of daily training (100,000 sets): a day of 8 items,
// its next day, targets, plates and warm-ups computed from the log and the lines filled, as
// after every 登録. Target: shown in at most 50 ms (median).
// Usage: routine_window_bench
#include <QApplication>
#include <cstdio>

#include "bench_support.h"
#include "routine_window/routine_window.h"
#include "routines/day_plan.h"
#include "routines/routine_store.h"
#include "support/temp_layout.h"

using namespace sorvenka;
using namespace sorvenka::bench;

namespace {

constexpr int kSets = 100000;
constexpr int kRounds = 31;

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::OpenDatabase env;
    if (!FillDailySets(env.layout.dbPath(), kSets)) {
        std::fprintf(stderr, "could not fill the database\n");
        return 1;
    }
    // Two routine days of 8 items each: the exercises of groups 01 and 02, double progression.
    sqlite3* db = env.db.connection();
    Routine routine;
    routine.name = QStringLiteral("全身");
    AddRoutine(db, routine);
    for (const char* grp : {"01", "02"}) {
        RoutineDay day;
        day.routineId = routine.id;
        day.name = QString::fromLatin1(grp);
        AddDay(db, day);
        for (int i = 0; i < 8; ++i) {
            RoutineItem item;
            item.dayId = day.id;
            item.grpCd = QString::fromLatin1(grp);
            item.exerCd = QStringLiteral("0%1").arg(1 + i % 4);
            item.rule = ProgressionRule::Double;
            item.startLoad = 40;
            AddItem(db, item);
        }
    }
    const QString day = FormatYmd(kLastDay);
    RoutineWindow window(
        RoutineContext{env.db, env.platform, [&day] { return day; }, [](const PlanFill&) {}});
    std::vector<double> shown, cpu;
    window.refreshPlan();
    for (int i = 0; i < kRounds; ++i) {
        double start = NowMs(CLOCK_MONOTONIC);
        const double startCpu = NowMs(CLOCK_THREAD_CPUTIME_ID);
        window.refreshPlan();
        shown.push_back(NowMs(CLOCK_MONOTONIC) - start);
        cpu.push_back(NowMs(CLOCK_THREAD_CPUTIME_ID) - startCpu);
    }
    // The core's computation alone, for where the time goes.
    RoutineBook book;
    ReadRoutineBook(db, book);
    std::vector<double> computed;
    for (int i = 0; i < kRounds; ++i) {
        const double start = NowMs(CLOCK_THREAD_CPUTIME_ID);
        const DayPlan plan = ComputeDayPlan(db, book, routine.id, day);
        computed.push_back(NowMs(CLOCK_THREAD_CPUTIME_ID) - start);
    }
    std::printf("%d sets; plan of %s: %d lines\n", kSets, qPrintable(day),
                window.tvPlan->topLevelItemCount());
    std::printf("plan shown, median of %d rounds: wall %.2f ms, cpu %.2f ms (target <= 50 ms)\n",
                kRounds, Median(shown), Median(cpu));
    std::printf("  of which the plan's computation: cpu %.2f ms\n", Median(computed));
    return 0;
}
