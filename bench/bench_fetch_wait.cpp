// Processor time spent while one page is on its way from a slow server.
//
// The server answers after a delay (5 s by default, or argv[1] ms). The wait
// must be event-driven: the waiting thread should use next to no processor
// time. The sample server runs in this same process (its own threads), so
// both numbers are printed: the waiting (main) thread alone, and the whole
// process including the idle server.
#include "bench_result.h"
#include "bench_support.h"
#include "net/page_fetcher.h"
#include "programmable_sites.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>

namespace {

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double processCpuSeconds()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    auto secs = [](const timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
    return secs(ru.ru_utime) + secs(ru.ru_stime);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int delayMs = argc > 1 ? std::atoi(argv[1]) : 5000;

    lumorra::ProgrammableSites sites;
    if (!sites.start(0)) {
        std::fprintf(stderr, "cannot start the sample server\n");
        return 1;
    }
    lumorra::Answer slow = lumorra::Answer::html("<html>slow page</html>");
    slow.delayMs = delayMs;
    sites.program("/bench/slow", slow);
    const QString url = QString::fromStdString(sites.baseUrl()) + QStringLiteral("/bench/slow");

    // Warm up the network stack so that one-time set-up is not counted.
    sites.program("/bench/fast", lumorra::Answer::html("fast"));
    lumorra::bench::fetchAndWait(QString::fromStdString(sites.baseUrl()) + QStringLiteral("/bench/fast"));

    const double thread0 = threadCpuSeconds();
    const double process0 = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    const QString text = lumorra::bench::fetchAndWait(url).text;
    const double wallSeconds = double(wall.elapsed()) / 1000.0;
    const double threadCpu = threadCpuSeconds() - thread0;
    const double processCpu = processCpuSeconds() - process0;

    std::printf("fetch wait: server delay %d ms, page %s\n", delayMs,
                text == QStringLiteral("<html>slow page</html>") ? "received" : "MISSING");
    std::printf("  wall time              %8.3f s\n", wallSeconds);
    std::printf("  CPU, waiting thread    %8.4f s\n", threadCpu);
    std::printf("  CPU, whole process     %8.4f s   (aim: under 0.05 s)\n", processCpu);
    std::printf("  CPU share of one core  %8.2f %%\n", wallSeconds > 0 ? 100.0 * processCpu / wallSeconds : 0.0);
    lumorra::bench::result("CPU while one fetch waits 5 s", processCpu, 4, "s",
                           lumorra::bench::format("aim < 0.05 s; waiting thread %.4f s; page %s", threadCpu,
                                                  text == QStringLiteral("<html>slow page</html>") ? "received"
                                                                                                 : "MISSING"));
    sites.stop();
    return 0;
}
