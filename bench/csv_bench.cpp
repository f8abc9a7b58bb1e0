// Times the CSV export and import of many sets against the bare engine: inserting the same
// rows into a fresh database in one transaction through one prepared statement, and selecting
// them into a file. Each piece runs in every round, rounds in turn, and the medians are
// compared. Targets: import within 1.5x the bare inserts, export within 2x the bare select;
// the import's peak memory does not grow with the file.
// Usage: csv_bench [--rounds N] [sets...]   (a small number of sets suits a profiler)
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "backups/import_copy.h"
#include "bench_support.h"
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
using namespace sorvenka::bench;

namespace {

// Opened as the program opens its database: read-write, and without the engine's locking of
// the connection on every call (the program uses a connection from one thread only).
Handle OpenAsProgram(const QString& path) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &raw,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
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
void BareInsert(sqlite3* db, const std::vector<Row>& rows) {
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, "insert into t_exer values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &raw,
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
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
}

// The baseline of the export: the same rows selected and written to a file as they come.
void BareSelect(const QString& dbPath, const QString& filePath) {
    Handle db = OpenAsProgram(dbPath);
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

// The bare inserts into a fresh database, opened as the program opens its own.
[[gnu::noinline]] Cost TimeBareInsert(InstructionCounter& counter, const QTemporaryDir& dir,
                                      const std::vector<Row>& rows) {
    const QString path = FreshDatabase(dir, QStringLiteral("bare.sqlite3"));
    Handle db = OpenAsProgram(path);
    return Measure(counter, [&] { BareInsert(db.get(), rows); });
}

// Reading alone: the parser, the encoding check and the decoding of every field, the fields
// lent as the import takes them.
[[gnu::noinline]] qint64 ReadOnly(const QString& csv) {
    CsvReader reader;
    reader.lendFields();
    QString message;
    qint64 line = 0, count = 0;
    if (!reader.open(csv, message) ||
        !reader.read([&](CsvRow&) { return ++count > 0; }, message, line))
        std::printf("read failed: %s\n", qPrintable(message));
    return count;
}

// Reading and checking every row, still without the database.
[[gnu::noinline]] qint64 ReadAndCheck(const QString& csv) {
    CsvReader reader;
    reader.lendFields();
    CsvHeader header;
    OwnSet set;
    QString message, reason;
    qint64 line = 0, good = 0;
    bool first = true;
    reader.open(csv, message);
    reader.read(
        [&](CsvRow& row) {
            if (first) {
                first = false;
                return header.read(row, reader.delimiter(), reason);
            }
            if (CheckFieldCount(header, row, reason) && MapOwnRow(header, row, set, reason)) ++good;
            return true;
        },
        message, line);
    return good;
}

// The whole import into a fresh database: its checked copy, the reading, the checks and the
// writes in one transaction.
Cost TimeImport(InstructionCounter& counter, const QTemporaryDir& dir, const QString& csv,
                qint64& imported, double& peakMiB) {
    const QString target = FreshDatabase(dir, QStringLiteral("target.sqlite3"));
    Connection c(dir.path(), target);
    ImportOptions options;
    options.commit = true;
    ImportSummary summary;
    ResetPeakMemory();
    const double before = PeakMemoryMiB();
    const Cost cost = Measure(counter, [&] {
        if (!ImportCsv(c.db, csv, options, summary))
            std::printf("import failed: %s\n", qPrintable(summary.failure));
    });
    peakMiB = PeakMemoryMiB() - before;
    imported = summary.newSets;
    return cost;
}

struct Samples {
    std::vector<double> cpu, instructions;
    void add(const Cost& cost) {
        cpu.push_back(cost.cpuMs);
        instructions.push_back(cost.instructions);
    }
    double fastest() const { return *std::min_element(cpu.begin(), cpu.end()); }
};

// Ratios of the medians, of each round's pair, and of the fastest rounds (the least disturbed
// by other work on the machine).
void PrintPair(const char* bareName, const Samples& bare, const char* ownName, const Samples& own,
               const char* target, bool counted) {
    std::vector<double> ratios;
    for (size_t i = 0; i < bare.cpu.size(); ++i) ratios.push_back(own.cpu[i] / bare.cpu[i]);
    std::printf("  %-14s %8.1f ms   %-7s %8.1f ms   ratio %.2f (%s)\n", bareName, Median(bare.cpu),
                ownName, Median(own.cpu), Median(own.cpu) / Median(bare.cpu), target);
    std::printf("  %-14s   rounds' median ratio %.2f; fastest rounds %.1f / %.1f ms, ratio %.2f\n",
                "", Median(ratios), bare.fastest(), own.fastest(), own.fastest() / bare.fastest());
    if (counted)
        std::printf("  %-14s %8.1f M instr.  %-7s %8.1f M instr.  ratio %.2f\n", "",
                    Median(bare.instructions) / 1e6, "", Median(own.instructions) / 1e6,
                    Median(own.instructions) / Median(bare.instructions));
}

void Run(const QTemporaryDir& dir, int sets, int rounds) {
    InstructionCounter counter;
    const std::vector<Row> rows = MakeRows(sets);
    // The file to import: the bare rows exported by the program.
    const QString source = FreshDatabase(dir, QStringLiteral("source.sqlite3"));
    {
        Handle db = OpenAsProgram(source);
        BareInsert(db.get(), rows);
    }
    const QString csv = dir.filePath(QStringLiteral("export.csv"));
    const QString bareFile = dir.filePath(QStringLiteral("bare.csv"));

    // Every round takes each piece in turn, so that the load of the machine weighs on all alike.
    Samples bareInsert, import, bareSelect, exportCsv, read, check;
    double peak = 0;
    qint64 imported = 0;
    for (int round = 0; round < rounds; ++round) {
        bareSelect.add(Measure(counter, [&] { BareSelect(source, bareFile); }));
        exportCsv.add(Measure(counter, [&] {
            Connection c(dir.path(), source);
            qint64 written = 0;
            QString message;
            if (!ExportCsv(c.db, csv, QString(), QString(), written, message))
                std::printf("export failed: %s\n", qPrintable(message));
        }));
        bareInsert.add(TimeBareInsert(counter, dir, rows));
        double roundPeak = 0;
        import.add(TimeImport(counter, dir, csv, imported, roundPeak));
        peak = std::max(peak, roundPeak);
        read.add(Measure(counter, [&] { ReadOnly(csv); }));
        check.add(Measure(counter, [&] { ReadAndCheck(csv); }));
    }

    // The checked copy an import takes before it writes, timed on its own: of an empty database
    // (as in the import above) and of the database holding the sets. Processor time and the
    // wall clock, since the copy waits for the disk.
    auto timeCopy = [&](const QString& path, double& cpuMs, double& wallMs) {
        Connection c(dir.path(), path);
        ImportCopy copy;
        QString message;
        const Cost cost = Measure(counter, [&] {
            if (!copy.take(c.db.rawHandle(), QDateTime::currentDateTime(), message))
                std::printf("copy failed: %s\n", qPrintable(message));
        });
        cpuMs = cost.cpuMs;
        wallMs = cost.wallMs;
    };
    double emptyCopyCpu = 0, emptyCopyWall = 0, fullCopyCpu = 0, fullCopyWall = 0;
    timeCopy(FreshDatabase(dir, QStringLiteral("empty.sqlite3")), emptyCopyCpu, emptyCopyWall);
    timeCopy(source, fullCopyCpu, fullCopyWall);

    const bool counted = counter.available();
    const double fileMiB = QFile(csv).size() / 1048576.0;
    std::printf("%7d sets, file %.1f MiB, medians of %d interleaved rounds\n", sets, fileMiB,
                rounds);
    PrintPair("bare inserts", bareInsert, "import", import, "target <= 1.5", counted);
    std::printf("  %lld sets imported\n", static_cast<long long>(imported));
    std::printf(
        "  of the import, reading the file alone %8.1f ms (%.2f of the bare inserts), reading "
        "and checking %8.1f ms (%.2f)\n",
        Median(read.cpu), Median(read.cpu) / Median(bareInsert.cpu), Median(check.cpu),
        Median(check.cpu) / Median(bareInsert.cpu));
    PrintPair("bare select", bareSelect, "export", exportCsv, "target <= 2", counted);
    std::printf("  import peak memory above the start: %.1f MiB\n", peak);
    std::printf(
        "  the copy before an import: of an empty database %.1f ms (wall %.1f ms), of the %d "
        "sets %.1f ms (wall %.1f ms)\n",
        emptyCopyCpu, emptyCopyWall, sets, fullCopyCpu, fullCopyWall);
    if (!counted) std::printf("  (no instruction counts: %s)\n", counter.error());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("CSV export and import against the bare engine (processor time of this process)\n");
    // The larger file shows whether the import's memory grows with the file: one round of it
    // unless rounds are asked for.
    std::vector<int> sizes;
    int rounds = 7;
    bool roundsGiven = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
            roundsGiven = true;
        } else {
            sizes.push_back(std::atoi(argv[i]));
        }
    }
    if (sizes.empty()) sizes = {100000, 400000};
    for (int sets : sizes) Run(dir, sets, sets > 100000 && !roundsGiven ? 1 : rounds);
    return 0;
}
