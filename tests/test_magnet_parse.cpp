// The magnet search cutters and the Qvod link collection against small
// pages: URLs of both channels, the no-result pages, the fields of each hit,
// and what a hit without one of its pieces gives.
#include "net/url_encoding.h"
#include "sources/torrent/film_resource_detail_parse.h"
#include "sources/torrent/magnet_search_parse.h"
#include "text/cut.h"

#include <QtTest>

using namespace lumorra;

namespace {

const QString kBaseB = QStringLiteral("http://sites.test/mb");

QString hitA(const QString& name, const QString& meta)
{
    return QStringLiteral("<ul class=\"m-files-ul\">\r\n<li>%1<span>1 GB</span></li>\r\n</ul>"
                          "<p class=\"m-meta\">%2</p>\r\n</li>\r\n")
        .arg(name, meta);
}

QString metaA(const QString& size, const QString& date, const QString& link)
{
    return QStringLiteral("大小: %1&nbsp;&nbsp;创建时间: %2&nbsp;&nbsp;<a href=\"%3\">磁力链接</a>").arg(size, date, link);
}

QString hitB(const QString& href, const QString& anchorText, const QString& date)
{
    return QStringLiteral("<div class=\"name\"><font class=\"t\">[文件]</font><a href=\"%1\" target=\"_blank\">%2</a>"
                          "</div><p>发布:%3</p>\n")
        .arg(href, anchorText, date);
}

} // namespace

class TestMagnetParse : public QObject {
    Q_OBJECT
private slots:
    void searchUrls();
    void noResultPages();
    void siteARows();
    void siteAMissingPiecesAreEmpty();
    void siteBHits();
    void siteBDetailLink();
    void hitCountsStopAt16Bits();
    void qvodLinks_data();
    void qvodLinks();
};

void TestMagnetParse::searchUrls()
{
    const QString k = encodeKeyword(QStringLiteral("ubuntu"));
    QCOMPARE(magnetSearchUrl(MagnetChannel::SiteA, QStringLiteral("http://a"), k, 1),
             QStringLiteral("http://a/?s=ubuntu&p=1"));
    QCOMPARE(magnetSearchUrl(MagnetChannel::SiteB, kBaseB, k, 1), kBaseB + QStringLiteral("/search/ubuntu?page=1"));
    QCOMPARE(magnetSearchUrl(MagnetChannel::SiteB, kBaseB, encodeKeyword(QStringLiteral("电影")), 32767),
             kBaseB + QStringLiteral("/search/%E7%94%B5%E5%BD%B1?page=32767"));
}

void TestMagnetParse::noResultPages()
{
    const QString none = QStringLiteral("<div>没有找到任何结果</div>");
    const QString zero = QStringLiteral("共找到<strong>0</strong>个结果");
    const QString ten = QStringLiteral("共找到<strong>10</strong>个结果");
    QVERIFY(isMagnetNoResult(MagnetChannel::SiteA, none));
    QVERIFY(isMagnetNoResult(MagnetChannel::SiteA, zero));
    QVERIFY(!isMagnetNoResult(MagnetChannel::SiteA, ten));
    // MagnetSiteB knows only the count.
    QVERIFY(!isMagnetNoResult(MagnetChannel::SiteB, none));
    QVERIFY(isMagnetNoResult(MagnetChannel::SiteB, zero));
    QVERIFY(!isMagnetNoResult(MagnetChannel::SiteB, ten));
}

void TestMagnetParse::siteARows()
{
    const CutPage page(
        hitA(QStringLiteral("a.iso"), metaA(QStringLiteral("4.69 GB"), QStringLiteral("2024-02-22"),
                                            QStringLiteral("magnet:?xt=urn:btih:H&dn=N&tr=udp://t")))
        + hitA(QStringLiteral("b.iso"), metaA(QStringLiteral("1 KB"), QStringLiteral("2023-01-01"),
                                              QStringLiteral("magnet:?xt=urn:btih:K"))));
    QCOMPARE(countMagnetHits(MagnetChannel::SiteA, page.text()), qint16(2));
    const QList<MagnetRow> rows = cutMagnetSiteARows(page, 2);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].name, QStringLiteral("a.iso"));
    QCOMPARE(rows[0].size, QStringLiteral("4.69 GB"));
    QCOMPARE(rows[0].date, QStringLiteral("2024-02-22"));
    // Cut before the first "&": the display name and trackers go.
    QCOMPARE(rows[0].magnet, QStringLiteral("magnet:?xt=urn:btih:H"));
    // A link without "&" is kept whole.
    QCOMPARE(rows[1].magnet, QStringLiteral("magnet:?xt=urn:btih:K"));
    // A count above the hits the page holds makes no rows of its own.
    QCOMPARE(cutMagnetSiteARows(page, 5).size(), 2);
}

