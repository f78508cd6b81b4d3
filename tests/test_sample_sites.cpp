// The sample-sites server, read with a plain HTTP client (no Qt networking),
// so that a fault shows here and not only through the page fetcher.
#include "programmable_sites.h"
#include "site_setup.h"
#include "test_server.h"

#include <httplib.h>

#include <QtTest>

#include <chrono>
#include <set>
#include <thread>

using namespace lumorra;
using lumorra::testing::TestServer;

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// The n-th field of the announcement file as the news line reads it: the
// text after the n-th key up to its first "|".
std::string field(const std::string& text, const std::string& key, int n)
{
    size_t at = 0;
    for (int i = 0; i < n; ++i) {
        at = text.find(key, at);
        if (at == std::string::npos)
            return {};
        at += key.size();
    }
    const size_t bar = text.find('|', at);
    return bar == std::string::npos ? std::string() : text.substr(at, bar - at);
}

std::string trimmed(const std::string& s)
{
    return QString::fromStdString(s).trimmed().toStdString();
}

} // namespace

class SampleSitesTest : public QObject {
    Q_OBJECT
    TestServer& server = TestServer::shared();
    ProgrammableSites& sites = server.sites();
    httplib::Client client() const { return httplib::Client("127.0.0.1", server.port()); }

private slots:
    void init();

    void versionFileIsExactlyTheVersion();
    void announcementFileHasFiveItemsWithServedPages();
    void makerPagesAreServed();
    void unknownPathsGetNotFound_data();
    void unknownPathsGetNotFound();
    void everyRoleHasItsOwnPrefix();
    void routerPicksPagesByKeyword();

    void programmedAnswersTakePrecedence();
    void requestLogRecordsWhatArrived();
    void requestLogUnderConcurrentClients();
    void requestLogKeepsOnlyTheLatest_data();
    void requestLogKeepsOnlyTheLatest();
    void demoSitesKeepNoRequestLog();
    void gbkSamplePages();

    void stopEndsDelayedAndEndlessAnswers();
    void restartOnSamePortAndSideBySide();
};

void SampleSitesTest::init()
{
    sites.clearProgram();
    sites.clearRequests();
}

void SampleSitesTest::versionFileIsExactlyTheVersion()
{
    auto res = client().Get("/vendor/version/gx.txt");
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QCOMPARE(qs(res->body), QStringLiteral("V2.3"));   // no line break after it
}

void SampleSitesTest::announcementFileHasFiveItemsWithServedPages()
{
    auto res = client().Get("/vendor/data/gg.txt");
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    const std::string text = res->body;
    QCOMPARE(qs(text).count(QStringLiteral("title:")), 5);

    std::set<std::string> colors;
    for (int n = 1; n <= 5; ++n) {
        const std::string title = field(text, "title:", n);
        const std::string url = trimmed(field(text, "url:", n));
        colors.insert(trimmed(field(text, "color:", n)));
        QVERIFY2(!title.empty(), qPrintable(QString::number(n)));

        // Each item's page lives on this same server and shows its title.
        const std::string base = server.baseUrl().toStdString();
        QVERIFY2(url.rfind(base + "/", 0) == 0, url.c_str());
        auto page = client().Get(url.substr(base.size()));
        QVERIFY(page);
        QCOMPARE(page->status, 200);
        QVERIFY(page->body.find(title) != std::string::npos);
    }
    QCOMPARE(colors, (std::set<std::string>{"red", "blue", "green"}));
}

void SampleSitesTest::makerPagesAreServed()
{
    for (const char* path : {"/vendor/", "/vendor", "/maker/", "/maker/index.html", "/vendor/bbs/",
                             "/maker/jc.html", "/vendor/qun.html", "/vendor/soft/brenn.html"}) {
        auto res = client().Get(path);
        QVERIFY2(res && res->status == 200, path);
        QVERIFY(res->get_header_value("Content-Type").find("charset=utf-8") != std::string::npos);
    }
    // The home page links stay on this server.
    auto home = client().Get("/maker/");
    QVERIFY(home);
    const std::string link = server.url(QStringLiteral("/maker/bbs/")).toStdString();
    QVERIFY(home->body.find("href=\"" + link + "\"") != std::string::npos);
}

