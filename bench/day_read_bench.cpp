// Times the read of one day's sets on a small and a large record table. The day read finds
// its rows through the primary key (ymd first), so its time should not grow with the table.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

#include "common/log.h"
#include "common/text_tests.h"
#include "db/database.h"
#include "db/first_database.h"
#include "db/record_reads.h"
#include "db/record_statements.h"
#include "support/scripted_platform.h"

using namespace sorvenka;

namespace {

constexpr int kSetsPerDay = 10;
constexpr int kRepetitions = 2000;
const QDate kFirstDay(1990, 1, 1);

using Handle = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

Handle OpenRaw(const QString& path) {
    sqlite3* raw = nullptr;
    sqlite3_open(path.toUtf8().constData(), &raw);
    return Handle(raw, &sqlite3_close);
}

// A realistic spread: several sets a day over many days, of several groups and exercises,
// some in count form and some in duration form.
bool FillSets(const QString& path, int sets) {
    Handle db = OpenRaw(path);
    if (sqlite3_exec(db.get(), "begin", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db.get(), "insert into t_exer values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &raw,
                       nullptr);
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> insert(raw, &sqlite3_finalize);
    for (int i = 0; i < sets; ++i) {
        const int day = i / kSetsPerDay, within = i % kSetsPerDay;
        const QByteArray ymd = FormatYmd(kFirstDay.addDays(day)).toUtf8();
        const QByteArray grp = QByteArray::number(1 + (day % 7)).rightJustified(2, '0');
        const QByteArray exer = QByteArray::number(1 + within / 4).rightJustified(2, '0');
        const int setNum = 1 + within % 4;
        const QByteArray start = QStringLiteral("%1:%2:00")
                                     .arg(7 + within / 6, 2, 10, QLatin1Char('0'))
                                     .arg((within * 9) % 60, 2, 10, QLatin1Char('0'))
                                     .toUtf8();
        const bool countForm = within % 4 != 3;
        sqlite3_bind_text(insert.get(), 1, ymd.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 2, grp.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 3, exer.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert.get(), 4, setNum);
        sqlite3_bind_text(insert.get(), 5, start.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 6, "", -1, SQLITE_STATIC);
        sqlite3_bind_double(insert.get(), 7, 40 + (i % 9) * 2.5);
        sqlite3_bind_text(insert.get(), 8, "kg", -1, SQLITE_STATIC);
        if (countForm) {
            sqlite3_bind_int(insert.get(), 9, 8 + i % 5);
            sqlite3_bind_text(insert.get(), 10, "回", -1, SQLITE_STATIC);
            sqlite3_bind_null(insert.get(), 11);
            sqlite3_bind_null(insert.get(), 12);
        } else {
            sqlite3_bind_null(insert.get(), 9);
            sqlite3_bind_text(insert.get(), 10, "", -1, SQLITE_STATIC);
            sqlite3_bind_int(insert.get(), 11, 1 + i % 20);
            sqlite3_bind_int(insert.get(), 12, (i * 7) % 60);
        }
        sqlite3_bind_text(insert.get(), 13, QByteArray::number(i % 5).constData(), -1,
                          SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 14, i % 3 ? "" : "フォーム確認 'good'", -1, SQLITE_STATIC);
        if (sqlite3_step(insert.get()) != SQLITE_DONE) return false;
        sqlite3_reset(insert.get());
    }
    return sqlite3_exec(db.get(), "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
}

void PrintQueryPlan(const QString& path, const QString& sql) {
    Handle db = OpenRaw(path);
    const QByteArray text = (QStringLiteral("explain query plan ") + sql).toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), text.constData(), -1, &raw, nullptr) != SQLITE_OK) {
        std::printf("  (plan not available: %s)\n", sqlite3_errmsg(db.get()));
        return;
    }
    while (sqlite3_step(raw) == SQLITE_ROW)
        std::printf("  %s\n", reinterpret_cast<const char*>(sqlite3_column_text(raw, 3)));
    sqlite3_finalize(raw);
}

struct Timing {
    double medianMicroseconds = 0;
    double meanMicroseconds = 0;
    int rows = 0;
};

Timing TimeDayRead(const QString& path, const QString& folder, const QString& ymd) {
    testing::ScriptedPlatform platform;
    Log log(platform, folder, QStringLiteral("bench"));
    Database db(platform, log);
    QString message;
    if (!db.open(path, message)) {
        std::printf("cannot open %s\n", qPrintable(path));
        return {};
    }
    Timing timing;
    for (int i = 0; i < 50; ++i) DBSelectDayExer(db, ymd, 0, QString(), QString());  // warm-up
    std::vector<double> samples;
    samples.reserve(kRepetitions);
    QElapsedTimer timer;
    for (int i = 0; i < kRepetitions; ++i) {
        timer.start();
        const ResultTable table = DBSelectDayExer(db, ymd, 0, QString(), QString());
        samples.push_back(timer.nsecsElapsed() / 1000.0);
        timing.rows = UpperBound(table);
    }
    std::sort(samples.begin(), samples.end());
    timing.medianMicroseconds = samples[samples.size() / 2];
    timing.meanMicroseconds =
        std::accumulate(samples.begin(), samples.end(), 0.0) / static_cast<double>(samples.size());
    return timing;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const int sizes[] = {1000, 100000};
    Timing timings[2];
    for (int n = 0; n < 2; ++n) {
        const int sets = sizes[n];
        const QString path = dir.filePath(QStringLiteral("exercise_%1.sqlite3").arg(sets));
        QString error;
        if (!CreateFirstDatabase(path, error) || !FillSets(path, sets)) {
            std::printf("cannot build the database of %d sets: %s\n", sets, qPrintable(error));
            return 1;
        }
        // A day in the middle of the recorded period.
        const int days = sets / kSetsPerDay;
        const QString ymd = FormatYmd(kFirstDay.addDays(days / 2));
        std::printf("Query plan of the day read (%d sets):\n", sets);
        PrintQueryPlan(path, SelectDayExerSql(ymd, 0, QString(), QString()));
        timings[n] = TimeDayRead(path, dir.path(), ymd);
        std::printf(
            "%6d sets over %5d days, day %s (%d rows): median %.1f us, mean %.1f us "
            "(%d repetitions)\n\n",
            sets, days, qPrintable(ymd), timings[n].rows, timings[n].medianMicroseconds,
            timings[n].meanMicroseconds, kRepetitions);
    }
    std::printf("ratio 100000 / 1000 sets: median %.2f, mean %.2f\n",
                timings[1].medianMicroseconds / timings[0].medianMicroseconds,
                timings[1].meanMicroseconds / timings[0].meanMicroseconds);
    return 0;
}
