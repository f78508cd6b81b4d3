// The film listings, the film link resolver and the cloud-disk search as
// engines, without a window: their rows and texts against the sample sites,
// every way a page can fail, and what is the cloud-disk search's own (box
// order, a service that did not answer, the not-found step waiting for the
// whole search, superseding).
#include "engine_run.h"
#include "hostile_answers.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "net/url_encoding.h"
#include "sources/clouddisk/cloud_disk_engine.h"
#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/source_table.h"
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

// The request of a table row: its own variant, and the keyword, services
// or address given.
SourceRequest requestFor(SourceVerb verb, const QString& id, const QString& keyword = QString(),
                         const QList<int>& services = {}, const QString& address = QString())
{
    SourceRequest r;
    if (const SourceEntry* entry = findSourceEntry(verb, id))
        r.variant = entry->variant;
    r.keyword = keyword;
    r.services = services;
    r.address = address;
    return r;
}

QString filmListBase()
{
    return SiteConfig::current().base(QString::fromLatin1(role::FilmListSite));
}

std::string cloudTarget(int service, const QString& keyword)
{
    return (QStringLiteral("/clouddisk/s?wd=site%3A") + clouddisk::serviceHost(service) + QStringLiteral("%20")
            + encodeKeyword(keyword) + QStringLiteral("&pn=1&rn=50&ie=utf-8&rsv_page=1"))
        .toStdString();
}

Answer cloudPage(const QString& title, const QString& address, int delayMs = 0)
{
    Answer a = Answer::html(
        (QStringLiteral("<script>var r={\"data\":[{\"title\":\"%1\",\"url\":\"%2\"}]};</script>").arg(title, address))
            .toStdString());
    a.delayMs = delayMs;
    return a;
}

Answer dropped()
{
    Answer a;
    a.drop = true;
    return a;
}

const QString kSearchingUbuntu = QStringLiteral("正在为您搜索[ubuntu]相关资源..");

} // namespace

class TestFilmCloudDiskEngines : public QObject {
    Q_OBJECT
private slots:
    void init() { useTestSites(); }

    void outcomes_data();
    void outcomes();
    void failures_data();
    void failures();
    void cloudDiskRefusals_data();
    void cloudDiskRefusals();
    void cloudDiskListsInBoxOrderAndNamesAFailedService();
    void cloudDiskNothingFoundWhileAServiceFailed();
    void cloudDiskNotFoundWaitsForTheLastService();
    void cloudDiskNewerStartSupersedes();
};

void TestFilmCloudDiskEngines::outcomes_data()
{
    QTest::addColumn<int>("verb");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QList<int>>("services");
    QTest::addColumn<QString>("path");        // a resolver's detail page under the film site
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QString>("firstKey");
    QTest::addColumn<QString>("firstCell");   // the first row's cell of firstKey
    QTest::addColumn<QStringList>("statuses");
    const int list = int(SourceVerb::List), resolve = int(SourceVerb::Resolve), search = int(SourceVerb::Search);
    const QStringList listed{QStringLiteral("获取完毕..")};

    QTest::newRow("films-latest") << list << "films-latest" << QString() << QList<int>() << QString()
                                  << int(Kind::Rows) << 25 << "mc" << QStringLiteral("秋日漫长(2008)") << listed;
    // The western films are filed under the newest films' path.
    QTest::newRow("films-western") << list << "films-western" << QString() << QList<int>() << QString()
                                   << int(Kind::Rows) << 25 << "zzdz"
                                   << QStringLiteral("/film-list/html/gndy/dyzz/20130412/3001.html") << listed;
    QTest::newRow("films-anime short page") << list << "films-anime" << QString() << QList<int>() << QString()
                                            << int(Kind::Rows) << 9 << "mc" << QStringLiteral("无声的雪(2010)")
                                            << listed;
    QTest::newRow("film link") << resolve << "film" << QString() << QList<int>()
                               << "/html/gndy/dyzz/20130412/1001.html" << int(Kind::Rows) << 1 << "dz"
                               << QStringLiteral("ftp://dy:dy@ftp.film-list.sample:21/1001/秋日漫长(2008).rmvb")
                               << QStringList{QStringLiteral("正在解析..请稍等.."), QStringLiteral("种子地址已解析..")};
    QTest::newRow("film link, no download cell")
        << resolve << "film" << QString() << QList<int>() << "/html/gndy/dyzz/no-link.html" << int(Kind::NoRows) << 0
        << QString() << QString()
        << QStringList{QStringLiteral("正在解析..请稍等.."), QStringLiteral("种子地址解析失败(页面中没有下载地址)..")};
    QTest::newRow("clouddisk rows") << search << "clouddisk" << "ubuntu" << QList<int>{0, 2} << QString()
                                    << int(Kind::Rows) << 8 << "mc"
                                    << QStringLiteral("Ubuntu Linux 服务器配置手册.pdf_免费高速下载|百度网盘-分享无限制")
                                    << QStringList{kSearchingUbuntu, QStringLiteral("迅雷快传搜索完毕..")};
    QTest::newRow("clouddisk none") << search << "clouddisk" << "zzqx-nothing" << QList<int>{0, 3} << QString()
                                    << int(Kind::NoRows) << 0 << QString() << QString()
                                    << QStringList{QStringLiteral("正在为您搜索[zzqx-nothing]相关资源.."),
                                                   QStringLiteral("QQ旋风未找到相关资源..")};
}

