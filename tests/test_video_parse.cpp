// The online-video cutters against small pages: the URLs, the rows of the
// Qvod film, Qvod search and torrent tag pages, their detail pages, and what
// a page with fewer records than announced gives.
#include "sources/video/playback_parse.h"
#include "sources/video/qvod_film_parse.h"
#include "sources/video/qvod_search_parse.h"
#include "sources/video/torrent_tag_parse.h"
#include "text/cut.h"

#include <QtTest>

using namespace lumorra;

namespace {

const QString kFilmBase = QStringLiteral("http://films.test/qf");
const QString kSearchBase = QStringLiteral("http://search.test/qs");

QString channelPage(int films)
{
    QString page = QStringLiteral("<div class=\"mlist\"> <ul>\n");
    for (int i = 1; i <= films; ++i)
        page += QStringLiteral("<li><div class=\"c_contentcj\"><a href=\"/content/detail_%1.html\" target=\"_blank\">"
                               "影片%1</a></div></li>\n")
                    .arg(i);
    return page + QStringLiteral("</ul></div>");
}

QString searchRow(const QString& colour, int id, const QString& name)
{
    return QStringLiteral("<tr bgcolor=\"%1\"><td><a href=\"/vod-detail-id-%2.html\" target=\"_blank\">%3</a></td>"
                          "<td><a href=\"/vod-type-id-1.html\">科幻片</a></td><td><font color=\"#3D709E\">美国</font>"
                          "</td><td><font color=\"#008000\">2014-01-0%2</font></td></tr>\n")
        .arg(colour)
        .arg(id)
        .arg(name);
}

QString tagRow(const QString& url, const QString& title, const QString& size)
{
    return QStringLiteral("<tr><td class=\"subject\"><a href=\"%1\" title=\"%2\">%2</a> "
                          "<span style=\"color:#FF6347\">%3</span></td><td>2014</td></tr>\n")
        .arg(url, title, size);
}

} // namespace

class TestVideoParse : public QObject {
    Q_OBJECT
private slots:
    void urls();
    void qvodFilmRows();
    void qvodFilmDetail();
    void qvodSearchRows();
    void qvodSearchAnnouncements();
    void qvodSearchDetail();
    void torrentTagRows();
    void torrentTagSizes_data();
    void torrentTagSizes();
    void torrentInfoHash();
    void playbackAddresses();
    void forumAddressLinks_data();
    void forumAddressLinks();
};

void TestVideoParse::urls()
{
    QCOMPARE(qvodFilmChannelUrl(kFilmBase, 2), kFilmBase + QStringLiteral("/channel/list_0_2.html"));
    QCOMPARE(qvodSearchCategoryUrl(kSearchBase, 1), kSearchBase + QStringLiteral("/vod-show-p.html"));
    QCOMPARE(qvodSearchCategoryUrl(kSearchBase, 2), kSearchBase + QStringLiteral("/vod-show-p-2.html"));
    QCOMPARE(qvodSearchKeywordUrl(kSearchBase, QStringLiteral("abc")),
             kSearchBase + QStringLiteral("/vod-search-wd-abc-p.html"));
    QCOMPARE(qvodSearchKeywordPageUrl(kSearchBase, QStringLiteral("abc"), 0),
             kSearchBase + QStringLiteral("/vod-search-wd-abc-p-0.html"));
    QCOMPARE(torrentTagUrl(QStringLiteral("http://tags.test"), QStringLiteral("ubuntu")),
             QStringLiteral("http://tags.test/tags/ubuntu/"));
}

