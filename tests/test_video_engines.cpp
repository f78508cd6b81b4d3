// The online-video engines without a window: the Qvod film and search
// sites, the torrent tag site and the two resolvers of their detail pages —
// their rows, endings and texts, the keyword search's page collection, and
// the detail stage that reads a listed row's page.
#include "engine_run.h"
#include "hostile_answers.h"
#include "sources/source_table.h"
#include "sources/video/video_engines.h"
#include "test_server.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace lumorra;
using namespace lumorra::testing;

namespace {

using Kind = SourceOutcome::Kind;

std::unique_ptr<SourceEngine> engineOf(SourceVerb verb, const QString& id)
{
    return tableEngine(verb, id);
}

SourceVerb verbOf(const QString& name)
{
    return name == u"list" ? SourceVerb::List : name == u"resolve" ? SourceVerb::Resolve : SourceVerb::Search;
}

// "keyword" for a search, a page number for a listing, an address for a resolver.
SourceRequest requestFor(SourceVerb verb, const QString& input)
{
    SourceRequest r;
    if (verb == SourceVerb::Search)
        r.keyword = input;
    else if (verb == SourceVerb::List)
        r.page = input;
    else
        r.address = input;
    return r;
}

QStringList requestedPaths(const QString& role)
{
    QStringList paths;
    const std::string prefix = SampleSites::prefixFor(role.toStdString());
    for (const LoggedRequest& r : TestServer::shared().sites().requests())
        if (r.path.compare(0, prefix.size(), prefix) == 0)
            paths << QString::fromStdString(r.path.substr(prefix.size()));
    return paths;
}

const QString kFetching = QStringLiteral("正在获取资源中...");
const QString kDone = QStringLiteral("资源获取完毕..");
const QString kGone = QStringLiteral("抱歉!该资源已失效,请您获取其他资源");

} // namespace

class TestVideoEngines : public QObject {
    Q_OBJECT
private slots:
    void init() { useTestSites(); }
    void cleanup() { TestServer::shared().sites().clearProgram(); }

    void outcomes_data();
    void outcomes();
    void failures_data();
    void failures();
    void detailStage_data();
    void detailStage();
    void collectionSkipsAMissedPage();
    void threeMissesInARowEndTheCollection();
    void aNewerSearchSupersedesTheCollection();
};

