// eMule family on the real main window: the category rows, the index-site
// search and the search-site search, driven through their buttons against
// the sample sites.
#include "app/main_window_factory.h"
#include "lists/result_list.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "pages/emule/emule_handlers.h"
#include "pages/torrent/torrent_search.h"
#include "text/memory_release.h"

#include "modal_answerer.h"
#include "test_server.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;
using lumorra::testing::TestServer;

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace

class TestEmuleSources : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void previousPageOnFirstAndSecondPage();
    void nextPageMovesEachCategoryOnItsOwn();
    void shortAndEmptyListingPages();
    void failedListingFetchKeepsListAndRaisedPage();
    void cartoonPageNumberStaysWithin16Bits();

    void indexSearchCutsOnTheTimer();
    void indexSearchNotFoundPage();
    void indexSearchKeywordMissingOrFetchFailing();

    void searchSiteUrlsAndRows();
    void searchSiteWithoutRecordsReportsASecondLater();
    void searchSiteNotFoundCheckBelongsToItsOwnSearch();
    void searchSiteFetchFailureGivesTheButtonBack();

    void latestClickWinsOnAListing();
    void aSlowSearchDoesNotHoldBackAListing();

private:
    QPushButton* button(const QString& name) const { return m_form->findChild<QPushButton*>(name); }
    QLineEdit* edit(const QString& name) const { return m_form->findChild<QLineEdit*>(name); }
    ResultList* list(const QString& name) const { return m_form->findChild<ResultList*>(name); }
    // Raw request targets (path and query as sent) under a role's prefix.
    QStringList targetsUnder(const char* role) const;
    QString indexUrl() const { return m_server->roleUrl(QString::fromLatin1(role::EmuleIndexSite)); }
    QString searchUrl() const { return m_server->roleUrl(QString::fromLatin1(role::EmuleSearchSite)); }
    // Clicks a category button and waits until its page has been handled.
    bool listing(const char* name)
    {
        QSignalSpy loaded(m_sources, &EmuleSources::listingLoaded);
        button(QLatin1String(name))->click();
        return loaded.wait(10000);
    }
    // Clicks a search button and waits until that search has ended.
    bool runSearch(QPushButton* searchButton)
    {
        QSignalSpy ended(m_sources, &EmuleSources::searchEnded);
        searchButton->click();
        return ended.wait(10000);
    }

    QTemporaryDir m_home;
    TestServer* m_server = nullptr;
    QWidget* m_form = nullptr;
    EmuleSources* m_sources = nullptr;
};

QStringList TestEmuleSources::targetsUnder(const char* role) const
{
    const std::string prefix = SampleSites::prefixFor(role);
    QStringList out;
    for (const LoggedRequest& r : m_server->sites().requests())
        if (r.target.rfind(prefix, 0) == 0)
            out << qs(r.target.substr(prefix.size()));
    return out;
}

void TestEmuleSources::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("LUMORRA_HOME", m_home.path().toUtf8());
    m_server = &TestServer::shared();
    SiteConfig::current().pointAllAt(m_server->baseUrl());
    PageFetcher::instance().setTimeoutSeconds(5);

    m_form = createMainWindow();
    installEmuleSources(m_form);
    installEmuleSources(m_form);   // once only, however often it is called
    m_sources = EmuleSources::of(m_form);
    QVERIFY(m_sources);
    QCOMPARE(m_form->findChildren<EmuleSources*>().size(), 1);
    // The pages open once the version check has passed.
    QTRY_VERIFY_WITH_TIMEOUT(button("Command26(0)")->isEnabled(), 10000);
    QVERIFY(button("Command27(12)")->isEnabled());
}

void TestEmuleSources::init()
{
    m_server->sites().clearProgram();
    m_server->sites().clearRequests();
    for (const EmuleCategoryInfo& c : emuleCategories())
        m_sources->setPageNumber(c.category, 1);
    StatusLine::set(QStringLiteral("-"));
}

void TestEmuleSources::cleanupTestCase()
{
    delete m_form;
    m_form = nullptr;
}

