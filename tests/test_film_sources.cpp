// The film pages on the real main window against the sample sites: the BT
// board and its film detail window, the BT film pages and their magnet
// links, the film listing and its download links.
#include "lists/result_list.h"
#include "player/on_demand_window.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "platform/open_address.h"
#include "pages/film/film_detail.h"
#include "pages/film/film_detail_window.h"
#include "pages/film/film_listings.h"
#include "pages/torrent/bt_sources.h"

#include "modal_answerer.h"
#include "program_window.h"
#include "test_server.h"

#include <QAction>
#include <QWebEngineView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;
using lumorra::testing::ProgramWindow;
using lumorra::testing::TestServer;

class TestFilmSources : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void boardStepsThroughEightBoards();
    void boardPostsAndShortBoard();
    void boardWithoutPostsOrPage();

    void btFilmPages();
    void btFilmMagnetLink();
    void btFilmMagnetFailures();

    void filmListingCategories();
    void filmListingEmptyFetchKeepsRows();
    void filmLinkDoubleClickReplacesMenuAppends();

    void filmDetailLayouts_data();
    void filmDetailLayouts();
    void filmDetailUnreadablePost();
    void filmDetailErrorPageOffersBrowser_data();
    void filmDetailErrorPageOffersBrowser();
    void filmDetailPostMissing();

private:
    QWidget* form1() const { return m_window->get(); }
    QPushButton* button(const QString& name) const { return form1()->findChild<QPushButton*>(name); }
    ResultList* list(const QString& name) const { return findResultList(form1(), name); }
    QLineEdit* edit(const QString& name) const { return form1()->findChild<QLineEdit*>(name); }
    // Raw targets (path and query) requested under a role's prefix.
    QStringList targetsUnder(const char* role) const;
    // The first logged request to `role`'s site (the log may also hold a
    // late retry of the last test's dropped request); an empty one if none.
    LoggedRequest firstRequestUnder(const char* role) const;
    QString roleUrl(const char* role) const { return m_server->roleUrl(QString::fromLatin1(role)); }
    void select(ResultList* l, int row) const;
    // Clicks `name` and waits for `spy` to record one more signal.
    bool clickAndWait(const QString& name, QSignalSpy& spy);

    std::unique_ptr<ProgramWindow> m_window;
    TestServer* m_server = nullptr;
    BtSources* m_bt = nullptr;
    FilmListings* m_films = nullptr;
    FilmDetailView* m_detail = nullptr;
    QStringList m_opened;
};

LoggedRequest TestFilmSources::firstRequestUnder(const char* role) const
{
    const std::string prefix = SampleSites::prefixFor(role);
    const std::vector<LoggedRequest> log = m_server->sites().requests();
    const auto first = std::find_if(log.begin(), log.end(),
                                    [&](const LoggedRequest& r) { return r.target.rfind(prefix, 0) == 0; });
    return first == log.end() ? LoggedRequest{} : *first;
}

QStringList TestFilmSources::targetsUnder(const char* role) const
{
    const std::string prefix = SampleSites::prefixFor(role);
    QStringList out;
    for (const LoggedRequest& r : m_server->sites().requests())
        if (r.target.rfind(prefix, 0) == 0)
            out << QString::fromStdString(r.target.substr(prefix.size()));
    return out;
}

void TestFilmSources::select(ResultList* l, int row) const
{
    l->clearSelection();
    l->topLevelItem(row)->setSelected(true);
}

bool TestFilmSources::clickAndWait(const QString& name, QSignalSpy& spy)
{
    const int before = int(spy.count());
    button(name)->click();
    return spy.count() > before || spy.wait(8000);
}

void TestFilmSources::initTestCase()
{
    m_window = std::make_unique<ProgramWindow>();
    QVERIFY(m_window->isValid());
    m_server = &TestServer::shared();
    PageFetcher::instance().setTimeoutSeconds(5);
    QVERIFY(m_window->waitUntilUnlocked());
    m_bt = BtSources::of(m_window->get());
    m_films = FilmListings::of(m_window->get());
    m_detail = FilmDetailView::of(m_window->get());
    QVERIFY(m_bt && m_films && m_detail);
}

void TestFilmSources::init()
{
    m_server->sites().clearProgram();
    m_server->sites().clearRequests();
    m_opened.clear();
    setOpenAddressHandler([this](const QString& a) { m_opened << a; });
    m_bt->setBoardNumber(1);
    m_bt->setBtFilmPageNumber(1);
    StatusLine::set(QStringLiteral("-"));
}

