// The torrent index, torrent RSS and film resource cutters against small
// pages: URLs, counts, the fields of each row, and what a record without one
// of its pieces gives.
#include "net/url_encoding.h"
#include "sources/torrent/film_resource_parse.h"
#include "sources/torrent/torrent_index_parse.h"
#include "sources/torrent/torrent_rss_parse.h"
#include "text/cut.h"

#include <QtTest>

using namespace lumorra;

namespace {

const QString kBase = QStringLiteral("http://sites.test/ti");

QString indexRow(const QString& name, const QString& date, const QString& size, const QString& hash)
{
    return QStringLiteral("<tr><td class=\"name\">%1</td><td class=\"date\">%2</td><td class=\"size\">%3</td>"
                          "<td><a href=\"http://x/information/%4\">详情</a>"
                          " <a href=\"magnet:?xt=urn:btih:%4\">磁力</a></td></tr>\n")
        .arg(name, date, size, hash);
}

QString rssItem(const QString& title, const QString& size, const QString& url, const QString& date)
{
    return QStringLiteral("<item><title><![CDATA[%1]]></title>"
                          "<description><![CDATA[<b>Size:%2</b>]]></description>"
                          "<enclosure url=\"%3\" type=\"application/x-bittorrent\" />"
                          "<pubDate>%4</pubDate></item>\n")
        .arg(title, size, url, date);
}

QString filmRow(int id, const QString& title, const QString& date, int region, const QString& regionName)
{
    return QStringLiteral("<tr><td><a href=\"detail.asp?ID=%1\" target=\"_blank\" title=\"%2\">%2</a></td>"
                          "<td class=\"l6 \">%3</td>"
                          "<td><a href=\"index.asp?RegionID=%4\">%5</a></td></tr>\n")
        .arg(id)
        .arg(title, date)
        .arg(region)
        .arg(regionName);
}

QString filmPage(int announced, int listed)
{
    QString page = QStringLiteral("<div>搜索结果：共有 %1 部影片</div><table>").arg(announced);
    for (int i = 1; i <= listed; ++i)
        page += filmRow(100 + i, QStringLiteral("影片%1").arg(i), QStringLiteral("2024-01-%1").arg(i), 1,
                        QStringLiteral("大陆"));
    return page + QStringLiteral("</table>");
}

} // namespace

class TestTorrentParse : public QObject {
    Q_OBJECT
private slots:
    void searchUrls();
    void torrentIndexRows();
    void torrentIndexNameKeepsAllButLessThan();
    void torrentIndexMissingPiecesAreEmpty();
    void torrentIndexRowsOnlyForMagnetsThePageHolds();
    void torrentRssRows();
    void torrentRssMissingPiecesAreEmpty();
    void pendingCountersStopAt16Bits();
    void filmCountAnnounced_data();
    void filmCountAnnounced();
    void filmRowsFields();
    void filmRowsOnlyForListedFilms();
    void filmMissingPiecesAreEmpty();
    void filmNoResultPage();
};

void TestTorrentParse::searchUrls()
{
    QCOMPARE(torrentIndexSearchUrl(kBase, encodeKeyword(QStringLiteral("ubuntu")), QStringLiteral("3")),
             kBase + QStringLiteral("/search/ubuntu/3"));
    QCOMPARE(torrentIndexSearchUrl(kBase, encodeKeyword(QStringLiteral("电影")), QStringLiteral("1")),
             kBase + QStringLiteral("/search/%E7%94%B5%E5%BD%B1/1"));
    // A keyword stays one path segment, whatever it holds.
    QCOMPARE(torrentIndexSearchUrl(kBase, encodeKeyword(QStringLiteral("a/b?c#d")), QStringLiteral("2")),
             kBase + QStringLiteral("/search/a%2Fb%3Fc%23d/2"));

    QCOMPARE(torrentRssUrl(kBase, encodeKeyword(QStringLiteral("ubuntu"))), kBase + QStringLiteral("/rss/ubuntu/"));
    QCOMPARE(torrentRssUrl(kBase, encodeKeyword(QStringLiteral("x y/z"))), kBase + QStringLiteral("/rss/x%20y%2Fz/"));

    QCOMPARE(filmResourceSearchUrl(kBase, QStringLiteral("电影"), QStringLiteral("2")),
             kBase + QStringLiteral("/index.asp?keyword=%E7%94%B5%E5%BD%B1&page=2"));
    // "&page=" cannot be forged from the keyword box.
    QCOMPARE(filmResourceSearchUrl(kBase, QStringLiteral("a&page=9"), QStringLiteral("1")),
             kBase + QStringLiteral("/index.asp?keyword=a%26page%3D9&page=1"));
}

