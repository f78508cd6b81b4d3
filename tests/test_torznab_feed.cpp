// The Torznab feed read as a client reads it (Qt's XML reader over real
// HTTP): each function, each error, searches with and without a keyword,
// merged items, sizes and dates, the key; and the command's server as
// another process.
#include "engine_run.h"
#include "feed/feed_server.h"
#include "feed/torznab_request.h"
#include "hostile_answers.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "test_server.h"
#include "text/rfc822_date.h"
#include "text/size_bytes.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>
#include <QXmlStreamReader>

#include <memory>

using namespace lumorra;
using namespace lumorra::feed;
using namespace lumorra::testing;

namespace {

const QString kKey = QStringLiteral("k3y-for-tests");
constexpr char kTorznab[] = "http://torznab.com/schemas/2015/feed";

struct Item {
    QString title, guid, link, comments, pubDate, size, indexer, indexerId, category;
    QMap<QString, QString> attrs;   // torznab:attr name → value
};

// What a client takes from an answer.
struct Feed {
    int http = 0;
    QString root;                   // "rss", "caps", "indexers", "error"
    int errorCode = 0;
    QString errorDescription;
    QStringList indexerIds;
    QStringList searching;          // caps: "search:yes", …
    int total = -1;
    QList<Item> items;
    QString xmlError;
};

Feed read(const QByteArray& body, int http)
{
    Feed f;
    f.http = http;
    QXmlStreamReader xml(body);
    Item* item = nullptr;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        const QXmlStreamAttributes a = xml.attributes();
        if (f.root.isEmpty())
            f.root = name;
        if (name == QLatin1String("error")) {
            f.errorCode = a.value("code").toInt();
            f.errorDescription = a.value("description").toString();
        } else if (name == QLatin1String("indexer")) {
            f.indexerIds << a.value("id").toString();
        } else if (f.root == QLatin1String("caps") && xml.namespaceUri().isEmpty() && a.hasAttribute("available")) {
            f.searching << name + u':' + a.value("available").toString();
        } else if (name == QLatin1String("response") && xml.namespaceUri() == QLatin1String(kTorznab)) {
            f.total = a.value("total").toInt();
        } else if (name == QLatin1String("item")) {
            f.items.append(Item());
            item = &f.items.last();
        } else if (item && name == QLatin1String("attr") && xml.namespaceUri() == QLatin1String(kTorznab)) {
            item->attrs.insert(a.value("name").toString(), a.value("value").toString());
        } else if (item && name == QLatin1String("jackettindexer")) {
            item->indexerId = a.value("id").toString();
            item->indexer = xml.readElementText();
        } else if (item) {
            QString* field = name == QLatin1String("title")      ? &item->title
                           : name == QLatin1String("guid")       ? &item->guid
                           : name == QLatin1String("link")       ? &item->link
                           : name == QLatin1String("comments")   ? &item->comments
                           : name == QLatin1String("pubDate")    ? &item->pubDate
                           : name == QLatin1String("size")       ? &item->size
                           : name == QLatin1String("category")   ? &item->category
                                                                 : nullptr;
            if (field)
                *field = xml.readElementText();
        }
    }
    if (xml.hasError())
        f.xmlError = xml.errorString();
    return f;
}

Feed get(const QUrl& url)
{
    QNetworkAccessManager nam;
    QNetworkReply* reply = nam.get(QNetworkRequest(url));
    QSignalSpy done(reply, &QNetworkReply::finished);
    if (!reply->isFinished() && !done.wait(30000))
        return {};
    const int http = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    Feed f = read(reply->readAll(), http);
    reply->deleteLater();
    return f;
}

const Item* itemBy(const Feed& f, const QString& indexer, const QString& titlePart = QString())
{
    for (const Item& i : f.items)
        if (i.indexer == indexer && i.title.contains(titlePart))
            return &i;
    return nullptr;
}

} // namespace

class TestTorznabFeed : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { useTestSites(); }

    void functionsAndErrors_data();
    void functionsAndErrors();
    void keywords_data();
    void keywords();
    void sizesAndDates();
    void searchGivesMergedItemsWithUsableLinks();
    void pagesIndexersAndAChineseKeyword();
    void aSearchWithoutKeywordListsRecentItems();
    void aFailingSourceIsLeftOut();
    void searchesPerClientAreBoundedAndALeavingClientEndsItsSearch();
    void theCommandServesAnotherProcess();

