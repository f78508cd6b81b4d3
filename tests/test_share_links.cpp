// The share page of the settings window: "QQ好友" puts the two-line
// recommendation on the clipboard and says so; the five web buttons open
// their share dialogs with the page and title written as each one takes
// them.
#include "app/settings_window.h"
#include "core/vendor_pages.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "platform/open_address.h"
#include "modal_answerer.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;

namespace {

const QString kBase = QStringLiteral("http://127.0.0.1:8080");
// The product page as the share dialogs take it.
const QString kPage = QStringLiteral("http%3A%2F%2F127.0.0.1%3A8080%2Fvendor%2Fsoft%2Fbrenn.html");
// The share title through UTF8_URLEncoding: blanks and hyphen as they are.
const QString kTitle = QStringLiteral(
    "Lumorra%E5%AE%98%E6%96%B9%E7%BD%91%E7%AB%99 - Tessaly%E7%BD%91%E7%BB%9CLumorra%E7%A5%9E%E5%99%A8");

} // namespace

class ShareLinksTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QStringList m_opened;

    static QAbstractButton* button(SettingsWindow& w, int i)
    {
        return w.findChild<QAbstractButton*>(QStringLiteral("aicAlphaImage%1").arg(i));
    }

private slots:
    void initTestCase()
    {
        qputenv("LUMORRA_HOME", m_home.path().toUtf8());
        SiteConfig::current().pointAllAt(kBase);
        setOpenAddressHandler([this](const QString& a) { m_opened << a; });
    }

    void cleanupTestCase() { setOpenAddressHandler(nullptr); }

    void captions()
    {
        SettingsWindow w;
        const QStringList expected = {"QQ好友", "QQ空间", "腾讯微博", "新浪微博", "人人网", "百度贴吧"};
        for (int i = 1; i <= 6; ++i) {
            QVERIFY(button(w, i));
            QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label%1").arg(i))->text(), expected[i - 1]);
        }
    }

    void qqFriendCopiesTwoLines()
    {
        SettingsWindow w;
        QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
        ModalAnswerer answerer;
        button(w, 1)->click();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Lumorra官方网站 - Tessaly网络Lumorra神器!\r\n"
                                "我正在使用的一款神器!什么资源都可以搜索到!你也快来试试吧!免费下载地址是：")
                     + productPageAddress());
        QVERIFY(productPageAddress().startsWith(kBase + QStringLiteral("/vendor/")));
        QCOMPARE(answerer.texts(),
                 QStringList{QStringLiteral("分享内容已复制到剪贴板，打开您要分享的QQ好友，直接发送即可!")});
        QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Information});
        QVERIFY(m_opened.isEmpty());
    }

    void webButtonsOpenTheirDialogs()
    {
        SettingsWindow w;
        m_opened.clear();
        for (int i = 2; i <= 6; ++i)
            button(w, i)->click();
        QCOMPARE(m_opened.size(), 5);
        const QString share = kBase + QStringLiteral("/share");

        QCOMPARE(m_opened[0], share + QStringLiteral("/qzone/cgi-bin/qzshare/cgi_qzshare_onekey?url=") + kPage
                                  + QStringLiteral("&title=") + kTitle + QStringLiteral("&desc=&summary=&site="));
        QVERIFY(QRegularExpression(QRegularExpression::anchoredPattern(
                                       QRegularExpression::escape(share + "/tqq/index.php?c=share&a=index&url=" + kPage
                                                                  + "&title=" + kTitle + "&appkey=")
                                       + "[0-9a-f]{32}"))
                    .match(m_opened[1]).hasMatch());
        QVERIFY(QRegularExpression(QRegularExpression::anchoredPattern(
                                       QRegularExpression::escape(share + "/weibo/share/share.php?url=" + kPage
                                                                  + "&title=" + kTitle + "&appkey=")
                                       + "[0-9]{10}&sudaref=[a-z0-9.-]+"))
                    .match(m_opened[2]).hasMatch());
        // 人人网 carries the page twice.
        QCOMPARE(m_opened[3], share + QStringLiteral("/renren/dialog/share?resourceUrl=") + kPage
                                  + QStringLiteral("&srcUrl=") + kPage + QStringLiteral("&title=") + kTitle
                                  + QStringLiteral("&description="));
        // 百度贴吧: a tracking fragment after the page, and the title with "!"
        // in GBK, blanks and "!" escaped too.
        QVERIFY(QRegularExpression(QRegularExpression::anchoredPattern(
                                       QRegularExpression::escape(share + "/tieba/f/commit/share/openShareApi?url="
                                                                  + kPage + "%2F%23")
                                       + "[0-9A-Za-z-]+[0-9a-f]{32}"
                                       + QRegularExpression::escape(
                                           "&title=Lumorra%B9%D9%B7%BD%CD%F8%D5%BE%20-%20Tessaly%CD%F8%C2%E7"
                                           "Lumorra%C9%F1%C6%F7%21&desc=&comment=")))
                    .match(m_opened[4]).hasMatch());
    }

    void webButtonsWithoutEndpointSaySo()
    {
        SettingsWindow w;
        const QString endpoint = SiteConfig::current().base(QString::fromLatin1(role::ShareEndpoint));
        SiteConfig::current().setBase(QString::fromLatin1(role::ShareEndpoint), QString());
        m_opened.clear();
        for (int i = 2; i <= 6; ++i) {
            StatusLine::set(QStringLiteral("-"));
            button(w, i)->click();
            QCOMPARE(StatusLine::text(), QStringLiteral("未配置分享地址（sites.ini 的 ShareEndpoint）"));
        }
        // "QQ好友" needs no share dialog.
        StatusLine::set(QStringLiteral("-"));
        ModalAnswerer answerer;
        button(w, 1)->click();
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(StatusLine::text(), QStringLiteral("-"));
        SiteConfig::current().setBase(QString::fromLatin1(role::ShareEndpoint), endpoint);
        QVERIFY(m_opened.isEmpty());
    }
};

QTEST_MAIN(ShareLinksTest)
#include "test_share_links.moc"
