// The eMule engines without a window: the category listings, the two
// keyword searches and the ed2k resolver, against the sample sites; their
// rows, their texts and every way a page can fail to come.
#include "engine_run.h"
#include "hostile_answers.h"
#include "net/site_config.h"
#include "sources/emule/emule_engines.h"
#include "sources/source_table.h"
#include "test_server.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace lumorra;
using namespace lumorra::testing;

namespace {

using Kind = SourceOutcome::Kind;

const SourceEntry* entryOf(const QString& id)
{
    for (SourceVerb verb : {SourceVerb::Search, SourceVerb::List, SourceVerb::Resolve})
        if (const SourceEntry* e = findSourceEntry(verb, id))
            return e;
    return nullptr;
}

std::unique_ptr<SourceEngine> engineOf(const QString& id)
{
    const SourceEntry* entry = entryOf(id);
    return entry ? tableEngine(entry->verb, entry->id) : nullptr;
}

QString roleUrl(const char* role)
{
    return TestServer::shared().roleUrl(QString::fromLatin1(role));
}

std::string prefixOf(const char* role)
{
    return SampleSites::prefixFor(role);
}

// A request for `id`: a keyword for the searches, an address (under the
// index site) for the resolver, a page for all.
SourceRequest requestFor(const QString& id, const QString& word, const QString& page)
{
    SourceRequest r;
    r.page = page;
    if (id == QLatin1String("ed2k"))
        r.address = roleUrl(role::EmuleIndexSite) + word;
    else
        r.keyword = word;
    return r;
}

} // namespace

class TestEmuleEngines : public QObject {
    Q_OBJECT
private slots:
    void init() { useTestSites(); }

    void outcomes_data();
    void outcomes();
    void failures_data();
    void failures();
    void refusals();
    void theIndexSearchCountsThenCuts();
    void aNewerPageOfAListingSupersedes();
};

void TestEmuleEngines::outcomes_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("word");   // keyword, or the resolver's path
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QString>("key");    // a cell of the first row …
    QTest::addColumn<QString>("first");  // … and what it holds
    QTest::addColumn<QStringList>("statuses");
    QTest::addColumn<QString>("reason");

    const QString fetching = QStringLiteral("正在获取,请稍等..");
    const QString listed = QStringLiteral("获取完毕..");
    QTest::newRow("films page 1") << "emule-films" << "" << "1" << int(Kind::Rows) << 30 << "mc"
                                  << QStringLiteral("山河故人") << QStringList{fetching, listed} << QString();
    QTest::newRow("films remark") << "emule-films" << "" << "1" << int(Kind::Rows) << 30 << "bz"
                                  << QStringLiteral("2013-08-12 更新 137MB") << QStringList{fetching, listed}
                                  << QString();
    QTest::newRow("cartoons page 3") << "emule-cartoons" << "" << "3" << int(Kind::Rows) << 30 << "mc"
                                     << QStringLiteral("大闹天宫 第7辑") << QStringList{fetching, listed} << QString();
    QTest::newRow("software short page") << "emule-software" << "" << "4" << int(Kind::Rows) << 7 << "zzdz"
                                         << "/software/91.html" << QStringList{fetching, listed} << QString();
    QTest::newRow("books empty page") << "emule-books" << "" << "5" << int(Kind::NoRows) << 0 << "" << ""
                                      << QStringList{fetching, QStringLiteral("获取完毕..本页没有资源记录")}
                                      << QString();

    const QString searching = QStringLiteral("正在搜索资源..");
    QTest::newRow("index search") << "emule" << "电影" << "1" << int(Kind::Rows) << 20 << "mc"
                                  << QStringLiteral("山河故人 第11辑") << QStringList{searching, listed} << QString();
    QTest::newRow("index search short page") << "emule" << "电影" << "3" << int(Kind::Rows) << 6 << "zzdz"
                                             << "/movie/141.html" << QStringList{searching, listed} << QString();
    QTest::newRow("index search none") << "emule" << "没有的东西" << "1" << int(Kind::NoRows) << 0 << "" << ""
                                       << QStringList{searching, QStringLiteral("没有找到相关电驴资源!")}
                                       << QStringLiteral("没有找到相关电驴资源!");

    const QString getting = QStringLiteral("正在获取资源..");
    const QString got = QStringLiteral("资源获取完毕..");
    QTest::newRow("site search") << "emule-search" << "电影" << "1" << int(Kind::Rows) << 20 << "mc"
                                 << QStringLiteral(" 山河故人") << QStringList{getting, got} << QString();
    QTest::newRow("site search category") << "emule-search" << "音乐" << "1" << int(Kind::Rows) << 20 << "fl"
                                          << QStringLiteral("音乐") << QStringList{getting, got} << QString();
    // The notice row of page 2 names no file and is left out.
    QTest::newRow("site search page 2") << "emule-search" << "电影" << "2" << int(Kind::Rows) << 20 << "dz"
                                        << "/ShowFile.asp?FileID=21" << QStringList{getting, got} << QString();
    QTest::newRow("site search none") << "emule-search" << "没有的东西" << "1" << int(Kind::NoRows) << 0 << ""
                                      << "" << QStringList{getting, QStringLiteral("没有找到相关资源..")}
                                      << QString();

    // Record 2 has two links: the first one, as the page writes it.
    QTest::newRow("ed2k first link") << "ed2k" << "/movie/2.html" << "1" << int(Kind::Rows) << 1 << "dz"
                                     << QStringLiteral("ed2k://|file|海上钢琴师.国语中字.rmvb|119537666|")
                                     << QStringList{} << QString();
    QTest::newRow("ed2k taken down") << "ed2k" << "/movie/29.html" << "1" << int(Kind::NoRows) << 0 << "" << ""
                                     << QStringList{QStringLiteral("没有找到ed2k链接,种子地址提取失败!")}
                                     << QStringLiteral("没有找到ed2k链接,种子地址提取失败!");
}