private:
    QUrl feed(const QString& indexer, const QString& query, bool withKey = true) const;
    std::unique_ptr<FeedServer> m_server;
    quint16 m_port = 0;
    QStringList m_log;
};

void TestTorznabFeed::initTestCase()
{
    FeedServerOptions options;
    options.apiKey = kKey;
    options.agreementAccepted = true;
    m_server = std::make_unique<FeedServer>(options);
    connect(m_server.get(), &FeedServer::logLine, this, [this](const QString& line) { m_log << line; });
    m_port = m_server->listen(QHostAddress::LocalHost, 0);
    QVERIFY(m_port != 0);
}

QUrl TestTorznabFeed::feed(const QString& indexer, const QString& query, bool withKey) const
{
    QUrl url(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(FeedServer::feedPath(indexer)));
    QUrlQuery q(query);
    if (withKey)
        q.addQueryItem(QStringLiteral("apikey"), kKey);
    url.setQuery(q);
    return url;
}

void TestTorznabFeed::functionsAndErrors_data()
{
    QTest::addColumn<QString>("indexer");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("withKey");
    QTest::addColumn<int>("http");
    QTest::addColumn<QString>("root");
    QTest::addColumn<int>("code");
    QTest::newRow("caps") << "all" << "t=caps" << true << 200 << "caps" << 0;
    QTest::newRow("indexers") << "all" << "t=indexers&configured=true" << true << 200 << "indexers" << 0;
    QTest::newRow("no key") << "all" << "t=caps" << false << 401 << "error" << 100;
    QTest::newRow("wrong key") << "all" << "t=caps&apikey=" + kKey + "x" << false << 401 << "error" << 100;
    QTest::newRow("wrong key, no results") << "all" << "q=ubuntu&apikey=nope" << false << 401 << "error" << 100;
    QTest::newRow("empty function") << "all" << "t=" << true << 200 << "error" << 200;
    QTest::newRow("episode without season") << "all" << "t=tvsearch&q=a&ep=3" << true << 200 << "error" << 200;
    QTest::newRow("bad limit") << "all" << "q=a&limit=-1" << true << 200 << "error" << 201;
    QTest::newRow("bad offset") << "all" << "q=a&offset=x" << true << 200 << "error" << 201;
    QTest::newRow("bad category") << "all" << "q=a&cat=2000,movies" << true << 200 << "error" << 201;
    QTest::newRow("unknown function") << "all" << "t=everything" << true << 200 << "error" << 202;
    QTest::newRow("function not available") << "all" << "t=music&q=a" << true << 200 << "error" << 203;
    QTest::newRow("unknown indexer") << "nowhere" << "t=caps" << true << 404 << "error" << 201;
    QTest::newRow("a listing is no indexer") << "bt-films" << "q=a" << true << 404 << "error" << 201;
    QTest::newRow("too long") << "all" << "q=" + QString(5000, u'a') << true << 414 << "error" << 201;
}

void TestTorznabFeed::functionsAndErrors()
{
    QFETCH(QString, indexer);
    QFETCH(QString, query);
    QFETCH(bool, withKey);
    QFETCH(int, http);
    QFETCH(QString, root);
    QFETCH(int, code);
    const Feed f = get(feed(indexer, query, withKey));
    QCOMPARE(f.xmlError, QString());
    QCOMPARE(f.http, http);
    QCOMPARE(f.root, root);
    QCOMPARE(f.errorCode, code);
    QVERIFY(f.items.isEmpty());
    if (root == QLatin1String("caps"))
        QCOMPARE(f.searching, (QStringList{"search:yes", "tv-search:yes", "movie-search:yes", "music-search:no",
                                           "audio-search:no", "book-search:no"}));
    if (root == QLatin1String("indexers"))
        QCOMPARE(f.indexerIds, (QStringList{"torrent", "rss", "magnet-a", "magnet-b", "tag"}));
    // The key never reaches the log.
    QVERIFY(!m_log.join(u'\n').contains(kKey));

    // A path outside the layout is refused too, never with an HTML page.
    const Feed off = get(QUrl(QStringLiteral("http://127.0.0.1:%1/api/v2.0/other?apikey=%2").arg(m_port).arg(kKey)));
    QCOMPARE(off.http, 404);
    QCOMPARE(off.errorCode, 202);
}

