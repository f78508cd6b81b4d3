// Processes by name, the exit question, the browser watch and the
// memory-release button, against real throw-away processes.
#include "app/exit_flow.h"
#include "lists/result_list.h"
#include "net/page_fetcher.h"
#include "platform/open_address.h"
#include "platform/processes.h"
#include "text/memory_release.h"

#include "modal_answerer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;

namespace {

// Throw-away processes: copies of sleep under the names the program looks for.
class Processes {
public:
    Processes() { QVERIFY(m_dir.isValid()); }
    ~Processes()
    {
        for (auto& p : m_procs)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(2000);
            }
    }
    QProcess* start(const QString& exeName)
    {
        const QString path = m_dir.filePath(exeName);
        if (!QFile::exists(path)) {
            QFile::copy(QStringLiteral("/bin/sleep"), path);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner);
        }
        return launch(path, {QStringLiteral("60")});
    }
    // A process whose argv[0] is `argv0` while its executable is sleep, the
    // way Wine shows Windows programs.
    QProcess* startWithArgv0(const QString& argv0, double delaySeconds = 0)
    {
        QString script;
        if (delaySeconds > 0)
            script = QStringLiteral("sleep %1; ").arg(delaySeconds);
        script += QStringLiteral("exec -a '%1' sleep 60").arg(argv0);
        return launch(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), script});
    }
    static bool killedBySignal(QProcess* p)
    {
        return p->waitForFinished(3000) && p->exitStatus() == QProcess::CrashExit;
    }
    static bool stillRunning(QProcess* p)
    {
        return !p->waitForFinished(150) && p->state() == QProcess::Running;
    }

private:
    QProcess* launch(const QString& program, const QStringList& args)
    {
        auto p = std::make_unique<QProcess>();
        p->start(program, args);
        p->waitForStarted(3000);
        m_procs.push_back(std::move(p));
        return m_procs.back().get();
    }
    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<QProcess>> m_procs;
};

// A stand-in for the main window: its timers by name and one result list.
class Form1Fixture : public QWidget {
public:
    Form1Fixture()
    {
        setObjectName(QStringLiteral("Form1"));
        for (int n = 1; n <= 26; ++n) {
            auto* t = new QTimer(this);
            t->setObjectName(QStringLiteral("Timer%1").arg(n));
            t->setInterval(n == 25 ? 10 : 60000);
            t->start();
        }
        list = new ResultList(QStringLiteral("ListView6"), this);
    }
    QTimer* timer(int n) { return findChild<QTimer*>(QStringLiteral("Timer%1").arg(n)); }
    ResultList* list = nullptr;
};

const QString kQuestion = QString::fromUtf8(
    "感谢您对Avenel、对Brenn系列的软件的支持!\r \r是否退出并到论坛可以下载更多Brenn系列原创免费软件?");

// The test binary run with one of these arguments is a small program of its
// own (below).
const char* const kEndWhileFetching = "--end-while-fetching";
const char* const kKillOwnName = "--kill-own-name";

void say(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// A tiny program on the real end path: a page is on its way from a server
// that never answers when the user closes the window and answers Yes. The
// page's handler must never run, the event loop must return, and the
// program must end through its destructors.
struct SaysWhenDestroyed {
    ~SaysWhenDestroyed() { say("destructor ran"); }
};

int runEndWhileFetching(int argc, char** argv)
{
    SaysWhenDestroyed outermost;
    QApplication app(argc, argv);
    PageFetcher::instance().setTimeoutSeconds(120);
    QTcpServer silent;
    if (!silent.listen(QHostAddress::LocalHost))
        return 3;
    int connections = 0;
    QObject::connect(&silent, &QTcpServer::newConnection, [&] {
        while (silent.nextPendingConnection())
            ++connections;   // kept open, never answered
    });
    QWidget form1;
    form1.show();
    // A window timer due at once when the user confirms must not tick.
    auto* windowTimer = new QTimer(&form1);
    QObject::connect(windowTimer, &QTimer::timeout, [] { say("window timer ticked"); });
    setOpenAddressHandler([windowTimer](const QString&) {
        say("forum opened");
        windowTimer->start(0);
    });
    ModalAnswerer answerer;
    answerer.queue(QMessageBox::Yes);
    QTimer::singleShot(300, [&] {
        std::printf("connections %d\n", connections);
        say("closing");
        // Flags off: other programs' processes of those names are none of
        // this test's business.
        handleCloseRequest(&form1, ExitFlags{});
        say("close request returned");
    });
    say("fetching");
    GetBody(QStringLiteral("http://127.0.0.1:%1/page").arg(silent.serverPort()), &form1,
            [](const FetchResult&) { say("page handler ran"); });
    const int rc = app.exec();
    say("event loop returned");
    return rc;
}

// Kills every process named as this one, then says whether it lives on.
int runKillOwnName()
{
    int killed = 0;
    setProcessKillObserver([&](int, const QString&) { ++killed; });
    killProcessesNamed(processExecutableName(int(::getpid())));
    std::printf("killed %d, alive\n", killed);
    return 0;
}

} // namespace

