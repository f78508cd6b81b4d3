#include "player/on_demand_window.h"

#include "net/site_config.h"
#include "sources/video/playback_parse.h"
#include "ui/silent_web_page.h"

#include <QIcon>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <utility>

namespace lumorra {

OnDemandWindow::OnDemandWindow(QWidget* form1) : QDialog(form1)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Tessaly云端播放"));
    setWindowIcon(QIcon());
    setWindowModality(Qt::ApplicationModal);
    resize(820, 560);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    // Silent: the service's script errors raise no dialogs. Its page offers
    // no context menu of ours either.
    m_browser->setPage(new SilentWebPage(m_browser));
    m_browser->setContextMenuPolicy(Qt::NoContextMenu);
    layout->addWidget(m_browser);

    connect(this, &QDialog::finished, this, [this] {
        if (auto after = std::exchange(m_afterClose, nullptr))
            after();
    });
}

void OnDemandWindow::openOn(const QString& url, std::function<void()> afterClose)
{
    m_afterClose = std::move(afterClose);
    m_browser->setUrl(QUrl(url));
    show();
    raise();
    activateWindow();
}

OnDemandWindow* findOnDemandWindow(QWidget* form1)
{
    return form1 ? form1->findChild<OnDemandWindow*>(QStringLiteral("Form8"), Qt::FindDirectChildrenOnly) : nullptr;
}

void playOnDemand(QWidget* form1, const QString& link)
{
    playOnDemand(form1, link, nullptr);
}

void playOnDemand(QWidget* form1, const QString& link, std::function<void()> afterClose)
{
    if (!form1)
        return;
    OnDemandWindow* form8 = findOnDemandWindow(form1);
    if (!form8)
        form8 = new OnDemandWindow(form1);
    const QString base = SiteConfig::current().base(QString::fromLatin1(role::OnDemandService));
    form8->openOn(onDemandUrl(base, link), std::move(afterClose));
}

} // namespace lumorra
