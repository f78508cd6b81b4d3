#include "sources/clouddisk/cloud_disk_parse.h"

#include "net/page_fetcher.h"
#include "sources/clouddisk/cloud_disk_hosts.h"
#include "text/cut.h"

#include <array>

namespace lumorra::clouddisk {

ListRow listRow(const CloudDiskRow& row)
{
    ListRow r(row.kind);
    r.set(QStringLiteral("mc"), row.title).set(QStringLiteral("dz"), row.address);
    return r;
}

namespace {

struct Rule {
    std::array<const char16_t*, 2> texts;   // the title contains either (second may be null)
    const char16_t* kind;
};

// In order; the first rule whose text the title contains decides. Rule 2's
// second text is a literal with its vertical bars, not a pattern.
const Rule kRules[] = {
    {{u"百度", nullptr}, u"百度网盘"},
    {{u"华为", u"网盘|网盘资源|网盘外链|资源下载"}, u"华为网盘"},
    {{u"迅雷快传", nullptr}, u"迅雷快传"},
    {{u"QQ旋风", nullptr}, u"QQ旋风"},
    {{u"360云", nullptr}, u"360网盘"},
    {{u"千易", u"1000eb"}, u"千易网盘"},
    {{u"盛大", nullptr}, u"盛大网盘"},
    {{u"爱问", nullptr}, u"爱问共享"},
    {{u"CSDN", nullptr}, u"CSDN资源"},
    {{u"金山", nullptr}, u"金山网盘"},
    {{u"千脑", nullptr}, u"千脑网盘"},
    {{u"城通", nullptr}, u"城通网盘"},
    {{u"400网盘", nullptr}, u"400网盘"},
    {{u"纳米", nullptr}, u"纳米网盘"},
    {{u"迅载", nullptr}, u"迅载网盘"},
    {{u"共享盘_网盘_网络硬盘", nullptr}, u"GXP网盘"},
    {{kDomainServiceTitleName, nullptr}, kDomainServiceName},
    {{u"163网盘", nullptr}, u"163网盘"},
    {{u"VDISK", nullptr}, u"Vdisk网盘"},
    {{u"115网盘", nullptr}, u"115网盘"},
    {{u"126免费网络", nullptr}, u"126网盘"},
    {{u"RayFile", nullptr}, u"RayFile"},
    {{u"酷牛", nullptr}, u"酷牛网盘"},
    {{u"天空网盘", nullptr}, u"天空网盘"},
};

} // namespace

int countRecords(const QString& page)
{
    return int(qMin<qsizetype>(findOccurrences(page, kTitleMarker).size(), kMostRecordsPerPage));
}

QList<CloudDiskRow> cutRecords(const QString& page, int serviceIndex)
{
    QList<CloudDiskRow> rows;
    const CutPage cut(page);
    const qsizetype records = qMin<qsizetype>(cut.count(kTitleMarker), kMostRecordsPerPage);
    rows.reserve(records);
    const QString fallbackKind = serviceKind(serviceIndex);
    for (qsizetype i = 1; i <= records; ++i) {
        CloudDiskRow row;
        row.title = cut.piece(kTitleMarker, i).before(u'"');
        row.address = cut.piece(kAddressMarker, i).before(u'"');
        row.kind = classifyTitle(row.title);
        if (row.kind.isEmpty())
            row.kind = fallbackKind;
        rows.append(std::move(row));
    }
    return rows;
}

QString classifyTitle(const QString& title)
{
    for (const Rule& rule : kRules) {
        for (const char16_t* text : rule.texts) {
            if (text && title.contains(QStringView(text), Qt::CaseSensitive))
                return QString::fromUtf16(rule.kind);
        }
    }
    return {};
}

QString finishedText(const QString& kind)
{
    return kind + QStringLiteral("搜索完毕..");
}

QString notFoundText(const QString& serviceName)
{
    return serviceName + QStringLiteral("未找到相关资源..");
}

QString frameCaption(int rowCount)
{
    return QStringLiteral("资源列表(当前共搜索到：%1个资源)").arg(rowCount);
}

QString allFailedText(const QString& reason)
{
    return QStringLiteral("搜索失败(") + reason + QStringLiteral(")，未能从搜索服务获取结果，请检查网络后重试..");
}

QString allFailedText()
{
    return allFailedText(fetchErrorText(FetchError::Refused));
}

} // namespace lumorra::clouddisk
