#include "core/share_urls.h"

#include "net/url_encoding.h"

#include <QStringEncoder>

namespace lumorra {

namespace {

// The program's keys at the two microblog services and the tracking mark
// the forum service counts shares under.
const QString kTencentWeiboAppKey = QStringLiteral("5a1f0c9e3b7d4e2f8a6c1b0d9e7f3a25");
const QString kSinaWeiboAppKey = QStringLiteral("2718281828");
const QString kSinaReferrerHost = QStringLiteral("soft.tessaly.net");
const QString kTiebaTrackingFragment = QStringLiteral("0-tieba-share-9c4e1f7a2b8d3e6f0a5c7b1d4e8f2a6c");

} // namespace

QString shareTitle()
{
    return QStringLiteral("Lumorra官方网站 - Tessaly网络Lumorra神器");
}

QString recommendationText(const QString& productPage)
{
    return QStringLiteral("我正在使用的一款神器!什么资源都可以搜索到!你也快来试试吧!免费下载地址是：")
           + productPage;
}

QString shareClipboardText(const QString& productPage)
{
    return shareTitle() + QStringLiteral("!\r\n") + recommendationText(productPage);
}

QString shareCopiedMessage()
{
    return QStringLiteral("分享内容已复制到剪贴板，打开您要分享的QQ好友，直接发送即可!");
}

QString shareEndpointMissingText()
{
    return QStringLiteral("未配置分享地址（sites.ini 的 ShareEndpoint）");
}

QString encodedPageAddress(const QString& productPage)
{
    QString out = productPage;
    out.replace(u':', QStringLiteral("%3A"));
    out.replace(u'/', QStringLiteral("%2F"));
    return out;
}

QString gbkQueryText(const QString& text)
{
    // GB18030 writes every GBK character with GBK's own two bytes.
    QStringEncoder toGbk("GB18030");
    const QByteArray bytes = toGbk.encode(text);
    QString out;
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 || b == ' ' || b == '!')
            out += u'%' + QString::number(b, 16).toUpper().rightJustified(2, u'0');
        else
            out += QLatin1Char(char(b));
    }
    return out;
}

QString shareServicePath(ShareService service)
{
    switch (service) {
    case ShareService::QzoneShare: return QStringLiteral("/qzone");
    case ShareService::TencentWeibo: return QStringLiteral("/tqq");
    case ShareService::SinaWeibo: return QStringLiteral("/weibo");
    case ShareService::Renren: return QStringLiteral("/renren");
    case ShareService::Tieba: return QStringLiteral("/tieba");
    }
    return QString();
}

QString shareAddress(ShareService service, const QString& endpointBase, const QString& productPage)
{
    const QString endpoint = endpointBase + shareServicePath(service);
    const QString page = encodedPageAddress(productPage);
    // ASCII passes the encoder unchanged: the title's blanks and hyphen
    // reach the address as they are.
    const QString title = UTF8_URLEncoding(shareTitle());
    switch (service) {
    case ShareService::QzoneShare:
        return endpoint + QStringLiteral("/cgi-bin/qzshare/cgi_qzshare_onekey?url=") + page
               + QStringLiteral("&title=") + title + QStringLiteral("&desc=&summary=&site=");
    case ShareService::TencentWeibo:
        return endpoint + QStringLiteral("/index.php?c=share&a=index&url=") + page
               + QStringLiteral("&title=") + title + QStringLiteral("&appkey=") + kTencentWeiboAppKey;
    case ShareService::SinaWeibo:
        return endpoint + QStringLiteral("/share/share.php?url=") + page + QStringLiteral("&title=")
               + title + QStringLiteral("&appkey=") + kSinaWeiboAppKey + QStringLiteral("&sudaref=")
               + kSinaReferrerHost;
    case ShareService::Renren:
        return endpoint + QStringLiteral("/dialog/share?resourceUrl=") + page
               + QStringLiteral("&srcUrl=") + page + QStringLiteral("&title=") + title
               + QStringLiteral("&description=");
    case ShareService::Tieba:
        return endpoint + QStringLiteral("/f/commit/share/openShareApi?url=") + page
               + QStringLiteral("%2F%23") + kTiebaTrackingFragment + QStringLiteral("&title=")
               + gbkQueryText(shareTitle() + u'!') + QStringLiteral("&desc=&comment=");
    }
    return QString();
}

} // namespace lumorra