void TestTorznabFeed::keywords_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<int>("function");
    QTest::newRow("no function: search") << "q=ubuntu" << "ubuntu" << int(TorznabFunction::Search);
    QTest::newRow("season and episode") << "t=tvsearch&q=Show&season=2&ep=5" << "Show S02E05" << int(TorznabFunction::TvSearch);
    QTest::newRow("season alone") << "t=tvsearch&q=Show&season=2" << "Show S02" << int(TorznabFunction::TvSearch);
    QTest::newRow("a year and a date") << "t=tvsearch&q=Show&season=2024&ep=05/12" << "Show 2024 05/12"
                                       << int(TorznabFunction::TvSearch);
    QTest::newRow("movie, blanks") << "t=movie&q=%20Big%20%20Film%20" << "Big Film" << int(TorznabFunction::Movie);
    QTest::newRow("no keyword, a season") << "t=tvsearch&season=1" << "" << int(TorznabFunction::TvSearch);
}

void TestTorznabFeed::keywords()
{
    QFETCH(QString, query);
    QFETCH(QString, keyword);
    QFETCH(int, function);
    TorznabRequest r;
    QVERIFY(!readTorznabQuery(QUrlQuery(query), &r).isError());
    QCOMPARE(r.keyword, keyword);
    QCOMPARE(int(r.function), function);
    QCOMPARE(r.limit, kDefaultLimit);
}

void TestTorznabFeed::sizesAndDates()
{
    const QList<std::pair<const char*, qint64>> sizes{
        {"4.69 GB", 5035849155}, {" 987 MB", 1034944512}, {"1.2G", 1288490189}, {"700 KiB", 716800},
        {"1,024 KB", 1048576},   {"10 B", 10},            {"未知", -1},          {"-1 GB", -1},
        {"", -1},                {"9999999999 PB", -1}};
    for (const auto& [text, bytes] : sizes)
        QVERIFY2(sizeInBytes(QString::fromUtf8(text)) == bytes, text);
    const QList<std::pair<const char*, const char*>> dates{
        {"2024-02-22", "Thu, 22 Feb 2024 00:00:00 +0000"},
        {"2013/4/5 8:05", "Fri, 05 Apr 2013 08:05:00 +0000"},
        {"Wed, 05 Apr 2023 08:00:00 +0800", "Wed, 05 Apr 2023 08:00:00 +0800"},
        {"2024-02-30", ""},
        {"昨天", ""}};
    for (const auto& [text, rfc] : dates)
        QCOMPARE(rfc822Date(siteDateTime(QString::fromUtf8(text))), QString::fromLatin1(rfc));
}

void TestTorznabFeed::searchGivesMergedItemsWithUsableLinks()
{
    const Feed f = get(feed(QStringLiteral("all"), QStringLiteral("t=search&q=ubuntu")));
    QCOMPARE(f.http, 200);
    QCOMPARE(f.root, QStringLiteral("rss"));
    // 5 + 4 + 3 + 3 + 3 rows, two resources listed twice.
    QCOMPARE(f.items.size(), 16);
    QCOMPARE(f.total, 16);
    const QRegularExpression hash(QStringLiteral("^[0-9a-f]{40}$"));
    QStringList guids;
    for (const Item& i : f.items) {
        guids << i.guid;
        QVERIFY2(i.link.startsWith(QLatin1String("magnet:?")) || i.link.endsWith(QLatin1String(".torrent")),
                 qPrintable(i.title + u' ' + i.link));
        QVERIFY2(hash.match(i.attrs.value("infohash")).hasMatch(), qPrintable(i.title));
        QVERIFY(!i.attrs.value("magneturl").contains(QLatin1String("&amp;")));
    }
    guids.removeDuplicates();
    QCOMPARE(guids.size(), f.items.size());

    // The torrent index and the tag site list one resource: one item naming
    // both, its date a midnight UTC, its size in bytes.
    const Item* both = itemBy(f, QStringLiteral("torrent,tag"));
    QVERIFY(both);
    QCOMPARE(both->indexerId, QStringLiteral("torrent"));
    QCOMPARE(both->title, QStringLiteral("ubuntu-22.04.4-desktop-amd64.iso"));
    QCOMPARE(both->pubDate, QStringLiteral("Thu, 22 Feb 2024 00:00:00 +0000"));
    QCOMPARE(both->size, QStringLiteral("5035849155"));
    QCOMPARE(both->attrs.value("size"), QStringLiteral("5035849155"));
    // No torrent file: the magnet is the link; the index's page the comments.
    QCOMPARE(both->link, both->attrs.value("magneturl"));
    QVERIFY2(both->comments.contains(QLatin1String("/torrent-index/information/")), qPrintable(both->comments));
    // A row of the tag site alone leads to its detail page: resolved.
    const Item* tagOnly = itemBy(f, QStringLiteral("tag"), QStringLiteral("release-notes"));
    QVERIFY(tagOnly);
    QVERIFY2(tagOnly->link.startsWith(QLatin1String("magnet:?xt=urn:btih:")), qPrintable(tagOnly->link));
    // A withdrawn torrent's empty page gives no link: its address's hash does.
    const Item* withdrawn = itemBy(f, QStringLiteral("tag"), QStringLiteral("16.04.7"));
    QVERIFY(withdrawn);
    QCOMPARE(withdrawn->link, QStringLiteral("magnet:?xt=urn:btih:2d364135288222e73361632b3ffac0a49cabfa2b&dn=ubuntu-16.04.7-desktop-amd64.iso"));
    // The feed's own address is a torrent: link and enclosure, no magnet.
    const Item* feedRow = itemBy(f, QStringLiteral("rss"), QStringLiteral("23.10.1"));
    QVERIFY(feedRow);
    QVERIFY(feedRow->attrs.value("magneturl").isEmpty());
    QCOMPARE(feedRow->pubDate, QStringLiteral("Fri, 13 Oct 2023 09:45:00 +0000"));
}

