#include "sources/clouddisk/cloud_disk_parse.h"

#include "net/page_fetcher.h"
#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

namespace lumorra::clouddisk {

ListRow listRow(const CloudDiskRow& row)
{
    ListRow r(row.kind);
    r.set(QStringLiteral("mc"), row.title).set(QStringLiteral("dz"), row.address);
    return r;
}

namespace {

const SiteDefinition& shipped() { return siteDefinition(QStringLiteral("clouddisk")); }

} // namespace

int countRecords(const SiteDefinition& def, const QString& page)
{
    return int(qMin<qsizetype>(findOccurrences(page, def.record).size(), kMostRecordsPerPage));
}

int countRecords(const QString& page)
{
    return countRecords(shipped(), page);
}

QList<CloudDiskRow> cutRecords(const SiteDefinition& def, const QString& page, int serviceIndex)
{
    QList<CloudDiskRow> rows;
    const CutPage cut(page);
    const qsizetype records = qMin<qsizetype>(cut.count(def.record), kMostRecordsPerPage);
    rows.reserve(records);
    const QString fallbackKind = serviceKind(def, serviceIndex);
    const QList<TableRow> rules = def.table(QStringLiteral("rules"));
    const FieldCut& title = def.field(QStringLiteral("mc"));
    const FieldCut& address = def.field(QStringLiteral("dz"));
    for (qsizetype i = 1; i <= records; ++i) {
        CloudDiskRow row;
        row.title = title.cut(cut, i);
        row.address = address.cut(cut, i);
        row.kind = classifyTitle(rules, row.title);
        if (row.kind.isEmpty())
            row.kind = fallbackKind;
        rows.append(std::move(row));
    }
    return rows;
}

QList<CloudDiskRow> cutRecords(const QString& page, int serviceIndex)
{
    return cutRecords(shipped(), page, serviceIndex);
}

QString classifyTitle(const QList<TableRow>& rules, const QString& title)
{
    // In order; the first rule one of whose texts the title contains decides.
    const QString titles = QStringLiteral("titles");
    const QString kind = QStringLiteral("kind");
    for (const TableRow& rule : rules) {
        for (const QString& text : rule.value(titles)) {
            if (!text.isEmpty() && title.contains(text, Qt::CaseSensitive))
                return rule.value(kind).value(0);
        }
    }
    return {};
}

QString classifyTitle(const QString& title)
{
    return classifyTitle(shipped().table(QStringLiteral("rules")), title);
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