class TestExitHousekeeping : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void exitprocMatchesTheWholeNameExactly();
    void windowsProgramsAreKnownByTheirArgv0();
    void madeUpProcessTables();
    void killStopsOnlyExactNames();
    void killNeverSignalsItself();
    void kbszStopsTheNetworkProcessFirst();
    void exitQuestion_data();
    void exitQuestion();
    void endingLeavesAWaitingFetchBehind();
    void releaseMemoryKeepsRowsAndTimer8();
    void watchRemovesTheBrowserWithinAFewTicks();
    void watchNoticesALateExec();

private:
    QStringList m_events;
};

void TestExitHousekeeping::init()
{
    m_events.clear();
    setOpenAddressHandler([this](const QString& a) { m_events << "open " + a; });
    setProcessKillObserver([this](int, const QString& name) { m_events << "kill " + name; });
    setProgramEndHook([this] { m_events << QStringLiteral("end"); });
}

void TestExitHousekeeping::cleanup()
{
    setOpenAddressHandler(nullptr);
    setProcessKillObserver(nullptr);
    setProgramEndHook(nullptr);
    setProcessTableRoot(QString());
    // An ending shuts the fetcher; the next case starts with it open.
    PageFetcher::instance().reopen();
}

void TestExitHousekeeping::exitprocMatchesTheWholeNameExactly()
{
    Processes procs;
    QVERIFY(!exitproc(QStringLiteral("QvodTerminal.exe")));
    // 16 characters: longer than the kernel's task name.
    QProcess* terminal = procs.start(QStringLiteral("QvodTerminal.exe"));
    QProcess* browser = procs.start(QStringLiteral("iexplore.exe"));
    QCOMPARE(processExecutableName(int(terminal->processId())), QStringLiteral("QvodTerminal.exe"));
    QVERIFY(exitproc(QStringLiteral("QvodTerminal.exe")));
    QVERIFY(!exitproc(QStringLiteral("QvodTerminal.ex")));    // the cut task name
    QVERIFY(!exitproc(QStringLiteral("qvodterminal.exe")));
    QVERIFY(!exitproc(QStringLiteral("QvodTerminal")));
    QVERIFY(!exitproc(QStringLiteral("Terminal.exe")));
    QVERIFY(!exitproc(QString()));
    QVERIFY(exitproc(QStringLiteral("iexplore.exe")));
    QVERIFY(!exitproc(QStringLiteral("IEXPLORE.EXE")));

    terminal->kill();
    terminal->waitForFinished(2000);
    QVERIFY(!exitproc(QStringLiteral("QvodTerminal.exe")));
    Q_UNUSED(browser);
}

void TestExitHousekeeping::windowsProgramsAreKnownByTheirArgv0()
{
    Processes procs;
    QProcess* p = procs.startWithArgv0(QStringLiteral("C:\\Program Files\\Qvod\\QvodPlayer.exe"));
    QTRY_VERIFY(exitproc(QStringLiteral("QvodPlayer.exe")));
    QVERIFY(!exitproc(QStringLiteral("Qvod\\QvodPlayer.exe")));
    killProcessesNamed(QStringLiteral("QvodPlayer.exe"));
    QVERIFY(Processes::killedBySignal(p));
    QCOMPARE(m_events, QStringList{QStringLiteral("kill QvodPlayer.exe")});
}

