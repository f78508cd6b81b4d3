// The magnet search channels, the BT board, the BT film pages and the BT
// magnet resolver without a window: their rows, their endings and texts,
// MagnetSiteB's detail-page stage, and the pending count on Timer24.
#include "engine_run.h"
#include "hostile_answers.h"
#include "net/site_config.h"
#include "sources/source_table.h"
#include "sources/torrent/magnet_search_engines.h"
#include "test_server.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

Q_DECLARE_METATYPE(lumorra::SourceRequest)

using namespace lumorra;
using namespace lumorra::testing;

namespace {

using Kind = SourceOutcome::Kind;

std::unique_ptr<SourceEngine> engineOf(const QString& verbAndId, const Pacing& pacing = Pacing::immediate())
{
    const QStringList parts = verbAndId.split(u' ');
    const SourceVerb verb = parts[0] == QLatin1String("list") ? SourceVerb::List
        : parts[0] == QLatin1String("resolve")               ? SourceVerb::Resolve
                                                              : SourceVerb::Search;
    return tableEngine(verb, parts.value(1), pacing);
}

QString siteUrl(const char* role)
{
    return TestServer::shared().roleUrl(QString::fromLatin1(role));
}

// "{BtBoardSite}/x" with the role's address on the test server.
QString withSites(QString text)
{
    for (const char* name : {role::BtBoardSite, role::EmuleIndexSite, role::MagnetSiteB})
        text.replace(u'{' + QString::fromLatin1(name) + u'}', siteUrl(name));
    return text;
}

SourceRequest requestOf(const QString& keyword, const QString& page, const QString& address = QString())
{
    SourceRequest r;
    r.keyword = keyword;
    r.page = page;
    r.address = withSites(address);
    return r;
}

const QString kMagnetSearching = QStringLiteral("正在搜索资源,请稍等..");
const QString kMagnetDone = QStringLiteral("资源搜索完毕..");
const QString kMagnetNoResult = QStringLiteral("抱歉!没有找到任何结果,请更换关键字重试");

} // namespace

class TestMagnetBtEngines : public QObject {
    Q_OBJECT
private slots:
    void init() { useTestSites(); }

    void outcomes_data();
    void outcomes();
    void failures_data();
    void failures();
    void detailPagesThatDoNotCome();
    void slowAndDroppedDetailPagesKeepHitOrder();
    void aNewerStartDropsTheDetailPages();
    void siteACutWaitsOnTimer24();
    void anEmptyKeywordIsRefused();
};

