// Shared pieces of the benchmarks: the ten-year database, counters of this process and
// medians. Header only: every *_bench.cpp is a program of its own.
#pragma once

#include <linux/perf_event.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <QByteArray>
#include <QDate>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "common/text_tests.h"

namespace sorvenka::bench {

using Handle = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

inline Handle OpenRaw(const QString& path) {
    sqlite3* raw = nullptr;
    sqlite3_open16(path.utf16(), &raw);
    return Handle(raw, &sqlite3_close);
}

inline const QDate kLastDay(2024, 5, 14);

// Daily training ending at kLastDay: 19 or 20 sets a day of four exercises of the day's group,
// timed, mostly in count form, every fifth set with a comment (some of two lines).
inline bool FillDailySets(const QString& path, int sets) {
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

// Master tables as an earlier program may have made them: the same rows, no keys.
inline bool DropMasterKeys(const QString& path) {
    Handle db = OpenRaw(path);
    for (const char* table : {"m_grp", "m_exer", "m_unit", "m_unit_target", "m_sweat"}) {
        const QByteArray name(table);
        const QByteArray sql = "create table k as select * from " + name + "; drop table " + name +
                               "; alter table k rename to " + name + ";";
        if (sqlite3_exec(db.get(), sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            return false;
    }
    return true;
}

// What one measured piece of work cost this process.
struct Cost {
    double wallMs = 0, cpuMs = 0, instructions = -1;
    long minorFaults = 0;
};

// Counts user-space instructions of this process where the machine lets it; otherwise says
// why once and the figures fall back to CPU time.
class InstructionCounter {
  public:
    InstructionCounter() {
        perf_event_attr attr{};
        attr.type = PERF_TYPE_HARDWARE;
        attr.size = sizeof(attr);
        attr.config = PERF_COUNT_HW_INSTRUCTIONS;
        attr.disabled = 1;
        attr.exclude_kernel = 1;
        attr.exclude_hv = 1;
        fd_ = static_cast<int>(syscall(SYS_perf_event_open, &attr, 0, -1, -1, 0));
        if (fd_ < 0) error_ = std::strerror(errno);
    }
    ~InstructionCounter() {
        if (fd_ >= 0) close(fd_);
    }
    bool available() const { return fd_ >= 0; }
    const char* error() const { return error_; }
    void start() {
        if (fd_ < 0) return;
        ioctl(fd_, PERF_EVENT_IOC_RESET, 0);
        ioctl(fd_, PERF_EVENT_IOC_ENABLE, 0);
    }
    double stop() {
        if (fd_ < 0) return -1;
        ioctl(fd_, PERF_EVENT_IOC_DISABLE, 0);
        long long count = 0;
        return read(fd_, &count, sizeof(count)) == sizeof(count) ? static_cast<double>(count) : -1;
    }

  private:
    int fd_ = -1;
    const char* error_ = "";
};

inline double NowMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

inline long MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

template <typename Work>
Cost Measure(InstructionCounter& counter, Work&& work) {
    Cost cost;
    const long faults = MinorFaults();
    const double cpu = NowMs(CLOCK_PROCESS_CPUTIME_ID), wall = NowMs(CLOCK_MONOTONIC);
    counter.start();
    work();
    cost.instructions = counter.stop();
    cost.wallMs = NowMs(CLOCK_MONOTONIC) - wall;
    cost.cpuMs = NowMs(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    cost.minorFaults = MinorFaults() - faults;
    return cost;
}

inline double Median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

struct Medians {
    double ours = 0, bare = 0;
};

// Our work and its bare reference taken in turn, after one warm-up each: a load on the
// machine falls on both alike.
inline Medians InTurn(int rounds, const std::function<void()>& ours,
                      const std::function<void()>& bare, clockid_t clock) {
    ours();
    bare();
    std::vector<double> a, b;
    for (int i = 0; i < rounds; ++i) {
        double start = NowMs(clock);
        ours();
        a.push_back(NowMs(clock) - start);
        start = NowMs(clock);
        bare();
        b.push_back(NowMs(clock) - start);
    }
    return {Median(a), Median(b)};
}

// Resident memory of this process now, in MiB.
inline double ResidentMiB() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

}  // namespace sorvenka::bench