void TestExitHousekeeping::madeUpProcessTables()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString table = dir.filePath(QStringLiteral("table"));
    auto write = [&](const QString& rel, const QByteArray& bytes) {
        const QString path = table + u'/' + rel;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    // A native program; a Windows program under Wine (argv[0] says who it
    // is); processes that cannot be looked into, known by their task name
    // only, whole or cut to 15 characters; a zombie; entries that are no pid.
    QDir().mkpath(table + QStringLiteral("/101"));
    QVERIFY(QFile::link(QStringLiteral("/opt/qvod/QvodTerminal.exe"), table + QStringLiteral("/101/exe")));
    write(QStringLiteral("101/cmdline"), QByteArray("/opt/qvod/QvodTerminal.exe\0-s\0", 30));
    QDir().mkpath(table + QStringLiteral("/102"));
    QVERIFY(QFile::link(QStringLiteral("/usr/bin/wine64-preloader"), table + QStringLiteral("/102/exe")));
    write(QStringLiteral("102/cmdline"), QByteArray("C:\\Program Files\\IE\\iexplore.exe\0", 33));
    write(QStringLiteral("103/stat"), "103 (QvodPlayer.exe) S 1 103 103 0");
    write(QStringLiteral("104/stat"), "104 (PPStreamService) S 1 104 104 0");
    write(QStringLiteral("105/stat"), "105 (explorer.exe) Z 1 105 105 0");
    write(QStringLiteral("self/stat"), "9 (notepad.exe) S 1 9 9 0");
    write(QStringLiteral("loadavg"), "0.00 0.00 0.00 1/5 200\n");

    setProcessTableRoot(table);
    QVERIFY(exitproc(QStringLiteral("QvodTerminal.exe")));
    QVERIFY(exitproc(QStringLiteral("iexplore.exe")));
    QVERIFY(exitproc(QStringLiteral("QvodPlayer.exe")));
    QVERIFY(!exitproc(QStringLiteral("PPStreamServic")));    // a cut name proves nothing
    QVERIFY(!exitproc(QStringLiteral("PPStreamService")));
    QVERIFY(!exitproc(QStringLiteral("explorer.exe")));      // ended, waiting for its parent
    QVERIFY(!exitproc(QStringLiteral("notepad.exe")));
    QVERIFY(!exitproc(QStringLiteral("IE\\iexplore.exe")));
    {
        ProcessNameWatch watch;
        QVERIFY(watch.isRunning(QStringLiteral("iexplore.exe")));
        QVERIFY(watch.isRunning(QStringLiteral("QvodPlayer.exe")));
        QVERIFY(!watch.isRunning(QStringLiteral("explorer.exe")));
        QCOMPARE(watch.knownProcessCount(), 5);
    }

    // Killing never goes by a made-up table: its pids are someone else's.
    Processes procs;
    QProcess* player = procs.start(QStringLiteral("QvodPlayer.exe"));
    const int playerPid = int(player->processId());
    QList<int> signalled;
    setProcessKillObserver([&](int pid, const QString&) { signalled << pid; });
    killProcessesNamed(QStringLiteral("QvodPlayer.exe"));
    QVERIFY(Processes::killedBySignal(player));
    QVERIFY(signalled.contains(playerPid));
    QVERIFY(!signalled.contains(103));

    // A table that cannot be read: nothing is running.
    for (const QString& root : {dir.filePath(QStringLiteral("missing")),
                                table + QStringLiteral("/loadavg")}) {
        setProcessTableRoot(root);
        QVERIFY(!exitproc(QStringLiteral("QvodTerminal.exe")));
        ProcessNameWatch watch;
        QVERIFY(!watch.isRunning(QStringLiteral("QvodTerminal.exe")));
    }
    setProcessTableRoot(QString());
    QVERIFY(exitproc(processExecutableName(int(QCoreApplication::applicationPid()))));
}

void TestExitHousekeeping::killStopsOnlyExactNames()
{
    Processes procs;
    QProcess* player = procs.start(QStringLiteral("QvodPlayer.exe"));
    QProcess* prefixed = procs.start(QStringLiteral("xQvodPlayer.exe"));
    QProcess* suffixed = procs.start(QStringLiteral("QvodPlayer.exe.bak"));
    QProcess* upper = procs.start(QStringLiteral("QVODPLAYER.EXE"));
    killProcessesNamed(QStringLiteral("QvodPlayer.exe"));
    QVERIFY(Processes::killedBySignal(player));
    QVERIFY(Processes::stillRunning(prefixed));
    QVERIFY(Processes::stillRunning(suffixed));
    QVERIFY(Processes::stillRunning(upper));
    QCOMPARE(m_events, QStringList{QStringLiteral("kill QvodPlayer.exe")});
    m_events.clear();
    killProcessesNamed(QString());
    QVERIFY(m_events.isEmpty());
}