void TestVideoEngines::outcomes_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("topNames");   // mc of the first rows, top first
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QStringList>("statuses");
    QTest::addColumn<QStringList>("requests");   // under the site's prefix; empty: not checked

    const QString tagSearching = QStringLiteral("正在进行资源获取..请耐心等待..");
    QTest::newRow("qvod channel page 1")
        << "list" << "qvod-channel" << "1" << int(Kind::Rows) << QStringList{QStringLiteral("龙门飞甲")} << 25
        << QStringList{kFetching, kDone} << QStringList{QStringLiteral("/channel/list_0_1.html")};
    QTest::newRow("qvod channel page 3") << "list" << "qvod-channel" << "3" << int(Kind::Rows) << QStringList() << 7
                                         << QStringList{kFetching, kDone} << QStringList();
    QTest::newRow("qvod category page 1")
        << "list" << "qvod-category" << "1" << int(Kind::Rows)
        << QStringList{QStringLiteral("功夫"), QStringLiteral("星际穿越"), QStringLiteral("功夫熊猫2")} << 3
        << QStringList{kFetching, kDone} << QStringList{QStringLiteral("/vod-show-p.html")};
    QTest::newRow("qvod category page 2")
        << "list" << "qvod-category" << "2" << int(Kind::Rows) << QStringList{QStringLiteral("星际迷航：暗黑无界")}
        << -1 << QStringList{kFetching, kDone} << QStringList{QStringLiteral("/vod-show-p-2.html")};
    QTest::newRow("qvod category without records")
        << "list" << "qvod-category" << "9" << int(Kind::NoRows) << QStringList() << 0
        << QStringList{kFetching, QStringLiteral("获取完毕..本页没有资源记录")} << QStringList();
    QTest::newRow("qvod keyword, one page")
        << "search" << "qvod" << "功夫" << int(Kind::Rows)
        << QStringList{QStringLiteral("功夫之王"), QStringLiteral("功夫熊猫2"), QStringLiteral("功夫")} << 3
        << QStringList{kFetching, kDone} << QStringList{QStringLiteral("/vod-search-wd-功夫-p.html")};
    QTest::newRow("qvod keyword, three pages collected")
        << "search" << "qvod" << "星际" << int(Kind::Rows)
        << QStringList{QStringLiteral("星际追踪"), QStringLiteral("星际旅行"), QStringLiteral("星际之门")} << 8
        << QStringList{kFetching, kDone}
        << QStringList{QStringLiteral("/vod-search-wd-星际-p.html"), QStringLiteral("/vod-search-wd-星际-p-2.html"),
                       QStringLiteral("/vod-search-wd-星际-p-1.html"), QStringLiteral("/vod-search-wd-星际-p-0.html")};
    QTest::newRow("qvod keyword, nothing found")
        << "search" << "qvod" << "没有这部" << int(Kind::NoRows) << QStringList() << 0
        << QStringList{kFetching, QStringLiteral("没有搜索到相关资源...")} << QStringList();
    QTest::newRow("tag")
        << "search" << "tag" << "ubuntu" << int(Kind::Rows)
        << QStringList{QStringLiteral("ubuntu-release-notes.txt"), QStringLiteral("ubuntu-16.04.7-desktop-amd64.iso")}
        << 3 << QStringList{tagSearching, kDone} << QStringList{QStringLiteral("/tags/ubuntu/")};
    QTest::newRow("tag without torrents")
        << "search" << "tag" << "nothing" << int(Kind::NoRows) << QStringList() << 0
        << QStringList{tagSearching, QStringLiteral("抱歉!未找到任何资源..")} << QStringList();
}

void TestVideoEngines::outcomes()
{
    QFETCH(QString, verb);
    QFETCH(QString, id);
    QFETCH(QString, input);
    QFETCH(int, kind);
    QFETCH(QStringList, topNames);
    QFETCH(int, rowCount);
    QFETCH(QStringList, statuses);
    QFETCH(QStringList, requests);
    auto engine = engineOf(verbOf(verb), id);
    QVERIFY(engine);
    const QString role = findSourceEntry(verbOf(verb), id)->role;
    TestServer::shared().sites().clearRequests();
    const EngineRun run = runEngine(*engine, requestFor(verbOf(verb), input));
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(int(run.outcome().kind), kind);
    if (rowCount >= 0)
        QCOMPARE(run.rows.size(), rowCount);
    QCOMPARE(run.outcome().rowCount, int(run.rows.size()));
    QCOMPARE(run.statuses, statuses);
    QCOMPARE(run.column(QStringLiteral("mc")).mid(0, topNames.size()), topNames);
    // Numbered 1 … n from the top, whichever way the window adds them.
    for (int i = 0; i < run.rows.size(); ++i)
        QCOMPARE(run.rows.at(i).text, QString::number(i + 1));
    if (!requests.isEmpty())
        QCOMPARE(requestedPaths(role), requests);
}