void TestEmuleEngines::outcomes()
{
    QFETCH(QString, id);
    QFETCH(QString, word);
    QFETCH(QString, page);
    QFETCH(int, kind);
    QFETCH(int, rowCount);
    QFETCH(QString, key);
    QFETCH(QString, first);
    QFETCH(QStringList, statuses);
    QFETCH(QString, reason);
    auto engine = engineOf(id);
    QVERIFY(engine);
    const EngineRun run = runEngine(*engine, requestFor(id, word, page));
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(int(run.outcome().kind), kind);
    QCOMPARE(run.outcome().reason, reason);
    QCOMPARE(run.outcome().rowCount, rowCount);
    QCOMPARE(run.rows.size(), rowCount);
    QCOMPARE(run.statuses, statuses);
    if (rowCount == 0)
        return;
    QCOMPARE(run.rows.first().text, QStringLiteral("1"));
    QCOMPARE(run.rows.last().text, QString::number(rowCount));
    const QString cell = run.rows.first().cell(key);
    if (first.startsWith(u'/')) {
        // An address: the site's base, then the path.
        const char* role = id == QLatin1String("emule-search") ? role::EmuleSearchSite : role::EmuleIndexSite;
        QCOMPARE(cell, roleUrl(role) + first);
    } else if (id == QLatin1String("ed2k")) {
        QVERIFY2(cell.startsWith(first) && cell.endsWith(QStringLiteral("|/")), qPrintable(cell));
        QVERIFY(!cell.contains(QStringLiteral("高清版")));
    } else {
        QCOMPARE(cell, first);
    }
}

void TestEmuleEngines::failures_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("misbehaviour");
    QTest::addColumn<QString>("reason");   // empty: the source's failure wording, any reason
    QTest::addColumn<int>("httpStatus");
    const struct {
        const char* id;
        const char* role;
        const char* path;
    } sources[] = {{"emule-films", role::EmuleIndexSite, "/emule/movie/"},
                   {"emule-cartoons", role::EmuleIndexSite, "/emule/cartoon/"},
                   {"emule", role::EmuleIndexSite, "/emule/search/"},
                   {"emule-search", role::EmuleSearchSite, "/FileList.asp"},
                   {"ed2k", role::EmuleIndexSite, "/movie/"}};
    for (const auto& s : sources) {
        const QString path = QString::fromStdString(prefixOf(s.role)) + QLatin1String(s.path);
        const bool resolver = qstrcmp(s.id, "ed2k") == 0;
        auto text = [resolver](const char* why) {
            return resolver ? QStringLiteral("没有找到ed2k链接(%1),种子地址提取失败!").arg(QString::fromUtf8(why))
                            : QStringLiteral("资源获取失败(%1),请稍后再试..").arg(QString::fromUtf8(why));
        };
        QTest::addRow("%s 404", s.id) << s.id << path << int(Misbehaviour::NotFoundPage)
                                      << text("服务器返回 HTTP 404") << 404;
        QTest::addRow("%s 500", s.id) << s.id << path << int(Misbehaviour::ServerErrorPage)
                                      << text("服务器返回 HTTP 500") << 500;
        QTest::addRow("%s empty", s.id) << s.id << path << int(Misbehaviour::EmptyBody) << text("页面没有内容")
                                        << 200;
        QTest::addRow("%s dropped", s.id) << s.id << path << int(Misbehaviour::DroppedConnection) << QString() << 0;
        QTest::addRow("%s stalled", s.id) << s.id << path << int(Misbehaviour::Stall) << text("网络请求超时") << 0;
    }
}

