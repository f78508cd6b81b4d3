// Start to usable window: the real main window, built and shown as the
// program's start-up does, with the vendor endpoint on a local sample server,
// until the version gate has opened the pages.
//
//   bench_startup [rounds=5]
//
// Each round is a fresh process (this program started again with --child),
// so library loading, the application object and the web engine count as a
// user would wait for them. Two figures per round:
//  - process start to unlocked: from just before the child is started to the
//    moment its "unlocked" line arrives here;
//  - window construction to unlocked: measured inside the child, from the
//    call that builds the window to the gate's `unlocked` signal.
// The gate checks the version one second after the window is built, by
// design (Timer9): that second is part of both figures.
#include "bench_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace lumorra;

namespace {

constexpr double kGateDelayMs = 1000.0; // Timer9's interval

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

int runChild(int argc, char** argv)
{
    bench::prepareWindowProcess();
    QApplication app(argc, argv);
    bench::BenchWindow bench;
    if (!bench.startSites()) {
        std::fprintf(stderr, "cannot start the sample server\n");
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    bench.build();
    const double builtMs = double(clock.nsecsElapsed()) / 1e6;
    if (!bench.waitUntilUnlocked()) {
        std::fprintf(stderr, "the version gate did not open the window\n");
        return 1;
    }
    const double unlockedMs = double(clock.nsecsElapsed()) / 1e6;
    std::printf("UNLOCKED %.1f %.1f %.1f\n", unlockedMs, builtMs, bench::processAgeMs());
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--child")
        return runChild(argc, argv);

    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<double> fromStart, fromWindow, building;
    for (int r = 0; r < rounds; ++r) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child")});
        QByteArray out;
        double arrivedMs = -1;
        while (arrivedMs < 0 && child.waitForReadyRead(30000)) {
            out += child.readAllStandardOutput();
            if (out.contains('\n') && out.contains("UNLOCKED"))
                arrivedMs = double(clock.nsecsElapsed()) / 1e6;
        }
        child.waitForFinished(30000);
        out += child.readAllStandardOutput();
        const qsizetype at = out.indexOf("UNLOCKED ");
        if (arrivedMs < 0 || at < 0) {
            std::fprintf(
                stderr, "round %d: the window never became usable (exit %d)\n", r + 1, child.exitCode());
            return 1;
        }
        const QList<QByteArray> f = out.mid(at + 9, out.indexOf('\n', at) - at - 9).split(' ');
        fromStart.push_back(arrivedMs);
        fromWindow.push_back(f.value(0).toDouble());
        building.push_back(f.value(1).toDouble());
        std::printf("round %d: process start to unlocked %.0f ms; window construction to unlocked %.0f ms "
                    "(building and showing it %.0f ms; child's own age at unlock %.0f ms)\n",
            r + 1, arrivedMs, fromWindow.back(), building.back(), f.value(2).toDouble());
    }
    const double start = median(fromStart), window = median(fromWindow), build = median(building);
    std::printf("process start to usable window:       %.0f ms (median of %d)\n", start, rounds);
    // The gate's timer starts at the end of the window's construction, so
    // showing the window overlaps the gate's wait.
    std::printf("window construction to usable window: %.0f ms (the gate's own %.0f ms wait included; "
                "building and showing the window %.0f ms)\n",
        window, kGateDelayMs, build);
    bench::result("start: process start to usable window", start, 0, "ms",
        bench::format("median of %d; incl. the gate's fixed 1 s wait", rounds));
    bench::result("start: window construction to usable window", window, 0, "ms",
        bench::format("incl. the gate's 1 s wait; building and showing %.0f ms", build));
    return 0;
}