void TestFilmSources::cleanup()
{
    setOpenAddressHandler(nullptr);
}

void TestFilmSources::cleanupTestCase()
{
    m_window.reset();
}

// ---------------------------------------------------------------- BT board

void TestFilmSources::boardStepsThroughEightBoards()
{
    QSignalSpy ended(m_bt, &BtSources::boardEnded);
    ModalAnswerer answerer;
    button("Command3(2)")->click();
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("已经是最上一页!")});
    QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Information});

    QVERIFY(clickAndWait("Command3(0)", ended));
    for (int board = 2; board <= 8; ++board)
        QVERIFY(clickAndWait("Command3(1)", ended));
    QCOMPARE(m_bt->boardNumber(), 8);
    QStringList expected;
    for (int board = 1; board <= 8; ++board)
        expected << QStringLiteral("/list.php?BoardID=%1").arg(board);
    QCOMPARE(targetsUnder(role::BtBoardSite), expected);

    button("Command3(1)")->click();
    QCOMPARE(answerer.lastText(), QStringLiteral("已经是最后一页!"));
    QCOMPARE(m_bt->boardNumber(), 8);
    QCOMPARE(targetsUnder(role::BtBoardSite).size(), 8);

    // Quick clicks back: the list shows the board of the last click only.
    m_bt->setBoardNumber(8);
    for (int i = 0; i < 3; ++i)
        button("Command3(2)")->click();
    QVERIFY(ended.wait(8000));
    QCOMPARE(m_bt->boardNumber(), 5);
    QTRY_COMPARE(list("ListView18")->rowCount(), 12);
    QVERIFY(list("ListView18")->cell(list("ListView18")->topLevelItem(0), "dz").endsWith("BoardID=5&ID=501"));
}

void TestFilmSources::boardPostsAndShortBoard()
{
    QSignalSpy ended(m_bt, &BtSources::boardEnded);
    ResultList* posts = list("ListView18");
    QVERIFY(clickAndWait("Command3(0)", ended));
    // Board 1 holds 52 posts: the first 50 are listed.
    QCOMPARE(posts->rowCount(), 50);
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕 ..."));
    QTreeWidgetItem* first = posts->topLevelItem(0);
    QCOMPARE(first->text(0), QStringLiteral("1"));
    QCOMPARE(posts->cell(first, "dz"), roleUrl(role::BtBoardSite) + "/display.php?BoardID=1&ID=101");
    QVERIFY(posts->cell(first, "mc").endsWith(QStringLiteral(".BD1080P.国语中字")));
    QVERIFY(!posts->cell(first, "mc").contains('<'));
    QCOMPARE(posts->cell(first, "dx"), QStringLiteral("2.37GB"));
    QCOMPARE(posts->cell(first, "fl"), QStringLiteral("最新电影"));
    QCOMPARE(posts->topLevelItem(49)->text(0), QStringLiteral("50"));
    // The board is read once, with a plain GET. (A superseded request of
    // the last test may reach the server late: only board 1's count.)
    std::vector<LoggedRequest> sent = m_server->sites().requests();
    std::erase_if(sent, [](const LoggedRequest& r) { return r.param("BoardID") != "1"; });
    QCOMPARE(int(sent.size()), 1);
    QVERIFY(!sent[0].hasHeader("If-Modified-Since"));

    // Board 5 is short: its twelve posts, each once.
    m_bt->setBoardNumber(5);
    QVERIFY(clickAndWait("Command3(0)", ended));
    QCOMPARE(posts->rowCount(), 12);
    QSet<QString> addresses;
    for (int i = 0; i < posts->rowCount(); ++i)
        addresses << posts->cell(posts->topLevelItem(i), "dz");
    QCOMPARE(addresses.size(), 12);
}

void TestFilmSources::boardWithoutPostsOrPage()
{
    QSignalSpy ended(m_bt, &BtSources::boardEnded);
    ResultList* posts = list("ListView18");
    const std::string path = SampleSites::prefixFor(role::BtBoardSite) + "/list.php";
    m_server->sites().program(path, Answer::html("<p>本版暂无帖子</p>"));
    QVERIFY(clickAndWait("Command3(0)", ended));
    QCOMPARE(posts->rowCount(), 0);
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕 ...本页没有资源记录"));

    Answer drop;
    drop.drop = true;
    m_server->sites().program(path, drop);
    QVERIFY(clickAndWait("Command3(0)", ended));
    QCOMPARE(posts->rowCount(), 0);
    QVERIFY2(StatusLine::text().startsWith(QStringLiteral("资源获取失败(")), qPrintable(StatusLine::text()));
}