void TestFilmCloudDiskEngines::outcomes()
{
    QFETCH(int, verb);
    QFETCH(QString, id);
    QFETCH(QString, keyword);
    QFETCH(QList<int>, services);
    QFETCH(QString, path);
    QFETCH(int, kind);
    QFETCH(int, rowCount);
    QFETCH(QString, firstKey);
    QFETCH(QString, firstCell);
    QFETCH(QStringList, statuses);
    if (path.endsWith(QStringLiteral("no-link.html")))
        TestServer::shared().sites().program("/film-list" + path.toStdString(), Answer::html("<p>无下载</p>"));
    auto engine = engineOf(SourceVerb(verb), id);
    QVERIFY(engine);
    const EngineRun run = runEngine(
        *engine, requestFor(SourceVerb(verb), id, keyword, services, path.isEmpty() ? QString() : filmListBase() + path));
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(int(run.outcome().kind), kind);
    QCOMPARE(run.outcome().rowCount, rowCount);
    QCOMPARE(run.rows.size(), rowCount);
    // A cloud-disk page may be cut on its own tick or with the next: the
    // first and the last text are the same either way.
    QCOMPARE(run.statuses.first(), statuses.first());
    QCOMPARE(run.lastStatus(), statuses.last());
    if (id != QLatin1String("clouddisk"))
        QCOMPARE(run.statuses, statuses);
    if (kind == int(Kind::NoRows))
        QCOMPARE(run.outcome().reason, statuses.last());
    if (rowCount > 0) {
        const QString cell = run.rows.first().cell(firstKey);
        QVERIFY2(cell == firstCell || (firstKey == QLatin1String("zzdz") && cell.endsWith(firstCell)), qPrintable(cell));
        if (verb == int(SourceVerb::List))
            QCOMPARE(run.rows.last().text, QString::number(rowCount));
    }
}

void TestFilmCloudDiskEngines::failures_data()
{
    QTest::addColumn<int>("verb");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("under");
    QTest::addColumn<int>("misbehaviour");
    QTest::addColumn<QString>("status");   // empty: any text of the source's failure wording
    QTest::addColumn<int>("httpStatus");
    const struct {
        SourceVerb verb;
        const char* id;
        const char* under;
        const char* before;
        const char* after;
    } sources[] = {
        {SourceVerb::List, "films-chinese-tv", "/film-list/", "资源获取失败(", "),请稍后再试.."},
        {SourceVerb::Resolve, "film", "/film-list/", "种子地址解析失败(", "),请稍后再试.."},
        {SourceVerb::Search, "clouddisk", "/clouddisk/", "搜索失败(", ")，未能从搜索服务获取结果，请检查网络后重试.."},
    };
    for (const auto& s : sources) {
        const auto text = [&s](const char* reason) {
            return QString::fromUtf8(s.before) + QString::fromUtf8(reason) + QString::fromUtf8(s.after);
        };
        QTest::addRow("%s 404", s.id) << int(s.verb) << s.id << s.under << int(Misbehaviour::NotFoundPage)
                                      << text("服务器返回 HTTP 404") << 404;
        QTest::addRow("%s 500", s.id) << int(s.verb) << s.id << s.under << int(Misbehaviour::ServerErrorPage)
                                      << text("服务器返回 HTTP 500") << 500;
        QTest::addRow("%s empty", s.id) << int(s.verb) << s.id << s.under << int(Misbehaviour::EmptyBody)
                                        << text("页面没有内容") << 200;
        QTest::addRow("%s dropped", s.id) << int(s.verb) << s.id << s.under << int(Misbehaviour::DroppedConnection)
                                          << QString::fromUtf8(s.before) << 0;
        QTest::addRow("%s stalled", s.id) << int(s.verb) << s.id << s.under << int(Misbehaviour::Stall)
                                          << text("网络请求超时") << 0;
    }
}

