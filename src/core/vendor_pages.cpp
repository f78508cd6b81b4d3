#include "core/vendor_pages.h"

#include "net/site_config.h"

namespace lumorra {

namespace {
QString at(const char* role, const char* path)
{
    return SiteConfig::current().base(QString::fromLatin1(role)) + QString::fromLatin1(path);
}
} // namespace

QString versionFileAddress() { return at(role::VendorEndpoint, "/version/gx.txt"); }
QString announcementFileAddress() { return at(role::VendorEndpoint, "/data/gg.txt"); }
QString makerHomePageAddress() { return at(role::MakerHomePage, "/"); }
QString chatGroupPageAddress() { return at(role::VendorEndpoint, "/qun.html"); }
QString tutorialPageAddress() { return at(role::VendorEndpoint, "/jc.html"); }
QString productPageAddress() { return at(role::VendorEndpoint, "/soft/brenn.html"); }
QString startLiveChannelAddress() { return at(role::LiveChannelHost, "/tb/tvpage.swf"); }

QString releaseName()
{
    return QStringLiteral("V2.3");
}

QString versionNumberText()
{
#ifdef LUMORRA_VERSION_TEXT
    return QStringLiteral(LUMORRA_VERSION_TEXT);
#else
    return QStringLiteral("2.3.837");
#endif
}

} // namespace lumorra