// ---------------------------------------------------------------- BT films

void TestFilmSources::btFilmPages()
{
    QSignalSpy ended(m_bt, &BtSources::filmsEnded);
    ResultList* films = list("ListView16");
    QVERIFY(clickAndWait("Commandz3(0)", ended));
    QCOMPARE(films->rowCount(), 35);
    QCOMPARE(StatusLine::text(), QStringLiteral("资源获取完毕.."));
    QCOMPARE(films->cell(films->topLevelItem(0), "dz"), roleUrl(role::EmuleIndexSite) + "/Download/xiazai/5001.html");
    QVERIFY(!films->cell(films->topLevelItem(0), "mc").isEmpty());
    QCOMPARE(firstRequestUnder(role::EmuleIndexSite).header("If-Modified-Since"), std::string("0"));

    QVERIFY(clickAndWait("Commandz3(1)", ended));
    QCOMPARE(films->cell(films->topLevelItem(0), "dz"), roleUrl(role::EmuleIndexSite) + "/Download/xiazai/5036.html");
    QVERIFY(clickAndWait("Commandz3(2)", ended));
    QCOMPARE(targetsUnder(role::EmuleIndexSite),
             QStringList({"/Download/bt/dianying", "/Download/bt/dianying/2", "/Download/bt/dianying"}));
    ModalAnswerer answerer;
    button("Commandz3(2)")->click();
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("已经是最上一页!")});
    QCOMPARE(m_bt->btFilmPageNumber(), 1);

    // The short last page, then a page without films.
    m_bt->setBtFilmPageNumber(4);
    QVERIFY(clickAndWait("Commandz3(0)", ended));
    QCOMPARE(films->rowCount(), 13);
    QVERIFY(clickAndWait("Commandz3(1)", ended));
    QCOMPARE(targetsUnder(role::EmuleIndexSite).last(), QStringLiteral("/Download/bt/dianying/5"));
    QCOMPARE(films->rowCount(), 0);
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕 ...本页没有资源记录"));
}

void TestFilmSources::btFilmMagnetLink()
{
    QLineEdit* text18 = edit("Text18");
    text18->clear();
    button("Commandz3(4)")->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请先进行解析!"));

    QSignalSpy loaded(m_bt, &BtSources::filmsEnded);
    QSignalSpy resolved(m_bt, &BtSources::magnetEnded);
    ResultList* films = list("ListView16");
    QVERIFY(clickAndWait("Commandz3(0)", loaded));
    select(films, 2);
    const QString name = films->cell(films->topLevelItem(2), "mc");
    m_bt->ListView16_DblClick();
    QCOMPARE(StatusLine::text(), QStringLiteral("正在解析..请稍等.."));
    QVERIFY(resolved.wait(8000));
    QCOMPARE(resolved.last().at(0).toBool(), true);
    QVERIFY2(text18->text().startsWith("magnet:?xt=urn:btih:"), qPrintable(text18->text()));
    QVERIFY2(text18->text().contains("&dn=%") && !text18->text().contains("amp;"), qPrintable(text18->text()));
    QCOMPARE(edit("Text6")->text(), name);
    QVERIFY(form1()->findChild<QLabel*>("Label38")->text().startsWith(QStringLiteral("更新日期：2013-")));
    QCOMPARE(StatusLine::text(), QStringLiteral("磁力链接已解析!"));

    // The same film again leaves Text18 as it is and still says so.
    StatusLine::set(QStringLiteral("-"));
    m_bt->ListView16_DblClick();
    QVERIFY(resolved.wait(8000));
    QCOMPARE(StatusLine::text(), QStringLiteral("磁力链接已解析!"));

    // Typing into the box says it too.
    StatusLine::set(QStringLiteral("-"));
    QTest::keyClick(text18, Qt::Key_End);
    QTest::keyClicks(text18, "x");
    QCOMPARE(StatusLine::text(), QStringLiteral("磁力链接已解析!"));

    // "在线云点播" plays the resolved link through the on-demand window.
    const QString link = text18->text();
    button("Commandz3(4)")->click();
    OnDemandWindow* form8 = findOnDemandWindow(form1());
    QVERIFY(form8);
    QVERIFY(form8->isVisible());
    const QString shown = QUrl::fromPercentEncoding(form8->browser()->url().toEncoded());
    QVERIFY2(shown.endsWith(QUrl::fromPercentEncoding(link.toUtf8())), qPrintable(shown));
    form8->reject();
}

