#include "sources/clouddisk/cloud_disk_query.h"

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

QString searchUrl(const QString& base, const QString& host, const QString& encodedKeyword,
                  const QString& pageText)
{
    return base + QStringLiteral("/s?wd=site%3A") + host + QStringLiteral("%20") + encodedKeyword
        + QStringLiteral("&pn=") + pageText + QStringLiteral("&rn=50&ie=utf-8&rsv_page=1");
}

} // namespace lumorra::clouddisk