void TestEmuleEngines::failures()
{
    QFETCH(QString, id);
    QFETCH(QString, path);
    QFETCH(int, misbehaviour);
    QFETCH(QString, reason);
    QFETCH(int, httpStatus);
    TestServer::shared().sites().programUnder(path.toStdString(), misbehave(Misbehaviour(misbehaviour), 3000));
    auto engine = engineOf(id);
    const EngineRun run = runEngine(*engine, requestFor(id, id == QLatin1String("ed2k") ? "/movie/2.html" : "电影",
                                                        QStringLiteral("1")));
    TestServer::shared().sites().clearProgram();
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(run.outcome().kind, Kind::Failed);
    QCOMPARE(run.outcome().httpStatus, httpStatus);
    QVERIFY(run.rows.isEmpty());
    QCOMPARE(run.lastStatus(), run.outcome().reason);
    if (reason.isEmpty()) {
        const QString own = id == QLatin1String("ed2k") ? QStringLiteral("没有找到ed2k链接(") : QStringLiteral("资源获取失败(");
        QVERIFY2(run.outcome().reason.startsWith(own), qPrintable(run.outcome().reason));
    } else
        QCOMPARE(run.outcome().reason, reason);
}

void TestEmuleEngines::refusals()
{
    // The searches want a keyword, the resolver an address; nothing is
    // fetched for a request that lacks it.
    TestServer::shared().sites().clearRequests();
    const struct {
        const char* id;
        const char* text;
    } cases[] = {{"emule", "请输入资源关键字 .."},
                 {"emule-search", "请输入资源关键字 .."},
                 {"ed2k", "没有找到ed2k链接,种子地址提取失败!"}};
    for (const auto& c : cases) {
        auto engine = engineOf(QLatin1String(c.id));
        QSignalSpy finished(engine.get(), &SourceEngine::finished);
        engine->start(SourceRequest());
        QCOMPARE(finished.size(), 1);
        const SourceOutcome outcome = finished.first().first().value<SourceOutcome>();
        QCOMPARE(outcome.kind, Kind::Failed);
        QCOMPARE(outcome.reason, QString::fromUtf8(c.text));
    }
    QVERIFY(TestServer::shared().sites().requests().empty());
}

void TestEmuleEngines::theIndexSearchCountsThenCuts()
{
    // More records than the 16-bit count holds: it stops at its top, and
    // the cutting step cuts that many.
    std::string page;
    for (int i = 0; i < 40000; ++i)
        page += "<div class=\"thumb\"><a href=\"/movie/1.html\" title=\"n\"></a></div>";
    TestServer::shared().sites().program(prefixOf(role::EmuleIndexSite) + "/emule/search/many/1", Answer::html(page));
    EmuleIndexSearchEngine engine(Pacing::immediate());
    QList<qint16> counted;
    int rowsWhenCounted = -1;
    connect(&engine, &EmuleIndexSearchEngine::hitsCounted, this, [&](qint16 pending) {
        counted << pending;
        rowsWhenCounted = engine.rowCount();
    });
    const EngineRun run = runEngine(engine, requestFor(QStringLiteral("emule"), QStringLiteral("many"), "1"), 20000);
    QCOMPARE(counted, QList<qint16>{32767});
    QCOMPARE(rowsWhenCounted, 0);   // counted in the handler, cut by the step
    QCOMPARE(run.rows.size(), 32767);
    QCOMPARE(run.rows.last().text, QStringLiteral("32767"));
    QCOMPARE(engine.pending(), qint16(0));
    QCOMPARE(run.outcome().kind, Kind::Rows);
}

void TestEmuleEngines::aNewerPageOfAListingSupersedes()
{
    auto engine = engineOf(QStringLiteral("emule-music"));
    QList<SourceOutcome> outcomes;
    QList<ListRow> rows;
    connect(engine.get(), &SourceEngine::finished, this, [&](const SourceOutcome& o) { outcomes << o; });
    connect(engine.get(), &SourceEngine::rows, this, [&](const QList<ListRow>& r) { rows += r; });
    QSignalSpy finished(engine.get(), &SourceEngine::finished);
    SourceRequest second;
    second.page = QStringLiteral("2");
    engine->start(second);
    SourceRequest third;
    third.page = QStringLiteral("3");
    engine->start(third);
    QCOMPARE(outcomes.size(), 1);
    QCOMPARE(outcomes.first().kind, Kind::Superseded);
    QVERIFY(finished.wait(10000));
    QCOMPARE(outcomes.size(), 2);
    QCOMPARE(outcomes.last().kind, Kind::Rows);
    // Only page 3's rows came.
    QCOMPARE(rows.size(), 30);
    QCOMPARE(rows.first().cell(QStringLiteral("zzdz")), roleUrl(role::EmuleIndexSite) + "/music/61.html");
}

QTEST_GUILESS_MAIN(TestEmuleEngines)
#include "test_emule_engines.moc"