void SampleSitesTest::unknownPathsGetNotFound_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("outside every role") << QStringLiteral("/nothing/here");
    QTest::newRow("unknown vendor page") << QStringLiteral("/vendor/version/gx2.txt");
    QTest::newRow("prefix must end at a slash") << QStringLiteral("/vendorx/version/gx.txt");
    QTest::newRow("missing news item") << QStringLiteral("/vendor/news/9.html");
    QTest::newRow("role without pages yet") << QStringLiteral("/share/x");
}

void SampleSitesTest::unknownPathsGetNotFound()
{
    QFETCH(QString, path);
    auto res = client().Get(path.toStdString());
    QVERIFY(res);
    QCOMPARE(res->status, 404);
    QVERIFY(!res->body.empty());
}

void SampleSitesTest::everyRoleHasItsOwnPrefix()
{
    const auto& roles = SampleSites::roles();
    QCOMPARE(roles.size(), size_t(19));
    std::set<std::string> prefixes;
    for (const std::string& role : roles) {
        const std::string prefix = SampleSites::prefixFor(role);
        QVERIFY2(prefix.size() > 1 && prefix.front() == '/' && prefix.back() != '/', role.c_str());
        prefixes.insert(prefix);
        QCOMPARE(qs(sites.roleUrl(role)), server.baseUrl() + qs(prefix));
    }
    QCOMPARE(prefixes.size(), roles.size());
    QCOMPARE(qs(SampleSites::prefixFor("VendorEndpoint")), QStringLiteral("/vendor"));
    QVERIFY(SampleSites::prefixFor("NoSuchRole").empty());
}

void SampleSitesTest::routerPicksPagesByKeyword()
{
    // The scheme the source families use: a keyword and a page number in the
    // path, a query parameter, and the site's own no-result page.
    PageBook book;
    book.pages["电影"] = Answer::html("film results");
    book.pages["2"] = Answer::html("second page");
    book.noResult = Answer::html("nothing found");
    SiteRouter router;
    router.route("EmuleIndexSite", R"(/search/([^/]+)/(\d+)\.html)",
                 [&book](const SiteRequest& q) { return book.pick(q.capture(2) == "1" ? q.capture(1) : q.capture(2)); });
    router.route("EmuleIndexSite", "/find", [&book](const SiteRequest& q) { return book.pick(q.param("kw")); });

    auto dispatch = [&](const std::string& path, std::multimap<std::string, std::string> params = {}) {
        SiteRequest q;
        q.params = std::move(params);
        auto a = router.dispatch(path, q);
        return a ? a->body : std::string("<none>");
    };
    QCOMPARE(qs(dispatch("/emule-index/search/电影/1.html")), QStringLiteral("film results"));
    QCOMPARE(qs(dispatch("/emule-index/search/电影/2.html")), QStringLiteral("second page"));
    QCOMPARE(qs(dispatch("/emule-index/search/other/1.html")), QStringLiteral("nothing found"));
    QCOMPARE(qs(dispatch("/emule-index/find", {{"kw", "电影"}})), QStringLiteral("film results"));
    QCOMPARE(qs(dispatch("/emule-index/find", {{"kw", "x"}})), QStringLiteral("nothing found"));
    QCOMPARE(qs(dispatch("/emule-index/search/电影/1.htmlx")), QStringLiteral("<none>"));
    QCOMPARE(qs(dispatch("/emule-search/find")), QStringLiteral("<none>"));
}

void SampleSitesTest::programmedAnswersTakePrecedence()
{
    sites.program("/vendor/version/gx.txt", Answer::text("V2.4"));
    QCOMPARE(qs(client().Get("/vendor/version/gx.txt")->body), QStringLiteral("V2.4"));
    sites.unprogram("/vendor/version/gx.txt");
    QCOMPARE(qs(client().Get("/vendor/version/gx.txt")->body), QStringLiteral("V2.3"));

    // A key with a query matches that exact request only.
    sites.program("/t/q?page=2", Answer::text("page two"));
    sites.program("/t/q", Answer::text("any page"));
    QCOMPARE(qs(client().Get("/t/q?page=2")->body), QStringLiteral("page two"));
    QCOMPARE(qs(client().Get("/t/q?page=3")->body), QStringLiteral("any page"));

    Answer teapot = Answer::bytes("short and stout", "text/plain; charset=gbk", 418);
    teapot.headers.emplace_back("X-Sample", "yes");
    sites.program("/t/teapot", teapot);
    auto res = client().Get("/t/teapot");
    QVERIFY(res);
    QCOMPARE(res->status, 418);
    QCOMPARE(qs(res->get_header_value("Content-Type")), QStringLiteral("text/plain; charset=gbk"));
    QCOMPARE(qs(res->get_header_value("X-Sample")), QStringLiteral("yes"));
}

