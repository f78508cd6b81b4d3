#include "sources/video/playback_parse.h"

#include "text/cut.h"

namespace lumorra {

namespace {

const char16_t* const kChannelPaths[kLiveChannelCount] = {
    u"/qxk/tvpage.swf", u"/dsj/tvpage.swf", u"/tb/tvpage.swf", u"/zy/tvpage.swf", u"/dm/tvpage.swf",
    u"/music/tvpage.swf", u"/sp/tvpage.swf", u"/gx/tvpage.swf", u"/xp/tvpage.swf", u"/vip/1.swf",
};

const char16_t* const kStateTexts[] = {
    u"准备就绪..", u"已停止播放", u"已暂停播放", u"正在播放中..", u"缓冲中..", u"等待中..",
    u"播放结束..", u"准备读..", u"重连中..", u"BT种子下载中..", u"正在连接中..", u"正在停止..",
};

} // namespace

QString onDemandUrl(const QString& base, const QString& link)
{
    return base + QStringLiteral("/api.php?ed=1&url=") + link;
}

QString liveChannelUrl(const QString& base, int index)
{
    if (index < 0 || index >= kLiveChannelCount)
        return {};
    return base + QString::fromUtf16(kChannelPaths[index]);
}

bool isLivePortalAddress(const QString& location)
{
    return location.contains(QStringLiteral("zhibo.html"));
}

QString forumAddressPageUrl(const QString& base)
{
    return base + QStringLiteral("/url.html");
}

QStringList forumAddressLinks(const QString& page)
{
    const CutPage cut(page);
    QStringList links;
    for (int i = 2; i <= 7; ++i) {
        // A page with fewer links leaves the remaining boxes empty.
        links << (cut.hasPiece(u"<a href=\"", i) ? cut.piece(u"<a href=\"", i).before(u'"').str() : QString());
    }
    return links;
}

std::optional<QString> playerStateText(int state)
{
    if (state < 0 || state >= int(std::size(kStateTexts)))
        return std::nullopt;
    return QString::fromUtf16(kStateTexts[state]);
}

} // namespace lumorra