void TestTorrentParse::torrentIndexRows()
{
    const QString page = QStringLiteral("<table>") + indexRow("one.iso", "2024-01-01", "1 GB", "h1")
        + indexRow("two.iso", "2024-01-02", "2 GB", "h2") + indexRow("a&amp;b.iso", "2024-01-03", "3 GB", "h3")
        + QStringLiteral("</table>");
    QCOMPARE(countTorrentIndexHits(page), qint16(3));

    const CutPage cut(page);
    const QList<TorrentIndexRow> rows = cutTorrentIndexRows(cut, kBase, 3);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].name, QStringLiteral("one.iso"));
    QCOMPARE(rows[0].date, QStringLiteral("2024-01-01"));
    QCOMPARE(rows[0].size, QStringLiteral("1 GB"));
    // The link's tail goes behind the configured base, whatever host the page named.
    QCOMPARE(rows[0].infoUrl, kBase + QStringLiteral("/information/h1"));
    QCOMPARE(rows[0].magnet, QStringLiteral("magnet:?xt=urn:btih:h1"));
    QCOMPARE(rows[1].name, QStringLiteral("two.iso"));
    QCOMPARE(rows[1].magnet, QStringLiteral("magnet:?xt=urn:btih:h2"));
    // Entities stay as the page writes them.
    QCOMPARE(rows[2].name, QStringLiteral("a&amp;b.iso"));
    QCOMPARE(rows[2].infoUrl, kBase + QStringLiteral("/information/h3"));

    QCOMPARE(countTorrentIndexHits(QStringLiteral("<p>没有结果</p> magnet: only")), qint16(0));
}

void TestTorrentParse::torrentIndexNameKeepsAllButLessThan()
{
    const CutPage cut(QStringLiteral("<td class=\"name\">a<b>b</b></td> \"magnet:?x\""));
    const QList<TorrentIndexRow> rows = cutTorrentIndexRows(cut, kBase, 1);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].name, QStringLiteral("ab>b/b>"));
}

void TestTorrentParse::torrentIndexMissingPiecesAreEmpty()
{
    // Two magnets, one name cell, no date or size cells, one information link.
    const QString page = QStringLiteral("<td class=\"name\">first</td><a href=\"/information/i1\">"
                                        "<a href=\"magnet:?xt=urn:btih:m1\"><a href=\"magnet:?xt=urn:btih:m2\">");
    const QList<TorrentIndexRow> rows = cutTorrentIndexRows(CutPage(page), kBase, countTorrentIndexHits(page));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].name, QStringLiteral("first"));
    QCOMPARE(rows[1].name, QString());            // never the row above's name
    QCOMPARE(rows[0].date, QString());
    QCOMPARE(rows[0].size, QString());
    QCOMPARE(rows[1].infoUrl, QString());
    QCOMPARE(rows[1].magnet, QStringLiteral("magnet:?xt=urn:btih:m2"));

    // A cell without its "</td>" and a link without its closing quote: the
    // cell is empty, the link is only its prefix.
    const QString open = QStringLiteral("<td class=\"name\">broken <td class=\"size\">9 MB magnet:?tail");
    const QList<TorrentIndexRow> broken = cutTorrentIndexRows(CutPage(open), kBase, 1);
    QCOMPARE(broken.size(), 1);
    QCOMPARE(broken[0].name, QString());
    QCOMPARE(broken[0].size, QString());
    QCOMPARE(broken[0].magnet, QStringLiteral("magnet:"));
}

void TestTorrentParse::torrentIndexRowsOnlyForMagnetsThePageHolds()
{
    const QString page = indexRow("one.iso", "d", "s", "h1");
    QCOMPARE(cutTorrentIndexRows(CutPage(page), kBase, 5).size(), 1);
    QCOMPARE(cutTorrentIndexRows(CutPage(), kBase, 5).size(), 0);
    QCOMPARE(cutTorrentIndexRows(CutPage(page), kBase, 0).size(), 0);
}