void TestEmuleSources::previousPageOnFirstAndSecondPage()
{
    ModalAnswerer answerer;
    button("Command26(2)")->click();
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("已经是最上一页!")});
    QCOMPARE(answerer.titles(), QStringList{QStringLiteral("Brenn系列软件")});
    QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Information});
    QCOMPARE(answerer.buttons(), QList<QMessageBox::StandardButtons>{QMessageBox::Ok});
    QVERIFY(targetsUnder(role::EmuleIndexSite).isEmpty());
    QCOMPARE(m_sources->pageNumber(EmuleCategory::Music), 1);

    QVERIFY(listing("Command26(1)"));
    QVERIFY(listing("Command26(2)"));
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(targetsUnder(role::EmuleIndexSite), QStringList({"/emule/music/2", "/emule/music/1"}));
    QCOMPARE(list("ListView7")->rowCount(), 30);
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕.."));
}

void TestEmuleSources::nextPageMovesEachCategoryOnItsOwn()
{
    for (int i = 0; i < 3; ++i)
        QVERIFY(listing("Command21(1)"));
    QVERIFY(listing("Command26(1)"));
    QCOMPARE(targetsUnder(role::EmuleIndexSite),
             QStringList({"/emule/movie/2", "/emule/movie/3", "/emule/movie/4", "/emule/music/2"}));
    QCOMPARE(m_sources->pageNumber(EmuleCategory::Films), 4);
    QCOMPARE(m_sources->pageNumber(EmuleCategory::Music), 2);

    // Music page 2: rows 1..30 in page order (the site numbers its records
    // 31..60 there).
    ResultList* music = list("ListView7");
    QCOMPARE(music->rowCount(), 30);
    for (int i = 0; i < 30; ++i) {
        QTreeWidgetItem* row = music->topLevelItem(i);
        QCOMPARE(row->text(0), QString::number(i + 1));
        QCOMPARE(music->cell(row, "zzdz"), indexUrl() + QStringLiteral("/music/%1.html").arg(31 + i));
        QVERIFY(!music->cell(row, "mc").isEmpty());
        QVERIFY(!music->cell(row, "bz").isEmpty());
    }
    // The films list holds the film rows only.
    QVERIFY(list("ListView6")->cell(list("ListView6")->topLevelItem(0), "zzdz").contains("/movie/"));
}

void TestEmuleSources::shortAndEmptyListingPages()
{
    // The software listing's page 4 is short: exactly its seven records.
    m_sources->setPageNumber(EmuleCategory::Software, 4);
    QVERIFY(listing("Command27(0)"));
    ResultList* software = list("ListView8");
    QCOMPARE(software->rowCount(), 7);
    QStringList addresses;
    for (int i = 0; i < software->rowCount(); ++i) {
        QCOMPARE(software->topLevelItem(i)->text(0), QString::number(i + 1));
        addresses << software->cell(software->topLevelItem(i), "zzdz");
    }
    QCOMPARE(addresses.last(), indexUrl() + "/software/97.html");
    QCOMPARE(QSet<QString>(addresses.begin(), addresses.end()).size(), 7);
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕.."));

    // Page 5 has no record: the list empties and the status line says so.
    QVERIFY(listing("Command27(1)"));
    QCOMPARE(targetsUnder(role::EmuleIndexSite).last(), QStringLiteral("/emule/software/5"));
    QCOMPARE(software->rowCount(), 0);
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕..本页没有资源记录"));
}

void TestEmuleSources::failedListingFetchKeepsListAndRaisedPage()
{
    QVERIFY(listing("Command27(3)"));
    ResultList* books = list("ListView9");
    QCOMPARE(books->rowCount(), 30);
    const QString firstAddress = books->cell(books->topLevelItem(0), "zzdz");

    Answer drop;
    drop.drop = true;
    m_server->sites().program(SampleSites::prefixFor(role::EmuleIndexSite) + "/emule/book/2", drop);
    QSignalSpy failed(m_sources, &EmuleSources::failed);
    QVERIFY(listing("Command27(4)"));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(books->rowCount(), 30);
    QCOMPARE(books->cell(books->topLevelItem(0), "zzdz"), firstAddress);
    QVERIFY(StatusLine::text().startsWith(QStringLiteral("资源获取失败(")));
    QCOMPARE(m_sources->pageNumber(EmuleCategory::Books), 2);

    // The next fetch asks for the raised page again.
    m_server->sites().clearProgram();
    QVERIFY(listing("Command27(3)"));
    QCOMPARE(targetsUnder(role::EmuleIndexSite).last(), QStringLiteral("/emule/book/2"));
    QCOMPARE(books->cell(books->topLevelItem(0), "zzdz"), indexUrl() + "/book/31.html");
}

