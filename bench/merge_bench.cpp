// Times a merge of twin exercises on ten years of daily training: the preview's figures, the
// verified copy taken first and the merge's transaction, each on a fresh copy of the file.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "bench_support.h"
#include "db/first_database.h"
#include "masters/exercise_merge.h"
#include "masters/merge_copy.h"

using namespace sorvenka;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.sqlite3"));
    QString error;
    if (!CreateFirstDatabase(source, error) || !bench::FillDailySets(source, 71000)) {
        std::fprintf(stderr, "could not make the database: %s\n", qPrintable(error));
        return 1;
    }
    {
        // The twin holds every second set of ベンチプレス, so every one of its days is shared.
        bench::Handle db = bench::OpenRaw(source);
        sqlite3_exec(db.get(),
                     "insert into m_exer values ('01','05','Bench Press (Barbell)',1,5);"
                     "update t_exer set exer_cd = '05' where grp_cd = '01' and exer_cd = '01'"
                     " and set_num % 2 = 0;",
                     nullptr, nullptr, nullptr);
    }
    const ExerciseKey from{QStringLiteral("01"), QStringLiteral("05")};
    const ExerciseKey into{QStringLiteral("01"), QStringLiteral("01")};
    std::printf("%-10s %10s %10s %10s   sets moved, days shared\n", "run", "preview ms", "copy ms",
                "merge ms");
    for (int run = 1; run <= 3; ++run) {
        const QString path = dir.filePath(QStringLiteral("run%1.sqlite3").arg(run));
        QFile::copy(source, path);
        bench::Handle db = bench::OpenRaw(path);
        MergeFigures figures;
        QString message;
        QElapsedTimer timer;
        timer.start();
        PreviewMerge(db.get(), from, into, figures, message);
        const double previewMs = timer.nsecsElapsed() / 1e6;
        timer.restart();
        QString copyPath;
        TakeMergeCopy(path, dir.path(), QDateTime::currentDateTime(), copyPath, message);
        const double copyMs = timer.nsecsElapsed() / 1e6;
        timer.restart();
        const bool merged = MergeExercise(db.get(), from, into, figures, message);
        const double mergeMs = timer.nsecsElapsed() / 1e6;
        QFile::remove(copyPath);
        std::printf("%-10d %10.1f %10.1f %10.1f   %lld, %lld%s\n", run, previewMs, copyMs, mergeMs,
                    static_cast<long long>(figures.sets),
                    static_cast<long long>(figures.sharedDays), merged ? "" : " (failed)");
    }
    return 0;
}