void TestTorrentParse::torrentRssRows()
{
    const QString feed = QStringLiteral("<rss><channel><title>Feed</title>")
        + rssItem("First", " 1.5 GB", "http://t/1.torrent", "Mon, 01 Jan 2024 10:00:00 +0000")
        + rssItem("a]b", "700 MB", "http://t/2.torrent", "Tue, 02 Jan 2024")
        + rssItem("Third &amp; last", " 3 GB", "http://t/3.torrent", "Wed, 03 Jan 2024")
        + QStringLiteral("</channel></rss>");
    QCOMPARE(countTorrentRssHits(feed), qint16(3));
    const QList<TorrentRssRow> rows = cutTorrentRssRows(CutPage(feed), 3);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].title, QStringLiteral("First"));
    QCOMPARE(rows[0].size, QStringLiteral(" 1.5 GB"));   // the blank after "Size:" stays
    QCOMPARE(rows[0].torrentUrl, QStringLiteral("http://t/1.torrent"));
    QCOMPARE(rows[0].date, QStringLiteral("Mon, 01 Jan 2024 10:00:00 +0000"));
    QCOMPARE(rows[1].title, QStringLiteral("ab"));
    QCOMPARE(rows[1].size, QStringLiteral("700 MB"));
    QCOMPARE(rows[2].title, QStringLiteral("Third &amp; last"));
    QCOMPARE(rows[2].torrentUrl, QStringLiteral("http://t/3.torrent"));

    QCOMPARE(countTorrentRssHits(QStringLiteral("<rss><channel><title>Empty</title></channel></rss>")), qint16(0));
}

void TestTorrentParse::torrentRssMissingPiecesAreEmpty()
{
    // The second item has neither size, enclosure nor date.
    const QString feed = rssItem("one", " 1 GB", "http://t/1.torrent", "d1")
        + QStringLiteral("<item><title><![CDATA[two]]></title></item>");
    const QList<TorrentRssRow> rows = cutTorrentRssRows(CutPage(feed), countTorrentRssHits(feed));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1].title, QStringLiteral("two"));
    QCOMPARE(rows[1].size, QString());
    QCOMPARE(rows[1].torrentUrl, QString());
    QCOMPARE(rows[1].date, QString());
    // A title without "]]" is empty.
    const QList<TorrentRssRow> open = cutTorrentRssRows(CutPage(QStringLiteral("<title><![CDATA[x]")), 1);
    QCOMPARE(open.size(), 1);
    QCOMPARE(open[0].title, QString());
}

void TestTorrentParse::pendingCountersStopAt16Bits()
{
    // Both pending counters are 16 bits wide: a page with more records than
    // that stops at the top instead of wrapping to a negative count.
    const auto repeated = [](const QString& marker, int times) {
        QString text;
        text.reserve(marker.size() * times);
        for (int i = 0; i < times; ++i)
            text += marker;
        return text;
    };
    QCOMPARE(countTorrentRssHits(repeated(torrentRssHitMarker(), 40000)), qint16(32767));
    QCOMPARE(countTorrentRssHits(repeated(torrentRssHitMarker(), 32767)), qint16(32767));
    QCOMPARE(countTorrentIndexHits(repeated(torrentIndexHitMarker(), 40000)), qint16(32767));
    QCOMPARE(countTorrentIndexHits(repeated(torrentIndexHitMarker(), 32766)), qint16(32766));
}

void TestTorrentParse::filmCountAnnounced_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("count");
    QTest::newRow("45 -> 30") << "<p>共有 45 部</p>" << 30;
    QTest::newRow("3") << "<p>共有3部</p>" << 3;
    QTest::newRow("no announcement") << "<p>影片列表</p>" << 0;
    QTest::newRow("not a number") << "共有 很多 部" << 0;
    QTest::newRow("no 部") << "共有 12 套" << 0;
    QTest::newRow("zero") << "共有 0 部" << 0;
    QTest::newRow("first announcement counts") << "共有 2 部 … 共有 20 部" << 2;
}