void TestFilmSources::btFilmMagnetFailures()
{
    QSignalSpy loaded(m_bt, &BtSources::filmsEnded);
    QSignalSpy resolved(m_bt, &BtSources::magnetEnded);
    ResultList* films = list("ListView16");
    QVERIFY(clickAndWait("Commandz3(0)", loaded));
    films->clearSelection();
    m_bt->ListView16_DblClick();
    QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));

    select(films, 0);
    const std::string page = SampleSites::prefixFor(role::EmuleIndexSite) + "/Download/xiazai/5001.html";
    m_server->sites().program(page, Answer::html(""));
    m_bt->ListView16_DblClick();
    QVERIFY(resolved.wait(8000));
    QCOMPARE(resolved.last().at(0).toBool(), false);
    QVERIFY2(StatusLine::text().startsWith(QStringLiteral("磁力链接解析失败(")), qPrintable(StatusLine::text()));

    // A page without a link does not read as resolved.
    edit("Text18")->setText(QStringLiteral("magnet:?xt=urn:btih:OLD"));
    m_server->sites().program(page, Answer::html("<p>资源已删除</p>"));
    m_bt->ListView16_DblClick();
    QVERIFY(resolved.wait(8000));
    QCOMPARE(resolved.last().at(0).toBool(), false);
    QCOMPARE(edit("Text18")->text(), QString());
    QVERIFY(StatusLine::text().startsWith(QStringLiteral("磁力链接解析失败")));
}

// ----------------------------------------------------------- film listing

void TestFilmSources::filmListingCategories()
{
    QSignalSpy loaded(m_films, &FilmListings::listingLoaded);
    ResultList* films = list("ListView5");
    QVERIFY(clickAndWait("Command14(3)", loaded));
    QCOMPARE(targetsUnder(role::FilmListSite), QStringList{"/html/tv/hytv/index.html"});
    QVERIFY(!firstRequestUnder(role::FilmListSite).hasHeader("If-Modified-Since"));
    QCOMPARE(films->rowCount(), 25);   // the page has 30
    for (int i = 0; i < 25; ++i)
        QCOMPARE(films->topLevelItem(i)->text(0), QString::number(i + 1));
    const QString address = films->cell(films->topLevelItem(0), "zzdz");
    QVERIFY2(address.startsWith(roleUrl(role::FilmListSite) + "/html/tv/hytv/2013") && address.endsWith("/4001.html"),
             qPrintable(address));
    QVERIFY(films->cell(films->topLevelItem(0), "mc").endsWith(')'));   // read from the GB2312 page

    // The western films lie under the newest films' path, where index 2 looks.
    QVERIFY(clickAndWait("Command14(2)", loaded));
    QVERIFY(films->cell(films->topLevelItem(0), "zzdz").contains("/html/gndy/dyzz/2013"));
    // The cartoons page is short.
    QVERIFY(clickAndWait("Command14(5)", loaded));
    QCOMPARE(films->rowCount(), 9);
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕.."));
}

void TestFilmSources::filmListingEmptyFetchKeepsRows()
{
    QSignalSpy loaded(m_films, &FilmListings::listingLoaded);
    ResultList* films = list("ListView5");
    QVERIFY(clickAndWait("Command14(0)", loaded));
    QCOMPARE(films->rowCount(), 25);
    const QString first = films->cell(films->topLevelItem(0), "zzdz");

    m_server->sites().program(SampleSites::prefixFor(role::FilmListSite) + "/html/gndy/china/index.html",
                              Answer::html(""));
    QVERIFY(clickAndWait("Command14(1)", loaded));
    QCOMPARE(films->rowCount(), 25);
    QCOMPARE(films->cell(films->topLevelItem(0), "zzdz"), first);
    QVERIFY(StatusLine::text().startsWith(QStringLiteral("资源获取失败(")));

    m_server->sites().program(SampleSites::prefixFor(role::FilmListSite) + "/html/gndy/china/index.html",
                              Answer::html("<p>暂无更新</p>"));
    QVERIFY(clickAndWait("Command14(1)", loaded));
    QCOMPARE(films->rowCount(), 0);
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕..本页没有资源记录"));
}