void TestEmuleSources::cartoonPageNumberStaysWithin16Bits()
{
    m_sources->setPageNumber(EmuleCategory::Cartoons, 32767);
    QVERIFY(listing("Command41(1)"));
    QCOMPARE(m_sources->pageNumber(EmuleCategory::Cartoons), 32767);
    QVERIFY(listing("Command41(2)"));
    QCOMPARE(m_sources->pageNumber(EmuleCategory::Cartoons), 32766);
    QCOMPARE(targetsUnder(role::EmuleIndexSite),
             QStringList({"/emule/cartoon/32767", "/emule/cartoon/32766"}));

    // The other numbers are not 16-bit.
    m_sources->setPageNumber(EmuleCategory::Data, 32767);
    QVERIFY(listing("Command27(10)"));
    QCOMPARE(m_sources->pageNumber(EmuleCategory::Data), 32768);
    QCOMPARE(targetsUnder(role::EmuleIndexSite).last(), QStringLiteral("/emule/datum/32768"));
}

void TestEmuleSources::indexSearchCutsOnTheTimer()
{
    ResultList* results = list("ListView15");
    edit("Text16")->setText(QStringLiteral("电影"));
    edit("Text17")->setText(QStringLiteral("3"));
    QSignalSpy counted(m_sources, &EmuleSources::pageCounted);
    QSignalSpy ended(m_sources, &EmuleSources::searchEnded);
    button("Command27(12)")->click();
    QVERIFY(counted.wait(10000));
    QCOMPARE(targetsUnder(role::EmuleIndexSite),
             QStringList{QStringLiteral("/emule/search/%E7%94%B5%E5%BD%B1/3")});
    // Counted, not yet cut: the timer does that.
    QVERIFY(!button("Command27(12)")->isEnabled());
    QCOMPARE(results->rowCount(), 0);

    QVERIFY(ended.wait(10000));
    QCOMPARE(results->rowCount(), 6);
    QVERIFY(button("Command27(12)")->isEnabled());
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕.."));
    QCOMPARE(m_sources->indexPending(), 0);
    for (int i = 0; i < 6; ++i) {
        QTreeWidgetItem* row = results->topLevelItem(i);
        QCOMPARE(row->text(0), QString::number(i + 1));
        QVERIFY(results->cell(row, "zzdz").startsWith(indexUrl() + "/movie/"));
        QVERIFY(!results->cell(row, "mc").isEmpty());
    }

    // A new search starts from an empty list.
    edit("Text17")->setText(QStringLiteral("1"));
    QVERIFY(runSearch(button("Command27(12)")));
    QCOMPARE(results->rowCount(), 20);
    QCOMPARE(results->topLevelItem(19)->text(0), QStringLiteral("20"));
}

void TestEmuleSources::indexSearchNotFoundPage()
{
    ResultList* results = list("ListView15");
    edit("Text16")->setText(QStringLiteral("电影"));
    edit("Text17")->setText(QStringLiteral("1"));
    QVERIFY(runSearch(button("Command27(12)")));
    QVERIFY(results->rowCount() > 0);

    ModalAnswerer answerer;
    edit("Text16")->setText(QStringLiteral("没有的东西"));
    QVERIFY(runSearch(button("Command27(12)")));
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("没有找到相关电驴资源!")});
    QCOMPARE(answerer.titles(), QStringList{QStringLiteral("Brenn系列软件")});
    QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Information});
    QCOMPARE(StatusLine::text(), QStringLiteral("没有找到相关电驴资源!"));
    QVERIFY(button("Command27(12)")->isEnabled());
    QCOMPARE(results->rowCount(), 0);
}

