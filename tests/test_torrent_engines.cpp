// The torrent index, RSS and film resource engines without a window: their
// rows, their endings and their texts, and what every engine owes its
// listeners (one ending per start, nothing after a newer start or a cancel).
#include "engine_run.h"
#include "hostile_answers.h"
#include "net/page_fetcher.h"
#include "sources/source_table.h"
#include "sources/torrent/torrent_search_engines.h"
#include "test_server.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace lumorra;
using namespace lumorra::testing;

namespace {

std::unique_ptr<SourceEngine> engineOf(const char* id)
{
    return tableEngine(SourceVerb::Search, QLatin1String(id));
}

SourceRequest keyword(const QString& k)
{
    SourceRequest r;
    r.keyword = k;
    return r;
}

using Kind = SourceOutcome::Kind;

} // namespace

class TestTorrentEngines : public QObject {
    Q_OBJECT
private slots:
    void init() { useTestSites(); }

    void outcomes_data();
    void outcomes();
    void failures_data();
    void failures();
    void aNewerStartSupersedes();
    void cancelEndsTheRunOnce();
    void aRefusedRequestEndsAtOnce();
    void theCountStopsAt16Bits();
};

void TestTorrentEngines::outcomes_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QStringList>("statuses");
    const QString searching = QStringLiteral("正在进行搜索...");
    const QString done = QStringLiteral("搜索完毕..");
    const QString notFound = QStringLiteral("未找到相关资源..");
    QTest::newRow("torrent rows") << "torrent" << "ubuntu" << "3" << int(Kind::Rows) << 3
                                  << "ubuntu-18.04.6-desktop-amd64.iso" << QStringList{searching, done};
    QTest::newRow("torrent none") << "torrent" << "没有这个" << "1" << int(Kind::NoRows) << 0 << QString()
                                  << QStringList{searching, notFound};
    QTest::newRow("rss rows") << "rss" << "ubuntu" << "1" << int(Kind::Rows) << 4
                              << "Ubuntu 22.04.4 LTS Desktop amd64" << QStringList{searching, done, done};
    QTest::newRow("rss none") << "rss" << "没有这个" << "1" << int(Kind::NoRows) << 0 << QString()
                              << QStringList{searching, notFound};
    QTest::newRow("film none") << "film" << "无此影片" << "1" << int(Kind::NoRows) << 0 << QString()
                               << QStringList{QStringLiteral("正在搜索资源，请稍等.."),
                                              QStringLiteral("没有找到相关影片资源..")};
}

void TestTorrentEngines::outcomes()
{
    QFETCH(QString, id);
    QFETCH(QString, keyword);
    QFETCH(QString, page);
    QFETCH(int, kind);
    QFETCH(int, rowCount);
    QFETCH(QString, firstName);
    QFETCH(QStringList, statuses);
    auto engine = engineOf(id.toLatin1().constData());
    QVERIFY(engine);
    SourceRequest r = ::keyword(keyword);
    r.page = page;
    const EngineRun run = runEngine(*engine, r);
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(int(run.outcome().kind), kind);
    QCOMPARE(run.outcome().rowCount, rowCount);
    QCOMPARE(run.rows.size(), rowCount);
    QCOMPARE(run.statuses, statuses);
    if (rowCount > 0) {
        QCOMPARE(run.rows.first().cell(QStringLiteral("mc")), firstName);
        QCOMPARE(run.rows.first().text, QStringLiteral("1"));
        QCOMPARE(run.rows.last().text, QString::number(rowCount));
    }
}

void TestTorrentEngines::failures_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("misbehaviour");
    QTest::addColumn<QString>("status");   // empty: any failure text
    QTest::addColumn<int>("httpStatus");
    const struct {
        const char* id;
        const char* path;
    } sources[] = {{"torrent", "/torrent-index/"}, {"rss", "/torrent-rss/"}, {"film", "/film-resource/"}};
    for (const auto& s : sources) {
        QTest::addRow("%s 404", s.id) << s.id << s.path << int(Misbehaviour::NotFoundPage)
                                      << QStringLiteral("资源获取失败(服务器返回 HTTP 404),请稍后再试..") << 404;
        QTest::addRow("%s 500", s.id) << s.id << s.path << int(Misbehaviour::ServerErrorPage)
                                      << QStringLiteral("资源获取失败(服务器返回 HTTP 500),请稍后再试..") << 500;
        QTest::addRow("%s empty", s.id) << s.id << s.path << int(Misbehaviour::EmptyBody)
                                        << QStringLiteral("资源获取失败(页面没有内容),请稍后再试..") << 200;
        QTest::addRow("%s dropped", s.id) << s.id << s.path << int(Misbehaviour::DroppedConnection) << QString() << 0;
        QTest::addRow("%s stalled", s.id) << s.id << s.path << int(Misbehaviour::Stall)
                                          << QStringLiteral("资源获取失败(网络请求超时),请稍后再试..") << 0;
    }
}

