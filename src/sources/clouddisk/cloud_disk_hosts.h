#pragma once
// The 24 cloud-disk services the search covers, by the index of their box
// Check2(0) … Check2(23): the caption of the box, the web host the search
// engine's site: operator restricts to, and the disk kind a row of that
// service gets. The captions are the window's; host and kind come from the
// site's definition (without one: the shipped definition's).
#include <QString>

namespace lumorra {
struct SiteDefinition;
}

namespace lumorra::clouddisk {

inline constexpr int kServiceCount = 24;

// Box 16's service is known by its own web domain: the box caption and the
// kind are written in capitals, page titles carry it with a capital first
// letter and the rest in lower case.
inline constexpr char16_t kDomainServiceName[] = u"YUNDISK.CN";
inline constexpr char16_t kDomainServiceTitleName[] = u"Yundisk.cn";

// Caption of box `index` ("百度网盘", … "GXP 网盘", … "Vdisk盘"); empty
// outside 0..23.
QString serviceCaption(int index);
// The web host under which the service publishes its shares ("pan.baidu.com").
QString serviceHost(int index);
QString serviceHost(const SiteDefinition& def, int index);
// The disk kind of the service: the kind its own classification rule gives
// ("GXP网盘", "Vdisk网盘"), which is not always the box caption.
QString serviceKind(int index);
QString serviceKind(const SiteDefinition& def, int index);

} // namespace lumorra::clouddisk
