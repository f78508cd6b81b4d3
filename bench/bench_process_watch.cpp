// Cost of the browser-process watch (Timer25, every 10 ms) and how fast it
// removes a started "iexplore.exe".
//
//   bench_process_watch [seconds=5] [extra_processes=200] [watch_only=0]
//
// extra_processes idle children are started first, so the process table
// looks like a desktop session's rather than a bare container's.
#include "bench_result.h"
#include "idle_children.h"
#include "app/exit_flow.h"
#include "platform/processes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace lumorra;

namespace {

double cpuSeconds()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec)
           + double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

int countProcesses()
{
    return int(QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[1-9]*")}, QDir::Dirs).size());
}

// Runs `tick` every 10 ms for `seconds`, on absolute deadlines, and returns
// the CPU used as a percentage of one core.
template <typename F>
double cpuPercentOfTicks(double seconds, F tick, long* ticks)
{
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    const long total = long(seconds * 100);
    for (long i = 0; i < total; ++i) {
        tick();
        next.tv_nsec += 10'000'000;
        if (next.tv_nsec >= 1'000'000'000) {
            next.tv_nsec -= 1'000'000'000;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    *ticks = total;
    return 100.0 * (cpuSeconds() - cpuStart) / wall;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const int extra = argc > 2 ? std::atoi(argv[2]) : 200;
    const bool watchOnly = argc > 3 && std::atoi(argv[3]) != 0;   // for profiling

    const std::vector<pid_t> children = bench::startIdleChildren(extra);
    std::printf("processes in /proc: %d (%d idle children added)\n", countProcesses(), extra);

    long ticks = 0;
    const double idle = cpuPercentOfTicks(seconds, [] {}, &ticks);
    std::printf("empty 10 ms ticks (the timer alone):        %.2f %% of one core\n", idle);
    ProcessNameWatch watch;
    const double first = cpuPercentOfTicks(
        1.0, [&] { watch.isRunning(QStringLiteral("iexplore.exe")); }, &ticks);
    std::printf("watch (kept names), first second:          %.2f %% of one core\n", first);
    const quint64 listedBefore = watch.listings();
    const double cached = cpuPercentOfTicks(
        seconds, [&] { watch.isRunning(QStringLiteral("iexplore.exe")); }, &ticks);
    std::printf("watch (kept names), next %.1f s:            %.2f %% of one core "
                "(%ld ticks, /proc listed %llu times)\n",
                seconds, cached, ticks, (unsigned long long)(watch.listings() - listedBefore));

    if (watchOnly) {
        bench::endChildren(children);
        return 0;
    }
    const double full = cpuPercentOfTicks(
        seconds, [] { exitproc(QStringLiteral("iexplore.exe")); }, &ticks);
    std::printf("full scan (exitproc) at the same rate:      %.2f %% of one core\n", full);

    const double timer25 = cpuPercentOfTicks(seconds, [] { Timer25_Timer(); }, &ticks);
    std::printf("Timer25_Timer at the same rate:             %.2f %% of one core\n", timer25);
    bench::result("browser watch (Timer25_Timer) alone, every 10 ms", timer25, 2, "% of a core",
                  bench::format("a full process scan per tick: %.2f %%; %d processes", full, countProcesses()));

    // Reaction: a browser process started while the watch ticks on its
    // 10 ms schedule. The child notes the moment just before its exec, the
    // kill observer the moment it is signalled; the difference is the time
    // the program needed to notice a process that already had the name.
    QTemporaryDir dir;
    const QString browser = dir.filePath(QStringLiteral("iexplore.exe"));
    QFile::copy(QStringLiteral("/bin/sleep"), browser);
    QFile::setPermissions(browser, QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = browser.toLocal8Bit();
    const int rounds = 20;
    double worstMs = 0, sumMs = 0;
    int removed = 0;
    pid_t current = -1;
    timespec killedAt{};
    setProcessKillObserver([&](int pid, const QString&) {
        if (pid == current)
            clock_gettime(CLOCK_MONOTONIC, &killedAt);
    });
    auto ms = [](const timespec& a, const timespec& b) {
        return double(b.tv_sec - a.tv_sec) * 1e3 + double(b.tv_nsec - a.tv_nsec) / 1e6;
    };
    for (int r = 0; r < rounds; ++r) {
        int fds[2];
        if (pipe(fds) != 0)
            break;
        killedAt = {};
        timespec next{};
        clock_gettime(CLOCK_MONOTONIC, &next);
        // Start somewhere between two ticks, as a real browser would.
        const long phase = 1'000'000L * (r % 10);
        const pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            timespec t{};
            struct timespec pause{0, phase};
            nanosleep(&pause, nullptr);
            clock_gettime(CLOCK_MONOTONIC, &t);
            (void)!write(fds[1], &t, sizeof t);
            execl(path.constData(), "iexplore.exe", "60", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        current = pid;
        for (int t = 0; t < 200 && killedAt.tv_sec == 0; ++t) {
            Timer25_Timer();
            next.tv_nsec += 10'000'000;
            if (next.tv_nsec >= 1'000'000'000) {
                next.tv_nsec -= 1'000'000'000;
                ++next.tv_sec;
            }
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        }
        timespec execAt{};
        const bool noted = read(fds[0], &execAt, sizeof execAt) == ssize_t(sizeof execAt);
        close(fds[0]);
        int status = 0;
        if (killedAt.tv_sec == 0)
            kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        if (noted && killedAt.tv_sec != 0 && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) {
            const double reaction = ms(execAt, killedAt);
            ++removed;
            sumMs += reaction;
            worstMs = std::max(worstMs, reaction);
        }
    }
    setProcessKillObserver(nullptr);
    std::printf("started iexplore.exe removed: %d of %d; from its exec to the kill: mean %.1f ms, "
                "worst %.1f ms (ticks every 10 ms)\n",
                removed, rounds, removed ? sumMs / removed : 0.0, worstMs);
    bench::result("browser watch: started browser removed after", removed ? sumMs / removed : 0.0, 1, "ms",
                  bench::format("mean; worst %.1f ms; %d of %d removed", worstMs, removed, rounds));

    bench::endChildren(children);
    return 0;
}