void TestFilmCloudDiskEngines::failures()
{
    QFETCH(int, verb);
    QFETCH(QString, id);
    QFETCH(QString, under);
    QFETCH(int, misbehaviour);
    QFETCH(QString, status);
    QFETCH(int, httpStatus);
    TestServer::shared().sites().programUnder(under.toStdString(), misbehave(Misbehaviour(misbehaviour), 3000));
    const bool cloud = id == QLatin1String("clouddisk");
    auto engine = engineOf(SourceVerb(verb), id);
    const EngineRun run = runEngine(*engine, requestFor(SourceVerb(verb), id, QStringLiteral("ubuntu"), {0, 1},
                                                        filmListBase() + "/html/gndy/dyzz/20130412/1001.html"));
    TestServer::shared().sites().clearProgram();
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(run.outcome().kind, Kind::Failed);
    QCOMPARE(run.outcome().httpStatus, httpStatus);
    QVERIFY(run.rows.isEmpty());
    QCOMPARE(run.lastStatus(), run.outcome().reason);
    if (status.endsWith(u'('))
        QVERIFY2(run.outcome().reason.startsWith(status), qPrintable(run.outcome().reason));
    else
        QCOMPARE(run.outcome().reason, status);
    // Each service that did not answer is named, in box order.
    QCOMPARE(run.problems.size(), cloud ? 2 : 0);
    if (cloud) {
        QVERIFY2(run.problems[0].startsWith(QStringLiteral("百度网盘  失败：")), qPrintable(run.problems[0]));
        QVERIFY2(run.problems[1].startsWith(QStringLiteral("华为网盘  失败：")), qPrintable(run.problems[1]));
    }
}

void TestFilmCloudDiskEngines::cloudDiskRefusals_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QList<int>>("services");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no keyword, no service") << QString() << QList<int>() << QStringLiteral("请输入要搜索的资源名称..");
    QTest::newRow("one character") << QStringLiteral("影") << QList<int>{0} << QStringLiteral("请至少输入两位关键字..");
    QTest::newRow("no service") << QStringLiteral("电影") << QList<int>() << QStringLiteral("请选择至少一个网盘进行搜索..");
    QTest::newRow("no such box") << QStringLiteral("电影") << QList<int>{24, -1}
                                 << QStringLiteral("请选择至少一个网盘进行搜索..");
    QTest::newRow("searchable") << QStringLiteral("电影") << QList<int>{23} << QString();
}

void TestFilmCloudDiskEngines::cloudDiskRefusals()
{
    QFETCH(QString, keyword);
    QFETCH(QList<int>, services);
    QFETCH(QString, refusal);
    auto engine = engineOf(SourceVerb::Search, QStringLiteral("clouddisk"));
    const SourceRequest request = requestFor(SourceVerb::Search, QStringLiteral("clouddisk"), keyword, services);
    QCOMPARE(engine->refusalOf(request), refusal);
    if (refusal.isEmpty())
        return;
    TestServer::shared().sites().clearRequests();
    QSignalSpy finished(engine.get(), &SourceEngine::finished);
    engine->start(request);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().value<SourceOutcome>().reason, refusal);
    QCOMPARE(TestServer::shared().sites().requestsFor("/clouddisk/s").size(), size_t(0));
}

void TestFilmCloudDiskEngines::cloudDiskListsInBoxOrderAndNamesAFailedService()
{
    // The first box answers last, the second with the server's error page:
    // the first box's rows still come first, and the run goes on without
    // the second. (An error page rather than a dropped connection: several
    // connections are open at once here, and a drop is staged by closing a
    // socket of the server's.)
    ProgrammableSites& sites = TestServer::shared().sites();
    sites.program(cloudTarget(0, QStringLiteral("教程")), cloudPage(QStringLiteral("a 百度"), QStringLiteral("u0"), 400));
    sites.program(cloudTarget(1, QStringLiteral("教程")), Answer::html("<html>error</html>", 500));
    sites.program(cloudTarget(21, QStringLiteral("教程")), cloudPage(QStringLiteral("no rule"), QStringLiteral("u21")));
    CloudDiskEngine engine(Pacing::immediate());
    QList<int> taken;
    QPair<int, int> lastProgress;
    connect(&engine, &CloudDiskEngine::serviceTaken, this, [&](int service) { taken << service; });
    connect(&engine, &SourceEngine::progress, this, [&](int done, int total) { lastProgress = {done, total}; });
    const EngineRun run = runEngine(engine, requestFor(SourceVerb::Search, QStringLiteral("clouddisk"),
                                                       QStringLiteral("教程"), {0, 1, 21}));
    QCOMPARE(run.outcome().kind, Kind::Rows);
    QCOMPARE(run.column(QStringLiteral("dz")), (QStringList{QStringLiteral("u0"), QStringLiteral("u21")}));
    // A title no rule knows takes its own service's kind.
    QCOMPARE(run.column(QStringLiteral("xh")), (QStringList{QStringLiteral("百度网盘"), QStringLiteral("RayFile")}));
    QCOMPARE(run.lastStatus(), QStringLiteral("RayFile搜索完毕.."));
    QCOMPARE(taken, (QList<int>{0, 1, 21}));
    QCOMPARE(lastProgress, qMakePair(3, 3));
    QCOMPARE(run.problems.size(), 1);
    QVERIFY2(run.problems[0].startsWith(QStringLiteral("华为网盘  失败：")) && run.problems[0].contains(QStringLiteral("HTTP 500")),
             qPrintable(run.problems[0]));
    const QList<clouddisk::ServiceOutcome> outcomes = engine.serviceOutcomes();
    QCOMPARE(outcomes.size(), 3);
    QCOMPARE(outcomes[0].rows, 1);
    QVERIFY(outcomes[0].failure.isEmpty() && !outcomes[1].failure.isEmpty());
}

