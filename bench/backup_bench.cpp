// The day's backup on ten years of daily training: the first start of a day (copy and full
// integrity check of the copy, then the pruning, which counts only checked copies), a later
// start of the same day (nothing copied, nothing checked), and the check of the database alone
// that a damaged copy leads to.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "backups/day_copy.h"
#include "backups/integrity.h"
#include "backups/verified_copies.h"
#include "bench_support.h"
#include "common/paths.h"
#include "support/temp_layout.h"

using namespace sorvenka;
using namespace sorvenka::bench;

namespace {

constexpr int kRounds = 3;
constexpr int kTenYears = 73000;  // 20 sets a day

bool Backup(const testing::TempLayout& layout, const QDateTime& now) {
    QString message;
    return BackupDB(layout.base(), now, QStringLiteral("db"), QStringLiteral("exercise.sqlite3"),
                    QStringLiteral("db_backup"), 20, message);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<double> first, later, pruningKnown, pruningFirst, check;
    double sizeMiB = 0;
    for (int round = 0; round < kRounds; ++round) {
        testing::TempLayout layout;
        if (!FillDailySets(layout.dbPath(), kTenYears)) return 1;
        sizeMiB = QFileInfo(layout.dbPath()).size() / 1048576.0;
        const QString backups = layout.folder(QStringLiteral("db_backup"));

        // No copy yet: copy and check, nothing to prune.
        double start = NowMs(CLOCK_MONOTONIC);
        if (!Backup(layout, QDateTime(QDate(2024, 5, 14), QTime(8, 0)))) return 2;
        first.push_back(NowMs(CLOCK_MONOTONIC) - start);

        start = NowMs(CLOCK_MONOTONIC);
        if (!Backup(layout, QDateTime(QDate(2024, 5, 14), QTime(20, 0)))) return 3;
        later.push_back(NowMs(CLOCK_MONOTONIC) - start);

        // Twenty daily copies taken by the program: the 21st day's start prunes one, and the
        // kept ones are known as checked.
        for (int day = 15; day <= 33; ++day)
            if (!Backup(layout, QDateTime(QDate(2024, 5, 1).addDays(day), QTime(8, 0)))) return 4;
        start = NowMs(CLOCK_MONOTONIC);
        if (!Backup(layout, QDateTime(QDate(2024, 6, 10), QTime(8, 0)))) return 5;
        pruningKnown.push_back(NowMs(CLOCK_MONOTONIC) - start);

        // The same once with the record of checked copies gone (copies of an earlier version):
        // each kept copy is checked once.
        QFile::remove(JoinPath(backups, VerifiedCopies::kRecordName));
        start = NowMs(CLOCK_MONOTONIC);
        if (!Backup(layout, QDateTime(QDate(2024, 6, 11), QTime(8, 0)))) return 6;
        pruningFirst.push_back(NowMs(CLOCK_MONOTONIC) - start);

        start = NowMs(CLOCK_MONOTONIC);
        if (CheckIntegrity(layout.dbPath()).verdict != Integrity::Sound) return 7;
        check.push_back(NowMs(CLOCK_MONOTONIC) - start);
    }
    std::printf("database: %d sets, %.1f MiB; medians of %d rounds\n", kTenYears, sizeMiB, kRounds);
    std::printf("first start of a day, no copy to prune:      %8.1f ms\n", Median(first));
    std::printf("later start of the same day:                 %8.1f ms\n", Median(later));
    std::printf("first start of a day, 20 copies, one pruned:  %7.1f ms\n", Median(pruningKnown));
    std::printf("the same, no record of checked copies:        %7.1f ms\n", Median(pruningFirst));
    std::printf("integrity check of the database alone:       %8.1f ms\n", Median(check));
    return 0;
}