void TestVideoParse::qvodFilmRows()
{
    // 25 a page at most, numbered by their own markers.
    const QList<QvodFilmRow> full = cutQvodFilmRows(CutPage(channelPage(30)), kFilmBase, kQvodFilmRowsPerPage);
    QCOMPARE(full.size(), 25);
    QCOMPARE(full.first().title, QStringLiteral("影片1"));
    QCOMPARE(full.last().title, QStringLiteral("影片25"));
    QCOMPARE(full.last().detailUrl, kFilmBase + QStringLiteral("/content/detail_25.html"));

    // A short page lists what it has, never its last film again.
    const QList<QvodFilmRow> shortPage = cutQvodFilmRows(CutPage(channelPage(3)), kFilmBase, kQvodFilmRowsPerPage);
    QCOMPARE(shortPage.size(), 3);
    QCOMPARE(shortPage.at(2).title, QStringLiteral("影片3"));

    // Titles come from the block only, addresses from the whole page; a
    // link without its closing quote gives the bare prefix.
    const QString odd = QStringLiteral("<div class=\"c_contentcj\">广告</div><div class=\"mlist\"> <ul><li>")
        + QStringLiteral("<div class=\"c_contentcj\"><a href=\"/content/detail_1.html\">甲</a></div></li></ul></div>")
        + QStringLiteral("<div class=\"c_contentcj\">侧栏</div><div class=\"c_contentcj\"><a href=\"/content/detail_9");
    const QList<QvodFilmRow> rows = cutQvodFilmRows(CutPage(odd), kFilmBase, kQvodFilmRowsPerPage);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).title, QStringLiteral("甲"));
    QCOMPARE(rows.at(0).detailUrl, kFilmBase + QStringLiteral("/content/detail_1.html"));
    QCOMPARE(rows.at(1).title, QString());
    QCOMPARE(rows.at(1).detailUrl, kFilmBase + QStringLiteral("/content/detail_"));

    QVERIFY(cutQvodFilmRows(CutPage(QStringLiteral("<html>no list</html>")), kFilmBase, 25).isEmpty());
}

void TestVideoParse::qvodFilmDetail()
{
    const QString table = QStringLiteral("<table cellpadding=\"0\" cellspacing=\"0\" border=\"0\"><tr><td>");
    const QString page = QStringLiteral("<!--海报开始--><img src=\"/poster/3.bmp\" alt=\"x\">")
        + QStringLiteral("<!--迅播高清1地址开始-->") + table + QStringLiteral("thunder://a</td></tr></table>")
        + QStringLiteral("<!--百度影音5地址开始-->") + table + QStringLiteral("bdhd://b</td></tr></table>")
        + QStringLiteral("<!--快播资源4地址开始-->") + table + QStringLiteral("qvod://c|</td></tr></table>");
    const QvodFilmDetail d = cutQvodFilmDetail(page, kFilmBase);
    QCOMPARE(d.posterUrl, kFilmBase + QStringLiteral("/poster/3.bmp"));
    QCOMPARE(d.thunder.value_or(QStringLiteral("-")), QStringLiteral("thunder://a"));
    QCOMPARE(d.baidu.value_or(QStringLiteral("-")), QStringLiteral("bdhd://b"));
    QCOMPARE(d.qvod.value_or(QStringLiteral("-")), QStringLiteral("qvod://c|"));
    // No ＱＱ block (full-width letters): its box is left alone. A half-width
    // "QQ" block is not the site's marker either.
    QVERIFY(!d.qq.has_value());
    const QvodFilmDetail halfWidth =
        cutQvodFilmDetail(QStringLiteral("<!--QQ影音2地址开始-->") + table + QStringLiteral("x</td>"), kFilmBase);
    QVERIFY(!halfWidth.qq.has_value());
    const QvodFilmDetail fullWidth =
        cutQvodFilmDetail(QStringLiteral("<!--ＱＱ影音2地址开始-->") + table + QStringLiteral("qq://x</td>"), kFilmBase);
    QCOMPARE(fullWidth.qq.value_or(QStringLiteral("-")), QStringLiteral("qq://x"));
    QCOMPARE(fullWidth.posterUrl, QString());
}

void TestVideoParse::qvodSearchRows()
{
    const QString category = QStringLiteral("<table>") + searchRow(QStringLiteral("#f5fef7"), 1, QStringLiteral("甲"))
        + searchRow(QStringLiteral("#f5fef7"), 2, QStringLiteral("乙"))
        + searchRow(QStringLiteral("#f5fef7"), 3, QStringLiteral("丙")) + QStringLiteral("</table>");
    QCOMPARE(countQvodSearchCategoryHits(category), 3);
    const CutPage page(category);
    const QList<QvodSearchRow> rows = cutQvodSearchRows(page, qvodSearchCategoryRowMarker(), kSearchBase, 3);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(1).title, QStringLiteral("乙"));
    QCOMPARE(rows.at(1).section, QStringLiteral("科幻片"));
    QCOMPARE(rows.at(1).region, QStringLiteral("美国"));
    QCOMPARE(rows.at(1).detailUrl, kSearchBase + QStringLiteral("/vod-detail-id-2.html"));
    // The keyword marker's colour is upper case: a category page has none.
    QVERIFY(cutQvodSearchRows(page, qvodSearchKeywordRowMarker(), kSearchBase, 3).isEmpty());
    // More announced than listed: only the listed ones.
    QCOMPARE(cutQvodSearchRows(page, qvodSearchCategoryRowMarker(), kSearchBase, 8).size(), 3);
}

