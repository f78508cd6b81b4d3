// Processes by name, the exit question, the browser watch and the
// memory-release button, against real throw-away processes.
#include "app/exit_flow.h"
#include "lists/result_list.h"
#include "platform/open_address.h"
#include "platform/processes.h"
#include "text/memory_release.h"

#include "modal_answerer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

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

} // namespace

class TestExitHousekeeping : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void exitprocMatchesTheWholeNameExactly();
    void windowsProgramsAreKnownByTheirArgv0();
    void killStopsOnlyExactNamesAndNeverItself();
    void kbszStopsTheNetworkProcessFirst();
    void exitQuestion_data();
    void exitQuestion();
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

void TestExitHousekeeping::killStopsOnlyExactNamesAndNeverItself()
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

    // The program's own process is never signalled, even by its own name.
    m_events.clear();
    killProcessesNamed(processExecutableName(int(QCoreApplication::applicationPid())));
    QVERIFY(m_events.isEmpty());
    killProcessesNamed(QString());
    QVERIFY(m_events.isEmpty());
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
    bool seen = false;
    QElapsedTimer clock;
    clock.start();
    while (!seen && clock.elapsed() < 8000) {
        QTest::qWait(10);
        seen = watch.isRunning(QStringLiteral("iexplore.exe"));
    }
    QVERIFY(seen);
    QVERIFY(clock.elapsed() >= 1000);   // it really was a late exec
    late->kill();
    late->waitForFinished(2000);
    for (int i = 0; i < 3 && watch.isRunning(QStringLiteral("iexplore.exe")); ++i)
        QTest::qWait(10);
    QVERIFY(!watch.isRunning(QStringLiteral("iexplore.exe")));
}

QTEST_MAIN(TestExitHousekeeping)
#include "test_exit_housekeeping.moc"
