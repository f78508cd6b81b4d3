// The search over every source without a window: which rows are one
// resource, what a merged row shows, and how the search ends when sources
// fail, stall or are superseded.
#include "engine_run.h"
#include "fetch_now.h"
#include "hostile_answers.h"
#include "net/site_config.h"
#include "sources/everywhere/merged_results.h"
#include "sources/everywhere/search_everywhere.h"
#include "sources/everywhere/site_check.h"
#include "sources/source_table.h"
#include "test_server.h"
#include "text/html_entities.h"

#include <QSignalSpy>
#include <QTest>

using namespace lumorra;
using namespace lumorra::testing;

namespace {

const SourceEntry& source(const char* id)
{
    const SourceEntry* s = findSourceEntry(SourceVerb::Search, QLatin1String(id));
    Q_ASSERT(s);
    return *s;
}

// A row of `cells` given as "key=value" pairs.
ListRow row(const QStringList& cells)
{
    ListRow r(QStringLiteral("1"));
    for (const QString& c : cells)
        r.set(c.section(u'=', 0, 0), c.section(u'=', 1));
    return r;
}

QList<const SourceEntry*> sourcesNamed(const QStringList& ids)
{
    QList<const SourceEntry*> out;
    for (const QString& id : ids)
        out << &source(id.toLatin1().constData());
    return out;
}

const SourceRun* runOf(const SearchEverywhere& search, const QString& id)
{
    for (const SourceRun& r : search.sourceRuns())
        if (r.source->id == id)
            return &r;
    return nullptr;
}

QString prefixOf(const char* role)
{
    return SiteConfig::samplePrefix(QLatin1String(role));
}

// The merged rows' cells of `key`.
QStringList column(const MergedResults& results, const QString& key)
{
    QStringList out;
    for (const ListRow& r : results.listRows())
        out << r.cell(key);
    return out;
}

const QString kHex = QStringLiteral("c9e15763f722f23e98a29decdfae341b98d53056");
const QString kBase32 = QStringLiteral("ZHQVOY7XELZD5GFCTXWN7LRUDOMNKMCW"); // the same hash

} // namespace

class TestSearchAllEngines : public QObject {
    Q_OBJECT
private slots:
    void init() { useTestSites(); }

    void keys_data();
    void keys();
    void entitiesAreDecodedOnce();
    void oneResourceFromTwoSourcesIsOneRow();
    void rowsWithoutLinksStayApart();
    void streamsEverySourceAndNamesTheFailingAndTheStalled();
    void aNewerSearchSupersedes();
    void refusalsAndTheCheckOfEverySite();
};

void TestSearchAllEngines::keys_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("detail");
    const QString hex = kHex;
    const QString btih = QStringLiteral("btih:") + hex;
    const QString magnetUpper = QStringLiteral("magnet:?xt=urn:btih:") + hex.toUpper() + QStringLiteral("&dn=a");
    QTest::newRow("magnet, hex in upper case") << "magnet-a" << QStringList{"mc=a", "cl=" + magnetUpper} << btih
                                               << magnetUpper << QString();
    QTest::newRow("magnet, base32")
        << "magnet-a" << QStringList{"cl=magnet:?xt=urn:btih:" + kBase32.toLower()} << btih
        << "magnet:?xt=urn:btih:" + kBase32.toLower() << QString();
    QTest::newRow("torrent address beside a magnet: the magnet is the link")
        << "torrent"
        << QStringList{"xzdz=http://t.example/get/" + hex + ".torrent", "fhdz=magnet:?xt=urn:btih:" + hex}
        << btih << "magnet:?xt=urn:btih:" + hex << QString();
    QTest::newRow("torrent address only") << "rss" << QStringList{"zzdz=http://t.example/d.php?hash=" + hex.toUpper()}
                                          << btih << "http://t.example/d.php?hash=" + hex.toUpper() << QString();
    QTest::newRow("hash in a detail page") << "tag" << QStringList{"dz=http://tag.example/t/" + hex + ".html"} << btih
                                           << "http://tag.example/t/" + hex + ".html"
                                           << "http://tag.example/t/" + hex + ".html";
    QTest::newRow("a host is never a hash")
        << "emule" << QStringList{"zzdz=http://" + hex + ".example/x.html"}
        << "http://" + hex + ".example/x.html" << "http://" + hex + ".example/x.html"
        << "http://" + hex + ".example/x.html";
    QTest::newRow("ed2k hash, lower case")
        << "emule-search" << QStringList{"dz=ed2k://|file|a.avi|100|0123456789ABCDEF0123456789ABCDEF|/"}
        << "ed2k:0123456789abcdef0123456789abcdef" << "ed2k://|file|a.avi|100|0123456789ABCDEF0123456789ABCDEF|/"
        << QString();
    QTest::newRow("page address: scheme and host in lower case, the path as it is")
        << "emule" << QStringList{"zzdz=HTTP://Emule.Example/Detail/42.html"} << "http://emule.example/Detail/42.html"
        << "HTTP://Emule.Example/Detail/42.html" << "HTTP://Emule.Example/Detail/42.html";
    QTest::newRow("a share page") << "clouddisk" << QStringList{"xh=百度网盘", "dz=http://pan.example/s/1x"}
                                  << "http://pan.example/s/1x" << "http://pan.example/s/1x"
                                  << "http://pan.example/s/1x";
    QTest::newRow("qvod beats the page") << "qvod"
                                         << QStringList{"dz=http://q.example/1.html", "zz=qvod://123|ABC|a.rmvb|"}
                                         << "qvod://123|ABC|a.rmvb|" << "qvod://123|ABC|a.rmvb|"
                                         << "http://q.example/1.html";
    QTest::newRow("what is no link is none") << "emule" << QStringList{"zzdz=file:///etc/passwd", "bz=javascript:x()"}
                                             << QString() << QString() << QString();
}

