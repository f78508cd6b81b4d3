// The film listing, BT board, BT film and film detail cutters against small
// pages: URLs, the fields of a record, how many records a page gives, and
// what a record without one of its pieces gives.
#include "sources/film/film_detail_parse.h"
#include "sources/film/film_list_parse.h"
#include "sources/torrent/bt_board_parse.h"
#include "sources/torrent/bt_film_parse.h"
#include "text/cut.h"

#include <QtTest>

using namespace lumorra;

namespace {

const QString kBase = QStringLiteral("http://sites.test/x");

QString filmRow(const QString& link, const QString& title)
{
    return QStringLiteral("<tr><td height=\"26\"><b><a href=\"%1\" class=\"ulink\">%2</a></b></td>"
                          "<td style=\"padding-left:3px\">&nbsp;</td></tr>\n")
        .arg(link, title);
}

QString boardRow(const QString& query, const QString& name, const QString& size, const QString& category)
{
    return QStringLiteral("<TR><TD class=a>&nbsp;<A href=\"display.php?%1\">%2</A></TD><TD align=center>作者</TD>"
                          "<TD align=center>%3</TD><TD>7</TD><TD align=center><a href=\"list.php?BoardID=3\">"
                          "<span class=\"fl\">%4</span></a></TD></TR>\n")
        .arg(query, name, size, category);
}

QString btFilmLink(int id, const QString& title)
{
    return QStringLiteral("<li><a href=\"/Download/xiazai/%1.html\" title=\"%2\">%2</a></li>\n").arg(id).arg(title);
}

} // namespace

class TestFilmParse : public QObject {
    Q_OBJECT
private slots:
    void filmListing_data();
    void filmListing();
    void filmListingKeepsOnlyTheRowsThePageHas();
    void filmDownloadLink();

    void boardPosts();
    void boardPostsWithMissingCells();

    void btFilms();
    void btFilmMagnet();

    void filmDetailLayouts_data();
    void filmDetailLayouts();
    void filmDetailDownloadAddresses_data();
    void filmDetailDownloadAddresses();
};

void TestFilmParse::filmListing_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("indexUrl");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("detailUrl");

    QTest::newRow("newest") << 0 << kBase + "/html/gndy/dyzz/index.html" << "/html/gndy/dyzz/20130503/1.html"
                            << kBase + "/html/gndy/dyzz/20130503/1.html";
    QTest::newRow("domestic: link marker is /html/gndy/")
        << 1 << kBase + "/html/gndy/china/index.html" << "/html/gndy/china/2.html" << kBase + "/html/gndy/china/2.html";
    QTest::newRow("western films filed under the newest films' path")
        << 2 << kBase + "/html/gndy/oumei/index.html" << "/html/gndy/dyzz/3.html" << kBase + "/html/gndy/dyzz/3.html";
    QTest::newRow("western films under their own path give the prefix alone")
        << 2 << kBase + "/html/gndy/oumei/index.html" << "/html/gndy/oumei/3.html" << kBase + "/html/gndy/dyzz/";
    QTest::newRow("TV series") << 3 << kBase + "/html/tv/hytv/index.html" << "/html/tv/hytv/20130412/44.html"
                               << kBase + "/html/tv/hytv/20130412/44.html";
    QTest::newRow("Japanese and Korean series") << 4 << kBase + "/html/tv/rihantv/index.html"
                                                << "/html/tv/rihantv/5.html" << kBase + "/html/tv/rihantv/5.html";
    QTest::newRow("cartoons") << 5 << kBase + "/html/dongman/index.html" << "/html/dongman/6.html"
                              << kBase + "/html/dongman/6.html";
}

