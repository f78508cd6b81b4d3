#include "app/application.h"

#include "app/first_run_tour.h"
#include "app/main_window_factory.h"
#include "net/page_fetcher.h"
#include "sources/definitions/site_definitions.h"
#include "sample_sites.h"
#include "site_setup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <memory>

#include <unistd.h>

namespace lumorra {

namespace {

constexpr int kScreenshotDelayMs = 3000;

void say(const QString& line)
{
    std::fprintf(stderr, "lumorra: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

struct Options {
    bool demo = false;
    QString sitesFile;
    QString screenshot;
    QString pagesDir;        // one picture per page of the window
    int quitAfterMs = -1;   // -1: run until the window is closed
};

// Parses the command line; returns false (after printing why) when the
// program should end with a usage error. --help and --version end inside.
bool parseOptions(const QApplication& app, Options* out)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lumorra gathers media resources from many web sites into one window."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
        QStringLiteral("Use the bundled sample sites even if sites.ini exists."));
    const QCommandLineOption sites(QStringLiteral("sites"),
        QStringLiteral("Read the site addresses from <file> instead of sites.ini in the program directory."),
        QStringLiteral("file"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
        QStringLiteral("Save a PNG picture of the main window to <png> about 3 seconds after start."),
        QStringLiteral("png"));
    const QCommandLineOption quitAfter(QStringLiteral("quit-after"),
        QStringLiteral("End the program after <seconds>."), QStringLiteral("seconds"));
    const QCommandLineOption pages(QStringLiteral("screenshot-pages"),
        QStringLiteral("Search or list once on every page (the sample sites' keywords) and save a PNG of each "
                       "filled list into <dir>; --screenshot is then taken at the end, and --quit-after "
                       "ends the program there."),
        QStringLiteral("dir"));
    parser.addOptions({demo, sites, screenshot, pages, quitAfter});
    parser.process(app);

    out->demo = parser.isSet(demo);
    out->sitesFile = parser.value(sites);
    out->screenshot = parser.value(screenshot);
    out->pagesDir = parser.value(pages);
    if (parser.isSet(quitAfter)) {
        bool ok = false;
        const double seconds = parser.value(quitAfter).toDouble(&ok);
        if (!ok || seconds <= 0 || seconds > 24 * 3600) {
            say(QStringLiteral("--quit-after needs a number of seconds, not \"%1\"")
                    .arg(parser.value(quitAfter)));
            return false;
        }
        out->quitAfterMs = int(seconds * 1000);
    }
    return true;
}

bool saveScreenshot(QWidget* window, const QString& path)
{
    if (!window) {
        say(QStringLiteral("no main window to take a screenshot of"));
        return false;
    }
    const QString target = QFileInfo(path).absoluteFilePath();
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (!window->grab().save(target, "PNG")) {
        say(QStringLiteral("cannot write the screenshot to %1").arg(target));
        return false;
    }
    std::printf("lumorra: screenshot saved to %s\n", target.toLocal8Bit().constData());
    std::fflush(stdout);
    return true;
}

} // namespace

QStringList restartArguments(const QStringList& arguments)
{
    static const QStringList runOnce{QStringLiteral("screenshot"), QStringLiteral("screenshot-pages"),
                                     QStringLiteral("quit-after")};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        QString name = a;
        while (name.startsWith(u'-'))
            name.remove(0, 1);
        const qsizetype eq = name.indexOf(u'=');
        const bool inlineValue = eq >= 0;
        if (inlineValue)
            name.truncate(eq);
        if (a.startsWith(u'-') && runOnce.contains(name)) {
            if (!inlineValue)
                ++i;   // its value goes with it
            continue;
        }
        kept << a;
    }
    return kept;
}

int runApplication(int argc, char** argv)
{
    // The web engine's sandbox keeps a hostile page away from the user's
    // files; it stays on. Only as root, where the engine will not start
    // inside it, is it turned off, and the user is told.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fputs("lumorra: running as root, so the web engine runs without its sandbox\n", stderr);
    }
    // The player and the sounds play through GStreamer; the other media
    // backend ends the program when the machine has no sound device.
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    // Needed before the application object when web views are used.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumorra"));
    QApplication::setApplicationVersion(QStringLiteral(LUMORRA_VERSION_TEXT));

    Options options;
    if (!parseOptions(app, &options))
        return 2;

    std::unique_ptr<SampleSites> sampleSites;
    SiteSetup setup;
    setup.demo = options.demo;
    setup.sitesFile = options.sitesFile;
    if (!setUpSites(setup, &sampleSites, say))
        return 1;
    // A site definition file of the user's that cannot be read is said at
    // once; the site runs on its shipped definition (the site status window
    // lists them too).
    for (const DefinitionProblem& p : SiteDefinitions::current().problems())
        say(QStringLiteral("site definition %1 (not used)").arg(p.text()));

    QPointer<QWidget> window = createMainWindow();
    if (window && !window->isVisible())
        window->show();

    bool screenshotPending = !options.screenshot.isEmpty();
    bool screenshotOk = true;
    auto takeScreenshot = [&] {
        if (!screenshotPending)
            return;
        screenshotPending = false;
        screenshotOk = saveScreenshot(window, options.screenshot) && screenshotOk;
    };
    if (!options.pagesDir.isEmpty() && window) {
        // The first run that shows the job: one search or listing per page,
        // a picture of each filled list; the picture of the whole window
        // follows, and a timed run ends there.
        auto* tour = new FirstRunTour(window, options.pagesDir, &app);
        QObject::connect(tour, &FirstRunTour::finished, &app, [&](bool allGood) {
            screenshotOk = allGood && screenshotOk;
            takeScreenshot();
            if (options.quitAfterMs >= 0)
                QCoreApplication::exit(0);
        });
        tour->start();
    } else if (screenshotPending) {
        QTimer::singleShot(kScreenshotDelayMs, &app, takeScreenshot);
    }
    if (options.quitAfterMs >= 0) {
        QTimer::singleShot(options.quitAfterMs, &app, [&] {
            takeScreenshot();   // a short run still leaves its picture
            // exit(), not quit(): quit() first asks every window to close,
            // and the main window answers that with a confirmation box
            // nobody is there to click.
            QCoreApplication::exit(0);
        });
    }

    int rc = app.exec();

    PageFetcher::instance().shutdown();
    delete window.data();
    if (sampleSites)
        sampleSites->stop();
    if (rc == 0 && !screenshotOk)
        rc = 1;
    return rc;
}

} // namespace lumorra