void TestTorrentParse::filmCountAnnounced()
{
    QFETCH(QString, page);
    QFETCH(int, count);
    QCOMPARE(announcedFilmCount(CutPage(page)), count);
}

void TestTorrentParse::filmRowsFields()
{
    const QString base = QStringLiteral("http://film.test");
    const QString page = QStringLiteral("共有 2 部<table>")
        + QStringLiteral("<tr><td><a href=\"detail.asp?ID=812\" title=\"Film\">Film</a></td>"
                         "<td class=\"l6 \">2024-03-01</td>"
                         "<td><a href=\"index.asp?RegionID=2\">大陆</a></td></tr>")
        + filmRow(813, QStringLiteral("星际穿越"), QStringLiteral("2024-02-18"), 4, QStringLiteral("美国"))
        + QStringLiteral("</table>");
    const CutPage cut(page);
    const QList<FilmResourceRow> rows = cutFilmResourceRows(cut, base, announcedFilmCount(cut));
    QCOMPARE(rows.size(), 2);
    // The id keeps the blank that ends it.
    QCOMPARE(rows[0].detailUrl, base + QStringLiteral("/detail.asp?ID=812 "));
    QCOMPARE(rows[0].title, QStringLiteral("Film"));
    QCOMPARE(rows[0].updated, QStringLiteral("2024-03-01"));
    QCOMPARE(rows[0].region, QStringLiteral("大陆"));
    QCOMPARE(rows[1].detailUrl, base + QStringLiteral("/detail.asp?ID=813 "));
    QCOMPARE(rows[1].title, QStringLiteral("星际穿越"));
    QCOMPARE(rows[1].updated, QStringLiteral("2024-02-18"));
    QCOMPARE(rows[1].region, QStringLiteral("美国"));
}

void TestTorrentParse::filmRowsOnlyForListedFilms()
{
    const QString base = QStringLiteral("http://film.test");
    {
        const CutPage cut(filmPage(45, 40));
        QCOMPARE(cutFilmResourceRows(cut, base, announcedFilmCount(cut)).size(), 30);
    }
    {
        const CutPage cut(filmPage(3, 3));
        const QList<FilmResourceRow> rows = cutFilmResourceRows(cut, base, announcedFilmCount(cut));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[2].title, QStringLiteral("影片3"));
    }
    {
        // More announced than listed: the films that exist, none repeated.
        const CutPage cut(filmPage(45, 15));
        const QList<FilmResourceRow> rows = cutFilmResourceRows(cut, base, announcedFilmCount(cut));
        QCOMPARE(rows.size(), 15);
        QCOMPARE(rows.last().title, QStringLiteral("影片15"));
        QCOMPARE(rows.last().detailUrl, base + QStringLiteral("/detail.asp?ID=115 "));
    }
    {
        // Films listed but no announcement: nothing.
        QString page = filmPage(5, 5);
        page.remove(QStringLiteral("共有"));
        const CutPage cut(page);
        QCOMPARE(cutFilmResourceRows(cut, base, announcedFilmCount(cut)).size(), 0);
    }
}

void TestTorrentParse::filmMissingPiecesAreEmpty()
{
    const QString base = QStringLiteral("http://film.test");
    // The second film has no date cell, no region link and no title.
    const QString page = QStringLiteral("共有 2 部")
        + filmRow(1, QStringLiteral("有"), QStringLiteral("2024-01-01"), 1, QStringLiteral("香港"))
        + QStringLiteral("<a href=\"detail.asp?ID=2\">无</a>");
    const CutPage cut(page);
    const QList<FilmResourceRow> rows = cutFilmResourceRows(cut, base, announcedFilmCount(cut));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1].updated, QString());
    QCOMPARE(rows[1].region, QString());
    QCOMPARE(rows[1].title, QString());
    // An id without a blank after it is no id at all.
    QCOMPARE(rows[1].detailUrl, base + QStringLiteral("/detail.asp?ID="));
}

void TestTorrentParse::filmNoResultPage()
{
    QVERIFY(isFilmResourceNoResult(QStringLiteral("<div>对不起，没有符合属性的影片！</div>")));
    QVERIFY(!isFilmResourceNoResult(filmPage(3, 3)));
}

QTEST_GUILESS_MAIN(TestTorrentParse)
#include "test_torrent_parse.moc"