void TestVideoParse::qvodSearchAnnouncements()
{
    QCOMPARE(qvodSearchAnnouncedTotal(CutPage(QStringLiteral("搜索：共 3 部影片"))), 3);
    QCOMPARE(qvodSearchAnnouncedPages(CutPage(QStringLiteral("当前:1/3页"))), 3);
    QCOMPARE(qvodSearchAnnouncedTotal(CutPage(QStringLiteral("没有结果"))), 0);
    QCOMPARE(qvodSearchAnnouncedPages(CutPage(QStringLiteral("当前:2/3页"))), 0);
    // A page claiming billions of pages is not collected for good.
    QCOMPARE(qvodSearchAnnouncedPages(CutPage(QStringLiteral("当前:1/2222222222222页"))), kMaxQvodSearchPages);
    QVERIFY(isQvodSearchNoResult(QStringLiteral("对不起，没有搜索到相关影片")));
    QVERIFY(!isQvodSearchNoResult(QStringLiteral("共 3 部")));
}

void TestVideoParse::qvodSearchDetail()
{
    QString page;
    for (int i = 1; i <= 3; ++i)
        page += QStringLiteral("<img src=\"http://p.test/%1.jpg\">").arg(i);
    for (int i = 1; i <= 4; ++i)
        page += QStringLiteral("<input value=\"%1\">").arg(i);
    const QvodSearchDetail d = cutQvodSearchDetail(page + QStringLiteral("<input value=\"qvod://abc|\"><input value=\"z\">"));
    QCOMPARE(d.address, QStringLiteral("qvod://abc|"));
    QCOMPARE(d.posterUrl, QStringLiteral("http://p.test/3.jpg"));
    QCOMPARE(cutQvodSearchDetail(page + QStringLiteral("<input value=\"\">")).address, QString());
    QCOMPARE(cutQvodSearchDetail(page).address, QString());   // no fifth value=
}

void TestVideoParse::torrentTagRows()
{
    const QString page = QStringLiteral("<table>") + tagRow(QStringLiteral("http://t/1.html"), QStringLiteral("A"), QStringLiteral("1.2 GB"))
        + tagRow(QStringLiteral("http://t/2.html"), QStringLiteral("B"), QStringLiteral("0 B"))
        + tagRow(QStringLiteral("http://t/3.html"), QStringLiteral("C"), QStringLiteral("10 B")) + QStringLiteral("</table>");
    QVERIFY(hasTorrentTagRecords(page));
    QCOMPARE(countTorrentTagHits(page), 3);
    const QList<TorrentTagRow> rows = cutTorrentTagRows(CutPage(page), 5);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).pageUrl, QStringLiteral("http://t/1.html"));
    QCOMPARE(rows.at(0).title, QStringLiteral("A"));
    QCOMPARE(rows.at(0).size, QStringLiteral("1.2 GB"));
    QCOMPARE(rows.at(1).size, QString());
    QCOMPARE(rows.at(2).size, QStringLiteral("10 B"));
    QVERIFY(!hasTorrentTagRecords(QStringLiteral("<p>暂无种子</p>")));
}

void TestVideoParse::torrentTagSizes_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("size");
    QTest::newRow("zero") << QStringLiteral("\">0 B<") << QString();
    QTest::newRow("ten bytes") << QStringLiteral("\">10 B<") << QStringLiteral("10 B");
    QTest::newRow("hundred kilobytes") << QStringLiteral("\">100 KB<") << QStringLiteral("100 KB");
    QTest::newRow("gigabytes") << QStringLiteral("\">1.2 GB<") << QStringLiteral("1.2 GB");
}

void TestVideoParse::torrentTagSizes()
{
    QFETCH(QString, cell);
    QFETCH(QString, size);
    QCOMPARE(torrentTagSize(cell), size);
}

