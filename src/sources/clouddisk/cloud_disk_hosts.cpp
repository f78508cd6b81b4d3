#include "sources/clouddisk/cloud_disk_hosts.h"

namespace lumorra::clouddisk {

namespace {

struct Service {
    const char16_t* caption;
    const char* host;
    const char16_t* kind;
};

// In box order; the kind column equals the classification rule of the same
// position, so a row that matches no rule can fall back to its box's kind.
const Service kServices[kServiceCount] = {
    {u"百度网盘", "pan.baidu.com", u"百度网盘"},
    {u"华为网盘", "dl.dbank.com", u"华为网盘"},
    {u"迅雷快传", "kuai.xunlei.com", u"迅雷快传"},
    {u"QQ旋风", "urlxf.qq.com", u"QQ旋风"},
    {u"360网盘", "yunpan.cn", u"360网盘"},
    {u"千易网盘", "www.1000eb.com", u"千易网盘"},
    {u"盛大网盘", "www.everbox.com", u"盛大网盘"},
    {u"爱问共享", "ishare.iask.sina.com.cn", u"爱问共享"},
    {u"CSDN资源", "download.csdn.net", u"CSDN资源"},
    {u"金山网盘", "www.kuaipan.cn", u"金山网盘"},
    {u"千脑网盘", "www.qiannao.com", u"千脑网盘"},
    {u"城通网盘", "www.ctdisk.com", u"城通网盘"},
    {u"400网盘", "www.400gb.com", u"400网盘"},
    {u"纳米网盘", "www.namipan.com", u"纳米网盘"},
    {u"迅载网盘", "www.xunzai.com", u"迅载网盘"},
    {u"GXP 网盘", "www.gxp.cc", u"GXP网盘"},
    {kDomainServiceName, "www.yundisk.cn", kDomainServiceName},
    {u"163网盘", "wp.163.com", u"163网盘"},
    {u"Vdisk盘", "vdisk.weibo.com", u"Vdisk网盘"},
    {u"115网盘", "115.com", u"115网盘"},
    {u"126网盘", "www.126disk.com", u"126网盘"},
    {u"RayFile", "www.rayfile.com", u"RayFile"},
    {u"酷牛网盘", "www.kuniu.net", u"酷牛网盘"},
    {u"天空网盘", "pan.skycn.com", u"天空网盘"},
};

bool valid(int index) { return index >= 0 && index < kServiceCount; }

} // namespace

QString serviceCaption(int index)
{
    return valid(index) ? QString::fromUtf16(kServices[index].caption) : QString();
}

QString serviceHost(int index)
{
    return valid(index) ? QString::fromLatin1(kServices[index].host) : QString();
}

QString serviceKind(int index)
{
    return valid(index) ? QString::fromUtf16(kServices[index].kind) : QString();
}

} // namespace lumorra::clouddisk
