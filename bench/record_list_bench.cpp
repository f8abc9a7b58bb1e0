// Rebuilds of the record list in the real window against the bare engine:
//  1. 52 weeks on ten years of daily training (73,000 sets), on the first database and on one
//     whose master tables have no keys, against the same 364 statements run by a separate
//     process straight through SQLite (sqlite3_open16, sqlite3_prepare16_v2, every row
//     stepped, every cell read as text); rounds taken in turn; target at most 1.3x.
//  2. the memory of the longest list, and after going back to one week.
//  3. one week on 100,000 sets against one week on 1,000 sets; target within 1.5x.
// Usage: record_list_bench (the bare side runs as "record_list_bench --bare <database>").
#include <malloc.h>

#include <QApplication>
#include <QProcess>
#include <cstdio>
#include <iostream>
#include <string>

#include "bench_support.h"
#include "db/record_statements.h"
#include "main_window/main_window.h"
#include "record_list/record_period.h"
#include "support/temp_layout.h"

using namespace sorvenka;
using namespace sorvenka::bench;

namespace {

constexpr int kRounds = 15;
constexpr int kDays = 364;

std::vector<QString> DayStatements() {
    std::vector<QString> statements;
    for (int back = 0; back < kDays; ++back)
        statements.push_back(SelectDayExerSql(FormatYmd(kLastDay.addDays(-back)), 0, {}, {}));
    return statements;
}

// The same statements straight through the engine: prepare, step every row, read every cell
// as text. Not inlined, so that a profiler can count it alone.
[[gnu::noinline]] long long BarePass(sqlite3* db, const std::vector<QString>& statements) {
    long long cells = 0;
    for (const QString& sql : statements) {
        sqlite3_stmt* raw = nullptr;
        sqlite3_prepare16_v2(db, sql.utf16(), static_cast<int>(sql.size() * 2), &raw, nullptr);
        Statement statement(raw, &sqlite3_finalize);
        const int columns = sqlite3_column_count(raw);
        while (sqlite3_step(raw) == SQLITE_ROW)
            for (int c = 0; c < columns; ++c)
                if (sqlite3_column_text(raw, c)) ++cells;
    }
    return cells;
}

// The bare side: one pass per "run" line on its input, its cost printed on one line.
int RunBareSide(const QString& path) {
    Handle db = OpenRaw(path);
    const std::vector<QString> statements = DayStatements();
    InstructionCounter counter;
    long long cells = 0;
    std::string command;
    while (std::getline(std::cin, command) && command == "run") {
        const Cost cost = Measure(counter, [&] { cells += BarePass(db.get(), statements); });
        std::printf("%f %f %f %ld %lld\n", cost.wallMs, cost.cpuMs, cost.instructions,
                    cost.minorFaults, cells);
        std::fflush(stdout);
    }
    return 0;
}

class BareProcess {
  public:
    BareProcess(const QString& program, const QString& path) {
        process_.start(program, {QStringLiteral("--bare"), path});
        process_.waitForStarted();
    }
    ~BareProcess() {
        process_.closeWriteChannel();
        process_.waitForFinished(10000);
    }
    Cost run() {
        process_.write("run\n");
        while (!process_.canReadLine()) process_.waitForReadyRead(60000);
        const QList<QByteArray> f = process_.readLine().simplified().split(' ');
        Cost cost;
        if (f.size() < 4) return cost;
        cost.wallMs = f[0].toDouble();
        cost.cpuMs = f[1].toDouble();
        cost.instructions = f[2].toDouble();
        cost.minorFaults = f[3].toLong();
        return cost;
    }

