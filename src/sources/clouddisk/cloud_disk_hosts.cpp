#include "sources/clouddisk/cloud_disk_hosts.h"

#include "sources/definitions/site_definitions.h"

namespace lumorra::clouddisk {

namespace {

// The captions of the boxes, in box order: the window's own texts. Where a
// service's shares live and what kind its rows get is the site's
// definition's (its services table, same order).
const char16_t* const kCaptions[kServiceCount] = {
    u"百度网盘", u"华为网盘", u"迅雷快传", u"QQ旋风",   u"360网盘",  u"千易网盘",
    u"盛大网盘", u"爱问共享", u"CSDN资源", u"金山网盘", u"千脑网盘", u"城通网盘",
    u"400网盘",  u"纳米网盘", u"迅载网盘", u"GXP 网盘", kDomainServiceName, u"163网盘",
    u"Vdisk盘",  u"115网盘",  u"126网盘",  u"RayFile",  u"酷牛网盘", u"天空网盘",
};

bool valid(int index) { return index >= 0 && index < kServiceCount; }

QString serviceValue(const SiteDefinition& def, int index, const QString& key)
{
    if (!valid(index))
        return {};
    return def.table(QStringLiteral("services")).value(index).value(key).value(0);
}

const SiteDefinition& shipped() { return siteDefinition(QStringLiteral("clouddisk")); }

} // namespace

QString serviceCaption(int index)
{
    return valid(index) ? QString::fromUtf16(kCaptions[index]) : QString();
}

QString serviceHost(const SiteDefinition& def, int index)
{
    return serviceValue(def, index, QStringLiteral("host"));
}

QString serviceHost(int index)
{
    return serviceHost(shipped(), index);
}

QString serviceKind(const SiteDefinition& def, int index)
{
    return serviceValue(def, index, QStringLiteral("kind"));
}

QString serviceKind(int index)
{
    return serviceKind(shipped(), index);
}

} // namespace lumorra::clouddisk