void TestMagnetBtEngines::outcomes_data()
{
    QTest::addColumn<QString>("source");     // verb and id
    QTest::addColumn<SourceRequest>("request");
    QTest::addColumn<QString>("programPath"); // answered with programBody, when set
    QTest::addColumn<QString>("programBody");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QStringList>("firstRow"); // key=value
    QTest::addColumn<QStringList>("statuses");

    const QString none;
    QTest::newRow("magnet-a rows") << "search magnet-a" << requestOf("ubuntu", "1") << none << none << int(Kind::Rows)
        << 3
        << QStringList{"xh=1", "mc=ubuntu-22.04.4-desktop-amd64.iso", "dx=4.69 GB", "fb=2024-02-22"}
        << QStringList{kMagnetSearching, kMagnetDone};
    QTest::newRow("magnet-a page 2") << "search magnet-a" << requestOf("ubuntu", "2") << none << none
        << int(Kind::Rows) << 2 << QStringList{"xh=1"} << QStringList{kMagnetSearching, kMagnetDone};
    QTest::newRow("magnet-a no-result page") << "search magnet-a" << requestOf("nothing", "1") << none << none
        << int(Kind::NoRows) << 0 << QStringList() << QStringList{kMagnetSearching, kMagnetNoResult};
    QTest::newRow("magnet-a 0 results") << "search magnet-a" << requestOf("zero", "1") << none << none
        << int(Kind::NoRows) << 0 << QStringList() << QStringList{kMagnetSearching, kMagnetNoResult};
    QTest::newRow("magnet-a neither") << "search magnet-a" << requestOf("ubuntu", "1") << "/magnet-a/"
        << "<p>维护中</p>" << int(Kind::Failed) << 0 << QStringList()
        << QStringList{kMagnetSearching, QStringLiteral("未找到相关资源..")};
    QTest::newRow("magnet-b rows") << "search magnet-b" << requestOf("ubuntu", "1") << none << none
        << int(Kind::Rows) << 3
        << QStringList{"xh=1", "mc=ubuntu-22.04.4-desktop-amd64.iso", "dx=未知", "fb=2024-02-22"}
        << QStringList{kMagnetSearching, kMagnetDone};
    QTest::newRow("magnet-b no-result page") << "search magnet-b" << requestOf("nothing", "1") << none << none
        << int(Kind::NoRows) << 0 << QStringList() << QStringList{kMagnetSearching, kMagnetNoResult};
    QTest::newRow("magnet-b neither") << "search magnet-b" << requestOf("broken", "1") << "/magnet-b/search/broken"
        << "<p>维护中</p>" << int(Kind::Failed) << 0 << QStringList()
        << QStringList{kMagnetSearching, QStringLiteral("未找到相关资源..")};

    const QString boardLoading = QStringLiteral("正在获取资源 ...");
    const QString filmsLoading = QStringLiteral("正在获取电影资源..");
    const QString emptyListing = QStringLiteral("获取完毕 ...本页没有资源记录");
    QTest::newRow("bt-board 1: 50 of 52") << "list bt-board" << requestOf(none, "1") << none << none
        << int(Kind::Rows) << 50
        << QStringList{"xh=1", "dz={BtBoardSite}/display.php?BoardID=1&ID=101", "dx=2.37GB", "fl=最新电影"}
        << QStringList{boardLoading, QStringLiteral("获取完毕 ...")};
    QTest::newRow("bt-board 5") << "list bt-board" << requestOf(none, "5") << none << none << int(Kind::Rows) << 12
        << QStringList{"dz={BtBoardSite}/display.php?BoardID=5&ID=501"}
        << QStringList{boardLoading, QStringLiteral("获取完毕 ...")};
    QTest::newRow("bt-board without posts") << "list bt-board" << requestOf(none, "3") << "/bt-board/list.php"
        << "<p>本版暂无帖子</p>" << int(Kind::NoRows) << 0 << QStringList() << QStringList{boardLoading, emptyListing};
    QTest::newRow("bt-films 1") << "list bt-films" << requestOf(none, "1") << none << none << int(Kind::Rows) << 35
        << QStringList{"xh=1", "dz={EmuleIndexSite}/Download/xiazai/5001.html"}
        << QStringList{filmsLoading, QStringLiteral("资源获取完毕..")};
    QTest::newRow("bt-films 4, short") << "list bt-films" << requestOf(none, "4") << none << none << int(Kind::Rows)
        << 13 << QStringList{"xh=1"} << QStringList{filmsLoading, QStringLiteral("资源获取完毕..")};
    QTest::newRow("bt-films 5, none") << "list bt-films" << requestOf(none, "5") << none << none
        << int(Kind::NoRows) << 0 << QStringList() << QStringList{filmsLoading, emptyListing};

    const QString resolving = QStringLiteral("正在解析..请稍等..");
    QTest::newRow("bt link") << "resolve bt" << requestOf(none, "1", "{EmuleIndexSite}/Download/xiazai/5001.html")
        << none << none << int(Kind::Rows) << 1 << QStringList{"xh=1", "gx=2013-10-18"}
        << QStringList{resolving, QStringLiteral("磁力链接已解析!")};
    QTest::newRow("bt page without a link") << "resolve bt"
        << requestOf(none, "1", "{EmuleIndexSite}/Download/xiazai/5002.html") << "/emule-index/Download/xiazai/5002.html"
        << "<p>资源已删除</p>" << int(Kind::NoRows) << 0 << QStringList()
        << QStringList{resolving, QStringLiteral("磁力链接解析失败(页面中没有磁力链接)..")};
}

void TestMagnetBtEngines::outcomes()
{
    QFETCH(QString, source);
    QFETCH(SourceRequest, request);
    QFETCH(QString, programPath);
    QFETCH(QString, programBody);
    QFETCH(int, kind);
    QFETCH(int, rowCount);
    QFETCH(QStringList, firstRow);
    QFETCH(QStringList, statuses);
    if (!programPath.isEmpty())
        TestServer::shared().sites().program(programPath.toStdString(), Answer::html(programBody.toStdString()));
    auto engine = engineOf(source);
    QVERIFY(engine);
    const EngineRun run = runEngine(*engine, request);
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(int(run.outcome().kind), kind);
    QCOMPARE(run.outcome().rowCount, rowCount);
    QCOMPARE(run.rows.size(), rowCount);
    QCOMPARE(run.statuses, statuses);
    if (kind != int(Kind::Rows))
        QCOMPARE(run.outcome().reason, statuses.last());
    for (const QString& cell : firstRow) {
        const QString key = cell.section(u'=', 0, 0);
        QCOMPARE(run.rows.first().cell(key), withSites(cell.section(u'=', 1)));
    }
    if (rowCount > 0)
        QCOMPARE(run.rows.last().text, QString::number(rowCount));
    if (source == QLatin1String("resolve bt") && rowCount > 0)
        QVERIFY2(run.rows.first().cell(QStringLiteral("dz")).startsWith(QStringLiteral("magnet:?xt=urn:btih:"))
                     && !run.rows.first().cell(QStringLiteral("dz")).contains(QStringLiteral("&amp;")),
                 qPrintable(run.rows.first().cell(QStringLiteral("dz"))));
}