void TestFilmSources::filmLinkDoubleClickReplacesMenuAppends()
{
    QSignalSpy loaded(m_films, &FilmListings::listingLoaded);
    QSignalSpy resolved(m_films, &FilmListings::filmLinkEnded);
    QVERIFY(clickAndWait("Command14(0)", loaded));
    auto* list3 = form1()->findChild<QListWidget*>("List3");
    QVERIFY(list3);
    ResultList* films = list("ListView5");
    select(films, 0);

    for (int i = 0; i < 2; ++i) {
        m_films->ListView5_DblClick();
        QCOMPARE(StatusLine::text(), QStringLiteral("正在解析..请稍等.."));
        QVERIFY(resolved.wait(8000));
    }
    QCOMPARE(list3->count(), 1);
    const QString link = list3->item(0)->text();
    QVERIFY2(link.startsWith("ftp://") && link.endsWith(".rmvb") && !link.contains('"'), qPrintable(link));
    QCOMPARE(StatusLine::text(), QStringLiteral("种子地址已解析.."));

    QAction* parse = findRowAction(form1(), QString::fromLatin1(kParseFilmItem));
    QVERIFY(parse);
    select(films, 1);
    for (int i = 0; i < 2; ++i) {
        parse->trigger();
        QVERIFY(resolved.wait(8000));
    }
    QCOMPARE(list3->count(), 3);
    QCOMPARE(list3->item(0)->text(), link);
    QVERIFY(list3->item(1)->text().contains("/1002/"));

    // A page without a download cell adds nothing and says so.
    select(films, 2);
    const QString detail = films->cell(films->topLevelItem(2), "zzdz");
    m_server->sites().program(QUrl(detail).path().toStdString(), Answer::html("<p>无下载</p>"));
    m_films->ListView5_DblClick();
    QVERIFY(resolved.wait(8000));
    QCOMPARE(resolved.last().at(0).toBool(), false);
    QCOMPARE(list3->count(), 3);
    QVERIFY(StatusLine::text().startsWith(QStringLiteral("种子地址解析失败")));
}

// ------------------------------------------------------------ film detail

void TestFilmSources::filmDetailLayouts_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("descriptionStart");
    QTest::addColumn<bool>("secondLink");

    // Board 1, post k sits in row k - 1; post 1 has one download link.
    QTest::newRow("layout A, one link") << 0 << QStringLiteral("片名:") << false;
    QTest::newRow("layout A, two links") << 1 << QStringLiteral("片名:") << true;
    QTest::newRow("layout B") << 2 << QStringLiteral("◎译　　名　") << true;
}

void TestFilmSources::filmDetailLayouts()
{
    QFETCH(int, row);
    QFETCH(QString, descriptionStart);
    QFETCH(bool, secondLink);

    QSignalSpy boards(m_bt, &BtSources::boardEnded);
    QSignalSpy shown(m_detail, &FilmDetailView::detailEnded);
    QVERIFY(clickAndWait("Command3(0)", boards));
    ResultList* posts = list("ListView18");
    select(posts, row);
    m_detail->ListView18_DblClick();
    QCOMPARE(StatusLine::text(), QStringLiteral("影片信息获取中..."));
    QVERIFY(shown.wait(8000));
    QCOMPARE(shown.last().at(0).toBool(), true);
    QCOMPARE(StatusLine::text(), QStringLiteral("影片信息获取完毕..."));

    FilmDetailWindow* form11 = m_detail->form11();
    QVERIFY(form11);
    QVERIFY(form11->isVisible());
    QCOMPARE(form11->windowTitle(), QStringLiteral("影片详情"));
    QCOMPARE(form11->windowModality(), Qt::ApplicationModal);
    const QString description = form11->findChild<QPlainTextEdit*>("Text2")->toPlainText();
    QVERIFY2(description.startsWith(descriptionStart), qPrintable(description));
    QVERIFY(description.contains(QStringLiteral("剧情/")));   // "类别:剧情/…" keeps its 剧
    const QString synopsis = form11->findChild<QPlainTextEdit*>("Text1")->toPlainText();
    QVERIFY2(synopsis.contains(QStringLiteral("的故事")) && !synopsis.contains("<br />")
                 && !synopsis.contains("&nbsp;"),
             qPrintable(synopsis));
    // The poster arrives after the window is up.
    auto* image1 = form11->findChild<QLabel*>("Image1");
    QTRY_VERIFY_WITH_TIMEOUT(!image1->pixmap().isNull(), 8000);

    auto* second = form11->findChild<QPushButton*>("Command2");
    QCOMPARE(second->text(), QStringLiteral("下载地址②"));
    QCOMPARE(second->isEnabled(), secondLink);
    form11->findChild<QPushButton*>("Command1")->click();
    QCOMPARE(m_opened.size(), 1);
    QVERIFY(m_opened[0].startsWith(roleUrl(role::BtBoardSite) + "/down/"));
    QCOMPARE(form11->a(), m_opened[0]);
    if (secondLink) {
        second->click();
        QCOMPARE(m_opened.size(), 2);
        QCOMPARE(m_opened[1].count(QStringLiteral("http://")), 1);
        QVERIFY(m_opened[1].startsWith(roleUrl(role::BtBoardSite) + "/down/"));
    } else {
        QCOMPARE(form11->b(), QString());
    }

    QPointer<FilmDetailWindow> gone(form11);
    form11->findChild<QPushButton*>("Command3")->click();
    QTRY_VERIFY(gone.isNull());
    QVERIFY(!m_detail->form11());
}

