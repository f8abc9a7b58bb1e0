// Times the import of a large file of another logger (Strong's semicolon form: day, workout,
// exercise, set, load and unit, reps) into the first database: the preview and the import,
// in sets per second of processor time, and the import's peak memory.
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "common/log.h"
#include "csv/csv_import.h"
#include "db/database.h"
#include "db/first_database.h"
#include "support/scripted_platform.h"

using namespace sorvenka;

namespace {

double CpuMilliseconds() {
    timespec now;
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double PeakMemoryMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

// Common names and a lifter's own ones, in days of six exercises of five sets.
QByteArray StrongFile(int sets) {
    const char* const common[] = {"Bench Press (Barbell)",
                                  "Squat (Barbell)",
                                  "Deadlift (Barbell)",
                                  "Overhead Press (Barbell)",
                                  "Lat Pulldown (Cable)",
                                  "Bicep Curl (Dumbbell)",
                                  "Plank",
                                  "Running"};
    QByteArray bytes =
        "Date;Workout Name;Exercise Name;Set Order;Weight;Weight Unit;Reps;RPE;Distance;"
        "Distance Unit;Seconds;Notes;Workout Notes\n";
    const QDate first(2015, 1, 1);
    for (int i = 0; i < sets; ++i) {
        const int day = i / 30, exercise = (i / 5) % 6, set = i % 5 + 1;
        const int pick = (day * 7 + exercise * 11) % 60;
        const QByteArray name =
            pick < 8 ? QByteArray(common[pick]) : "Own Move " + QByteArray::number(pick);
        bytes += first.addDays(day).toString(QStringLiteral("yyyy-MM-dd 07:00:00")).toUtf8() +
                 ";Day;\"" + name + "\";" + QByteArray::number(set) + ";" +
                 QByteArray::number(40 + (i % 9) * 2.5) + ";kg;" + QByteArray::number(5 + i % 6) +
                 ";;;;0;;\n";
    }
    return bytes;
}

void Run(const QTemporaryDir& dir, int sets) {
    const QString csv = dir.filePath(QStringLiteral("strong.csv"));
    {
        QFile file(csv);
        const QByteArray bytes = StrongFile(sets);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return;
    }
    // In db beside db_backup, where the import keeps its copy of the database before it.
    QDir(dir.path()).mkpath(QStringLiteral("db"));
    QDir(dir.path()).mkpath(QStringLiteral("db_backup"));
    const QString path = dir.filePath(QStringLiteral("db/target.sqlite3"));
    QFile::remove(path);
    QString message;
    if (!CreateFirstDatabase(path, message)) {
        std::printf("cannot create: %s\n", qPrintable(message));
        return;
    }
    testing::ScriptedPlatform platform;
    Log log(platform, dir.path(), QStringLiteral("bench"));
    Database db(platform, log);
    if (!db.open(path, message)) return;

    ImportOptions options;
    ImportSummary summary;
    double start = CpuMilliseconds();
    if (!ImportCsv(db, csv, options, summary))
        std::printf("preview failed: %s\n", qPrintable(summary.failure));
    const double previewMs = CpuMilliseconds() - start;
    options.commit = true;
    const double before = PeakMemoryMiB();
    start = CpuMilliseconds();
    if (!ImportCsv(db, csv, options, summary))
        std::printf("import failed: %s\n", qPrintable(summary.failure));
    const double importMs = CpuMilliseconds() - start;
    std::printf("%7d Strong sets, %zu new exercises, file %.1f MiB\n", sets,
                summary.newExercises.size(), QFile(csv).size() / 1048576.0);
    std::printf("  preview %8.1f ms (%.0f sets/s)   import %8.1f ms (%.0f sets/s)   %lld written\n",
                previewMs, sets / previewMs * 1000, importMs, sets / importMs * 1000,
                static_cast<long long>(summary.newSets));
    std::printf("  peak memory %.1f MiB (before the import %.1f MiB)\n", PeakMemoryMiB(), before);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("Import of a peer's file (processor time of this process)\n");
    const int sets = argc > 1 ? std::atoi(argv[1]) : 100000;
    Run(dir, sets);
    return 0;
}