void TestSearchAllEngines::keys()
{
    QFETCH(QString, id);
    QFETCH(QStringList, cells);
    QFETCH(QString, key);
    QFETCH(QString, link);
    QFETCH(QString, detail);
    const FoundResource r = foundResource(source(id.toLatin1().constData()), row(cells));
    QCOMPARE(resourceKey(r), key);
    QCOMPARE(r.link, link);
    QCOMPARE(r.detail, detail);
}

void TestSearchAllEngines::entitiesAreDecodedOnce()
{
    const FoundResource r = foundResource(
        source("magnet-a"), row({QStringLiteral("cl=magnet:?xt=urn:btih:%1&amp;dn=a&amp;amp;b&#38;tr=x&#x26;y&bogus;")
                                     .arg(kHex)}));
    QCOMPARE(r.link, QStringLiteral("magnet:?xt=urn:btih:%1&dn=a&amp;b&tr=x&y&bogus;").arg(kHex));
    // References that name nothing (NUL, a surrogate, beyond Unicode) stay.
    QCOMPARE(decodeHtmlEntities(QStringLiteral("&#0;&#xD800;&#x110000;&;&amp")),
             QStringLiteral("&#0;&#xD800;&#x110000;&;&amp"));
}

void TestSearchAllEngines::oneResourceFromTwoSourcesIsOneRow()
{
    MergedResults results;
    // magnet-a comes first and lowers its hash in base32; the torrent index
    // has the hex hash in upper case, a size and its torrent address.
    MergedResults::Change first = results.add(
        source("magnet-a"), {row({QStringLiteral("mc=ubuntu.iso"), QStringLiteral("fb=2024-02-22"),
                                  "cl=magnet:?xt=urn:btih:" + kBase32.toLower()}),
                             row({QStringLiteral("mc=other"), QStringLiteral("cl=magnet:?xt=urn:btih:") + QString(40, u'a')})});
    QCOMPARE(first.firstNew, 0);
    QCOMPARE(first.newCount, 2);
    MergedResults::Change second = results.add(
        source("torrent"),
        {row({QStringLiteral("mc=ubuntu-22.04.iso"), QStringLiteral("dx=4.69 GB"),
              "xzdz=http://t.example/" + kHex.toUpper() + ".torrent"}),
         row({QStringLiteral("mc=third"), QStringLiteral("fhdz=magnet:?xt=urn:btih:") + QString(40, u'b')})});
    QCOMPARE(second.firstNew, 2);
    QCOMPARE(second.newCount, 1);
    QCOMPARE(second.changed, QList<int>{0});
    QCOMPARE(results.size(), 3);
    // The sources in table order whatever the order they came in; the
    // source first in the table names it, what it lacked is filled, the
    // magnet stays the link.
    const ListRow merged = results.listRow(0);
    QCOMPARE(merged.cell("xh"), QStringLiteral("1"));
    QCOMPARE(merged.cell("mc"), QStringLiteral("ubuntu-22.04.iso"));
    QCOMPARE(merged.cell("dx"), QStringLiteral("4.69 GB"));
    QCOMPARE(merged.cell("rq"), QStringLiteral("2024-02-22"));
    QCOMPARE(merged.cell("link"), "magnet:?xt=urn:btih:" + kBase32.toLower());
    QCOMPARE(merged.cell("source"), QStringLiteral("torrent,magnet-a"));
    QCOMPARE(column(results, "source"), (QStringList{"torrent,magnet-a", "magnet-a", "torrent"}));

    // The same row again changes nothing; a better link replaces a page.
    QCOMPARE(results.add(source("magnet-a"), {row({"cl=magnet:?xt=urn:btih:" + kHex})}).changed,
             QList<int>{});
    results.add(source("tag"), {row({"dz=http://tag.example/t/" + QString(40, u'c') + ".html"})});
    QCOMPARE(results.listRow(3).cell("link"), "http://tag.example/t/" + QString(40, u'c') + ".html");
    results.add(source("magnet-b"), {row({"cl=magnet:?xt=urn:btih:" + QString(40, u'C')})});
    QCOMPARE(results.listRow(3).cell("link"), "magnet:?xt=urn:btih:" + QString(40, u'C'));
    QCOMPARE(results.listRow(3).cell("zzdz"), "http://tag.example/t/" + QString(40, u'c') + ".html");
    QCOMPARE(results.listRow(3).cell("source"), QStringLiteral("magnet-b,tag"));
}