void TestVideoParse::torrentInfoHash()
{
    const QString hash = cutTorrentInfoHash(QStringLiteral("<div><blockquote><p>ABCDEF</p></blockquote></div>"));
    QCOMPARE(hash, QStringLiteral("ABCDEF"));
    QCOMPARE(magnetOfInfoHash(hash), QStringLiteral("magnet:?xt=urn:btih:ABCDEF"));
    QCOMPARE(cutTorrentInfoHash(QStringLiteral("<P class=\"h\">AB</P>CD<blockquote>")), QString());
    QCOMPARE(cutTorrentInfoHash(QStringLiteral("<blockquote><P class=\"h\">AB</P>CD</blockquote>")),
             QStringLiteral("ABCD"));
    QCOMPARE(cutTorrentInfoHash(QString()), QString());
}

void TestVideoParse::playbackAddresses()
{
    // The link goes into the on-demand address exactly as it is.
    QCOMPARE(onDemandUrl(QStringLiteral("http://od.test"), QStringLiteral("magnet:?xt=urn:btih:abc")),
             QStringLiteral("http://od.test/api.php?ed=1&url=magnet:?xt=urn:btih:abc"));
    QCOMPARE(onDemandUrl(QStringLiteral("http://od.test"), QStringLiteral("ed2k://|file|片 名.avi|1|H|/")),
             QStringLiteral("http://od.test/api.php?ed=1&url=ed2k://|file|片 名.avi|1|H|/"));
    const QString live = QStringLiteral("http://live.test");
    QCOMPARE(liveChannelUrl(live, 0), live + QStringLiteral("/qxk/tvpage.swf"));
    QCOMPARE(liveChannelUrl(live, 2), live + QStringLiteral("/tb/tvpage.swf"));
    QCOMPARE(liveChannelUrl(live, 9), live + QStringLiteral("/vip/1.swf"));
    QCOMPARE(liveChannelUrl(live, -1), QString());
    QCOMPARE(liveChannelUrl(live, 10), QString());
    QVERIFY(isLivePortalAddress(QStringLiteral("http://live.test/zhibo.html?c=1")));
    QVERIFY(!isLivePortalAddress(QStringLiteral("http://live.test/tb/tvpage.swf")));
    QCOMPARE(forumAddressPageUrl(QStringLiteral("http://198.51.100.7")), QStringLiteral("http://198.51.100.7/url.html"));

    QCOMPARE(playerStateText(0).value_or(QString()), QStringLiteral("准备就绪.."));
    QCOMPARE(playerStateText(3).value_or(QString()), QStringLiteral("正在播放中.."));
    QCOMPARE(playerStateText(9).value_or(QString()), QStringLiteral("BT种子下载中.."));
    QCOMPARE(playerStateText(11).value_or(QString()), QStringLiteral("正在停止.."));
    QVERIFY(!playerStateText(12).has_value());
    QVERIFY(!playerStateText(-1).has_value());
}

void TestVideoParse::forumAddressLinks_data()
{
    QTest::addColumn<int>("links");
    QTest::addColumn<QStringList>("boxes");
    auto link = [](int i) { return QStringLiteral("http://10.0.0.%1/").arg(i); };
    QTest::newRow("seven") << 7 << QStringList{link(2), link(3), link(4), link(5), link(6), link(7)};
    QTest::newRow("nine") << 9 << QStringList{link(2), link(3), link(4), link(5), link(6), link(7)};
    // Fewer links than boxes: the rest stay empty, never a copy of the last.
    QTest::newRow("three") << 3 << QStringList{link(2), link(3), QString(), QString(), QString(), QString()};
    QTest::newRow("none") << 0 << QStringList(6, QString());
}

void TestVideoParse::forumAddressLinks()
{
    QFETCH(int, links);
    QFETCH(QStringList, boxes);
    QString page = QStringLiteral("<html>");
    for (int i = 1; i <= links; ++i)
        page += QStringLiteral("<a href=\"http://10.0.0.%1/\">地址</a>").arg(i);
    QCOMPARE(lumorra::forumAddressLinks(page), boxes);
}

QTEST_GUILESS_MAIN(TestVideoParse)
#include "test_video_parse.moc"
