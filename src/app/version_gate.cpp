#include "app/version_gate.h"

#include "core/announcements.h"
#include "core/vendor_pages.h"
#include "lists/status_line.h"
#include "net/address_check.h"
#include "platform/open_address.h"
#include "ui/message_box.h"

#include <QLabel>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>

namespace lumorra {

VersionGate::VersionGate(QTimer* timer9, QTimer* timer12, QLabel* label17, QWidget* window)
    : QObject(window), m_versionCheckTimer(timer9), m_announcementTimer(timer12), m_announcementLine(label17), m_window(window)
{
    setObjectName(QStringLiteral("VersionGate"));
    connect(m_versionCheckTimer, &QTimer::timeout, this, &VersionGate::Timer9_Timer);
    connect(m_announcementTimer, &QTimer::timeout, this, &VersionGate::Timer12_Timer);
}

QString VersionGate::welcomeText()
{
    return QStringLiteral("欢迎使用Tessaly旗下Brenn系列软件 ..");
}

QString VersionGate::unavailableText()
{
    return QStringLiteral("暂时无法使用!请您稍后再试!");
}

QString VersionGate::newVersionText(const QString& fetched)
{
    return QStringLiteral("发现最新版本![") + fetched + QStringLiteral("]\r\n \r\n确定后自动打开官方网站!");
}

QString VersionGate::announcementWaitText()
{
    return QStringLiteral("正在获取公告，请稍等..");
}

void VersionGate::Timer9_Timer()
{
    // One check per start: the timer goes off at once, and a tick that came
    // anyway while the check's page is on its way starts nothing.
    m_versionCheckTimer->stop();
    if (m_versionChecked)
        return;
    m_versionChecked = true;

    m_versionFetch.get(versionFileAddress(), FetchMode::WithIfModifiedSince, this, [this](const FetchResult& r) {
        // An error page is no version name: a server answering 404 or 500 is
        // as unreachable as one that does not answer.
        const QString version = r.okStatus() ? r.text : QString();
        if (version.isEmpty()) {
            showMessage(m_window, unavailableText(), MessageIcon::Warning, MessageButtons::Ok);
            emit endRequested();
            return;
        }
        StatusLine::set(welcomeText());
        if (version == releaseName()) {
            m_announcementTimer->start();
            emit unlocked();
            return;
        }
        showMessage(m_window, newVersionText(version), MessageIcon::Information, MessageButtons::Ok);
        openAddress(makerHomePageAddress());
        emit endRequested();
    });
}

void VersionGate::Timer12_Timer()
{
    if (m_announcementText.isEmpty()) {
        // Ticks keep coming every 100 ms; one request at a time is enough.
        if (m_announcementFetch.isPending())
            return;
        m_announcementFetch.get(announcementFileAddress(), FetchMode::Plain, this, [this](const FetchResult& r) {
            // Left empty on an error page too: the next tick asks again.
            if (r.okStatus())
                m_announcementText = r.text;
        });
        return;   // a later tick shows the first one
    }
    const int next = nextAnnouncementNumber(m_announcementNumber, announcementCount(m_announcementText));
    if (next > 0)
        showAnnouncement(next);
    m_announcementTimer->setInterval(10000);
}

void VersionGate::showAnnouncement(int number)
{
    const Announcement a = announcementAt(m_announcementText, number);
    m_announcementNumber = number;
    m_announcementUrl = a.url;
    // A widget-level sheet wins over the skin's colours for this one label.
    m_announcementLine->setStyleSheet(QStringLiteral("color: %1;").arg(a.color));
    m_announcementLine->setText(a.title);
    // Plain text, also in the tooltip (which Qt would read as markup).
    m_announcementLine->setToolTip(Qt::mightBeRichText(a.title) ? Qt::convertFromPlainText(a.title) : a.title);
    emit announcementShown(number);
}

void VersionGate::Label17_Click()
{
    if (m_announcementUrl.isEmpty()) {
        showMessage(m_window, announcementWaitText(), MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    // The announcement file comes from the network: its links open only as
    // web pages, never as a local file or through another program's handler.
    if (isAllowedAddress(m_announcementUrl, AddressUse::WebPage))
        openAddress(m_announcementUrl.trimmed());
}

} // namespace lumorra
