#include "sources/emule/ed2k_engine.h"

#include "sources/emule/ed2k_link_parse.h"

namespace lumorra {

QString ed2kNotFoundText(const QString& reason)
{
    if (reason.isEmpty())
        return QStringLiteral("没有找到ed2k链接,种子地址提取失败!");
    return QStringLiteral("没有找到ed2k链接(") + reason + QStringLiteral("),种子地址提取失败!");
}

Ed2kEngine::Ed2kEngine(QObject* parent) : PageEngine(parent)
{
    setSite(QStringLiteral("emule-index"));
}

QString Ed2kEngine::refusalOf(const SourceRequest& request) const
{
    return request.address.isEmpty() ? ed2kNotFoundText() : QString();
}

QString Ed2kEngine::addressFor(const SourceRequest& request) const
{
    // The detail address is used as the list holds it.
    return request.address;
}

void Ed2kEngine::takePage(const FetchResult& page)
{
    const std::optional<QString> link = firstEd2kLink(definition(), page.text);
    if (!link) {
        say(ed2kNotFoundText());
        finishNone(ed2kNotFoundText());
        return;
    }
    ListRow row(rowNumber(1));
    row.set(QStringLiteral("dz"), *link);
    addRows({row});
    finishRows();
}

void Ed2kEngine::pageMissing(const FetchResult& result)
{
    failPage(result, ed2kNotFoundText(pageFailureText(result)));
}

} // namespace lumorra
