// Times rebuilds of the record list in the real window:
//  1. 52 weeks on ten years of daily training (~70,000 sets) against the bare time of the same
//     364 day queries run through SQLite directly (same statement text); target at most 2x.
//  2. one week on 100,000 sets against one week on 1,000 sets; target within 1.5x.
#include <sqlite3.h>

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "common/text_tests.h"
#include "db/record_reads.h"
#include "db/record_statements.h"
#include "records/record_period.h"
#include "support/temp_layout.h"
#include "window/main_window.h"

using namespace sorvenka;

namespace {

constexpr int kRepetitions = 15;
const QDate kLastDay(2024, 5, 14);

using Handle = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Handle OpenRaw(const QString& path) {
    sqlite3* raw = nullptr;
    sqlite3_open(path.toUtf8().constData(), &raw);
    return Handle(raw, &sqlite3_close);
}

// Daily training ending at kLastDay: 19 or 20 sets a day of four exercises of the day's group,
// timed, mostly in count form, every fifth set with a comment (some of two lines).
bool FillDailySets(const QString& path, int sets) {
    Handle db = OpenRaw(path);
    if (sqlite3_exec(db.get(), "begin", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db.get(), "insert into t_exer values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &raw,
                       nullptr);
    Statement insert(raw, &sqlite3_finalize);
    int stored = 0;
    for (int back = 0; stored < sets; ++back) {
        const QDate day = kLastDay.addDays(-back);
        const QByteArray ymd = FormatYmd(day).toUtf8();
        const QByteArray grp = QByteArray::number(1 + day.dayOfWeek() % 7).rightJustified(2, '0');
        const int today = std::min(sets - stored, 19 + back % 2);
        for (int i = 0; i < today; ++i, ++stored) {
            const QByteArray exer = QByteArray::number(1 + i / 5).rightJustified(2, '0');
            const int minute = 7 * 60 + i * 3;
            const QByteArray start = QStringLiteral("%1:%2:00")
                                         .arg(minute / 60, 2, 10, QLatin1Char('0'))
                                         .arg(minute % 60, 2, 10, QLatin1Char('0'))
                                         .toUtf8();
            const QByteArray end = QStringLiteral("%1:%2:40")
                                       .arg((minute + 1) / 60, 2, 10, QLatin1Char('0'))
                                       .arg((minute + 1) % 60, 2, 10, QLatin1Char('0'))
                                       .toUtf8();
            const bool countForm = i % 6 != 5;
            sqlite3_bind_text(insert.get(), 1, ymd.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert.get(), 2, grp.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert.get(), 3, exer.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert.get(), 4, 1 + i % 5);
            sqlite3_bind_text(insert.get(), 5, start.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert.get(), 6, end.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert.get(), 7, 40 + (stored % 9) * 2.5);
            sqlite3_bind_text(insert.get(), 8, "kg", -1, SQLITE_STATIC);
            if (countForm) {
                sqlite3_bind_int(insert.get(), 9, 8 + stored % 5);
                sqlite3_bind_text(insert.get(), 10, "回", -1, SQLITE_STATIC);
                sqlite3_bind_null(insert.get(), 11);
                sqlite3_bind_null(insert.get(), 12);
            } else {
                sqlite3_bind_null(insert.get(), 9);
                sqlite3_bind_null(insert.get(), 10);
                sqlite3_bind_int(insert.get(), 11, 1 + stored % 20);
                sqlite3_bind_int(insert.get(), 12, (stored * 7) % 60);
            }
            sqlite3_bind_text(insert.get(), 13, QByteArray::number(stored % 5).constData(), -1,
                              SQLITE_TRANSIENT);
            const char* comment = i % 5    ? nullptr
                                  : i % 10 ? "フォーム確認"
                                           : "重め\r\n次回は 2.5kg 上げる";
            if (comment)
                sqlite3_bind_text(insert.get(), 14, comment, -1, SQLITE_STATIC);
            else
                sqlite3_bind_null(insert.get(), 14);
            if (sqlite3_step(insert.get()) != SQLITE_DONE) return false;
            sqlite3_reset(insert.get());
        }
    }
    return sqlite3_exec(db.get(), "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double Minimum(const std::vector<double>& samples) {
    return *std::min_element(samples.begin(), samples.end());
}

double Milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// The day queries as the list runs them, straight through the C interface: prepare the same
// statement text, step every row and read every cell as text.
class BareDayQueries {
  public:
    BareDayQueries(const QString& path, int days) : db_(OpenRaw(path)) {
        for (int back = 0; back < days; ++back)
            statements_.push_back(SelectDayExerSql(FormatYmd(kLastDay.addDays(-back)), 0, {}, {}));
    }
    void run() {
        for (const QString& sql : statements_) {
            sqlite3_stmt* raw = nullptr;
            sqlite3_prepare16_v2(db_.get(), sql.utf16(), static_cast<int>(sql.size() * 2), &raw,
                                 nullptr);
            Statement statement(raw, &sqlite3_finalize);
            const int columns = sqlite3_column_count(raw);
            while (sqlite3_step(raw) == SQLITE_ROW)
                for (int c = 0; c < columns; ++c)
                    if (sqlite3_column_text(raw, c)) ++cells_;
        }
    }

  private:
    Handle db_;
    std::vector<QString> statements_;
    long long cells_ = 0;
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
    }
    double rebuild() {
        const double ms = Milliseconds([this] { window.RefreshRecordList(); });
        QApplication::processEvents();  // the list is painted between rebuilds, as on screen
        return ms;
    }
    MainWindow window;
};

// Rounds of the rebuild and of the bare queries, taken in turn so that a busy machine slows
// both alike; the first round warms up.
struct Figures {
    std::vector<double> rebuild, bare, layer;
};

void PrintFigures(const char* label, const std::vector<double>& samples) {
    std::printf("  %-48s median %8.3f ms, best %8.3f ms\n", label, Median(samples),
                Minimum(samples));
}

}  // namespace

int main(int argc, char** argv) {
    // Runs on a machine without a display too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    {
        testing::OpenDatabase env;
        if (!FillDailySets(env.layout.dbPath(), 70000)) {
            std::printf("cannot fill the database\n");
            return 1;
        }
        ListWindow list(env, QStringLiteral("52"));
        BareDayQueries bare(env.layout.dbPath(), 364);
        std::vector<QString> days;
        for (int back = 0; back < 364; ++back) days.push_back(FormatYmd(kLastDay.addDays(-back)));
        Figures f;
        for (int round = 0; round <= kRepetitions; ++round) {
            const double rebuild = list.rebuild();
            const double direct = Milliseconds([&] { bare.run(); });
            const double layer = Milliseconds([&] {
                for (const QString& day : days) DBSelectDayExer(env.db, day, 0, {}, {});
            });
            if (round == 0) continue;
            f.rebuild.push_back(rebuild);
            f.bare.push_back(direct);
            f.layer.push_back(layer);
        }
        std::printf("52 weeks on 70000 sets (%d lines), %d rounds:\n",
                    list.window.lstRecord->count(), kRepetitions);
        PrintFigures("rebuild of the record list", f.rebuild);
        PrintFigures("the 364 day queries through SQLite directly", f.bare);
        PrintFigures("the 364 day reads through the database layer", f.layer);
        std::printf("  ratio rebuild / bare queries: median %.2f, best %.2f (target <= 2.00)\n",
                    Median(f.rebuild) / Median(f.bare), Minimum(f.rebuild) / Minimum(f.bare));

        // The longest period a typed week count can ask for.
        list.window.txtWeekNum->setText(QString::number(kMaxListedWeeks));
        const double longest = list.rebuild();
        std::printf("  the longest period, %d weeks (%d lines): %.0f ms\n\n", kMaxListedWeeks,
                    list.window.lstRecord->count(), longest);
    }

    // One week on a small and on a large table, in turn.
    testing::OpenDatabase small, large;
    if (!FillDailySets(small.layout.dbPath(), 1000) ||
        !FillDailySets(large.layout.dbPath(), 100000)) {
        std::printf("cannot fill the databases\n");
        return 1;
    }
    ListWindow smallList(small, QStringLiteral("1")), largeList(large, QStringLiteral("1"));
    std::vector<double> smallTimes, largeTimes;
    for (int round = 0; round <= kRepetitions * 10; ++round) {
        const double s = smallList.rebuild();
        const double l = largeList.rebuild();
        if (round == 0) continue;
        smallTimes.push_back(s);
        largeTimes.push_back(l);
    }
    std::printf("1 week (%d lines), %d rounds:\n", smallList.window.lstRecord->count(),
                kRepetitions * 10);
    PrintFigures("rebuild on   1000 sets", smallTimes);
    PrintFigures("rebuild on 100000 sets", largeTimes);
    std::printf("  ratio 100000 / 1000 sets: median %.2f, best %.2f (target <= 1.50)\n",
                Median(largeTimes) / Median(smallTimes), Minimum(largeTimes) / Minimum(smallTimes));
    return 0;
}