void SampleSitesTest::requestLogRecordsWhatArrived()
{
    auto res = client().Get("/t/logged?kw=%E7%94%B5%E5%BD%B1&n=1",
                            httplib::Headers{{"If-Modified-Since", "0"}, {"X-Probe", "abc"}});
    QVERIFY(res);
    QCOMPARE(res->status, 404);
    const auto log = sites.requests();
    QCOMPARE(log.size(), size_t(1));
    const LoggedRequest& r = log[0];
    QCOMPARE(qs(r.method), QStringLiteral("GET"));
    QCOMPARE(qs(r.path), QStringLiteral("/t/logged"));
    QCOMPARE(qs(r.query), QStringLiteral("kw=%E7%94%B5%E5%BD%B1&n=1"));
    QCOMPARE(qs(r.target), QStringLiteral("/t/logged?kw=%E7%94%B5%E5%BD%B1&n=1"));
    QCOMPARE(qs(r.param("kw")), QStringLiteral("电影"));
    QCOMPARE(qs(r.header("if-modified-since")), QStringLiteral("0"));
    QCOMPARE(qs(r.header("X-Probe")), QStringLiteral("abc"));
    QVERIFY(!r.hasHeader("X-Absent"));
    QCOMPARE(sites.requestsFor("/t/logged").size(), size_t(1));
    QVERIFY(sites.requestsFor("/t/other").empty());
    sites.clearRequests();
    QVERIFY(sites.requests().empty());
}

void SampleSitesTest::requestLogUnderConcurrentClients()
{
    sites.program("/t/many", Answer::text("ok"));
    const int threads = 6, each = 5;
    std::vector<std::thread> pool;
    std::atomic<int> ok{0};
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&, t] {
            httplib::Client c("127.0.0.1", server.port());
            for (int i = 0; i < each; ++i) {
                auto res = c.Get(("/t/many?t=" + std::to_string(t) + "&i=" + std::to_string(i)).c_str());
                if (res && res->body == "ok")
                    ++ok;
            }
        });
    for (auto& th : pool)
        th.join();
    QCOMPARE(ok.load(), threads * each);
    const auto log = sites.requestsFor("/t/many");
    QCOMPARE(log.size(), size_t(threads * each));
    std::set<std::string> distinct;
    for (const auto& r : log)
        distinct.insert(r.query);
    QCOMPARE(distinct.size(), size_t(threads * each));
}

void SampleSitesTest::requestLogKeepsOnlyTheLatest_data()
{
    QTest::addColumn<int>("limit"); // -1: as a new server starts
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("kept");
    QTest::addColumn<int>("firstKept");
    QTest::newRow("off") << 0 << 5 << 0 << 0;
    QTest::newRow("ring of 3") << 3 << 5 << 3 << 2;
    QTest::newRow("under the ring") << 3 << 2 << 2 << 0;
    QTest::newRow("default bound") << -1 << 1005 << 1000 << 5;
}

void SampleSitesTest::requestLogKeepsOnlyTheLatest()
{
    QFETCH(int, limit);
    QFETCH(int, sent);
    QFETCH(int, kept);
    QFETCH(int, firstKept);
    ProgrammableSites own;
    if (limit >= 0)
        own.setRequestLogLimit(size_t(limit));
    QVERIFY(own.start(0));
    own.program("/r", Answer::text("ok"));
    httplib::Client c("127.0.0.1", own.port());
    for (int i = 0; i < sent; ++i)
        QVERIFY(c.Get(("/r?i=" + std::to_string(i)).c_str()));
    const auto log = own.requests();
    QCOMPARE(log.size(), size_t(kept));
    for (int i = 0; i < kept; ++i)
        QCOMPARE(qs(log[size_t(i)].param("i")), QString::number(firstKept + i));

    // Lowering the bound drops the oldest at once.
    own.setRequestLogLimit(1);
    QCOMPARE(own.requests().size(), size_t(kept > 0 ? 1 : 0));
}

