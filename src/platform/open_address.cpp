#include "platform/open_address.h"

#include <QDesktopServices>
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
    // launch is not reported.
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

void setOpenAddressHandler(std::function<void(const QString&)> h)
{
    handler() = std::move(h);
}

} // namespace lumorra