void TestFilmCloudDiskEngines::cloudDiskNothingFoundWhileAServiceFailed()
{
    // Nothing found, but one service never answered: not a plain "none".
    TestServer::shared().sites().program(cloudTarget(3, QStringLiteral("zzqx-nothing")), dropped());
    auto engine = engineOf(SourceVerb::Search, QStringLiteral("clouddisk"));
    const EngineRun run = runEngine(*engine, requestFor(SourceVerb::Search, QStringLiteral("clouddisk"),
                                                        QStringLiteral("zzqx-nothing"), {0, 3}));
    QCOMPARE(run.outcome().kind, Kind::Failed);
    QCOMPARE(run.outcome().reason, QStringLiteral("no rows, and 1 of the services did not answer"));
    QCOMPARE(run.lastStatus(), QStringLiteral("百度网盘未找到相关资源.."));
    QCOMPARE(run.problems.size(), 1);
}

void TestFilmCloudDiskEngines::cloudDiskNotFoundWaitsForTheLastService()
{
    // The first box answers at once without a record; the not-found step
    // runs before the second is in and must not end the search.
    TestServer::shared().sites().program(cloudTarget(1, QStringLiteral("无此资源")),
                                         cloudPage(QStringLiteral("late 华为"), QStringLiteral("u1"), 400));
    auto engine = engineOf(SourceVerb::Search, QStringLiteral("clouddisk"));
    const EngineRun run = runEngine(*engine, requestFor(SourceVerb::Search, QStringLiteral("clouddisk"),
                                                        QStringLiteral("无此资源"), {0, 1}));
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(run.outcome().kind, Kind::Rows);
    QCOMPARE(run.column(QStringLiteral("mc")), QStringList{QStringLiteral("late 华为")});
    QCOMPARE(run.lastStatus(), QStringLiteral("华为网盘搜索完毕.."));
}

void TestFilmCloudDiskEngines::cloudDiskNewerStartSupersedes()
{
    TestServer::shared().sites().program(cloudTarget(0, QStringLiteral("旧的")),
                                         cloudPage(QStringLiteral("old 百度"), QStringLiteral("u-old"), 300));
    auto engine = engineOf(SourceVerb::Search, QStringLiteral("clouddisk"));
    QList<SourceOutcome> outcomes;
    QList<ListRow> rows;
    connect(engine.get(), &SourceEngine::finished, this, [&](const SourceOutcome& o) { outcomes << o; });
    connect(engine.get(), &SourceEngine::rows, this, [&](const QList<ListRow>& r) { rows += r; });
    engine->start(requestFor(SourceVerb::Search, QStringLiteral("clouddisk"), QStringLiteral("旧的"), {0}));
    engine->start(requestFor(SourceVerb::Search, QStringLiteral("clouddisk"), QStringLiteral("ubuntu"), {2}));
    QCOMPARE(outcomes.size(), 1);
    QCOMPARE(outcomes.first().kind, Kind::Superseded);
    QTRY_COMPARE_WITH_TIMEOUT(outcomes.size(), 2, 10000);
    QCOMPARE(outcomes.last().kind, Kind::Rows);
    // The older search's request was dropped: nothing of it can come.
    QCOMPARE(PageFetcher::instance().pendingCount(), 0);
    QCOMPARE(rows.size(), 4);
    for (const ListRow& row : rows)
        QVERIFY(row.cell(QStringLiteral("dz")).startsWith(QStringLiteral("http://kuai.xunlei.com/")));
}

QTEST_GUILESS_MAIN(TestFilmCloudDiskEngines)
#include "test_film_clouddisk_engines.moc"
