#include "player/live_channels.h"

#include "net/site_config.h"
#include "sources/video/playback_parse.h"

#include <QListWidget>
#include <QTabWidget>
#include <QUrl>
#include <QWebEngineView>
#include <QWidget>

namespace lumorra {

LiveChannels::LiveChannels(QWidget* form1) : QObject(form1)
{
    setObjectName(QStringLiteral("LiveChannels"));
    // The on-demand window has a browser of the same name: look on the
    // online-video page only.
    QWidget* page = form1->findChild<QTabWidget*>(QStringLiteral("SSTab3"));
    if (!page)
        page = form1;
    m_channelList = page->findChild<QListWidget*>(QStringLiteral("List1"));
    m_liveBrowser = page->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"));
    if (m_channelList)
        connect(m_channelList, &QListWidget::itemDoubleClicked, this, &LiveChannels::List1_DblClick);
    if (m_liveBrowser)
        connect(m_liveBrowser, &QWebEngineView::loadFinished, this, &LiveChannels::WebBrowser1_DocumentComplete);
}

void LiveChannels::List1_DblClick()
{
    if (!m_channelList || !m_liveBrowser)
        return;
    const QString url = liveChannelUrl(SiteConfig::current().base(QString::fromLatin1(role::LiveChannelHost)),
                                       m_channelList->currentRow());
    if (!url.isEmpty())
        m_liveBrowser->setUrl(QUrl(url));
}

void LiveChannels::WebBrowser1_DocumentComplete()
{
    if (!m_liveBrowser)
        return;
    const bool portal = isLivePortalAddress(m_liveBrowser->url().toString());
    // The portal page replaces a channel the provider has moved; it stays
    // on show like any channel, and the program carries on.
    if (portal)
        m_liveBrowser->setVisible(true);
    emit livePageChecked(portal);
}

} // namespace lumorra