  private:
    QProcess process_;
};

// A window started on the database, showing the weeks ending at kLastDay.
struct ListWindow {
    ListWindow(testing::OpenDatabase& env, const QString& weeks)
        : window({env.db, env.platform, env.layout.dbPath(), env.layout.base(),
                  QStringLiteral("Valdrome")}) {
        window.Form_Load();
        window.show();
        QApplication::processEvents();
        window.txtWeekNum->setText(weeks);
        window.txtYmd->setText(FormatYmd(kLastDay));
        QApplication::processEvents();
    }
    Cost rebuild(InstructionCounter& counter) {
        const Cost cost = Measure(counter, [this] { window.RefreshRecordList(); });
        QApplication::processEvents();  // the list is painted between rebuilds, as on screen
        return cost;
    }
    MainWindow window;
};

struct Series {
    std::vector<double> wall, cpu, instructions, faults;
    void add(const Cost& c) {
        wall.push_back(c.wallMs);
        cpu.push_back(c.cpuMs);
        instructions.push_back(c.instructions);
        faults.push_back(static_cast<double>(c.minorFaults));
    }
};

void CompareWithBare(const char* label, bool keylessMasters, InstructionCounter& counter) {
    testing::OpenDatabase env;
    if (!FillDailySets(env.layout.dbPath(), 73000) ||
        (keylessMasters && !DropMasterKeys(env.layout.dbPath()))) {
        std::printf("cannot fill the database\n");
        return;
    }
    ListWindow list(env, QStringLiteral("52"));
    BareProcess bare(QCoreApplication::applicationFilePath(), env.layout.dbPath());
    Series window, engine;
    for (int round = 0; round <= kRounds; ++round) {
        const Cost w = list.rebuild(counter);
        const Cost b = bare.run();
        if (round == 0) continue;  // warm-up
        window.add(w);
        engine.add(b);
    }
    std::printf("%s: 52 weeks, 73000 sets (%d lines), medians of %d rounds taken in turn\n", label,
                list.window.lstRecord->count(), kRounds);
    std::printf("  %-28s %10s %10s %14s %12s\n", "", "wall ms", "cpu ms", "instructions",
                "minor faults");
    auto row = [](const char* name, const Series& s) {
        std::printf("  %-28s %10.2f %10.2f %14.0f %12.0f\n", name, Median(s.wall), Median(s.cpu),
                    Median(s.instructions), Median(s.faults));
    };
    row("window rebuild", window);
    row("bare engine (own process)", engine);
    std::printf("  ratio window / bare: wall %.2f, cpu %.2f",
                Median(window.wall) / Median(engine.wall), Median(window.cpu) / Median(engine.cpu));
    if (counter.available())
        std::printf(", instructions %.2f",
                    Median(window.instructions) / Median(engine.instructions));
    std::printf(" (target <= 1.30)\n\n");
}

void MemoryAfterLongList() {
    testing::OpenDatabase env;
    if (!FillDailySets(env.layout.dbPath(), 73000)) return;
    ListWindow list(env, QStringLiteral("1"));
    list.window.RefreshRecordList();
    QApplication::processEvents();
    const double oneWeek = ResidentMiB();
    list.window.txtWeekNum->setText(QString::number(kMaxListedWeeks));
    const double start = NowMs(CLOCK_MONOTONIC);
    list.window.RefreshRecordList();
    QApplication::processEvents();
    const double longestMs = NowMs(CLOCK_MONOTONIC) - start;
    const int longestLines = list.window.lstRecord->count();
    const double longest = ResidentMiB();
    list.window.txtWeekNum->setText(QStringLiteral("1"));
    list.window.RefreshRecordList();
    QApplication::processEvents();
    const double back = ResidentMiB();
    const struct mallinfo2 heap = mallinfo2();
    std::printf(
        "heap after going back: arena %.1f MiB, in use %.1f MiB, free %.1f MiB, mapped %.1f MiB\n",
        heap.arena / 1048576.0, heap.uordblks / 1048576.0, heap.fordblks / 1048576.0,
        heap.hblkhd / 1048576.0);
    std::printf(
        "Memory (resident): 1 week %.1f MiB; %d weeks (%d lines, %.0f ms) %.1f MiB; "
        "back to 1 week %.1f MiB (%.0f%% of the 1-week figure, target <= 110%%)\n\n",
        oneWeek, kMaxListedWeeks, longestLines, longestMs, longest, back, 100.0 * back / oneWeek);
}

void SmallAgainstLarge(InstructionCounter& counter) {
    testing::OpenDatabase small, large;
    if (!FillDailySets(small.layout.dbPath(), 1000) ||
        !FillDailySets(large.layout.dbPath(), 100000)) {
        std::printf("cannot fill the databases\n");
        return;
    }
    ListWindow smallList(small, QStringLiteral("1")), largeList(large, QStringLiteral("1"));
    Series s, l;
    for (int round = 0; round <= kRounds * 10; ++round) {
        const Cost a = smallList.rebuild(counter);
        const Cost b = largeList.rebuild(counter);
        if (round == 0) continue;
        s.add(a);
        l.add(b);
    }
    std::printf(
        "1 week (%d lines), %d rounds: median %.3f ms on 1000 sets, %.3f ms on 100000 "
        "sets; ratio %.2f (target <= 1.50)\n",
        smallList.window.lstRecord->count(), kRounds * 10, Median(s.wall), Median(l.wall),
        Median(l.wall) / Median(s.wall));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--bare") {
        QCoreApplication app(argc, argv);
        return RunBareSide(QString::fromLocal8Bit(argv[2]));
    }
    // Runs on a machine without a display too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstructionCounter counter;
    if (argc == 2 && std::string(argv[1]) == "--profile") {
        // A few rebuilds and bare passes, for a profiler (callgrind --toggle-collect on
        // RefreshRecordList or BarePass).
        testing::OpenDatabase env;
        if (!FillDailySets(env.layout.dbPath(), 73000) || !DropMasterKeys(env.layout.dbPath()))
            return 1;
        ListWindow list(env, QStringLiteral("52"));
        Handle db = OpenRaw(env.layout.dbPath());
        const std::vector<QString> statements = DayStatements();
        for (int round = 0; round < 3; ++round) {
            list.rebuild(counter);
            BarePass(db.get(), statements);
        }
        return 0;
    }
    if (!counter.available())
        std::printf(
            "Instruction counters not available here (perf_event_open: %s); CPU times and "
            "minor page faults stand in for them.\n\n",
            counter.error());
    if (argc == 2 && std::string(argv[1]) == "--memory") {
        MemoryAfterLongList();
        return 0;
    }
    CompareWithBare("First database", false, counter);
    CompareWithBare("Master tables without keys", true, counter);
    MemoryAfterLongList();
    SmallAgainstLarge(counter);
    return 0;
}