void TestTorrentEngines::failures()
{
    QFETCH(QString, id);
    QFETCH(QString, path);
    QFETCH(int, misbehaviour);
    QFETCH(QString, status);
    QFETCH(int, httpStatus);
    TestServer::shared().sites().programUnder(path.toStdString(), misbehave(Misbehaviour(misbehaviour), 3000));
    auto engine = engineOf(id.toLatin1().constData());
    const EngineRun run = runEngine(*engine, keyword(QStringLiteral("ubuntu")));
    TestServer::shared().sites().clearProgram();
    QCOMPARE(run.outcomes.size(), 1);
    QCOMPARE(run.outcome().kind, Kind::Failed);
    QCOMPARE(run.outcome().httpStatus, httpStatus);
    QVERIFY(run.rows.isEmpty());
    QCOMPARE(run.lastStatus(), run.outcome().reason);
    if (status.isEmpty())
        QVERIFY2(run.outcome().reason.startsWith(QStringLiteral("资源获取失败(")), qPrintable(run.outcome().reason));
    else
        QCOMPARE(run.outcome().reason, status);
}

void TestTorrentEngines::aNewerStartSupersedes()
{
    auto engine = engineOf("torrent");
    QList<SourceOutcome> outcomes;
    QList<ListRow> rows;
    connect(engine.get(), &SourceEngine::finished, this, [&](const SourceOutcome& o) { outcomes << o; });
    connect(engine.get(), &SourceEngine::rows, this, [&](const QList<ListRow>& r) { rows += r; });
    QSignalSpy finished(engine.get(), &SourceEngine::finished);
    SourceRequest first = keyword(QStringLiteral("电影"));
    engine->start(first);
    SourceRequest second = keyword(QStringLiteral("ubuntu"));
    second.page = QStringLiteral("3");
    engine->start(second);
    QCOMPARE(outcomes.size(), 1);
    QCOMPARE(outcomes.first().kind, Kind::Superseded);
    QVERIFY(finished.wait(10000));
    QCOMPARE(outcomes.size(), 2);
    QCOMPARE(outcomes.last().kind, Kind::Rows);
    // Only the newer search's rows came.
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.first().cell(QStringLiteral("mc")), QStringLiteral("ubuntu-18.04.6-desktop-amd64.iso"));
}

void TestTorrentEngines::cancelEndsTheRunOnce()
{
    auto engine = engineOf("rss");
    QSignalSpy finished(engine.get(), &SourceEngine::finished);
    QSignalSpy rows(engine.get(), &SourceEngine::rows);
    engine->start(keyword(QStringLiteral("ubuntu")));
    engine->cancel();
    engine->cancel();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().value<SourceOutcome>().kind, Kind::Cancelled);
    QVERIFY(!engine->isRunning());
    // The page still arrives at the fetcher; nothing of it reaches a listener.
    QVERIFY(!finished.wait(1500));
    QCOMPARE(rows.size(), 0);
}

void TestTorrentEngines::aRefusedRequestEndsAtOnce()
{
    for (const char* id : {"torrent", "rss", "film"}) {
        auto engine = engineOf(id);
        QCOMPARE(engine->refusalOf(keyword(QStringLiteral("x"))), QString());
        const QString refusal = engine->refusalOf(keyword(QString()));
        QCOMPARE(refusal, QString::fromUtf8(qstrcmp(id, "film") == 0 ? "请输入关键字..." : "请输入您要搜索的关键字.."));
        QSignalSpy finished(engine.get(), &SourceEngine::finished);
        QSignalSpy status(engine.get(), &SourceEngine::status);
        engine->start(keyword(QString()));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().value<SourceOutcome>().reason, refusal);
        QCOMPARE(status.first().first().toString(), refusal);
    }
}

void TestTorrentEngines::theCountStopsAt16Bits()
{
    // More magnets than a 16-bit count holds: the count stops at its top
    // rather than wrapping negative and losing every row.
    std::string page;
    for (int i = 0; i < 40000; ++i)
        page += "\"magnet:?x\" ";
    TestServer::shared().sites().program("/torrent-index/search/many/1", Answer::html(page));
    TorrentIndexEngine engine(Pacing::immediate());
    qint16 counted = 0;
    connect(engine.steps(), &CountThenCut::hitsCounted, this, [&](qint16 pending) { counted = pending; });
    const EngineRun run = runEngine(engine, keyword(QStringLiteral("many")), 20000);
    QCOMPARE(counted, qint16(32767));
    QCOMPARE(run.rows.size(), 32767);
    QCOMPARE(engine.steps()->pending(), qint16(0));
}

QTEST_GUILESS_MAIN(TestTorrentEngines)
#include "test_torrent_engines.moc"