void TestFilmParse::filmListing()
{
    QFETCH(int, index);
    QFETCH(QString, indexUrl);
    QFETCH(QString, link);
    QFETCH(QString, detailUrl);
    QCOMPARE(filmCategoryIndexUrl(kBase, index), indexUrl);
    const QList<FilmListRow> rows =
        cutFilmListRows(CutPage(QStringLiteral("<table>") + filmRow(link, QStringLiteral("一部电影")) + "</table>"),
                        kBase, index);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].title, QStringLiteral("一部电影"));
    QCOMPARE(rows[0].detailUrl, detailUrl);
}

void TestFilmParse::filmListingKeepsOnlyTheRowsThePageHas()
{
    QString page;
    for (int i = 1; i <= 30; ++i)
        page += filmRow(QStringLiteral("/html/dongman/%1.html").arg(i), QStringLiteral("动画%1").arg(i));
    QList<FilmListRow> rows = cutFilmListRows(CutPage(page), kBase, 5);
    QCOMPARE(rows.size(), 25);
    QCOMPARE(rows.last().detailUrl, kBase + "/html/dongman/25.html");

    // A row without a title, then one without the cell's end: empty fields,
    // not the neighbour's.
    page = filmRow(QStringLiteral("/html/dongman/1.html"), QStringLiteral("甲"))
        + QStringLiteral("<tr><td height=\"26\"><a href=\"/html/dongman/2.html\">乙</a>"
                         "<td style=\"padding-left:3px\">&nbsp;</td></tr>")
        + QStringLiteral("<tr><td height=\"26\"><a href=\"/html/dongman/3.html\" class=\"ulink\">丙</a></tr>");
    rows = cutFilmListRows(CutPage(page), kBase, 5);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[1].title, QString());
    QCOMPARE(rows[1].detailUrl, kBase + "/html/dongman/2.html");
    QCOMPARE(rows[2].title, QString());
    QCOMPARE(rows[2].detailUrl, kBase + "/html/dongman/");

    QVERIFY(cutFilmListRows(CutPage(QStringLiteral("<p>暂无</p>")), kBase, 0).isEmpty());
}

void TestFilmParse::filmDownloadLink()
{
    const QString page = QStringLiteral(
        "<td>ftp://not/this</td><td style=\"WORD-WRAP: break-word\" bgcolor=\"#fdfddf\">"
        "<a href=\"ftp://dy:dy@ftp.test:21/[电影]一部电影.rmvb\">ftp://dy:dy@ftp.test:21/[电影]一部电影.rmvb</a></td>");
    QCOMPARE(lumorra::filmDownloadLink(page), QStringLiteral("ftp://dy:dy@ftp.test:21/[电影]一部电影.rmvb"));
    QCOMPARE(lumorra::filmDownloadLink(QStringLiteral("<a href=\"ftp://x\">x</a>")), QString());
    QCOMPARE(lumorra::filmDownloadLink(QString()), QString());
}

void TestFilmParse::boardPosts()
{
    QCOMPARE(btBoardUrl(kBase, 1), kBase + "/list.php?BoardID=1");
    QCOMPARE(btBoardUrl(kBase, 8), kBase + "/list.php?BoardID=8");

    QString page = QStringLiteral("<TABLE><TR><TH>主题</TH></TR>\n")
        + boardRow(QStringLiteral("BoardID=3&ID=99"), QStringLiteral("Film"), QStringLiteral("1.37GB"),
                   QStringLiteral("欧美电影"))
        + boardRow(QStringLiteral("BoardID=3&ID=100"), QStringLiteral("第二部.2012"), QStringLiteral("700MB"),
                   QStringLiteral("剧情"))
        + QStringLiteral("</TABLE>");
    QList<BtBoardPost> posts = cutBoardPosts(CutPage(page), kBase);
    QCOMPARE(posts.size(), 2);
    QCOMPARE(posts[0].name, QStringLiteral("Film"));
    QCOMPARE(posts[0].address, kBase + "/display.php?BoardID=3&ID=99");
    QCOMPARE(posts[0].size, QStringLiteral("1.37GB"));
    QCOMPARE(posts[0].category, QStringLiteral("欧美电影"));
    QCOMPARE(posts[1].name, QStringLiteral("第二部.2012"));
    QCOMPARE(posts[1].category, QStringLiteral("剧情"));

    page.clear();
    for (int i = 1; i <= 55; ++i)
        page += boardRow(QStringLiteral("ID=%1").arg(i), QStringLiteral("P%1").arg(i), QStringLiteral("1GB"),
                         QStringLiteral("类"));
    posts = cutBoardPosts(CutPage(page), kBase);
    QCOMPARE(posts.size(), 50);
    QCOMPARE(posts.last().address, kBase + "/display.php?ID=50");
    QVERIFY(cutBoardPosts(CutPage(QStringLiteral("<p>本版暂无帖子</p>")), kBase).isEmpty());
}

