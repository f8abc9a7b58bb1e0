// Start-up: from exec to the window mapped on the X server, the program (on ten years of
// daily training) against a replica of its main window in Qt alone (window_replica.cpp),
// launched in turn; with the peak memory of each at that moment (VmHWM, read while the process
// is stopped at the map) and the shared libraries it has mapped then.
// Needs an X server: xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/startup_bench
// With --layout=DIR it only copies the staged install into DIR (for profiling one start by hand).
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cstdio>

#include "bench_support.h"
#include "common/paths.h"
#include "support/temp_layout.h"

extern char** environ;

using namespace sorvenka;
using namespace sorvenka::bench;

namespace {

constexpr int kRounds = 25;

struct Launch {
    double mappedMs = -1;
    double cpuMs = 0;  // of all its threads until the map: steadier than the time on a busy machine
    double peakMiB = 0;
    int libraries = 0;
};

// VmHWM of a process, in MiB; 0 when it cannot be read.
double PeakMiB(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// The processor time of all threads of a process, in ms, from the scheduler's counters.
double CpuMs(pid_t pid) {
    double ns = 0;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks + QLatin1Char('/') + task + QStringLiteral("/schedstat"));
        if (stat.open(QIODevice::ReadOnly)) ns += stat.readAll().split(' ').value(0).toDouble();
    }
    return ns / 1e6;
}

int SharedLibraries(pid_t pid) {
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly)) return 0;
    QSet<QByteArray> names;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const qsizetype slash = line.indexOf('/');
        if (slash >= 0 && line.contains(".so")) names.insert(line.mid(slash));
    }
    return static_cast<int>(names.size());
}

// Starts the program and waits for its first top-level window to be mapped; stops it there to
// read its peak memory and its libraries.
Launch Start(xcb_connection_t* x, const QByteArray& program) {
    Launch launch;
    char* argv[] = {const_cast<char*>(program.constData()), nullptr};
    pid_t pid = 0;
    const double start = NowMs(CLOCK_MONOTONIC);
    if (posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ) != 0) return launch;
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (launch.mappedMs < 0 && NowMs(CLOCK_MONOTONIC) - start < 30000) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect &&
                launch.mappedMs < 0) {
                launch.mappedMs = NowMs(CLOCK_MONOTONIC) - start;
                kill(pid, SIGSTOP);
            }
            std::free(event);
        }
        if (launch.mappedMs < 0) poll(&fd, 1, 100);
    }
    launch.cpuMs = CpuMs(pid);
    launch.peakMiB = PeakMiB(pid);
    launch.libraries = SharedLibraries(pid);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return launch;
}

struct Series {
    std::vector<double> ms, cpu, peak;
    int libraries = 0;
    void add(const Launch& l) {
        ms.push_back(l.mappedMs);
        cpu.push_back(l.cpuMs);
        peak.push_back(l.peakMiB);
        libraries = l.libraries;
    }
};

// Copies a folder tree; false at the first file that cannot be copied.
bool CopyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) return false;
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = JoinPath(to, entry.fileName());
        if (entry.isDir() ? !CopyTree(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    QString keepLayout;
    for (const QString& argument : arguments)
        if (argument.startsWith(QStringLiteral("--layout="))) keepLayout = argument.mid(9);
    arguments.removeIf([](const QString& a) { return a.startsWith(QStringLiteral("--layout=")); });
    if (keepLayout.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("needs an X server: xvfb-run -a -s \"-screen 0 1920x1080x24\" %s\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    const QString folder = QCoreApplication::applicationDirPath();
    const QString built = arguments.value(0, folder + QStringLiteral("/../Valdrome"));
    const QString replica = folder + QStringLiteral("/window_replica");

    // The program in its folder layout, on ten years of daily training.
    testing::TempLayout layout;
    if (!FillDailySets(layout.dbPath(), 73000)) return 1;
    const QString program = JoinPath(layout.programFolder(), QStringLiteral("Valdrome"));
    QFile::copy(built, program);
    // The modules it loads on first use, beside it as installed.
    for (const QString& name :
         {QStringLiteral("libsorvenka_sound.so"), QStringLiteral("libsorvenka_progress.so")}) {
        const QString module = QFileInfo(built).absolutePath() + QLatin1Char('/') + name;
        if (QFile::exists(module)) QFile::copy(module, JoinPath(layout.programFolder(), name));
    }

    if (!keepLayout.isEmpty()) {
        const bool copied = CopyTree(layout.base(), keepLayout);
        std::printf("%s %s\n", copied ? "staged in" : "could not stage in",
                    qPrintable(JoinPath(keepLayout, QStringLiteral("Valdrome/Valdrome"))));
        return copied ? 0 : 1;
    }

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) return 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    Series window, yardstick;
    for (int round = 0; round <= kRounds; ++round) {
        // Which of the two starts first alternates: neither always finds the caches warmed by
        // the other.
        const bool programFirst = round % 2 == 0;
        const Launch a = Start(x, (programFirst ? program : replica).toLocal8Bit());
        const Launch b = Start(x, (programFirst ? replica : program).toLocal8Bit());
        if (round == 0) continue;  // warm-up: caches, the day's backup
        window.add(programFirst ? a : b);
        yardstick.add(programFirst ? b : a);
    }
    xcb_disconnect(x);
    std::printf("Start to window mapped, medians of %d launches in turn:\n", kRounds);
    for (const auto& [name, series] : {std::pair{"program", &window}, {"replica", &yardstick}})
        std::printf("  %s  %7.1f ms (processor %6.1f ms), VmHWM %6.1f MiB, %d shared libraries\n",
                    name, Median(series->ms), Median(series->cpu), Median(series->peak),
                    series->libraries);
    std::printf("  ratio: time %.3f, peak memory %.3f (target <= 1.10 each); processor time %.3f\n",
                Median(window.ms) / Median(yardstick.ms),
                Median(window.peak) / Median(yardstick.peak),
                Median(window.cpu) / Median(yardstick.cpu));
    return 0;
}