void TestMagnetBtEngines::failures_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<SourceRequest>("request");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("misbehaviour");
    QTest::addColumn<QString>("status");   // empty: any failure text of the source's wording
    QTest::addColumn<int>("httpStatus");
    const struct {
        const char* source;
        const char* path;
        const char* address;
        const char* wording;   // the status before the reason
    } sources[] = {
        {"search magnet-a", "/magnet-a/", "", "资源获取失败("},
        {"search magnet-b", "/magnet-b/", "", "资源获取失败("},
        {"list bt-board", "/bt-board/", "", "资源获取失败("},
        {"list bt-films", "/emule-index/", "", "资源获取失败("},
        {"resolve bt", "/emule-index/", "{EmuleIndexSite}/Download/xiazai/5001.html", "磁力链接解析失败("},
    };
    for (const auto& s : sources) {
        const QString wording = QString::fromUtf8(s.wording);
        const SourceRequest r = requestOf(QStringLiteral("ubuntu"), QStringLiteral("1"), QLatin1String(s.address));
        QTest::addRow("%s 404", s.source) << s.source << r << s.path << int(Misbehaviour::NotFoundPage)
                                          << wording + QStringLiteral("服务器返回 HTTP 404),请稍后再试..") << 404;
        QTest::addRow("%s 500", s.source) << s.source << r << s.path << int(Misbehaviour::ServerErrorPage)
                                          << wording + QStringLiteral("服务器返回 HTTP 500),请稍后再试..") << 500;
        QTest::addRow("%s empty", s.source) << s.source << r << s.path << int(Misbehaviour::EmptyBody)
                                            << wording + QStringLiteral("页面没有内容),请稍后再试..") << 200;
        QTest::addRow("%s dropped", s.source) << s.source << r << s.path << int(Misbehaviour::DroppedConnection)
                                              << wording << 0;
        QTest::addRow("%s stalled", s.source) << s.source << r << s.path << int(Misbehaviour::Stall)
                                              << wording + QStringLiteral("网络请求超时),请稍后再试..") << 0;
    }
}

void TestMagnetBtEngines::failures()
{
    QFETCH(QString, source);
    QFETCH(SourceRequest, request);
    QFETCH(QString, path);
    QFETCH(int, misbehaviour);
    QFETCH(QString, status);
    QFETCH(int, httpStatus);
    TestServer::shared().sites().programUnder(path.toStdString(), misbehave(Misbehaviour(misbehaviour), 3000));
    auto engine = engineOf(source);
    const EngineRun run = runEngine(*engine, request);
    TestServer::shared().sites().clearProgram();
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(run.outcome().kind, Kind::Failed);
    QCOMPARE(run.outcome().httpStatus, httpStatus);
    QVERIFY(run.rows.isEmpty());
    QCOMPARE(run.lastStatus(), run.outcome().reason);
    if (status.endsWith(u'('))   // a dropped connection: the fetcher's own reason
        QVERIFY2(run.outcome().reason.startsWith(status) && run.outcome().reason.endsWith(QStringLiteral("),请稍后再试..")),
                 qPrintable(run.outcome().reason));
    else
        QCOMPARE(run.outcome().reason, status);
}

void TestMagnetBtEngines::detailPagesThatDoNotCome()
{
    // The hits are listed without links; each missing link is a problem of
    // its own, and the status says why none came.
    TestServer::shared().sites().programUnder("/magnet-b/detail/", misbehave(Misbehaviour::NotFoundPage, 3000));
    auto engine = engineOf(QStringLiteral("search magnet-b"));
    const EngineRun run = runEngine(*engine, requestOf(QStringLiteral("ubuntu"), QStringLiteral("1")));
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(run.outcome().kind, Kind::Rows);
    QCOMPARE(run.column(QStringLiteral("cl")), (QStringList{QString(), QString(), QString()}));
    QCOMPARE(run.column(QStringLiteral("mc")),
             (QStringList{QStringLiteral("ubuntu-22.04.4-desktop-amd64.iso"), QStringLiteral("ubuntu"),
                          QStringLiteral("Ubuntu 23.10 合集")}));
    QCOMPARE(run.problems.size(), 3);
    QCOMPARE(run.problems.first(), QStringLiteral("磁力链接获取失败(服务器返回 HTTP 404): ubuntu-22.04.4-desktop-amd64.iso"));
    QCOMPARE(run.lastStatus(), QStringLiteral("资源搜索完毕..磁力链接获取失败(服务器返回 HTTP 404)"));
}