void TestMagnetParse::siteAMissingPiecesAreEmpty()
{
    // Hit 2 has neither size nor link, hit 3 no metadata line at all: their
    // fields are empty, never those of hit 1.
    const CutPage page(hitA(QStringLiteral("a.iso"), metaA(QStringLiteral("4 GB"), QStringLiteral("2024-01-01"),
                                                           QStringLiteral("magnet:?xt=urn:btih:H&dn=a")))
                       + hitA(QStringLiteral("b.iso"), QStringLiteral("创建时间: 2023-05-05&nbsp;"))
                       + QStringLiteral("<ul class=\"m-files-ul\">\r\n<li>c.iso</li></ul>"));
    const QList<MagnetRow> rows = cutMagnetSiteARows(page, 3);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[1].name, QStringLiteral("b.iso"));
    QCOMPARE(rows[1].date, QStringLiteral("2023-05-05"));
    QCOMPARE(rows[1].size, QString());
    QCOMPARE(rows[1].magnet, QString());
    // No "<span" in its file list: no name either.
    QCOMPARE(rows[2].name, QString());
    QCOMPARE(rows[2].size + rows[2].date + rows[2].magnet, QString());
}

void TestMagnetParse::siteBHits()
{
    const CutPage page(hitB(QStringLiteral("/detail/1.html"), QStringLiteral("<font color=\"red\">ubuntu</font>"),
                            QStringLiteral("2024-02-22"))
                       + hitB(QStringLiteral("/detail/2.html"),
                              QStringLiteral("k<font color=\"red\">ubuntu</font>-22.04 <b>x</b>"),
                              QStringLiteral("2024-01-01"))
                       // A name block whose anchor has no font label before it.
                       + QStringLiteral("<div class=\"name\"><a href=\"/detail/3.html\">c</a></div>"));
    QCOMPARE(countMagnetHits(MagnetChannel::SiteB, page.text()), qint16(3));
    const QList<MagnetSiteBHit> hits = cutMagnetSiteBHits(page, kBaseB, 3);
    QCOMPARE(hits.size(), 3);
    // The font element around the whole name goes, its text stays.
    QCOMPARE(hits[0].name, QStringLiteral("ubuntu"));
    QCOMPARE(hits[0].detailUrl, kBaseB + QStringLiteral("/detail/1.html"));
    QCOMPARE(hits[0].date, QStringLiteral("2024-02-22"));
    // Only a and font tags are removed.
    QCOMPARE(hits[1].name, QStringLiteral("kubuntu-22.04 <b>x</b>"));
    QCOMPARE(hits[1].detailUrl, kBaseB + QStringLiteral("/detail/2.html"));
    QCOMPARE(hits[2].name, QString());
    QCOMPARE(hits[2].detailUrl, QString());
    QCOMPARE(hits[2].date, QString());
}

void TestMagnetParse::siteBDetailLink()
{
    const QString marker = QStringLiteral("<a class=\"bnt-0 resource-download-name\"  data-download-type=\"1\" "
                                          "target='blank' href=\"");
    QCOMPARE(magnetSiteBDetailLink(QStringLiteral("<p>x</p>") + marker
                                   + QStringLiteral("magnet:?xt=urn:btih:H&dn=N\">下载</a>")),
             QStringLiteral("magnet:?xt=urn:btih:H&dn=N"));
    // One blank instead of two is another element.
    QCOMPARE(magnetSiteBDetailLink(QString(marker).replace(QStringLiteral("  "), QStringLiteral(" "))
                                   + QStringLiteral("magnet:?xt=urn:btih:H\">")),
             QString());
    QCOMPARE(magnetSiteBDetailLink(QString()), QString());
}

void TestMagnetParse::hitCountsStopAt16Bits()
{
    const QString page = QStringLiteral("<div class=\"name\">").repeated(40000);
    QCOMPARE(countMagnetHits(MagnetChannel::SiteB, page), qint16(32767));
    QCOMPARE(countMagnetHits(MagnetChannel::SiteA, page), qint16(0));
}

void TestMagnetParse::qvodLinks_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("links");
    const QString a = QStringLiteral("qvod://1|x|a.rmvb|");
    const QString b = QStringLiteral("qvod://2|y|b.rmvb|");
    // The link in the href names nothing of its own: one entry, not a bare
    // "qvod://" beside it.
    QTest::newRow("href repeats the text")
        << QStringLiteral("<a href=\"%1\">%1</a>").arg(a) << QStringList{a};
    QTest::newRow("distinct, in order of first occurrence")
        << QStringLiteral("<a>%1</a><a>%2</a><a>%1</a><a href=\"%2\">%2</a>").arg(a, b) << QStringList{a, b};
    const QString upper = QStringLiteral("qvod://1|X|A.RMVB|");
    QTest::newRow("other case is another link")
        << QStringLiteral("<a>%1</a><a>%2</a>").arg(a, upper) << QStringList{a, upper};
    QTest::newRow("no closing anchor") << QStringLiteral("<p>%1</p>").arg(a) << QStringList{};
    QTest::newRow("empty link") << QStringLiteral("<a>qvod://</a>") << QStringList{};
    QTest::newRow("no link") << QStringLiteral("<p>none</p>") << QStringList{};
}

void TestMagnetParse::qvodLinks()
{
    QFETCH(QString, page);
    QFETCH(QStringList, links);
    QCOMPARE(collectQvodLinks(page), links);
}

QTEST_GUILESS_MAIN(TestMagnetParse)
#include "test_magnet_parse.moc"
