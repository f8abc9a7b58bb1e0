// Times the CSV export and import of many sets against the bare engine: inserting the same
// rows in one transaction through one prepared statement, and selecting them into a file.
// Targets: import within 1.5x the bare inserts, export within 2x the bare select; the import's
// peak memory does not grow with the file.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "backups/import_copy.h"
#include "common/log.h"
#include "common/text_tests.h"
#include "csv/csv_export.h"
#include "csv/csv_import.h"
#include "csv/csv_mapping.h"
#include "csv/csv_reader.h"
#include "db/database.h"
#include "db/first_database.h"
#include "support/scripted_platform.h"

using namespace sorvenka;

namespace {

using Handle = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

// Milliseconds of this process's processor time: on a machine shared with other work the
// wall clock says more about the neighbours than about the code.
class Stopwatch {
  public:
    Stopwatch() { ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start_); }
    double milliseconds() const {
        timespec now;
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return (now.tv_sec - start_.tv_sec) * 1e3 + (now.tv_nsec - start_.tv_nsec) / 1e6;
    }

  private:
    timespec start_;
};

Handle OpenRaw(const QString& path) {
    sqlite3* raw = nullptr;
    sqlite3_open(path.toUtf8().constData(), &raw);
    return Handle(raw, &sqlite3_close);
}

// One set, prepared before any timing starts.
struct Row {
    QByteArray ymd, grp, exer, start, comment, sweat;
    int setNum;
    double target;
    bool countForm;
    int cnt, min, sec;
};

std::vector<Row> MakeRows(int count) {
    std::vector<Row> rows;
    rows.reserve(count);
    const QDate first(1990, 1, 1);
    for (int i = 0; i < count; ++i) {
        const int day = i / 10, within = i % 10;
        Row r;
        r.ymd = FormatYmd(first.addDays(day)).toUtf8();
        r.grp = QByteArray::number(1 + day % 7).rightJustified(2, '0');
        r.exer = QByteArray::number(1 + within / 4).rightJustified(2, '0');
        r.setNum = 1 + within % 4;
        r.start = QByteArray::number(7 + within / 6).rightJustified(2, '0') + ":" +
                  QByteArray::number(within * 5).rightJustified(2, '0') + ":00";
        r.target = 40 + (i % 9) * 2.5;
        r.countForm = within % 4 != 3;
        r.cnt = 8 + i % 5, r.min = 1 + i % 20, r.sec = (i * 7) % 60;
        r.sweat = QByteArray::number(i % 5);
        r.comment = i % 3 ? QByteArray() : QByteArray("フォーム確認, \"good\"\r\n次回 +2.5kg");
        rows.push_back(r);
    }
    return rows;
}

