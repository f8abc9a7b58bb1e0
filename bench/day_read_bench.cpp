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

// One side of the comparison: its own connection and the day it reads.
struct Side {
    Side(const QString& path, const QString& folder, const QString& day)
        : log(platform, folder, QStringLiteral("bench")), db(platform, log), ymd(day) {
        QString message;
        opened = db.open(path, message);
    }
    double readMicroseconds() {
        QElapsedTimer timer;
        timer.start();
        const ResultTable table = DBSelectDayExer(db, ymd, 0, QString(), QString());
        const double us = timer.nsecsElapsed() / 1000.0;
        rows = UpperBound(table);
        return us;
    }
    testing::ScriptedPlatform platform;
    Log log;
    Database db;
    QString ymd;
    bool opened = false;
    int rows = 0;
    std::vector<double> samples;
};

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double Mean(const std::vector<double>& samples) {
    return std::accumulate(samples.begin(), samples.end(), 0.0) /
           static_cast<double>(samples.size());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const int sizes[] = {1000, 100000};
    std::vector<std::unique_ptr<Side>> sides;
    for (const int sets : sizes) {
        const QString path = dir.filePath(QStringLiteral("exercise_%1.sqlite3").arg(sets));
        QString error;
        if (!CreateFirstDatabase(path, error) || !FillSets(path, sets)) {
            std::printf("cannot build the database of %d sets: %s\n", sets, qPrintable(error));
            return 1;
        }
        // A day in the middle of the recorded period.
        const QString ymd = FormatYmd(kFirstDay.addDays(sets / kSetsPerDay / 2));
        std::printf("Query plan of the day read (%d sets):\n", sets);
        PrintQueryPlan(path, SelectDayExerSql(ymd, 0, QString(), QString()));
        sides.push_back(std::make_unique<Side>(path, dir.path(), ymd));
        if (!sides.back()->opened) {
            std::printf("cannot open %s\n", qPrintable(path));
            return 1;
        }
    }
    // Warm-up, then the two sides in turn, so that a busy machine slows both alike.
    for (int i = 0; i < 50; ++i)
        for (auto& side : sides) side->readMicroseconds();
    for (int i = 0; i < kRepetitions; ++i)
        for (auto& side : sides) side->samples.push_back(side->readMicroseconds());
    std::printf("\n%d interleaved repetitions:\n", kRepetitions);
    for (size_t n = 0; n < sides.size(); ++n)
        std::printf("%6d sets over %5d days, day %s (%d rows): median %.1f us, mean %.1f us\n",
                    sizes[n], sizes[n] / kSetsPerDay, qPrintable(sides[n]->ymd), sides[n]->rows,
                    Median(sides[n]->samples), Mean(sides[n]->samples));
    std::printf("ratio 100000 / 1000 sets: median %.2f, mean %.2f\n",
                Median(sides[1]->samples) / Median(sides[0]->samples),
                Mean(sides[1]->samples) / Mean(sides[0]->samples));
    return 0;
}