void TestVideoEngines::failures_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("path");          // the role's prefix: every page below it misbehaves
    QTest::addColumn<QString>("before");        // the reason's wording around the fetch's
    QTest::addColumn<QString>("after");
    const TestServer& server = TestServer::shared();
    const QString hash(40, u'A');
    const struct {
        const char* name;
        const char* verb;
        const char* id;
        QString input;
        const char* path;
        const char* before;
        const char* after;
    } sources[] = {
        {"qvod channel", "list", "qvod-channel", QStringLiteral("1"), "/qvod-film/", "资源获取失败(", "),请稍后再试.."},
        {"qvod category", "list", "qvod-category", QStringLiteral("1"), "/qvod-search/", "资源获取失败(",
         "),请稍后再试.."},
        {"qvod keyword", "search", "qvod", QStringLiteral("星际"), "/qvod-search/", "资源获取失败(", "),请稍后再试.."},
        {"tag", "search", "tag", QStringLiteral("ubuntu"), "/torrent-tag/", "抱歉!未找到任何资源..(", ")"},
        {"qvod search detail", "resolve", "qvod", server.roleUrl(QStringLiteral("QvodSearchSite")) + "/vod-detail-id-204.html",
         "/qvod-search/", "解析失败(", "),请稍后再试.."},
        {"qvod film detail", "resolve", "qvod", server.roleUrl(QStringLiteral("QvodFilmSite")) + "/content/detail_101.html",
         "/qvod-film/", "解析失败(", "),请稍后再试.."},
        {"film resource detail", "resolve", "qvod",
         server.roleUrl(QStringLiteral("FilmResourceSite")) + "/detail.asp?ID=1", "/film-resource/", "种子提取失败：",
         "，请稍后重试.."},
        {"tag detail", "resolve", "tag", server.roleUrl(QStringLiteral("TorrentTagSite")) + "/torrent/" + hash + ".html",
         "/torrent-tag/", "解析失败(", "),请稍后再试.."},
    };
    const struct {
        const char* name;
        Misbehaviour misbehaviour;
        const char* reason;
        int httpStatus;
    } faults[] = {
        {"404", Misbehaviour::NotFoundPage, "服务器返回 HTTP 404", 404},
        {"500", Misbehaviour::ServerErrorPage, "服务器返回 HTTP 500", 500},
        {"empty", Misbehaviour::EmptyBody, "页面没有内容", 200},
        {"dropped", Misbehaviour::DroppedConnection, "无法连接到服务器", 0},
        {"stalled", Misbehaviour::Stall, "网络请求超时", 0},
    };
    QTest::addColumn<int>("misbehaviour");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("httpStatus");
    for (const auto& s : sources)
        for (const auto& f : faults) {
            // The tag site answers a withdrawn torrent with an empty page:
            // that is the detailStage's "gone", not a failure.
            if (qstrcmp(s.name, "tag detail") == 0 && f.misbehaviour == Misbehaviour::EmptyBody)
                continue;
            // The film resource page words an empty body as no page at all.
            const char* reason = qstrcmp(s.name, "film resource detail") == 0
                    && f.misbehaviour == Misbehaviour::EmptyBody
                ? "未获取到页面内容"
                : f.reason;
            QTest::addRow("%s %s", s.name, f.name)
                << s.verb << s.id << s.input << s.path << QString::fromUtf8(s.before) << QString::fromUtf8(s.after)
                << int(f.misbehaviour) << QString::fromUtf8(reason) << f.httpStatus;
        }
}

void TestVideoEngines::failures()
{
    QFETCH(QString, verb);
    QFETCH(QString, id);
    QFETCH(QString, input);
    QFETCH(QString, path);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, misbehaviour);
    QFETCH(QString, reason);
    QFETCH(int, httpStatus);
    TestServer::shared().sites().programUnder(path.toStdString(), misbehave(Misbehaviour(misbehaviour), 3000));
    auto engine = engineOf(verbOf(verb), id);
    const EngineRun run = runEngine(*engine, requestFor(verbOf(verb), input));
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(run.outcome().kind, Kind::Failed);
    QCOMPARE(run.outcome().httpStatus, httpStatus);
    QVERIFY(run.rows.isEmpty());
    QCOMPARE(run.outcome().reason, before + reason + after);
    QCOMPARE(run.lastStatus(), run.outcome().reason);
}