// The baseline: the rows inserted by the bare engine, one transaction, one statement.
double BareInsert(const QString& path, const std::vector<Row>& rows) {
    Handle db = OpenRaw(path);
    Stopwatch timer;
    sqlite3_exec(db.get(), "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db.get(), "insert into t_exer values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &raw,
                       nullptr);
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> insert(raw, &sqlite3_finalize);
    for (const Row& r : rows) {
        sqlite3_stmt* s = insert.get();
        sqlite3_bind_text(s, 1, r.ymd.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(s, 2, r.grp.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(s, 3, r.exer.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_int(s, 4, r.setNum);
        sqlite3_bind_text(s, 5, r.start.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(s, 6, "", -1, SQLITE_STATIC);
        sqlite3_bind_double(s, 7, r.target);
        sqlite3_bind_text(s, 8, "kg", -1, SQLITE_STATIC);
        if (r.countForm) {
            sqlite3_bind_int(s, 9, r.cnt);
            sqlite3_bind_text(s, 10, "回", -1, SQLITE_STATIC);
            sqlite3_bind_null(s, 11);
            sqlite3_bind_null(s, 12);
        } else {
            sqlite3_bind_null(s, 9);
            sqlite3_bind_text(s, 10, "", -1, SQLITE_STATIC);
            sqlite3_bind_int(s, 11, r.min);
            sqlite3_bind_int(s, 12, r.sec);
        }
        sqlite3_bind_text(s, 13, r.sweat.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(s, 14, r.comment.constData(), -1, SQLITE_STATIC);
        if (sqlite3_step(s) != SQLITE_DONE) std::printf("bare insert failed\n");
        sqlite3_reset(s);
    }
    sqlite3_exec(db.get(), "commit", nullptr, nullptr, nullptr);
    return timer.milliseconds();
}

// The baseline of the export: the same rows selected and written to a file as they come.
double BareSelect(const QString& dbPath, const QString& filePath) {
    Handle db = OpenRaw(dbPath);
    Stopwatch timer;
    FILE* file = std::fopen(filePath.toUtf8().constData(), "wb");
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db.get(), "select * from t_exer order by ymd, grp_cd, exer_cd, set_num", -1,
                       &raw, nullptr);
    while (sqlite3_step(raw) == SQLITE_ROW) {
        for (int i = 0; i < 14; ++i) {
            if (i) std::fputc(',', file);
            const auto* text = sqlite3_column_text(raw, i);
            if (text) std::fwrite(text, 1, sqlite3_column_bytes(raw, i), file);
        }
        std::fwrite("\r\n", 1, 2, file);
    }
    sqlite3_finalize(raw);
    std::fclose(file);
    return timer.milliseconds();
}

// The peak resident memory since the last reset, in MiB.
void ResetPeakMemory() {
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}
double PeakMemoryMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

struct Connection {
    testing::ScriptedPlatform platform;
    Log log;
    Database db;
    Connection(const QString& folder, const QString& path)
        : log(platform, folder, QStringLiteral("bench")), db(platform, log) {
        QString message;
        if (!db.open(path, message)) std::printf("cannot open %s\n", qPrintable(path));
    }
};

// In db beside db_backup, where an import keeps its copy of the database before it.
QString FreshDatabase(const QTemporaryDir& dir, const QString& name) {
    QDir(dir.path()).mkpath(QStringLiteral("db"));
    QDir(dir.path()).mkpath(QStringLiteral("db_backup"));
    const QString path = dir.filePath(QStringLiteral("db/") + name);
    QFile::remove(path);
    QString error;
    if (!CreateFirstDatabase(path, error)) std::printf("cannot create: %s\n", qPrintable(error));
    return path;
}

void Run(const QTemporaryDir& dir, int sets) {
    const std::vector<Row> rows = MakeRows(sets);
    const QString source = FreshDatabase(dir, QStringLiteral("source.sqlite3"));
    const double bareInsert = BareInsert(source, rows);
    const QString bareFile = dir.filePath(QStringLiteral("bare.csv"));
    const double bareSelect = BareSelect(source, bareFile);

    const QString csv = dir.filePath(QStringLiteral("export.csv"));
    double exportMs = 0;
    {
        Connection c(dir.path(), source);
        qint64 written = 0;
        QString message;
        Stopwatch timer;
        if (!ExportCsv(c.db, csv, QString(), QString(), written, message))
            std::printf("export failed: %s\n", qPrintable(message));
        exportMs = timer.milliseconds();
    }

    // Reading alone: the parser, the encoding check and the decoding of every field.
    double readMs = 0;
    {
        CsvReader reader;
        QString message;
        qint64 line = 0, count = 0;
        Stopwatch timer;
        if (!reader.open(csv, message) ||
            !reader.read([&](CsvRow&) { return ++count > 0; }, message, line))
            std::printf("read failed: %s\n", qPrintable(message));
        readMs = timer.milliseconds();
    }

    // Reading and checking every row, still without the database.
    double checkMs = 0;
    {
        CsvReader reader;
        CsvHeader header;
        OwnSet set;
        QString message, reason;
        qint64 line = 0, good = 0;
        bool first = true;
        Stopwatch timer;
        reader.open(csv, message);
        reader.read(
            [&](CsvRow& row) {
                if (first) {
                    first = false;
                    return header.read(row, reader.delimiter(), reason);
                }
                if (CheckFieldCount(header, row, reason) && MapOwnRow(header, row, set, reason))
                    ++good;
                return true;
            },
            message, line);
        checkMs = timer.milliseconds();
    }

    const QString target = FreshDatabase(dir, QStringLiteral("target.sqlite3"));
    double importMs = 0, peak = 0;
    qint64 imported = 0;
    {
        Connection c(dir.path(), target);
        ImportOptions options;
        options.commit = true;
        ImportSummary summary;
        ResetPeakMemory();
        const double before = PeakMemoryMiB();
        Stopwatch timer;
        if (!ImportCsv(c.db, csv, options, summary))
            std::printf("import failed: %s\n", qPrintable(summary.failure));
        importMs = timer.milliseconds();
        peak = PeakMemoryMiB() - before;
        imported = summary.newSets;
    }
    // The checked copy an import takes before it writes, timed on its own: of an empty database
    // (as in the import above) and of the database holding the sets. Processor time and the
    // wall clock, since the copy waits for the disk.
    auto timeCopy = [&](const QString& path, double& cpuMs, double& wallMs) {
        Connection c(dir.path(), path);
        ImportCopy copy;
        QString message;
        QElapsedTimer wall;
        wall.start();
        Stopwatch timer;
        if (!copy.take(c.db.rawHandle(), QDateTime::currentDateTime(), message))
            std::printf("copy failed: %s\n", qPrintable(message));
        cpuMs = timer.milliseconds();
        wallMs = wall.nsecsElapsed() / 1e6;
    };
    double emptyCopyCpu = 0, emptyCopyWall = 0, fullCopyCpu = 0, fullCopyWall = 0;
    timeCopy(FreshDatabase(dir, QStringLiteral("empty.sqlite3")), emptyCopyCpu, emptyCopyWall);
    timeCopy(source, fullCopyCpu, fullCopyWall);
    const double fileMiB = QFile(csv).size() / 1048576.0;
    std::printf("%7d sets, file %.1f MiB\n", sets, fileMiB);
    std::printf(
        "  bare inserts   %8.1f ms   import %8.1f ms   ratio %.2f (target <= 1.5)   %lld sets\n",
        bareInsert, importMs, importMs / bareInsert, static_cast<long long>(imported));
    std::printf("  of the import, reading the file alone %8.1f ms, reading and checking %8.1f ms\n",
                readMs, checkMs);
    std::printf("  bare select    %8.1f ms   export %8.1f ms   ratio %.2f (target <= 2)\n",
                bareSelect, exportMs, exportMs / bareSelect);
    std::printf("  import peak memory above the start: %.1f MiB\n", peak);
    std::printf(
        "  the copy before an import: of an empty database %.1f ms (wall %.1f ms), of the %d "
        "sets %.1f ms (wall %.1f ms)\n",
        emptyCopyCpu, emptyCopyWall, sets, fullCopyCpu, fullCopyWall);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("CSV export and import against the bare engine (processor time of this process)\n");
    // The larger file shows whether the import's memory grows with the file. Other sizes can be
    // named on the command line (a small one suits a profiler).
    std::vector<int> sizes{100000, 400000};
    if (argc > 1) sizes.clear();
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    for (int sets : sizes) Run(dir, sets);
    return 0;
}