void TestExitHousekeeping::killNeverSignalsItself()
{
    // A copy of this program under a name no other process has, so that
    // the kill by its own name touches nothing outside this test; a sleeping
    // twin of the same name shows that the name really is killed.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = QStringLiteral("lumorra-self-%1").arg(QCoreApplication::applicationPid());
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("twin"))));
    const QString selfCopy = dir.filePath(name);
    const QString twinPath = dir.filePath(QStringLiteral("twin/") + name);
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), selfCopy));
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), twinPath));
    for (const QString& f : {selfCopy, twinPath})
        QFile::setPermissions(f, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner);
    QProcess twin;
    twin.start(twinPath, {QStringLiteral("60")});
    QVERIFY(twin.waitForStarted(3000));

    QProcess killer;
    killer.start(selfCopy, {QString::fromLatin1(kKillOwnName)});
    QVERIFY(killer.waitForFinished(20000));
    QCOMPARE(killer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(killer.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(killer.readAllStandardOutput()).trimmed(),
             QStringLiteral("killed 1, alive"));
    QVERIFY(Processes::killedBySignal(&twin));
}

void TestExitHousekeeping::kbszStopsTheNetworkProcessFirst()
{
    Processes procs;
    QProcess* player = procs.start(QStringLiteral("QvodPlayer.exe"));
    QProcess* terminal = procs.start(QStringLiteral("QvodTerminal.exe"));

    kbsz(ExitFlags{});
    QVERIFY(m_events.isEmpty());
    QVERIFY(Processes::stillRunning(player));
    QVERIFY(Processes::stillRunning(terminal));

    kbsz(ExitFlags{/*stopPlayer*/ false, /*stopNetwork*/ true});
    QVERIFY(Processes::killedBySignal(terminal));
    QVERIFY(Processes::stillRunning(player));

    m_events.clear();
    terminal = procs.start(QStringLiteral("QvodTerminal.exe"));
    kbsz(ExitFlags{true, true});
    QVERIFY(Processes::killedBySignal(terminal));
    QVERIFY(Processes::killedBySignal(player));
    QCOMPARE(m_events, QStringList({"kill QvodTerminal.exe", "kill QvodPlayer.exe"}));
}

void TestExitHousekeeping::exitQuestion_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("stopProcesses");
    QTest::addColumn<bool>("ending");
    QTest::addColumn<QStringList>("events");
    const QString open = QStringLiteral("open ") + forumPageAddress();
    const QStringList kills = {"kill QvodTerminal.exe", "kill QvodPlayer.exe"};
    QTest::newRow("yes") << int(QMessageBox::Yes) << true << true
                         << (QStringList{open} + kills + QStringList{"end"});
    QTest::newRow("no") << int(QMessageBox::No) << true << true << (kills + QStringList{"end"});
    QTest::newRow("no, flags off") << int(QMessageBox::No) << false << true
                                   << QStringList{"end"};
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << true << false << QStringList{};
    QTest::newRow("box closed") << int(QMessageBox::NoButton) << true << false << QStringList{};
}

