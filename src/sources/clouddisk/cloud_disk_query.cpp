#include "sources/clouddisk/cloud_disk_query.h"

#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/clouddisk/cloud_disk_parse.h"
#include "sources/definitions/site_definitions.h"

namespace lumorra::clouddisk {

QString inputProblem(const QString& keyword, bool anyTicked)
{
    if (keyword.isEmpty())
        return QStringLiteral("请输入要搜索的资源名称..");
    // QString counts 16-bit units: one Chinese character is one character.
    if (keyword.size() < 2)
        return QStringLiteral("请至少输入两位关键字..");
    if (!anyTicked)
        return QStringLiteral("请选择至少一个网盘进行搜索..");
    return {};
}

QString searchingText(const QString& keyword)
{
    return QStringLiteral("正在为您搜索[") + keyword + QStringLiteral("]相关资源..");
}

QString searchUrl(const SiteDefinition& def, const QString& base, const QString& host,
                  const QString& encodedKeyword, const QString& pageText)
{
    return def.url(QStringLiteral("search"), {{QStringLiteral("base"), base},
                                              {QStringLiteral("host"), host},
                                              {QStringLiteral("keyword"), encodedKeyword},
                                              {QStringLiteral("page"), pageText}});
}

QString searchUrl(const QString& base, const QString& host, const QString& encodedKeyword,
                  const QString& pageText)
{
    return searchUrl(siteDefinition(QStringLiteral("clouddisk")), base, host, encodedKeyword, pageText);
}

namespace {

ServiceOutcome outcomeOf(int service, const FetchResult& result, int rows)
{
    ServiceOutcome out;
    out.service = service;
    out.pending = false;
    out.elapsedMs = result.elapsedMs;
    out.failure = pageFailureText(result);
    out.rows = rows;
    return out;
}

} // namespace

ServiceOutcome serviceOutcome(const SiteDefinition& def, int service, const FetchResult& result)
{
    return outcomeOf(service, result, result.ok() ? countRecords(def, result.text) : 0);
}

ServiceOutcome serviceOutcome(int service, const FetchResult& result)
{
    return serviceOutcome(siteDefinition(QStringLiteral("clouddisk")), service, result);
}

ServiceAnswer cutServiceAnswer(const SiteDefinition& def, int service, const FetchResult& result)
{
    ServiceAnswer answer;
    if (result.ok())
        answer.rows = cutRecords(def, result.text, service);
    answer.outcome = outcomeOf(service, result, int(answer.rows.size()));
    return answer;
}

ServiceAnswer cutServiceAnswer(int service, const FetchResult& result)
{
    return cutServiceAnswer(siteDefinition(QStringLiteral("clouddisk")), service, result);
}

QString serviceStatusTable(const QList<ServiceOutcome>& outcomes)
{
    if (outcomes.isEmpty())
        return {};
    QString html = QStringLiteral(
        "<b>各网盘搜索情况</b><table cellspacing=\"0\" cellpadding=\"2\">"
        "<tr><th align=\"left\">网盘</th><th align=\"right\">资源数</th>"
        "<th align=\"right\">用时(毫秒)</th><th align=\"left\">失败原因</th></tr>");
    for (const ServiceOutcome& o : outcomes) {
        html += QStringLiteral("<tr><td>") + serviceCaption(o.service).toHtmlEscaped()
            + QStringLiteral("</td>");
        if (o.pending) {
            html += QStringLiteral("<td></td><td></td><td>等待应答..</td></tr>");
            continue;
        }
        html += QStringLiteral("<td align=\"right\">%1</td><td align=\"right\">%2</td><td>%3</td></tr>")
                    .arg(o.rows)
                    .arg(o.elapsedMs)
                    .arg(o.failure.toHtmlEscaped());
    }
    html += QStringLiteral("</table>");
    return html;
}

QString serviceStatusLine(const ServiceOutcome& o)
{
    QString line = serviceCaption(o.service) + QStringLiteral("  ");
    if (o.pending)
        return line + QStringLiteral("等待应答..");
    if (!o.failure.isEmpty())
        line += QStringLiteral("失败：") + o.failure + QStringLiteral("  ");
    if (o.failure.isEmpty() || o.rows > 0)
        line += QStringLiteral("%1个资源  ").arg(o.rows);
    return line + QStringLiteral("%1毫秒").arg(o.elapsedMs);
}

} // namespace lumorra::clouddisk