void TestEmuleSources::indexSearchKeywordMissingOrFetchFailing()
{
    ResultList* results = list("ListView15");
    edit("Text16")->setText(QStringLiteral("电影"));
    edit("Text17")->setText(QStringLiteral("1"));
    QVERIFY(runSearch(button("Command27(12)")));
    QVERIFY(results->rowCount() > 0 && button("Command27(12)")->isEnabled());
    const int rows = results->rowCount();
    m_server->sites().clearRequests();

    // No keyword: nothing cleared, nothing fetched.
    edit("Text16")->clear();
    button("Command27(12)")->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请输入资源关键字 .."));
    QCOMPARE(results->rowCount(), rows);
    QVERIFY(targetsUnder(role::EmuleIndexSite).isEmpty());

    // A dropped connection and an empty page both give the button back.
    const std::string prefix = SampleSites::prefixFor(role::EmuleIndexSite);
    Answer drop;
    drop.drop = true;
    m_server->sites().program(prefix + "/emule/search/broken/1", drop);
    m_server->sites().program(prefix + "/emule/search/blank/1", Answer::html(""));
    for (const char* word : {"broken", "blank"}) {
        edit("Text16")->setText(QLatin1String(word));
        QVERIFY(runSearch(button("Command27(12)")));
        QVERIFY2(button("Command27(12)")->isEnabled(), word);
        QVERIFY2(StatusLine::text().startsWith(QStringLiteral("资源获取失败")), qPrintable(StatusLine::text()));
        QCOMPARE(results->rowCount(), 0);
    }
    QVERIFY(StatusLine::text().contains(QStringLiteral("页面没有内容")));

    // A page that is neither a result page nor the site's no-result page
    // has nothing to cut, so no parse step would give the button back.
    ModalAnswerer answerer;
    m_server->sites().program(prefix + "/emule/search/maint/1",
                              Answer::html("<html><body>系统维护中</body></html>"));
    edit("Text16")->setText(QStringLiteral("maint"));
    QVERIFY(runSearch(button("Command27(12)")));
    QVERIFY(button("Command27(12)")->isEnabled());
    QCOMPARE(results->rowCount(), 0);
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕.."));
    QCOMPARE(answerer.count(), 0);
}

void TestEmuleSources::searchSiteUrlsAndRows()
{
    ResultList* results = list("ListView17");
    QPushButton* search = button("Command27(13)");
    edit("Text19")->setText(QStringLiteral("电影"));
    edit("Text20")->setText(QStringLiteral("1"));
    QVERIFY(runSearch(search));
    QCOMPARE(results->rowCount(), 20);
    QVERIFY(search->isEnabled());
    QCOMPARE(StatusLine::text(), QStringLiteral("资源获取完毕.."));

    edit("Text20")->setText(QStringLiteral("2"));
    QVERIFY(runSearch(search));
    QCOMPARE(targetsUnder(role::EmuleSearchSite),
             QStringList({"/FileList.asp?SearchWord=%E7%94%B5%E5%BD%B1",
                          "/FileList.asp?PageIndex=2&SearchWord=%E7%94%B5%E5%BD%B1"}));

    // Page 2 holds twenty files and the site's notice row, which names no
    // file and is left out; the rows are numbered without a gap.
    QCOMPARE(results->rowCount(), 20);
    QSet<QString> addresses;
    for (int i = 0; i < results->rowCount(); ++i) {
        QTreeWidgetItem* row = results->topLevelItem(i);
        QCOMPARE(row->text(0), QString::number(i + 1));
        QCOMPARE(results->cell(row, "fl"), QStringLiteral("电影"));
        QVERIFY(results->cell(row, "mc").startsWith(' '));
        QVERIFY(results->cell(row, "mc").size() > 1);
        addresses << results->cell(row, "dz");
    }
    QCOMPARE(addresses.size(), 20);
    QVERIFY(addresses.contains(searchUrl() + "/ShowFile.asp?FileID=21"));
    QVERIFY(addresses.contains(searchUrl() + "/ShowFile.asp?FileID=40"));
}

