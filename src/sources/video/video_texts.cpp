#include "sources/video/video_texts.h"

namespace lumorra {

namespace {
QString reasonOf(const FetchResult& result)
{
    return pageFailureText(result);
}
} // namespace

QString videoListingFailedText(const FetchResult& result)
{
    return QStringLiteral("资源获取失败(") + reasonOf(result) + QStringLiteral("),请稍后再试..");
}

QString videoDetailFailedText(const FetchResult& result)
{
    return QStringLiteral("解析失败(") + reasonOf(result) + QStringLiteral("),请稍后再试..");
}

QString qvodSearchMissedPagesText(int missed, const QString& reason)
{
    return QStringLiteral("资源获取完毕..(有%1页未能获取:%2)").arg(QString::number(missed), reason);
}

QString torrentTagNothingFoundText(const QString& reason)
{
    const QString text = QStringLiteral("抱歉!未找到任何资源..");
    return reason.isEmpty() ? text : text + u'(' + reason + u')';
}

QString videoEmptyListingText()
{
    return QStringLiteral("获取完毕..本页没有资源记录");
}

QString videoResourceGoneText()
{
    return QStringLiteral("抱歉!该资源已失效,请您获取其他资源");
}

QString filmResourceLinksDoneText()
{
    return QStringLiteral("种子提取完毕..");
}

QString filmResourceLinksFailedText(FetchError error)
{
    const QString reason = error == FetchError::None ? QStringLiteral("未获取到页面内容") : fetchErrorText(error);
    return QStringLiteral("种子提取失败：") + reason + QStringLiteral("，请稍后重试..");
}

QString filmResourceLinksFailedText(const FetchResult& result)
{
    if (result.okStatus())
        return filmResourceLinksFailedText(result.error);
    return QStringLiteral("种子提取失败：") + pageFailureText(result) + QStringLiteral("，请稍后重试..");
}

} // namespace lumorra