void TestTorznabFeed::pagesIndexersAndAChineseKeyword()
{
    const Feed one = get(feed(QStringLiteral("rss"), QStringLiteral("q=ubuntu&offset=1&limit=2")));
    QCOMPARE(one.items.size(), 2);
    QCOMPARE(one.total, 4);
    for (const Item& i : one.items)
        QCOMPARE(i.indexer, QStringLiteral("rss"));
    QCOMPARE(one.items.first().title, QStringLiteral("Ubuntu 23.10.1 Desktop amd64"));

    const Feed chinese = get(feed(QStringLiteral("torrent"), QStringLiteral("t=movie&q=%E7%94%B5%E5%BD%B1")));
    QCOMPARE(chinese.items.size(), 4);
    QCOMPARE(chinese.items.first().title, QStringLiteral("流浪地球2.2023.HD1080P.国语中字.mp4"));
    const Feed none = get(feed(QStringLiteral("torrent"), QStringLiteral("q=nothing-like-this")));
    QCOMPARE(none.root, QStringLiteral("rss"));
    QCOMPARE(none.items.size(), 0);
    QCOMPARE(none.total, 0);
}

void TestTorznabFeed::aSearchWithoutKeywordListsRecentItems()
{
    // As Sonarr's and Radarr's "Test" asks: no q, TV categories.
    const Feed f = get(feed(QStringLiteral("magnet-a"), QStringLiteral("t=tvsearch&cat=5000,5030")));
    QCOMPARE(f.http, 200);
    QCOMPARE(f.errorCode, 0);
    QVERIFY(f.items.size() > 20);
    // The first twenty detail pages are resolved to their magnet links.
    for (int i = 0; i < 20; ++i) {
        QVERIFY2(f.items[i].link.startsWith(QLatin1String("magnet:?")), qPrintable(f.items[i].link));
        QCOMPARE(f.items[i].category, QStringLiteral("2000"));
        QCOMPARE(f.items[i].indexer, QStringLiteral("bt-films"));
        QVERIFY(f.items[i].pubDate.endsWith(QLatin1String(" 00:00:00 +0000")));
    }
    QVERIFY(f.items[20].link.startsWith(QLatin1String("http://")));
}

void TestTorznabFeed::aFailingSourceIsLeftOut()
{
    TestServer::shared().sites().programUnder(SiteConfig::samplePrefix(QLatin1String(role::TorrentRssSite)).toStdString(),
                                              misbehave(Misbehaviour::ServerErrorPage));
    m_log.clear();
    const Feed f = get(feed(QStringLiteral("all"), QStringLiteral("q=ubuntu")));
    TestServer::shared().sites().clearProgram();
    QCOMPARE(f.http, 200);
    QCOMPARE(f.items.size(), 12);
    QVERIFY(!itemBy(f, QStringLiteral("rss")));
    QVERIFY2(m_log.join(u'\n').contains(QStringLiteral("source failed: rss: 资源获取失败(服务器返回 HTTP 500)")),
             qPrintable(m_log.join(u'\n')));
    QCOMPARE(m_server->searchesInProgress(), 0);
}

