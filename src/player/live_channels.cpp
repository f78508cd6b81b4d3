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
    m_list1 = page->findChild<QListWidget*>(QStringLiteral("List1"));
    m_webBrowser1 = page->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"));
    if (m_list1)
        connect(m_list1, &QListWidget::itemDoubleClicked, this, &LiveChannels::List1_DblClick);
    if (m_webBrowser1)
        connect(m_webBrowser1, &QWebEngineView::loadFinished, this, &LiveChannels::WebBrowser1_DocumentComplete);
}

void LiveChannels::List1_DblClick()
{
    if (!m_list1 || !m_webBrowser1)
        return;
    const QString url = liveChannelUrl(SiteConfig::current().base(QString::fromLatin1(role::LiveChannelHost)),
                                       m_list1->currentRow());
    if (!url.isEmpty())
        m_webBrowser1->setUrl(QUrl(url));
}

void LiveChannels::WebBrowser1_DocumentComplete()
{
    if (!m_webBrowser1)
        return;
    const bool portal = isLivePortalAddress(m_webBrowser1->url().toString());
    // The portal page replaces a channel the provider has moved; it stays
    // on show like any channel, and the program carries on.
    if (portal)
        m_webBrowser1->setVisible(true);
    emit livePageChecked(portal);
}

} // namespace lumorra