void TestEmuleSources::searchSiteWithoutRecordsReportsASecondLater()
{
    ResultList* results = list("ListView17");
    QPushButton* search = button("Command27(13)");
    edit("Text19")->setText(QStringLiteral("没有的东西"));
    edit("Text20")->setText(QStringLiteral("1"));
    search->click();
    QCOMPARE(results->rowCount(), 0);
    QVERIFY(!search->isEnabled());
    QCOMPARE(StatusLine::text(), QStringLiteral("正在获取资源.."));
    QTRY_COMPARE_WITH_TIMEOUT(StatusLine::text(), QStringLiteral("没有找到相关资源.."), 3000);
    QVERIFY(search->isEnabled());
    QCOMPARE(results->rowCount(), 0);
}

void TestEmuleSources::searchSiteNotFoundCheckBelongsToItsOwnSearch()
{
    ResultList* results = list("ListView17");
    QPushButton* search = button("Command27(13)");
    edit("Text20")->setText(QStringLiteral("1"));
    Answer slow = Answer::html(QStringLiteral("<table><tr><td>[<a href=\"c\">音乐</a>] "
                                              "<a href=\"ShowFile.asp?FileID=1001\">慢歌</a></td></tr></table>")
                                   .toStdString());
    slow.delayMs = 1500;
    m_server->sites().program(SampleSites::prefixFor(role::EmuleSearchSite)
                                  + "/FileList.asp?SearchWord=%E6%85%A2",
                              slow);

    // A search with hits, then one that waits for a slow page holding a
    // single record: while it waits, the list is empty, and nothing may
    // report that it found nothing.
    edit("Text19")->setText(QStringLiteral("电影"));
    QVERIFY(runSearch(search));
    QVERIFY(results->rowCount() > 0 && search->isEnabled());

    QStringList seen;
    QTimer watch;
    watch.setInterval(20);
    connect(&watch, &QTimer::timeout, this, [&] {
        if (seen.isEmpty() || seen.last() != StatusLine::text())
            seen << StatusLine::text();
    });
    watch.start();
    edit("Text19")->setText(QStringLiteral("慢"));
    // To the search's own last step, its not-found check.
    QVERIFY(runSearch(search));
    watch.stop();
    QCOMPARE(results->rowCount(), 1);
    QVERIFY2(!seen.contains(QStringLiteral("没有找到相关资源..")), qPrintable(seen.join(" / ")));
    QCOMPARE(StatusLine::text(), QStringLiteral("资源获取完毕.."));
    QCOMPARE(results->cell(results->topLevelItem(0), "mc"), QStringLiteral(" 慢歌"));
}

void TestEmuleSources::searchSiteFetchFailureGivesTheButtonBack()
{
    ResultList* results = list("ListView17");
    QPushButton* search = button("Command27(13)");
    Answer drop;
    drop.drop = true;
    m_server->sites().program(SampleSites::prefixFor(role::EmuleSearchSite) + "/FileList.asp?SearchWord=broken",
                              drop);
    edit("Text19")->setText(QStringLiteral("broken"));
    edit("Text20")->setText(QStringLiteral("1"));
    QVERIFY(runSearch(search));
    QVERIFY(search->isEnabled());
    QCOMPARE(results->rowCount(), 0);
    const QString failure = StatusLine::text();
    QVERIFY2(failure.startsWith(QStringLiteral("资源获取失败")), qPrintable(failure));
    // No not-found report follows a failure that was already reported.
    QVERIFY(!m_form->findChild<QTimer*>(QStringLiteral("Timer21"))->isActive());
    QVERIFY(!m_form->findChild<QTimer*>(QStringLiteral("Timer20"))->isActive());

    // An empty page is a failure as well.
    m_server->sites().program(SampleSites::prefixFor(role::EmuleSearchSite) + "/FileList.asp?SearchWord=blank",
                              Answer::html(""));
    edit("Text19")->setText(QStringLiteral("blank"));
    QVERIFY(runSearch(search));
    QVERIFY(search->isEnabled());
    QCOMPARE(StatusLine::text(), QStringLiteral("资源获取失败(页面没有内容),请稍后再试.."));

    // An empty keyword changes nothing.
    edit("Text19")->clear();
    search->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请输入资源关键字 .."));
    QVERIFY(search->isEnabled());

    // "释放内存" while a search waits for its steps (the memory release
    // stops their timers) does not leave the search unfinished.
    for (const char* word : {"没有的东西", "电影"}) {
        ModalAnswerer answerer;
        edit("Text19")->setText(QString::fromUtf8(word));
        QSignalSpy counted(m_sources, &EmuleSources::pageCounted);
        QSignalSpy ended(m_sources, &EmuleSources::searchEnded);
        search->click();
        QVERIFY(counted.wait(10000));
        QVERIFY(!search->isEnabled());
        button("Command6")->click();
        QCOMPARE(answerer.texts(), QStringList{QStringLiteral("内存释放完毕!")});
        QVERIFY(ended.wait(10000));
        QVERIFY(search->isEnabled());
        QCOMPARE(m_sources->searchPending(), 0);
        QCOMPARE(results->rowCount(), qstrcmp(word, "电影") == 0 ? 20 : 0);
    }
}