void TestVideoEngines::detailStage_data()
{
    // A row a listing gave, read by the resolver as the window's double
    // click reads it.
    QTest::addColumn<QString>("listVerb");
    QTest::addColumn<QString>("listId");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("addressKey");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("resolver");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("linkPrefixes");
    QTest::addColumn<QStringList>("statuses");
    const QString resolving = QStringLiteral("正在解析..请稍等..");
    QTest::newRow("qvod film site") << "list" << "qvod-channel" << "1" << "dz" << 0 << "qvod" << int(Kind::Rows)
                                    << QStringList{QStringLiteral("qvod://400000101|")}
                                    << QStringList{resolving, QStringLiteral("种子地址已解析..")};
    QTest::newRow("qvod search site") << "search" << "qvod" << "星际" << "dz" << 7 << "qvod" << int(Kind::Rows)
                                      << QStringList{QStringLiteral("qvod://500000204|")}
                                      << QStringList{resolving, QStringLiteral("种子文件地址已解析..")};
    QTest::newRow("qvod search site, resource gone")
        << "search" << "qvod" << "星际" << "dz" << 3 << "qvod" << int(Kind::NoRows) << QStringList()
        << QStringList{resolving, kGone + QStringLiteral("..")};
    // Two distinct links, though the page names the first three times.
    QTest::newRow("film resource") << "search" << "film" << "星际" << "zzdz" << 0 << "qvod" << int(Kind::Rows)
                                   << QStringList{QStringLiteral("qvod://7"), QStringLiteral("qvod://7")}
                                   << QStringList{QStringLiteral("正在提取种子.."), QStringLiteral("种子提取完毕..")};
    QTest::newRow("tag") << "search" << "tag" << "ubuntu" << "dz" << 2 << "tag" << int(Kind::Rows)
                         << QStringList{QStringLiteral("magnet:?xt=urn:btih:")}
                         << QStringList{resolving, QStringLiteral("种子文件地址已解析..")};
    QTest::newRow("tag, withdrawn torrent's empty page")
        << "search" << "tag" << "ubuntu" << "dz" << 1 << "tag" << int(Kind::NoRows) << QStringList()
        << QStringList{resolving, kGone + QStringLiteral("..")};
}

void TestVideoEngines::detailStage()
{
    QFETCH(QString, listVerb);
    QFETCH(QString, listId);
    QFETCH(QString, input);
    QFETCH(QString, addressKey);
    QFETCH(int, row);
    QFETCH(QString, resolver);
    QFETCH(int, kind);
    QFETCH(QStringList, linkPrefixes);
    QFETCH(QStringList, statuses);
    auto list = engineOf(verbOf(listVerb), listId);
    const EngineRun listed = runEngine(*list, requestFor(verbOf(listVerb), input));
    QVERIFY(listed.rows.size() > row);
    const QString address = listed.rows.at(row).cell(addressKey);

    auto engine = engineOf(SourceVerb::Resolve, resolver);
    SourceRequest request;
    request.address = address;
    const EngineRun run = runEngine(*engine, request);
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(int(run.outcome().kind), kind);
    QCOMPARE(run.statuses, statuses);
    const QStringList links = run.column(QStringLiteral("dz"));
    QCOMPARE(links.size(), linkPrefixes.size());
    for (int i = 0; i < links.size(); ++i)
        QVERIFY2(links.at(i).startsWith(linkPrefixes.at(i)), qPrintable(links.at(i)));
    if (links.size() > 1)
        QVERIFY(links.first() != links.last());
    if (resolver == u"tag" && !links.isEmpty()) {
        // The hash the page quotes is the one its address names.
        const QString hash = address.section(u'/', -1).section(u'.', 0, 0);
        QCOMPARE(run.rows.first().cell(QStringLiteral("tzm")), hash);
        QCOMPARE(links.first(), QStringLiteral("magnet:?xt=urn:btih:") + hash);
    }
}

void TestVideoEngines::collectionSkipsAMissedPage()
{
    Answer drop;
    drop.drop = true;
    TestServer::shared().sites().program("/qvod-search/vod-search-wd-星际-p-1.html", drop);
    auto engine = engineOf(SourceVerb::Search, QStringLiteral("qvod"));
    const EngineRun run = runEngine(*engine, requestFor(SourceVerb::Search, QStringLiteral("星际")));
    QCOMPARE(run.outcome().kind, Kind::Rows);
    QCOMPARE(run.column(QStringLiteral("mc")),
             (QStringList{QStringLiteral("星际之门"), QStringLiteral("星际争霸"), QStringLiteral("星际宝贝"),
                          QStringLiteral("星际传奇3"), QStringLiteral("星际迷航：暗黑无界"), QStringLiteral("星际穿越")}));
    QCOMPARE(run.lastStatus(), QStringLiteral("资源获取完毕..(有1页未能获取:无法连接到服务器)"));
    QCOMPARE(run.problems.size(), 1);
    QVERIFY2(run.problems.first().startsWith(QStringLiteral("page skipped: 无法连接到服务器 (")),
             qPrintable(run.problems.first()));
    QVERIFY(run.problems.first().contains(QStringLiteral("-p-1.html")));
    // The first page, then each of the three further pages.
    QCOMPARE(run.progressSignals, 4);
}