void SampleSitesTest::demoSitesKeepNoRequestLog()
{
    // The program's own sample sites serve a whole session: they are the
    // plain sites, without the tests' log or programmed answers.
    std::unique_ptr<SampleSites> demo;
    QVERIFY(setUpSites(SiteSetup{true, QString(), false}, &demo, [](const QString&) {}));
    QVERIFY(demo);
    auto res = httplib::Client("127.0.0.1", demo->port()).Get("/vendor/version/gx.txt");
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QVERIFY(!dynamic_cast<ProgrammableSites*>(demo.get()));
}

void SampleSitesTest::gbkSamplePages()
{
    QCOMPARE(QByteArray::fromStdString(encodeText("电影", "GBK")), QByteArray("\xB5\xE7\xD3\xB0"));
    QCOMPARE(QByteArray::fromStdString(encodeText("電影", "Big5")), QByteArray("\xB9\x71\xBC\x76"));
    QCOMPARE(QByteArray::fromStdString(encodeText("abc", "GBK")), QByteArray("abc"));
}

void SampleSitesTest::stopEndsDelayedAndEndlessAnswers()
{
    ProgrammableSites own;
    QVERIFY(own.start(0));
    QVERIFY(own.isRunning());
    Answer slow = Answer::text("late");
    slow.delayMs = 20000;
    own.program("/slow", slow);
    Answer endless = Answer::bytes({}, "application/octet-stream");
    endless.endless = true;
    own.program("/endless", endless);

    const int port = own.port();
    std::atomic<bool> slowDone{false};
    std::atomic<int> slowStatus{0};
    std::atomic<size_t> endlessBytes{0};
    std::thread slowClient([&] {
        httplib::Client c("127.0.0.1", port);
        c.set_read_timeout(30);
        auto res = c.Get("/slow");
        slowStatus = res ? res->status : -1;
        slowDone = true;
    });
    std::thread endlessClient([&] {
        httplib::Client c("127.0.0.1", port);
        c.set_read_timeout(30);
        c.Get("/endless", [&](const char*, size_t n) { endlessBytes += n; return true; });
    });
    // Both answers are under way: the endless one streams, the slow one waits.
    QTRY_VERIFY_WITH_TIMEOUT(endlessBytes.load() > 1024 * 1024, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(own.requests().size(), size_t(2), 5000);
    QVERIFY(!slowDone.load());

    own.stop();
    QVERIFY(!own.isRunning());
    QCOMPARE(own.port(), 0);
    slowClient.join();
    endlessClient.join();
    // Cut short by stop(): the 20 s delay never ran out into a real answer.
    QVERIFY(slowDone.load());
    QVERIFY(slowStatus.load() != 200);
}

void SampleSitesTest::restartOnSamePortAndSideBySide()
{
    ProgrammableSites a, b;
    QVERIFY(a.start(0));
    QVERIFY(b.start(0));
    QVERIFY(a.port() != b.port());
    a.program("/who", Answer::text("a"));
    b.program("/who", Answer::text("b"));
    QCOMPARE(qs(httplib::Client("127.0.0.1", a.port()).Get("/who")->body), QStringLiteral("a"));
    QCOMPARE(qs(httplib::Client("127.0.0.1", b.port()).Get("/who")->body), QStringLiteral("b"));
    QVERIFY(b.requestsFor("/who").size() == 1 && a.requestsFor("/who").size() == 1);

    const int port = a.port();
    a.stop();
    QVERIFY(!httplib::Client("127.0.0.1", port).Get("/who"));
    QVERIFY(a.start(port));
    QCOMPARE(a.port(), port);
    QCOMPARE(qs(httplib::Client("127.0.0.1", port).Get("/vendor/version/gx.txt")->body), QStringLiteral("V2.3"));
    QCOMPARE(qs(httplib::Client("127.0.0.1", port).Get("/who")->body), QStringLiteral("a"));  // programs kept
}

QTEST_GUILESS_MAIN(SampleSitesTest)
#include "test_sample_sites.moc"