void TestFilmParse::boardPostsWithMissingCells()
{
    // The second post is the page's last and stops after its name cell:
    // no size or category of its own, and none borrowed from the first.
    const QString page =
        boardRow(QStringLiteral("ID=1"), QStringLiteral("甲"), QStringLiteral("2GB"), QStringLiteral("类一"))
        + QStringLiteral("<TR><TD>&nbsp;<A href=\"display.php?ID=2\">乙</A></TD></TR></TABLE>");
    const QList<BtBoardPost> posts = cutBoardPosts(CutPage(page), kBase);
    QCOMPARE(posts.size(), 2);
    QCOMPARE(posts[1].name, QStringLiteral("乙"));
    QCOMPARE(posts[1].address, kBase + "/display.php?ID=2");
    QCOMPARE(posts[1].size, QString());
    QCOMPARE(posts[1].category, QString());
}

void TestFilmParse::btFilms()
{
    QCOMPARE(btFilmPageUrl(kBase, 1), kBase + "/Download/bt/dianying");
    QCOMPARE(btFilmPageUrl(kBase, 2), kBase + "/Download/bt/dianying/2");

    QString page = QStringLiteral("<ul>") + btFilmLink(123, QStringLiteral("Film"))
        + QStringLiteral("<li><a href=\"/Download/xiazai/124.html\">无题</a></li></ul>");
    QList<BtFilm> films = cutBtFilms(CutPage(page), kBase);
    QCOMPARE(films.size(), 2);
    QCOMPARE(films[0].title, QStringLiteral("Film"));
    QCOMPARE(films[0].address, kBase + "/Download/xiazai/123.html");
    QCOMPARE(films[1].title, QString());   // not the first film's title
    QCOMPARE(films[1].address, kBase + "/Download/xiazai/124.html");

    page.clear();
    for (int i = 1; i <= 40; ++i)
        page += btFilmLink(i, QStringLiteral("F%1").arg(i));
    films = cutBtFilms(CutPage(page), kBase);
    QCOMPARE(films.size(), 35);
    QCOMPARE(films.last().title, QStringLiteral("F35"));
    QVERIFY(cutBtFilms(CutPage(QStringLiteral("<p>暂无资源</p>")), kBase).isEmpty());
}

void TestFilmParse::btFilmMagnet()
{
    const QString page = QStringLiteral(
        "<div class=\"info\"><span>文件更新时间：2013-05-01</span></div>"
        "<textarea onclick=\"this.select()\">magnet:?xt=urn:btih:H&amp;dn=N&amp;tr=udp://t</textarea>");
    const BtFilmMagnet m = cutBtFilmMagnet(page);
    QCOMPARE(m.updated, QStringLiteral("2013-05-01"));
    QCOMPARE(m.link, QStringLiteral("magnet:?xt=urn:btih:H&dn=N&tr=udp://t"));

    const BtFilmMagnet none = cutBtFilmMagnet(QStringLiteral("<p>资源不存在</p>"));
    QCOMPARE(none.updated, QString());
    QCOMPARE(none.link, QString());
}