void TestExitHousekeeping::exitQuestion()
{
    QFETCH(int, button);
    QFETCH(bool, stopProcesses);
    QFETCH(bool, ending);
    QFETCH(QStringList, events);

    Processes procs;
    QProcess* player = procs.start(QStringLiteral("QvodPlayer.exe"));
    QProcess* terminal = procs.start(QStringLiteral("QvodTerminal.exe"));
    QWidget form1;
    form1.show();

    ModalAnswerer answerer;
    if (button == QMessageBox::NoButton)
        answerer.queueClose();
    else
        answerer.queue(QMessageBox::StandardButton(button));
    const bool ended = handleCloseRequest(&form1, ExitFlags{stopProcesses, stopProcesses});

    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.titles().first(), QStringLiteral("Brenn系列软件"));
    QCOMPARE(answerer.lastText(), kQuestion);
    QCOMPARE(answerer.icons().first(), QMessageBox::Information);
    QCOMPARE(answerer.buttons().first(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(ended, ending);
    QCOMPARE(m_events, events);
    if (ending && stopProcesses) {
        QVERIFY(Processes::killedBySignal(player));
        QVERIFY(Processes::killedBySignal(terminal));
    } else {
        QVERIFY(Processes::stillRunning(player));
        QVERIFY(Processes::stillRunning(terminal));
    }
}

void TestExitHousekeeping::endingLeavesAWaitingFetchBehind()
{
    QProcess program;
    program.setProgram(QCoreApplication::applicationFilePath());
    program.setArguments({QString::fromLatin1(kEndWhileFetching)});
    program.start();
    QVERIFY(program.waitForStarted(5000));
    // The fetch would wait two minutes; the end must not wait for it.
    const bool finished = program.waitForFinished(30000);
    if (!finished) {
        program.kill();
        program.waitForFinished(2000);
    }
    const QStringList lines = QString::fromLocal8Bit(program.readAllStandardOutput())
                                  .split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(finished, qPrintable(lines.join(" | ")));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(lines, QStringList({"fetching", "connections 1", "closing", "forum opened",
                                 "close request returned", "event loop returned", "destructor ran"}));
}

void TestExitHousekeeping::releaseMemoryKeepsRowsAndTimer8()
{
    Form1Fixture form1;
    QTreeWidgetItem* row = form1.list->addRow(QStringLiteral("1"));
    form1.list->setCell(row, QStringLiteral("mc"), QStringLiteral("名称"));
    form1.list->addRow(QStringLiteral("2"));
    QString pageText = QStringLiteral("<html>fetched page</html>");
    const int hook = addReleaseHook([&] { pageText.clear(); });

    ModalAnswerer answerer;
    answerer.queue(QMessageBox::Ok);
    releaseMemory(&form1);
    removeReleaseHook(hook);

    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.lastText(), QStringLiteral("内存释放完毕!"));
    QCOMPARE(answerer.titles().first(), QStringLiteral("Brenn系列软件"));
    QCOMPARE(answerer.icons().first(), QMessageBox::Information);
    QCOMPARE(answerer.buttons().first(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(pageText.isEmpty());
    for (int n = 1; n <= 26; ++n) {
        const bool keeps = n == 1 || n == 8 || n == 22;
        QVERIFY2(form1.timer(n)->isActive() == keeps, qPrintable(form1.timer(n)->objectName()));
    }
    QCOMPARE(form1.list->rowCount(), 2);
    QCOMPARE(form1.list->cell(form1.list->topLevelItem(0), QStringLiteral("mc")),
             QStringLiteral("名称"));
}

void TestExitHousekeeping::watchRemovesTheBrowserWithinAFewTicks()
{
    Processes procs;
    QProcess* other = procs.start(QStringLiteral("iexplore.exe.exe"));
    QProcess* browser = procs.start(QStringLiteral("iexplore.exe"));
    QTimer watch;
    watch.setInterval(10);
    int ticks = 0;
    connect(&watch, &QTimer::timeout, this, [&] {
        ++ticks;
        Timer25_Timer();
    });
    watch.start();
    QTRY_VERIFY_WITH_TIMEOUT(browser->state() == QProcess::NotRunning, 3000);
    QCOMPARE(browser->exitStatus(), QProcess::CrashExit);
    QVERIFY2(ticks <= 10, qPrintable(QStringLiteral("took %1 ticks").arg(ticks)));

    // A browser started while the watch runs goes the same way.
    ticks = 0;
    QProcess* again = procs.startWithArgv0(QStringLiteral("iexplore.exe"));
    QTRY_VERIFY_WITH_TIMEOUT(again->state() == QProcess::NotRunning, 3000);
    QCOMPARE(again->exitStatus(), QProcess::CrashExit);
    watch.stop();
    QVERIFY(Processes::stillRunning(other));
}

void TestExitHousekeeping::watchNoticesALateExec()
{
    // A process that becomes the browser by exec, under its old pid, long
    // after it was first seen under another name.
    Processes procs;
    ProcessNameWatch watch;
    QProcess* late = procs.startWithArgv0(QStringLiteral("iexplore.exe"), 1.5);
    QVERIFY(!watch.isRunning(QStringLiteral("iexplore.exe")));
    QVERIFY(watch.knownProcessCount() > 0);
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(watch.isRunning(QStringLiteral("iexplore.exe")), 8000);
    QVERIFY(clock.elapsed() >= 1000);   // it really was a late exec
    late->kill();
    late->waitForFinished(2000);
    QTRY_VERIFY(!watch.isRunning(QStringLiteral("iexplore.exe")));
}

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], kEndWhileFetching) == 0)
        return runEndWhileFetching(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], kKillOwnName) == 0)
        return runKillOwnName();
    QApplication app(argc, argv);
    TestExitHousekeeping test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_exit_housekeeping.moc"