void TestVideoEngines::threeMissesInARowEndTheCollection()
{
    // Fifty pages announced, none of the further ones answers.
    TestServer::shared().sites().programUnder("/qvod-search/vod-search-wd-",
                                              [](const Answer& normal, const std::string& target) {
        Answer answer = normal;
        if (target.find("-p-") != std::string::npos) {
            answer.drop = true;
            return answer;
        }
        const std::string three = "/3页";
        if (const size_t at = answer.body.find(three); at != std::string::npos)
            answer.body.replace(at, three.size(), "/50页");
        return answer;
    });
    TestServer::shared().sites().clearRequests();
    auto engine = engineOf(SourceVerb::Search, QStringLiteral("qvod"));
    const EngineRun run = runEngine(*engine, requestFor(SourceVerb::Search, QStringLiteral("星际")));
    QCOMPARE(run.outcome().kind, Kind::Rows);
    QCOMPARE(run.lastStatus(), QStringLiteral("资源获取完毕..(有50页未能获取:无法连接到服务器)"));
    QStringList asked = requestedPaths(QStringLiteral("QvodSearchSite")).filter(QStringLiteral("-p-"));
    asked.removeDuplicates(); // the network layer may retry a dropped request once
    QCOMPARE(asked, (QStringList{QStringLiteral("/vod-search-wd-星际-p-49.html"),
                                 QStringLiteral("/vod-search-wd-星际-p-48.html"),
                                 QStringLiteral("/vod-search-wd-星际-p-47.html")}));
    QCOMPARE(run.problems.size(), 4);   // three pages skipped, then the rest given up
}

void TestVideoEngines::aNewerSearchSupersedesTheCollection()
{
    Answer slow = Answer::html("<p>slow</p>");
    slow.delayMs = 2000;
    TestServer::shared().sites().program("/qvod-search/vod-search-wd-星际-p-2.html", slow);
    auto owned = engineOf(SourceVerb::Search, QStringLiteral("qvod"));
    auto* engine = qobject_cast<QvodSearchEngine*>(owned.get());
    QVERIFY(engine);
    QList<SourceOutcome> outcomes;
    QList<ListRow> rows;
    connect(engine, &SourceEngine::finished, this, [&](const SourceOutcome& o) { outcomes << o; });
    connect(engine, &SourceEngine::rows, this, [&](const QList<ListRow>& r) { rows += r; });
    engine->start(requestFor(SourceVerb::Search, QStringLiteral("星际")));
    // The first page is in and the slow further page is on its way.
    QTRY_COMPARE_WITH_TIMEOUT(engine->pagesLeft(), 2, 5000);
    QSignalSpy finished(engine, &SourceEngine::finished);
    engine->start(requestFor(SourceVerb::Search, QStringLiteral("功夫")));
    QCOMPARE(outcomes.size(), 1);
    QCOMPARE(outcomes.first().kind, Kind::Superseded);
    QVERIFY(finished.wait(10000));
    QCOMPARE(outcomes.size(), 2);
    QCOMPARE(outcomes.last().kind, Kind::Rows);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.first().cell(QStringLiteral("mc")), QStringLiteral("功夫之王"));
    // Nothing of the older search comes after, not even its slow page.
    QVERIFY(!finished.wait(2500));
    QCOMPARE(outcomes.size(), 2);
    QCOMPARE(rows.size(), 3);
}

QTEST_GUILESS_MAIN(TestVideoEngines)
#include "test_video_engines.moc"
