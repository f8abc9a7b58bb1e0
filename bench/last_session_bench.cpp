// The 前回 panel's read of one exercise on ten years of daily training (73,000 sets): the
// sets stored on the day, the last session and its sets, the exercise's records and the day's
// last finish, against the bare engine running the same statements with the same values and
// reading every cell by its type. Rounds in turn, so that both meet the same load; wall and
// CPU medians; target at most 1.3x. Also the whole panel (its lists filled) for reference.
// Usage: last_session_bench
#include <sqlite3.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <string>

#include "bench_support.h"
#include "db/first_database.h"
#include "last_session/last_session.h"
#include "last_session/personal_bests.h"
#include "last_session/rest_clock.h"
#include "last_session_window/last_session_panel.h"
#include "support/scripted_platform.h"

using namespace sorvenka;
using namespace sorvenka::bench;

namespace {

constexpr int kSets = 73000;
constexpr int kRounds = 41;

const char* const kGrp = "03";
const char* const kExer = "01";

// Steps a statement to its end, reading every cell by its type as a program would; returns the
// first cell of the first row as text (the last day of the second statement).
std::string StepAll(sqlite3* db, const char* sql, const std::string& day) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    Statement statement(raw, &sqlite3_finalize);
    const int parameters = sqlite3_bind_parameter_count(raw);
    const char* values[] = {kGrp, kExer, day.c_str()};
    for (int i = 0; i < parameters && i < 3; ++i)
        sqlite3_bind_text(raw, i + 1, values[i], -1, SQLITE_STATIC);
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
                    if (first.empty() && c == 0 && text)
                        first = reinterpret_cast<const char*>(text);
                    sink = sink + sqlite3_column_bytes(raw, c);
                }
            }
        }
    }
    return first;
}

// The same statements as the panel's read, by the bare engine.
void Bare(sqlite3* db, const std::string& day) {
    const auto& session = LastSessionStatements();  // stored on the day, last day, its sets
    StepAll(db, session[0], day);
    const std::string last = StepAll(db, session[1], day);
    StepAll(db, session[2], last);
    for (const char* sql : PersonalBestsStatements()) StepAll(db, sql, day);
    // The day's last finish: its first row is the answer.
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT hms_end FROM t_exer WHERE ymd = ?1 AND hms_end GLOB "
                       "'[0-2][0-9]:[0-5][0-9]:[0-5][0-9]' ORDER BY hms_end DESC",
                       -1, &raw, nullptr);
    Statement statement(raw, &sqlite3_finalize);
    sqlite3_bind_text(raw, 1, day.c_str(), -1, SQLITE_STATIC);
    if (sqlite3_step(raw) == SQLITE_ROW) (void)sqlite3_column_text(raw, 0);
}

void Ours(sqlite3* db, const QString& day) {
    const LastSession session =
        ReadLastSession(db, QString::fromLatin1(kGrp), QString::fromLatin1(kExer), day);
    const PersonalBests records =
        ReadPersonalBests(db, QString::fromLatin1(kGrp), QString::fromLatin1(kExer));
    const auto finish = ReadLastFinish(db, day);
    volatile std::size_t sink = session.sets.size() + records.bests.notANumber + finish.has_value();
    (void)sink;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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
    const QString day = FormatYmd(kLastDay.addDays(1));
    const std::string dayBytes = day.toStdString();

    const LastSession session =
        ReadLastSession(db.get(), QString::fromLatin1(kGrp), QString::fromLatin1(kExer), day);
    const PersonalBests records =
        ReadPersonalBests(db.get(), QString::fromLatin1(kGrp), QString::fromLatin1(kExer));
    std::printf("%d sets; exercise %s_%s: last session %s with %zu sets, %zu record lines\n", kSets,
                kGrp, kExer, qPrintable(session.ymd), session.sets.size(),
                static_cast<std::size_t>(RecordLines(records.bests).size()));

    const Medians wall = InTurn(
        kRounds, [&] { Ours(db.get(), day); }, [&] { Bare(db.get(), dayBytes); }, CLOCK_MONOTONIC);
    const Medians cpu = InTurn(
        kRounds, [&] { Ours(db.get(), day); }, [&] { Bare(db.get(), dayBytes); },
        CLOCK_THREAD_CPUTIME_ID);
    std::printf("panel read, medians of %d rounds taken in turn\n", kRounds);
    std::printf("  wall: ours %7.2f ms  bare engine %7.2f ms  ratio %.2f (target <= 1.30)\n",
                wall.ours, wall.bare, wall.ours / wall.bare);
    std::printf("  cpu:  ours %7.2f ms  bare engine %7.2f ms  ratio %.2f (target <= 1.30)\n",
                cpu.ours, cpu.bare, cpu.ours / cpu.bare);

    // The whole panel, lists and labels filled, for reference.
    testing::ScriptedPlatform platform;
    LastSessionPanel panel([&db] { return db.get(); }, platform,
                           dir.path() + QStringLiteral("/rest.txt"), QString());
    std::vector<double> shown;
    for (int i = 0; i < kRounds; ++i) {
        const double start = NowMs(CLOCK_MONOTONIC);
        panel.showFor(day, QString::fromLatin1(kGrp), QString::fromLatin1(kExer));
        shown.push_back(NowMs(CLOCK_MONOTONIC) - start);
    }
    std::printf("  whole panel shown (lists filled): %.2f ms\n", Median(shown));
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
