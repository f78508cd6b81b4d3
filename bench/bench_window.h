#pragma once
// The real main window for window benchmarks: its own program directory
// (LUMORRA_HOME in a temporary directory) and every site role, the vendor
// endpoint included, on a sample server in this process. A benchmark waits
// on the window's own signals; the program never waits.
#include "bench_result.h"
#include "app/main_window_factory.h"
#include "app/version_gate.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "programmable_sites.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <memory>
#include <unistd.h>

namespace lumorra::bench {

// The environment the program's own start-up sets before its application
// object exists; call first thing in main().
inline void prepareWindowProcess()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

// Runs the event loop until `signal` comes from `sender` or `timeoutMs`
// passes; true when the signal came.
template <typename Sender, typename Signal>
bool waitForSignal(Sender* sender, Signal signal, int timeoutMs)
{
    QEventLoop loop;
    bool came = false;
    const auto connection = QObject::connect(sender, signal, &loop, [&] {
        came = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return came;
}

// Lets the event loop run for `ms` (timers, late answers, deferred deletes).
inline void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Resident set size of this process in KiB (VmRSS), or -1.
inline long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Milliseconds since the kernel started this process (10 ms steps).
inline double processAgeMs()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name (which may hold blanks) start at field 3;
    // the start time is field 22, in clock ticks since boot.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(22 - 3).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// Processor seconds of this process so far (all its threads).
inline double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

class BenchWindow {
public:
    // Starts the sample server and points every role at it; false on failure.
    bool startSites()
    {
        if (!m_home.isValid() || !m_sites.start(0))
            return false;
        qputenv("LUMORRA_HOME", m_home.path().toLocal8Bit());
        SiteConfig::current().pointAllAt(QString::fromStdString(m_sites.baseUrl()));
        return true;
    }

    // Builds and shows the window as the program's start-up does.
    QWidget* build()
    {
        m_window.reset(createMainWindow());
        m_window->resize(1280, 800);
        m_window->show();
        return m_window.get();
    }

    // Waits for the version gate to open the window; false on a refusal or
    // after `timeoutMs`.
    bool waitUntilUnlocked(int timeoutMs = 15000)
    {
        auto* gate = m_window->findChild<VersionGate*>();
        return gate && waitForSignal(gate, &VersionGate::unlocked, timeoutMs);
    }

    ProgrammableSites& sites() { return m_sites; }
    QString homePath() const { return m_home.path(); }
    QWidget* window() const { return m_window.get(); }

    ~BenchWindow()
    {
        PageFetcher::instance().shutdown();
        m_window.reset();
        m_sites.stop();
    }

private:
    QTemporaryDir m_home;
    ProgrammableSites m_sites;
    std::unique_ptr<QWidget> m_window;
};

} // namespace lumorra::bench
