#include "platform/open_address.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace lumorra {

namespace {
std::function<void(const QString&)>& handler()
{
    static std::function<void(const QString&)> h;
    return h;
}
} // namespace

void openAddress(const QString& address)
{
    if (const auto& h = handler()) {
        h(address);
        return;
    }
    // Whatever the browser makes of the address is its business; a failed
    // launch is not reported. An empty address gives it nothing to open.
    if (address.trimmed().isEmpty())
        return;
    const QUrl url(address, QUrl::TolerantMode);
    if (url.isValid() && !url.scheme().isEmpty() && QDesktopServices::openUrl(url))
        return;
    // The links of the download programs ("ed2k://|file|…|/", "qvod://…|",
    // "thunder://…=") are not URLs to Qt and would be dropped, and some
    // window systems have no opener of their own; the desktop's opener takes
    // the text as it is, as the system shell does, and hands it to whichever
    // program is registered for it.
    QProcess::startDetached(QStringLiteral("xdg-open"), {address});
}

void setOpenAddressHandler(std::function<void(const QString&)> h)
{
    handler() = std::move(h);
}

} // namespace lumorra
