#include "share/share_links.h"

#include "core/vendor_pages.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "platform/open_address.h"
#include "ui/message_box.h"

#include <QAbstractButton>
#include <QWidget>

namespace lumorra {

ShareLinks::ShareLinks(QWidget* page) : QObject(page), m_page(page)
{
    using Handler = void (ShareLinks::*)();
    static const Handler handlers[6] = {
        &ShareLinks::aicAlphaImage1_Click, &ShareLinks::aicAlphaImage2_Click,
        &ShareLinks::aicAlphaImage3_Click, &ShareLinks::aicAlphaImage4_Click,
        &ShareLinks::aicAlphaImage5_Click, &ShareLinks::aicAlphaImage6_Click,
    };
    for (int i = 0; i < 6; ++i) {
        auto* button = page->findChild<QAbstractButton*>(QStringLiteral("aicAlphaImage%1").arg(i + 1));
        if (button)
            connect(button, &QAbstractButton::clicked, this, handlers[i]);
    }
}

QString ShareLinks::addressFor(ShareService service)
{
    return shareAddress(service, SiteConfig::current().base(QString::fromLatin1(role::ShareEndpoint)),
                        productPageAddress());
}

void ShareLinks::open(ShareService service)
{
    // Without the role the address would be a bare path the browser cannot
    // open: say what is missing rather than let the click come to nothing.
    // The settings window has no status line of its own; the main window's
    // shows below it.
    if (SiteConfig::current().base(QString::fromLatin1(role::ShareEndpoint)).isEmpty()) {
        StatusLine::set(shareEndpointMissingText());
        return;
    }
    openAddress(addressFor(service));
}

void ShareLinks::aicAlphaImage1_Click()
{
    copyText(shareClipboardText(productPageAddress()));
    showInfo(m_page->window(), shareCopiedMessage());
}

void ShareLinks::aicAlphaImage2_Click() { open(ShareService::QzoneShare); }
void ShareLinks::aicAlphaImage3_Click() { open(ShareService::TencentWeibo); }
void ShareLinks::aicAlphaImage4_Click() { open(ShareService::SinaWeibo); }
void ShareLinks::aicAlphaImage5_Click() { open(ShareService::Renren); }
void ShareLinks::aicAlphaImage6_Click() { open(ShareService::Tieba); }

} // namespace lumorra