void TestMagnetBtEngines::slowAndDroppedDetailPagesKeepHitOrder()
{
    // Hit 2's page is slow, hit 3's connection drops.
    useTestSites(5000);
    auto engine = engineOf(QStringLiteral("search magnet-b"));
    QList<QPair<int, int>> progress;
    connect(engine.get(), &SourceEngine::progress, this, [&](int done, int total) { progress.append({done, total}); });
    const EngineRun run = runEngine(*engine, requestOf(QStringLiteral("linux"), QStringLiteral("1")));
    QCOMPARE(run.outcome().kind, Kind::Rows);
    QCOMPARE(run.column(QStringLiteral("mc")),
             (QStringList{QStringLiteral("linux-6.8.tar.xz"), QStringLiteral("linux-mint-21.3.iso"),
                          QStringLiteral("archlinux-2024.03.01.iso")}));
    QCOMPARE(run.column(QStringLiteral("xh")), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    QVERIFY(run.rows.at(1).cell(QStringLiteral("cl")).endsWith(QStringLiteral("&dn=linux-mint-21.3.iso")));
    QCOMPARE(run.rows.at(2).cell(QStringLiteral("cl")), QString());
    QCOMPARE(run.problems.size(), 1);
    QVERIFY2(run.problems.first().endsWith(QStringLiteral("): archlinux-2024.03.01.iso")), qPrintable(run.problems.first()));
    QCOMPARE(run.lastStatus(), kMagnetDone);
    QCOMPARE(progress, (QList<QPair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
}

void TestMagnetBtEngines::aNewerStartDropsTheDetailPages()
{
    auto engine = engineOf(QStringLiteral("search magnet-b"));
    QList<SourceOutcome> outcomes;
    QList<ListRow> rows;
    connect(engine.get(), &SourceEngine::finished, this, [&](const SourceOutcome& o) { outcomes << o; });
    connect(engine.get(), &SourceEngine::rows, this, [&](const QList<ListRow>& r) { rows += r; });
    // The first search waits on its slow detail page when the second starts.
    engine->start(requestOf(QStringLiteral("linux"), QStringLiteral("1")));
    QTRY_COMPARE(rows.size(), 1);
    engine->start(requestOf(QStringLiteral("ubuntu"), QStringLiteral("2")));
    QCOMPARE(outcomes.size(), 1);
    QCOMPARE(outcomes.first().kind, Kind::Superseded);
    QTRY_COMPARE_WITH_TIMEOUT(outcomes.size(), 2, 10000);
    QCOMPARE(outcomes.last().kind, Kind::Rows);
    QCOMPARE(outcomes.last().rowCount, 2);
    // Nothing of the old search after the new one started, even once its
    // slow page (1.5 s) is due.
    QSignalSpy late(engine.get(), &SourceEngine::rows);
    QVERIFY(!late.wait(2000));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(1).cell(QStringLiteral("mc")), QStringLiteral("kubuntu-22.04.4.iso"));
    QCOMPARE(rows.at(2).cell(QStringLiteral("mc")), QStringLiteral("xubuntu-22.04.4.iso"));
}

void TestMagnetBtEngines::siteACutWaitsOnTimer24()
{
    // With the window's pacing the counted hits wait for Timer24 (3000 ms);
    // a window without that timer gets one of the same name and interval.
    const Pacing pacing = Pacing::window([](const QString&) -> QTimer* { return nullptr; });
    MagnetSiteAEngine engine(pacing);
    QCOMPARE(engine.cutStep()->timerName(), QStringLiteral("Timer24"));
    QCOMPARE(engine.cutStep()->timer()->interval(), 3000);
    QSignalSpy finished(&engine, &SourceEngine::finished);
    QSignalSpy rows(&engine, &SourceEngine::rows);
    engine.start(requestOf(QStringLiteral("ubuntu"), QStringLiteral("1")));
    QTRY_COMPARE(engine.pendingHits(), qint16(3));
    QVERIFY(engine.cutStep()->isArmed());
    QCOMPARE(rows.size(), 0);
    engine.cutStep()->timer()->setInterval(10);
    engine.cutStep()->timer()->start();
    QVERIFY(finished.wait(5000));
    QCOMPARE(engine.pendingHits(), qint16(0));
    QVERIFY(!engine.cutStep()->isArmed());
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().first().value<QList<ListRow>>().size(), 3);
}

void TestMagnetBtEngines::anEmptyKeywordIsRefused()
{
    for (const char* id : {"search magnet-a", "search magnet-b"}) {
        auto engine = engineOf(QLatin1String(id));
        QCOMPARE(engine->refusalOf(requestOf(QStringLiteral("x"), QStringLiteral("1"))), QString());
        QSignalSpy finished(engine.get(), &SourceEngine::finished);
        engine->start(requestOf(QString(), QStringLiteral("1")));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().value<SourceOutcome>().reason, QStringLiteral("请输入关键字.."));
    }
}

QTEST_GUILESS_MAIN(TestMagnetBtEngines)
#include "test_magnet_bt_engines.moc"