void TestTorznabFeed::searchesPerClientAreBoundedAndALeavingClientEndsItsSearch()
{
    // The stalled site outlasts the counting, not the fetcher's time-out.
    useTestSites(15000);
    ProgrammableSites& sites = TestServer::shared().sites();
    sites.programUnder(SiteConfig::samplePrefix(QLatin1String(role::MagnetSiteA)).toStdString(),
                       misbehave(Misbehaviour::Stall, 20000));
    QNetworkAccessManager nam;
    QList<QNetworkReply*> waiting;
    for (int i = 0; i < 4; ++i)
        waiting << nam.get(QNetworkRequest(feed(QStringLiteral("magnet-a"), QStringLiteral("q=ubuntu%1").arg(i))));
    QTRY_COMPARE(m_server->searchesInProgress(), 4);
    const Feed refused = get(feed(QStringLiteral("magnet-a"), QStringLiteral("q=ubuntu")));
    QCOMPARE(refused.http, 429);
    QCOMPARE(refused.errorCode, 500);
    // A client that goes away takes its search with it; the others go on.
    waiting.takeFirst()->abort();
    QTRY_COMPARE(m_server->searchesInProgress(), 3);
    sites.clearProgram();   // the stalled answers end now
    for (QNetworkReply* r : std::as_const(waiting)) {
        if (!r->isFinished())
            QVERIFY(QSignalSpy(r, &QNetworkReply::finished).wait(10000));
        QCOMPARE(r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        QCOMPARE(read(r->readAll(), 200).root, QStringLiteral("rss"));
    }
    QCOMPARE(m_server->searchesInProgress(), 0);
}

void TestTorznabFeed::theCommandServesAnotherProcess()
{
    QTemporaryDir home;
    QString sites = QStringLiteral("[sites]\n");
    for (const QString& role : SiteConfig::roles())
        sites += role + u'=' + TestServer::shared().roleUrl(role) + u'\n';
    QFile file(home.filePath(QStringLiteral("sites.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sites.toUtf8()) > 0);
    file.close();

    QProcess serve;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUMORRA_HOME"), home.path());
    serve.setProcessEnvironment(env);
    serve.start(QStringLiteral(LUMORRA_CLI_PATH),
                {QStringLiteral("serve"), QStringLiteral("--sites"), file.fileName(), QStringLiteral("--listen"),
                 QStringLiteral("127.0.0.1:0")});
    QVERIFY(serve.waitForStarted());
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += serve.readAllStandardOutput()).count('\n') >= 2, 15000);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Torznab feed: (http://127\\.0\\.0\\.1:\\d+/api/v2\\.0/indexers/all/results/"
                                          "torznab/api)\nAPI key: ([0-9a-f]{32})\n$"))
            .match(QString::fromLatin1(out));
    QVERIFY2(m.hasMatch(), out.constData());
    // The generated key is kept where only its owner reads it.
    QFile keyFile(home.filePath(QStringLiteral("torznab-api-key")));
    QCOMPARE(keyFile.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(keyFile.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLatin1(keyFile.readAll()).trimmed(), m.captured(2));

    QUrl url(m.captured(1));
    url.setQuery(QStringLiteral("apikey=%1&q=ubuntu").arg(m.captured(2)));
    const Feed f = get(url);
    QCOMPARE(f.http, 200);
    QCOMPARE(f.items.size(), 14);   // without the agreement: no tag site

    serve.terminate();
    QVERIFY(serve.waitForFinished(10000));
    QCOMPARE(serve.exitStatus(), QProcess::NormalExit);
    QCOMPARE(serve.exitCode(), 0);
    const QString err = QString::fromUtf8(serve.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("q=ubuntu 200 14 items")), qPrintable(err));
    QVERIFY(err.endsWith(QStringLiteral("lumorra-cli: serve: stopped\n")));
    QVERIFY(!err.contains(m.captured(2)));
}

QTEST_GUILESS_MAIN(TestTorznabFeed)
#include "test_torznab_feed.moc"