void TestSearchAllEngines::rowsWithoutLinksStayApart()
{
    MergedResults results;
    results.add(source("emule"), {row({QStringLiteral("mc=a")}), row({QStringLiteral("mc=a")})});
    QCOMPARE(results.size(), 2);
    QCOMPARE(column(results, "xh"), (QStringList{"1", "2"}));
}

void TestSearchAllEngines::streamsEverySourceAndNamesTheFailingAndTheStalled()
{
    ProgrammableSites& sites = TestServer::shared().sites();
    sites.programUnder(prefixOf(role::TorrentRssSite).toStdString(), misbehave(Misbehaviour::ServerErrorPage));
    sites.programUnder(prefixOf(role::EmuleIndexSite).toStdString(), misbehave(Misbehaviour::Stall, 20000));
    SearchEverywhere search;
    search.setTimeoutMs(4000); // longer than the fetcher's 1.5 s: the stall ends as the fetcher's time-out
    QSignalSpy added(&search, &SearchEverywhere::rowsAdded);
    QSignalSpy ended(&search, &SearchEverywhere::finished);
    search.start(QStringLiteral("ubuntu"), sourcesNamed({"torrent", "rss", "magnet-a", "magnet-b", "emule", "tag"}));
    QVERIFY(ended.wait(10000));
    sites.clearProgram();
    QCOMPARE(ended.size(), 1);
    QVERIFY(!search.isRunning());

    QCOMPARE(runOf(search, "torrent")->state, SourceRun::State::Rows);
    QCOMPARE(runOf(search, "torrent")->rows, 5);
    QCOMPARE(runOf(search, "magnet-b")->state, SourceRun::State::Rows);
    QCOMPARE(runOf(search, "rss")->state, SourceRun::State::Failed);
    QVERIFY2(runOf(search, "rss")->reason.startsWith(QStringLiteral("资源获取失败(服务器返回 HTTP 500),请稍后再试..")),
             qPrintable(runOf(search, "rss")->reason));
    QCOMPARE(runOf(search, "emule")->state, SourceRun::State::Failed);
    QVERIFY2(runOf(search, "emule")->reason.contains(QStringLiteral("网络请求超时")),
             qPrintable(runOf(search, "emule")->reason));
    QCOMPARE(search.countIn(SourceRun::State::Failed), 2);

    // Every added batch lands at the end, in order, and adds up to the rows.
    int expectedFirst = 0;
    for (const QList<QVariant>& a : std::as_const(added)) {
        QCOMPARE(a.at(0).toInt(), expectedFirst);
        expectedFirst += a.at(1).toInt();
    }
    QCOMPARE(expectedFirst, search.results().size());
    // Two resources were listed twice: the sample torrent index and tag
    // site share one hash (in the tag site's detail address), the two
    // magnet sites another (in different case).
    int rows = 0;
    for (const SourceRun& r : search.sourceRuns())
        rows += r.rows;
    QCOMPARE(search.results().size(), rows - 2);
    const QStringList sources = column(search.results(), "source");
    QCOMPARE(sources.count(QStringLiteral("torrent,tag")), 1);
    QCOMPARE(sources.count(QStringLiteral("magnet-a,magnet-b")), 1);
}

