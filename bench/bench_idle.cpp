// Processor share of the idle program: the real main window, unlocked, with
// the "block player ads" setting on, so the window's own start-up runs the
// 10 ms browser-process watch (Timer25). Nobody touches the window.
//
//   bench_idle [seconds=5] [extra_processes=200]
//
// extra_processes idle children are started first, so the process table the
// watch looks at is a desktop session's rather than a bare container's.
// Measured: CPU time of this process (all its threads; the sample server is
// in it and idle) over `seconds` of wall time, once with Timer25 running and
// once with it stopped; the web engine's helper processes are measured
// separately.
#include "bench_window.h"
#include "idle_children.h"

#include "core/settings_store.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace lumorra;

namespace {

// CPU seconds of every descendant process still running (the web engine's
// zygote and renderers), read from /proc.
double descendantsCpuSeconds(pid_t root, const std::vector<pid_t>& skip)
{
    double total = 0;
    const double ticks = double(sysconf(_SC_CLK_TCK));
    const QStringList tasks
        = QDir(QStringLiteral("/proc/%1/task").arg(root)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& task : tasks) {
        QFile children(QStringLiteral("/proc/%1/task/%2/children").arg(root).arg(task));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& id : children.readAll().simplified().split(' ')) {
            const pid_t pid = pid_t(id.toInt());
            if (pid <= 0 || std::find(skip.begin(), skip.end(), pid) != skip.end())
                continue;
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (stat.open(QIODevice::ReadOnly)) {
                const QByteArray text = stat.readAll();
                const QList<QByteArray> f = text.mid(text.lastIndexOf(')') + 2).split(' ');
                total += (f.value(14 - 3).toDouble() + f.value(15 - 3).toDouble()) / ticks; // utime + stime
            }
            total += descendantsCpuSeconds(pid, skip);
        }
    }
    return total;
}

struct Share {
    double self;    // % of one core, this process
    double helpers; // % of one core, the web engine's helper processes
};

Share measure(double seconds, const std::vector<pid_t>& idleChildren)
{
    const double self0 = bench::processCpuSeconds();
    const double helpers0 = descendantsCpuSeconds(getpid(), idleChildren);
    QElapsedTimer wall;
    wall.start();
    bench::runEventsFor(int(seconds * 1000));
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    return {100.0 * (bench::processCpuSeconds() - self0) / elapsed,
        100.0 * (descendantsCpuSeconds(getpid(), idleChildren) - helpers0) / elapsed};
}

} // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::max(0.5, std::atof(argv[1])) : 5.0;
    const int extra = argc > 2 ? std::max(0, std::atoi(argv[2])) : 200;

    const std::vector<pid_t> idleChildren = bench::startIdleChildren(extra);
    auto endChildren = [&] { bench::endChildren(idleChildren); };

    bench::prepareWindowProcess();
    QApplication app(argc, argv);
    int rc = 0;
    {
        bench::BenchWindow bench;
        if (!bench.startSites() || !SettingsStore().setValue(settingkey::kBlockAds, QStringLiteral("是"))) {
            std::fprintf(stderr, "cannot start the sample server or write the settings file\n");
            endChildren();
            return 1;
        }
        QWidget* w = bench.build();
        auto* timer25 = w->findChild<QTimer*>(QStringLiteral("Timer25"));
        if (!bench.waitUntilUnlocked() || !timer25 || !timer25->isActive()) {
            std::fprintf(stderr, "the window did not open, or its browser watch is not running\n");
            endChildren();
            return 1;
        }
        // The first announcements arrive and the web view loads its page.
        bench::runEventsFor(3000);
        const int processes
            = int(QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[1-9]*")}, QDir::Dirs).size());

        const Share on = measure(seconds, idleChildren);
        timer25->stop();
        const Share off = measure(seconds, idleChildren);
        timer25->start();

        std::printf("processes in /proc: %d (%d idle children added)\n", processes, extra);
        std::printf("idle window, watch on (Timer25 every %d ms):  %.2f %% of one core  (web engine helpers "
                    "%.2f %%)\n",
            timer25->interval(), on.self, on.helpers);
        std::printf("idle window, watch stopped:                  %.2f %% of one core  (web engine helpers "
                    "%.2f %%)\n",
            off.self, off.helpers);
        std::printf("the watch's share:                           %.2f %% of one core\n", on.self - off.self);
        bench::result("idle program CPU, 10 ms browser watch on", on.self, 2, "% of a core",
            bench::format("watch stopped: %.2f %%; %d processes; web engine helper processes +%.2f %%",
                off.self, processes, on.helpers));
        if (timer25->interval() != 10)
            rc = 1;
    }
    endChildren();
    return rc;
}