void TestEmuleSources::latestClickWinsOnAListing()
{
    // "下一页" twice while page 2 is slow: page 3 is listed, and page 2's late
    // answer never replaces it.
    Answer slow = Answer::html("");
    slow.delayMs = 1500;
    slow.body = "<div class=\"thumb\"><a href=\"/music/late.html\" title=\"late\"></a></div>";
    m_server->sites().program(SampleSites::prefixFor(role::EmuleIndexSite) + "/emule/music/2", slow);
    ResultList* music = list("ListView7");
    QSignalSpy loaded(m_sources, &EmuleSources::listingLoaded);
    button("Command26(1)")->click();
    QTRY_VERIFY(!m_server->sites().requestsFor(SampleSites::prefixFor(role::EmuleIndexSite) + "/emule/music/2").empty());
    button("Command26(1)")->click();
    QVERIFY(loaded.wait(10000));
    QCOMPARE(m_sources->pageNumber(EmuleCategory::Music), 3);
    QCOMPARE(music->rowCount(), 30);
    QCOMPARE(music->cell(music->topLevelItem(0), "zzdz"), indexUrl() + "/music/61.html");
    QCOMPARE(StatusLine::text(), QStringLiteral("获取完毕.."));
    // The superseded request is gone: nothing is left that could deliver it.
    QTRY_COMPARE(PageFetcher::instance().pendingCount(), 0);
    QCOMPARE(loaded.count(), 1);
    // The next "下一页" asks for page 4.
    QVERIFY(listing("Command26(1)"));
    QCOMPARE(targetsUnder(role::EmuleIndexSite).last(), QStringLiteral("/emule/music/4"));
}

void TestEmuleSources::aSlowSearchDoesNotHoldBackAListing()
{
    // A torrent search waits for a silent site; a category page that comes
    // in a moment later is listed when it comes, not when the search ends.
    auto* torrent = m_form->findChild<TorrentSearches*>();
    QVERIFY(torrent);
    Answer silent = Answer::html("<td class=\"name\">x</td>");
    silent.delayMs = 4000;
    m_server->sites().program(SampleSites::prefixFor(role::TorrentIndexSite) + "/search/slow/1", silent);
    Answer quick = Answer::html("<div class=\"thumb\"><a href=\"/book/1.html\" title=\"快\"></a></div>");
    quick.delayMs = 400;
    m_server->sites().program(SampleSites::prefixFor(role::EmuleIndexSite) + "/emule/book/1", quick);

    m_form->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("slow"));
    m_form->findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QStringLiteral("1"));
    m_form->findChild<QPushButton*>(QStringLiteral("Command2(0)"))->click();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(listing("Command27(3)"));
    QVERIFY2(clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(torrent->isSearching(0));
    QCOMPARE(list("ListView9")->cell(list("ListView9")->topLevelItem(0), "mc"), QStringLiteral("快"));
    QSignalSpy torrentEnded(torrent, &TorrentSearches::searchEnded);
    QVERIFY(torrentEnded.wait(10000));
}

QTEST_MAIN(TestEmuleSources)
#include "test_emule_sources.moc"