void TestFilmSources::filmDetailUnreadablePost()
{
    QSignalSpy boards(m_bt, &BtSources::boardEnded);
    QSignalSpy ended(m_detail, &FilmDetailView::detailEnded);
    QVERIFY(clickAndWait("Command3(0)", boards));
    ResultList* posts = list("ListView18");
    select(posts, 6);   // post 7 is a note without film fields
    const QString post = posts->cell(posts->topLevelItem(6), "dz");

    ModalAnswerer answerer;
    answerer.queue(QMessageBox::No);
    answerer.queue(QMessageBox::Yes);
    for (int i = 0; i < 2; ++i) {
        m_detail->ListView18_DblClick();
        QVERIFY(ended.wait(8000));
        QCOMPARE(ended.last().at(0).toBool(), false);
        QCOMPARE(StatusLine::text(), QStringLiteral("无法获取当前影片信息!"));
    }
    QCOMPARE(answerer.texts(), QStringList(2, QStringLiteral("无法获取当前影片信息!是否为您打开对应地址?")));
    QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>(2, QMessageBox::Information));
    QCOMPARE(answerer.buttons(), QList<QMessageBox::StandardButtons>(2, QMessageBox::Yes | QMessageBox::No));
    QCOMPARE(m_opened, QStringList{post});   // the No opened nothing
    QVERIFY(!m_detail->form11());
}

void TestFilmSources::filmDetailErrorPageOffersBrowser_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("404") << 404;
    QTest::newRow("500") << 500;
}

void TestFilmSources::filmDetailErrorPageOffersBrowser()
{
    QFETCH(int, status);
    QSignalSpy boards(m_bt, &BtSources::boardEnded);
    QSignalSpy ended(m_detail, &FilmDetailView::detailEnded);
    QVERIFY(clickAndWait("Command3(0)", boards));
    ResultList* posts = list("ListView18");
    select(posts, 0); // a post Form11 would show, were it there
    const QString post = posts->cell(posts->topLevelItem(0), "dz");
    // The error page even carries the film fields: it is still not the post.
    m_server->sites().program(SampleSites::prefixFor(role::BtBoardSite) + "/display.php",
        Answer::html("<br />片名:Error<br />剧情简介 x◎影片截图", status));

    ModalAnswerer answerer;
    answerer.queue(QMessageBox::Yes);
    m_detail->ListView18_DblClick();
    QVERIFY(ended.wait(8000));
    QCOMPARE(ended.last().at(0).toBool(), false);
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("无法获取当前影片信息!是否为您打开对应地址?")});
    QCOMPARE(StatusLine::text(), QStringLiteral("无法获取当前影片信息!"));
    QCOMPARE(m_opened, QStringList{post});
    QVERIFY(!m_detail->form11());
}

void TestFilmSources::filmDetailPostMissing()
{
    QSignalSpy boards(m_bt, &BtSources::boardEnded);
    QSignalSpy ended(m_detail, &FilmDetailView::detailEnded);
    QVERIFY(clickAndWait("Command3(0)", boards));
    list("ListView18")->clearSelection();
    m_detail->ListView18_DblClick();
    QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));

    select(list("ListView18"), 0);
    Answer drop;
    drop.drop = true;
    m_server->sites().program(SampleSites::prefixFor(role::BtBoardSite) + "/display.php", drop);
    m_detail->ListView18_DblClick();
    QVERIFY(ended.wait(8000));
    QCOMPARE(ended.last().at(0).toBool(), false);
    QVERIFY2(StatusLine::text().startsWith(QStringLiteral("影片信息获取失败(")), qPrintable(StatusLine::text()));
    QVERIFY(!m_detail->form11());
}

QTEST_MAIN(TestFilmSources)
#include "test_film_sources.moc"