void TestSearchAllEngines::aNewerSearchSupersedes()
{
    ProgrammableSites& sites = TestServer::shared().sites();
    // The first search's torrent page is held back until the second ended.
    sites.programUnder(prefixOf(role::TorrentIndexSite).toStdString(), [](const Answer& normal, const std::string& target) {
        Answer a = normal;
        if (target.find("ubuntu") != std::string::npos)
            a.delayMs = 20000;
        return a;
    });
    SearchEverywhere search;
    QSignalSpy starts(&search, &SearchEverywhere::started);
    QSignalSpy ended(&search, &SearchEverywhere::finished);
    search.start(QStringLiteral("ubuntu"), sourcesNamed({"torrent", "rss"}));
    const std::string held = prefixOf(role::TorrentIndexSite).toStdString() + "/search/ubuntu/1";
    QTRY_VERIFY(!sites.requestsFor(held).empty());
    search.start(QStringLiteral("linux"), sourcesNamed({"torrent", "rss"}));
    QCOMPARE(starts.size(), 2);
    QVERIFY(ended.wait(10000));
    // Taking the filter away sends the held-back page at once; a page asked
    // of the same site after it has come back by the time this one does.
    sites.clearProgram();
    QCOMPARE(fetchNow(TestServer::shared().roleUrl(QLatin1String(role::TorrentIndexSite))
                      + QStringLiteral("/search/linux/1")).error,
             FetchError::None);
    QCoreApplication::processEvents();
    QCOMPARE(ended.size(), 1);
    QCOMPARE(search.keyword(), QStringLiteral("linux"));
    const QStringList names = column(search.results(), "mc");
    QVERIFY(!names.isEmpty());
    for (const QString& name : names)
        QVERIFY2(!name.contains(QLatin1String("ubuntu"), Qt::CaseInsensitive), qPrintable(name));
    QCOMPARE(runOf(search, "rss")->state, SourceRun::State::None);
}

void TestSearchAllEngines::refusalsAndTheCheckOfEverySite()
{
    SearchEverywhere search;
    QSignalSpy ended(&search, &SearchEverywhere::finished);
    search.start(QStringLiteral("  "), sourcesNamed({"torrent"}));
    QCOMPARE(ended.size(), 1);
    QCOMPARE(runOf(search, "torrent")->state, SourceRun::State::Failed);
    QCOMPARE(runOf(search, "torrent")->reason, QStringLiteral("请输入要搜索的关键字"));

    // Online-video sources only once the agreement is accepted.
    QStringList ids;
    for (const SourceEntry* s : SearchEverywhere::keywordSources(false))
        ids << s->id;
    QCOMPARE(ids, (QStringList{"clouddisk", "torrent", "rss", "film", "magnet-a", "magnet-b", "emule", "emule-search"}));
    QCOMPARE(SearchEverywhere::keywordSources(true).size(), ids.size() + 2);

    // Every role of the sample sites answers its light request with rows;
    // one that does not is named with its reason.
    TestServer::shared().sites().programUnder(prefixOf(role::BtBoardSite).toStdString(),
                                              misbehave(Misbehaviour::NotFoundPage));
    SiteCheck check;
    QSignalSpy checked(&check, &SiteCheck::finished);
    check.start(true);
    QVERIFY(checked.wait(15000));
    TestServer::shared().sites().clearProgram();
    QCOMPARE(check.lines().size(), SiteConfig::roles().size());
    QStringList answered, failed, skipped;
    for (const SiteCheckLine& line : check.lines()) {
        QVERIFY2(line.base.startsWith(TestServer::shared().baseUrl()), qPrintable(line.base));
        if (line.state == SiteCheckLine::State::Answered)
            answered << line.role;
        else if (line.state == SiteCheckLine::State::Failed)
            failed << line.role + u' ' + line.reason;
        else
            skipped << line.role + u' ' + siteCheckStateName(line.state);
    }
    QCOMPARE(failed, QStringList{QStringLiteral("BtBoardSite 资源获取失败(服务器返回 HTTP 404),请稍后再试..")});
    QCOMPARE(answered.size(), 12);
    QCOMPARE(skipped.size(), 6);   // the roles that no source asks
    QVERIFY(!check.allAnswered());
}

QTEST_GUILESS_MAIN(TestSearchAllEngines)
#include "test_search_all_engines.moc"