void TestFilmParse::filmDetailLayouts_data()
{
    QTest::addColumn<QString>("post");
    QTest::addColumn<bool>("layoutB");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("poster");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("synopsis");

    const QString crlf2 = QStringLiteral("\r\n\r\n");
    QTest::newRow("layout A: four lines")
        << QStringLiteral("[IMG]http://p.test/a.jpg[/IMG]<br />片名:X<br />年代:2013<br />剧情简介<br />故事&nbsp;开始"
                          "&amp;结束<br />◎影片截图<br />")
        << false << true << QStringLiteral("http://p.test/a.jpg") << QStringLiteral("片名:X") + crlf2 + "年代:2013" + crlf2
        << QStringLiteral("故事 开始结束");
    QTest::newRow("layout A keeps every 剧 of its fields")
        << QStringLiteral("<br />片名:剧场版<br />类别:剧情/喜剧<br />剧情简介 好看◎影片截图")
        << false << true << QString() << QStringLiteral("片名:剧场版") + crlf2 + "类别:剧情/喜剧" + crlf2
        << QStringLiteral(" 好看");
    QTest::newRow("layout B")
        << QStringLiteral("[IMG]p.png[/IMG]<br />◎译　　名　Y<br />◎片　　名　片<br />◎年　　代　2012"
                          "<br />◎简　　介<br />　　很好&nbsp;看<br />◎影片截图")
        << true << true << QStringLiteral("p.png")
        << QStringLiteral("◎译　　名　Y") + crlf2 + "片　　名　片" + crlf2 + "年　　代　2012" + crlf2
        << QStringLiteral("　　很好 看");
    QTest::newRow("layout B with nothing cut is still shown")
        << QStringLiteral("◎译　　名") << true << true << QString() << QStringLiteral("◎译　　名") << QString();
    QTest::newRow("layout A without its fields") << QStringLiteral("<p>资料整理中</p>剧情简介 文字◎影片截图") << false
                                                 << false << QString() << QStringLiteral("片名:")
                                                 << QStringLiteral(" 文字");
    QTest::newRow("layout A without the synopsis heading")
        << QStringLiteral("<br />片名:X<br />年代:2013") << false << false << QString() << QStringLiteral("片名:")
        << QString();
}

void TestFilmParse::filmDetailLayouts()
{
    QFETCH(QString, post);
    const FilmDetail d = cutFilmDetail(post);
    QTEST(d.layoutB, "layoutB");
    QTEST(isReadable(d), "readable");
    QTEST(d.poster, "poster");
    QTEST(d.description, "description");
    QTEST(d.synopsis, "synopsis");
}

void TestFilmParse::filmDetailDownloadAddresses_data()
{
    QTest::addColumn<QString>("links");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("second with http://")
        << QStringLiteral("<a href=\"jump.php?url=http://a.test/1.torrent\">1</a><a href=\"jump.php?url=http://b.test/2\">2</a>")
        << QStringLiteral("http://a.test/1.torrent") << QStringLiteral("http://b.test/2");
    QTest::newRow("second without a scheme, first taken as written")
        << QStringLiteral("<a href=\"jump.php?url=a.test/1\">1</a><a href=\"jump.php?url=b.test/2\">2</a>")
        << QStringLiteral("a.test/1") << QStringLiteral("http://b.test/2");
    QTest::newRow("one link: no second address")
        << QStringLiteral("<a href=\"jump.php?url=http://a.test/1\">1</a>") << QStringLiteral("http://a.test/1")
        << QString();
    QTest::newRow("no link") << QStringLiteral("<p>无</p>") << QString() << QString();
}

void TestFilmParse::filmDetailDownloadAddresses()
{
    QFETCH(QString, links);
    const FilmDetail d = cutFilmDetail(QStringLiteral("<br />片名:X<br />剧情简介 y◎影片截图") + links);
    QTEST(d.firstAddress, "first");
    QTEST(d.secondAddress, "second");
}

QTEST_GUILESS_MAIN(TestFilmParse)
#include "test_film_parse.moc"
