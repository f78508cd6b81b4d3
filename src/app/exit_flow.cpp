#include "app/exit_flow.h"

#include "ui/message_box.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "platform/open_address.h"
#include "platform/processes.h"
#include "text/memory_release.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>


namespace lumorra {

namespace {

std::function<void()>& endHook()
{
    static std::function<void()> h;
    return h;
}

// The deferred timers that the memory release switches off. Timer8 and
// Timer22 are not among them and keep running.
bool isReleasedTimer(int n)
{
    return (n >= 2 && n <= 7) || (n >= 9 && n <= 21) || (n >= 23 && n <= 26);
}

} // namespace

QString exitQuestionText()
{
    return QStringLiteral("感谢您对Avenel、对Brenn系列的软件的支持!") + QStringLiteral("\r \r")
           + QStringLiteral("是否退出并到论坛可以下载更多Brenn系列原创免费软件?");
}

QString forumPageAddress()
{
    return SiteConfig::current().base(QString::fromLatin1(role::VendorEndpoint))
           + QStringLiteral("/bbs/");
}

void setProgramEndHook(std::function<void()> hook)
{
    endHook() = std::move(hook);
}

void endProgram()
{
    // Ending means now: once the user confirmed, no page that is still on
    // its way may reach its handler and no window timer may tick again.
    PageFetcher::instance().shutdown();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        const auto timers = w->findChildren<QTimer*>();
        for (QTimer* t : timers)
            t->stop();
    }
    if (const auto& h = endHook()) {
        h();
        return;
    }
    // Every event loop returns, the nested ones of message boxes included;
    // the program then ends through main() and its destructors.
    QCoreApplication::exit(0);
}

void kbsz(const ExitFlags& flags)
{
    if (flags.stopNetwork)
        killProcessesNamed(QStringLiteral("QvodTerminal.exe"));
    if (flags.stopPlayer)
        killProcessesNamed(QStringLiteral("QvodPlayer.exe"));
}

bool handleCloseRequest(QWidget* form1, const ExitFlags& flags)
{
    const int answer = askYesNoCancel(form1, exitQuestionText(), MessageIcon::Information);
    if (answer == QMessageBox::Yes) {
        openAddress(forumPageAddress());
    } else if (answer != QMessageBox::No) {
        return false;   // Cancel, or the box was closed: keep running
    }
    kbsz(flags);
    endProgram();
    return true;
}

void cdata(QWidget* form1)
{
    if (form1) {
        const auto timers = form1->findChildren<QTimer*>();
        for (QTimer* t : timers) {
            const QString name = t->objectName();
            if (!name.startsWith(QLatin1String("Timer")))
                continue;
            bool ok = false;
            const int n = name.mid(5).toInt(&ok);
            if (ok && isReleasedTimer(n))
                t->stop();
        }
    }
    cdata();
}

void releaseMemory(QWidget* form1)
{
    cdata(form1);
    showInfo(form1, QStringLiteral("内存释放完毕!"));
}

void Timer25_Timer()
{
    static ProcessNameWatch watch;
    const QString browser = QStringLiteral("iexplore.exe");
    if (watch.isRunning(browser))
        killProcessesNamed(browser);
}

} // namespace lumorra
