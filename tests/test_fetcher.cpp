#include "net/ordered_fetches.h"
#include "net/page_fetcher.h"
#include "net/url_encoding.h"

#include "fetch_now.h"
#include "test_server.h"

#include <QtTest>
#include <QTcpServer>

#include <limits>
#include <numeric>

using namespace lumorra;
using lumorra::testing::TestServer;
using lumorra::testing::fetchNow;

namespace {

Answer delayed(std::string body, int delayMs)
{
    Answer a = Answer::html(std::move(body));
    a.delayMs = delayMs;
    return a;
}

PageFetcher& fetcher() { return PageFetcher::instance(); }

} // namespace

class FetcherTest : public QObject {
    Q_OBJECT
    TestServer& server = TestServer::shared();
    ProgrammableSites& sites = server.sites();
    QString url(const char* path) const { return server.url(QString::fromLatin1(path)); }

private slots:
    void init();
    void cleanup();

    void errorPagesComeBackAsText_data();
    void errorPagesComeBackAsText();
    void decodesByCharset_data();
    void decodesByCharset();
    void requestHeadersPerMode();
    void keywordArrivesAsOneValue();
    void followsRedirects();

    void timeoutEndsSlowRequest();
    void overlongTimeoutStillArmsTheTimer();
    void bodyCap_data();
    void bodyCap();
    void droppedConnectionIsAnError();
    void refusedPort();
    void badUrl_data();
    void badUrl();

    void answersComeLaterOnTheirContext();
    void aFastPageIsNotHeldBackByASlowOne();
    void concurrentJobsEachGetTheirPage();
    void abortedJobsAndGoneContexts();
    void latestRequestWins();
    void orderedFetchesDeliverInRequestOrder();
    void orderedFetchesKeepSixOnTheWay();
    void pagesWaitingTheirTurnAreHeldAsCutsOnly();

    void shutdownDropsPendingAnswersAndLaterFetches();
    void quittingDropsPendingAnswers();
};

void FetcherTest::init()
{
    sites.clearProgram();
    sites.clearRequests();
    fetcher().reopen();
    fetcher().setTimeoutSeconds(10);
    fetcher().setMaxBodyBytes(32LL * 1024 * 1024);
}

void FetcherTest::cleanup()
{
    // Answers still on their way would reach handlers of a finished test.
    fetcher().shutdown();
    fetcher().reopen();
}

void FetcherTest::errorPagesComeBackAsText_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("404") << 404;
    QTest::newRow("403") << 403;
    QTest::newRow("500") << 500;
    QTest::newRow("503") << 503;
}

void FetcherTest::errorPagesComeBackAsText()
{
    QFETCH(int, status);
    const std::string page = "<html><body>没有找到 " + std::to_string(status) + "</body></html>";
    sites.program("/t/error", Answer::html(page, status));
    const FetchResult r = fetchNow(url("/t/error"));
    QCOMPARE(r.error, FetchError::None);
    QCOMPARE(r.status, status);
    QCOMPARE(r.text, QString::fromStdString(page));
    // A value read from such a page is no value: okStatus() says so.
    QVERIFY(r.ok());
    QVERIFY(!r.okStatus());
}

void FetcherTest::decodesByCharset_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("expected");
    const QString film = QStringLiteral("电影");
    const QByteArray filmGbk("\xB5\xE7\xD3\xB0");
    const QByteArray filmUtf8 = film.toUtf8();

    QTest::newRow("gbk") << filmGbk << QByteArray("text/html; charset=gbk") << film;
    QTest::newRow("GB2312 upper case") << filmGbk << QByteArray("text/html; charset=GB2312") << film;
    QTest::newRow("quoted, after another parameter")
        << filmGbk << QByteArray("text/html; foo=bar; Charset=\"GBK\"") << film;
    // Sites label GBK pages gb2312; a GBK-only character must survive.
    QTest::newRow("gbk-only char under gb2312") << QByteArray("\xE9\x46") << QByteArray("text/html;charset=gb2312")
                                                << QStringLiteral("镕");
    QTest::newRow("gb18030 four-byte") << QByteArray("\x94\x39\xFC\x36") << QByteArray("text/plain; charset=gb18030")
                                       << QString::fromUcs4(U"\U0001F600");
    QTest::newRow("big5") << QByteArray("\xB9\x71\xBC\x76") << QByteArray("text/html; charset=big5")
                          << QStringLiteral("電影");
    QTest::newRow("no charset is utf-8") << filmUtf8 << QByteArray("text/html") << film;
    QTest::newRow("unknown charset is utf-8") << filmUtf8 << QByteArray("text/html; charset=x-no-such") << film;
    QTest::newRow("utf-8 bom dropped") << QByteArray("\xEF\xBB\xBF") + filmUtf8
                                       << QByteArray("text/html; charset=utf-8") << film;
    QTest::newRow("invalid utf-8") << QByteArray("a\xFF" "b") << QByteArray("text/html; charset=utf-8")
                                   << QStringLiteral("a\uFFFDb");
    QTest::newRow("invalid utf-8, no charset") << QByteArray("a\xC3") << QByteArray("text/plain")
                                               << QStringLiteral("a\uFFFD");
    QTest::newRow("truncated gbk") << QByteArray("x\xB5") << QByteArray("text/html; charset=gbk")
                                   << QStringLiteral("x\uFFFD");
}

void FetcherTest::decodesByCharset()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, contentType);
    QFETCH(QString, expected);
    sites.program("/t/charset", Answer::bytes(bytes.toStdString(), contentType.toStdString()));
    const FetchResult r = fetchNow(url("/t/charset"), &GetBodyPlain);
    QCOMPARE(r.error, FetchError::None);
    QCOMPARE(r.text, expected);
    QCOMPARE(r.body, bytes);
}

void FetcherTest::requestHeadersPerMode()
{
    sites.program("/t/h", Answer::html("ok"));
    QCOMPARE(fetchNow(url("/t/h"), &GetBody).text, QStringLiteral("ok"));
    QCOMPARE(fetchNow(url("/t/h"), &GetBodyPlain).text, QStringLiteral("ok"));
    QCOMPARE(fetchNow(url("/t/h"), &TransferFetch).text, QStringLiteral("ok"));
    const auto log = sites.requestsFor("/t/h");
    QCOMPARE(log.size(), size_t(3));
    for (const LoggedRequest& r : log)
        QCOMPARE(QString::fromStdString(r.method), QStringLiteral("GET"));
    QCOMPARE(QString::fromStdString(log[0].header("If-Modified-Since")), QStringLiteral("0"));
    QVERIFY(!log[1].hasHeader("If-Modified-Since"));
    QVERIFY(!log[2].hasHeader("If-Modified-Since"));
}

void FetcherTest::keywordArrivesAsOneValue()
{
    sites.program("/t/search", Answer::html("results"));
    const QString keywords[] = {QStringLiteral("C# a&b"), QStringLiteral("电影 1+1=2?/%")};
    for (const QString& kw : keywords) {
        sites.clearRequests();
        QCOMPARE(fetchNow(url("/t/search?kw=") + encodeKeyword(kw) + QStringLiteral("&page=2")).text,
                 QStringLiteral("results"));
        const auto log = sites.requestsFor("/t/search");
        QCOMPARE(log.size(), size_t(1));
        QCOMPARE(QString::fromStdString(log[0].param("kw")), kw);
        QCOMPARE(QString::fromStdString(log[0].param("page")), QStringLiteral("2"));
        QCOMPARE(log[0].params.size(), size_t(2));
    }
}

void FetcherTest::followsRedirects()
{
    sites.program("/t/moved", Answer::redirect("/t/target", 302));
    sites.program("/t/target", Answer::html("arrived"));
    QCOMPARE(fetchNow(url("/t/moved")).text, QStringLiteral("arrived"));
}

void FetcherTest::timeoutEndsSlowRequest()
{
    fetcher().setTimeoutSeconds(1);
    sites.program("/t/slow", delayed("late", 3000));
    // A second job, timing out alongside, goes away by itself afterwards.
    QPointer<FetchJob> alongside = fetcher().start(url("/t/slow"), FetchMode::Plain);
    QSignalSpy alongsideSpy(alongside.data(), &FetchJob::finished);
    QElapsedTimer clock;
    clock.start();
    const FetchResult r = fetchNow(url("/t/slow"));
    const qint64 elapsed = clock.elapsed();
    QVERIFY(r.text.isEmpty());
    QCOMPARE(r.error, FetchError::Timeout);
    QVERIFY2(elapsed < 2500, qPrintable(QString::number(elapsed)));
    QTRY_COMPARE(alongsideSpy.count(), 1);
    QTRY_VERIFY(alongside.isNull());
    QCOMPARE(fetchErrorText(FetchError::Timeout), QStringLiteral("网络请求超时"));
}

void FetcherTest::overlongTimeoutStillArmsTheTimer()
{
    // A FetchTimeoutSeconds far beyond what a timer can count must not wrap
    // into a negative interval, which would leave a stalled request with no
    // time-out at all.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("negative interval")));
    for (int seconds : {3000000, std::numeric_limits<int>::max()}) {
        fetcher().setTimeoutSeconds(seconds);
        QVERIFY(fetcher().timeoutSeconds() > 0);
        sites.program("/t/quick", Answer::html("quick"));
        QCOMPARE(fetchNow(url("/t/quick")).text, QStringLiteral("quick"));
    }
}

void FetcherTest::bodyCap_data()
{
    const qint64 cap = 64 * 1024;
    QTest::addColumn<qint64>("bodyBytes");     // plain body of this size; 0: see kind
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("fits");
    QTest::newRow("exactly the cap") << cap << QStringLiteral("plain") << true;
    QTest::newRow("one byte over") << cap + 1 << QStringLiteral("plain") << false;
    QTest::newRow("declared length over") << qint64(50 * 1024 * 1024) << QStringLiteral("oversized") << false;
    QTest::newRow("endless stream") << qint64(0) << QStringLiteral("endless") << false;
}

void FetcherTest::bodyCap()
{
    QFETCH(qint64, bodyBytes);
    QFETCH(QString, kind);
    QFETCH(bool, fits);
    fetcher().setMaxBodyBytes(64 * 1024);
    Answer a = Answer::bytes({}, "application/octet-stream");
    if (kind == QLatin1String("plain"))
        a.body.assign(size_t(bodyBytes), 'a');
    else if (kind == QLatin1String("oversized"))
        a.oversizedBytes = size_t(bodyBytes);
    else
        a.endless = true;
    sites.program("/t/big", a);

    const FetchResult r = fetchNow(url("/t/big"));
    if (fits) {
        QCOMPARE(r.error, FetchError::None);
        QCOMPARE(r.body.size(), bodyBytes);
    } else {
        // Ended by the cap, not by the 10 s time-out.
        QCOMPARE(r.error, FetchError::TooLarge);
        QVERIFY(r.text.isEmpty());
        QVERIFY(r.body.isEmpty());
    }
}

void FetcherTest::droppedConnectionIsAnError()
{
    Answer a;
    a.drop = true;
    sites.program("/t/drop", a);
    const FetchResult r = fetchNow(url("/t/drop"));
    // The connection ends without a status line: the server went away.
    QCOMPARE(r.error, FetchError::Refused);
    QCOMPARE(r.status, 0);
    QVERIFY(r.text.isEmpty());
    QVERIFY(!sites.requestsFor("/t/drop").empty());
}

void FetcherTest::refusedPort()
{
    quint16 freePort = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        freePort = probe.serverPort();
    }
    const FetchResult r = fetchNow(QStringLiteral("http://127.0.0.1:%1/x").arg(freePort));
    QVERIFY(r.text.isEmpty());
    QCOMPARE(r.error, FetchError::Refused);
}

void FetcherTest::badUrl_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("empty") << QString();
    QTest::newRow("no scheme") << QStringLiteral("not a url");
    QTest::newRow("host missing") << QStringLiteral("http://");
    QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1/file");
    QTest::newRow("local file") << QStringLiteral("file:///etc/hostname");
}

void FetcherTest::badUrl()
{
    QFETCH(QString, address);
    FetchJob* job = fetcher().start(address, FetchMode::WithIfModifiedSince);
    QVERIFY(job->isFinished());
    QCOMPARE(job->result().error, FetchError::BadUrl);
    // The signal still comes, for callers that connect after start().
    QSignalSpy spy(job, &FetchJob::finished);
    QVERIFY(spy.wait(1000));
    QCOMPARE(spy.count(), 1);

    // Never inside the call that starts it: a handler's next steps after
    // starting a fetch run before its answer, even a failed one.
    bool answered = false;
    GetBody(address, this, [&answered](const FetchResult& r) {
        answered = true;
        QCOMPARE(r.error, FetchError::BadUrl);
    });
    QVERIFY(!answered);
    QTRY_VERIFY(answered);
}

void FetcherTest::answersComeLaterOnTheirContext()
{
    sites.program("/t/ctx", delayed("page", 300));
    QStringList events;
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start(20);
    GetBody(url("/t/ctx"), this, [&](const FetchResult& r) { events << r.text; });
    events << QStringLiteral("started");
    QTRY_COMPARE(events, (QStringList{QStringLiteral("started"), QStringLiteral("page")}));
    // Nothing waited: the timer went on ticking while the page loaded.
    QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));

    // A context gone before the answer: the answer is dropped.
    auto* context = new QObject;
    bool reached = false;
    QPointer<FetchJob> job = GetBody(url("/t/ctx"), context, [&reached](const FetchResult&) { reached = true; });
    delete context;
    QSignalSpy done(job.data(), &FetchJob::finished);
    QVERIFY(done.wait(5000));
    QVERIFY(!reached);
}

void FetcherTest::aFastPageIsNotHeldBackByASlowOne()
{
    // A listing that arrives in a moment is handled then, however long a
    // request started before it still takes.
    sites.program("/t/silent", delayed("late", 4000));
    sites.program("/t/fast", delayed("fast page", 100));
    QElapsedTimer clock;
    clock.start();
    qint64 fastAt = -1;
    bool slowDone = false;
    GetBody(url("/t/silent"), this, [&](const FetchResult&) { slowDone = true; });
    GetBody(url("/t/fast"), this, [&](const FetchResult& r) {
        QCOMPARE(r.text, QStringLiteral("fast page"));
        fastAt = clock.elapsed();
    });
    QTRY_VERIFY(fastAt >= 0);
    QVERIFY2(fastAt < 2000, qPrintable(QString::number(fastAt)));
    QVERIFY(!slowDone);
}

void FetcherTest::concurrentJobsEachGetTheirPage()
{
    sites.program("/t/a", delayed("page A", 300));
    sites.program("/t/b", [] {
        Answer a = Answer::bytes("\xB5\xE7\xD3\xB0", "text/html; charset=gbk");
        a.delayMs = 250;
        return a;
    }());
    sites.program("/t/c", [] { Answer a = Answer::html("page C", 404); a.delayMs = 200; return a; }());

    QList<FetchResult> results(3);
    QList<int> order;
    size_t requestsSeenAtFirstAnswer = 0;
    const char* paths[3] = {"/t/a", "/t/b", "/t/c"};
    for (int i = 0; i < 3; ++i) {
        fetcher().get(url(paths[i]), i == 1 ? FetchMode::Plain : FetchMode::WithIfModifiedSince, this,
                      [&, i](const FetchResult& r) {
            if (order.isEmpty())
                requestsSeenAtFirstAnswer = sites.requests().size();
            order << i;
            results[i] = r;
        });
    }
    QTRY_COMPARE(order.size(), 3);
    // Each answer as it came: the quickest first.
    QCOMPARE(order, (QList<int>{2, 1, 0}));
    QCOMPARE(results[0].text, QStringLiteral("page A"));
    QCOMPARE(results[1].text, QStringLiteral("电影"));
    QCOMPARE(results[2].text, QStringLiteral("page C"));
    QCOMPARE(results[2].status, 404);
    // All three were on their way before the first answer came back.
    QCOMPARE(requestsSeenAtFirstAnswer, size_t(3));
}

void FetcherTest::abortedJobsAndGoneContexts()
{
    sites.program("/t/pending", delayed("never read", 800));

    // abort(): one answer, Aborted, nothing after the reply winds down, and
    // the job frees itself.
    QList<FetchError> answers;
    QPointer<FetchJob> job = GetBodyPlain(url("/t/pending"), this,
                                          [&answers](const FetchResult& r) { answers << r.error; });
    QSignalSpy spy(job.data(), &FetchJob::finished);
    job->abort();
    QCOMPARE(answers, QList<FetchError>{FetchError::Aborted});
    job->abort();
    QTRY_VERIFY(job.isNull());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(answers.size(), 1);
    QCOMPARE(fetcher().pendingCount(), 0);
}

void FetcherTest::latestRequestWins()
{
    // Page 2 is slow, page 3 quick: the list must end on page 3 whatever the
    // order the answers come in.
    sites.program("/t/page2", delayed("page 2", 900));
    sites.program("/t/page3", delayed("page 3", 100));
    LatestFetch list;
    QStringList shown;
    list.get(url("/t/page2"), FetchMode::WithIfModifiedSince, this, [&](const FetchResult& r) { shown << r.text; });
    QVERIFY(list.isPending());
    const quint64 second = list.generation();
    list.get(url("/t/page3"), FetchMode::WithIfModifiedSince, this, [&](const FetchResult& r) { shown << r.text; });
    QVERIFY(list.generation() > second);
    QTRY_COMPARE(shown, QStringList{QStringLiteral("page 3")});
    QVERIFY(!list.isPending());
    // The superseded request was aborted, not left to arrive.
    QTRY_COMPARE(fetcher().pendingCount(), 0);
    QCOMPARE(shown, QStringList{QStringLiteral("page 3")});

    // cancel() drops a pending answer.
    list.get(url("/t/page3"), FetchMode::WithIfModifiedSince, this, [&](const FetchResult& r) { shown << r.text; });
    list.cancel();
    QTRY_COMPARE(fetcher().pendingCount(), 0);
    QCOMPARE(shown.size(), 1);
}

void FetcherTest::orderedFetchesDeliverInRequestOrder()
{
    // Answers arrive last first; they are handed on first first, each as
    // soon as every one before it is in.
    QStringList urls;
    for (int i = 0; i < 4; ++i) {
        const std::string path = "/t/o" + std::to_string(i);
        sites.program(path, delayed("page " + std::to_string(i), 400 - 100 * i));
        urls << url(path.c_str());
    }
    urls.insert(2, QStringLiteral("no url"));   // a failing request keeps its place
    OrderedFetches batch;
    QStringList delivered;
    bool done = false;
    batch.start(urls, FetchMode::WithIfModifiedSince, this,
                [&](int index, const FetchResult& r) {
                    QCOMPARE(index, int(delivered.size()));
                    delivered << (r.ok() ? r.text : fetchErrorText(r.error));
                },
                [&] { done = true; });
    QVERIFY(batch.isRunning());
    QTRY_VERIFY(done);
    QCOMPARE(delivered, (QStringList{QStringLiteral("page 0"), QStringLiteral("page 1"),
                                     fetchErrorText(FetchError::BadUrl), QStringLiteral("page 2"),
                                     QStringLiteral("page 3")}));
    QVERIFY(!batch.isRunning());

    // A new batch drops the running one: none of its pages comes after.
    delivered.clear();
    done = false;
    batch.start({url("/t/o0")}, FetchMode::WithIfModifiedSince, this,
                [&](int, const FetchResult& r) { delivered << QStringLiteral("old ") + r.text; }, [] {});
    batch.start({url("/t/o3")}, FetchMode::WithIfModifiedSince, this,
                [&](int, const FetchResult& r) { delivered << r.text; }, [&] { done = true; });
    QTRY_VERIFY(done);
    QTRY_COMPARE(fetcher().pendingCount(), 0);
    QCOMPARE(delivered, QStringList{QStringLiteral("page 3")});

    // An empty batch is done at once.
    bool emptyDone = false;
    batch.start({}, FetchMode::Plain, this, [](int, const FetchResult&) {}, [&] { emptyDone = true; });
    QVERIFY(emptyDone);
}

void FetcherTest::orderedFetchesKeepSixOnTheWay()
{
    QStringList urls;
    for (int i = 0; i < 10; ++i) {
        const std::string path = "/t/six" + std::to_string(i);
        sites.program(path, delayed("p", 300));
        urls << url(path.c_str());
    }
    OrderedFetches batch;
    int most = 0;
    int delivered = 0;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] { most = std::max(most, fetcher().pendingCount()); });
    watch.start(10);
    batch.start(urls, FetchMode::Plain, this, [&](int, const FetchResult&) { ++delivered; }, [] {});
    most = std::max(most, fetcher().pendingCount());
    QTRY_COMPARE(delivered, 10);
    QCOMPARE(most, OrderedFetches::kDefaultInFlight);
}

void FetcherTest::pagesWaitingTheirTurnAreHeldAsCutsOnly()
{
    // The first page stalls while three large ones are in. A plain batch
    // holds them whole; a cutting batch holds what its cut step kept.
    const std::string big(1 << 20, 'x');
    sites.program("/t/stall", delayed("first", 1000));
    QStringList urls{url("/t/stall")};
    for (int i = 1; i <= 3; ++i) {
        const std::string path = "/t/big" + std::to_string(i);
        sites.program(path, Answer::html(big + std::to_string(i)));
        urls << url(path.c_str());
    }
    const qint64 pageChars = qint64(big.size()) + 1;

    OrderedFetches whole;
    int wholeDelivered = 0;
    whole.start(
        urls, FetchMode::Plain, this, [&](int, const FetchResult&) { ++wholeDelivered; }, [] {});
    // Each held page as UTF-16 text and as its raw bytes.
    QTRY_COMPARE(whole.heldBodyBytes(), 3 * (2 * pageChars + pageChars));
    QCOMPARE(wholeDelivered, 0);

    OrderedFetches cutting;
    QList<int> cutOrder;
    QList<QPair<int, qsizetype>> delivered;
    bool done = false;
    cutting.startCutting<qsizetype>(
        urls, FetchMode::Plain, this,
        [&](int index, const FetchResult& r) {
            cutOrder << index;
            return r.text.size();
        },
        [&](int index, qsizetype chars) {
            delivered.append({index, chars});
        },
        [&] { done = true; });
    QTRY_COMPARE(cutOrder.size(), 3);
    QVERIFY(!cutOrder.contains(0));
    QCOMPARE(cutting.heldBodyBytes(), 0);
    QVERIFY(delivered.isEmpty());

    // The order of delivery is the order of the request, as before.
    QTRY_VERIFY(done);
    QCOMPARE(
        delivered, (QList<QPair<int, qsizetype>>{{0, 5}, {1, pageChars}, {2, pageChars}, {3, pageChars}}));
    QTRY_COMPARE(wholeDelivered, 4);
}

void FetcherTest::shutdownDropsPendingAnswersAndLaterFetches()
{
    sites.program("/t/long", delayed("too late", 1500));
    sites.program("/t/after", Answer::html("should not be fetched"));
    bool answered = false;
    GetBody(url("/t/long"), this, [&answered](const FetchResult&) { answered = true; });
    QTRY_VERIFY(!sites.requestsFor("/t/long").empty());
    fetcher().shutdown();
    QCOMPARE(fetcher().pendingCount(), 0);

    // After shutdown nothing is asked of the server and nothing answers.
    QVERIFY(GetBody(url("/t/after"), this, [&answered](const FetchResult&) { answered = true; }).isNull());
    QVERIFY(sites.requestsFor("/t/after").empty());

    // Open again, a page slower than the dropped one comes in: by then the
    // dropped answer would have come too.
    fetcher().reopen();
    sites.program("/t/later", delayed("later", 1800));
    QCOMPARE(fetchNow(url("/t/later")).text, QStringLiteral("later"));
    QVERIFY(!answered);
}

void FetcherTest::quittingDropsPendingAnswers()
{
    // The application quits while a page is on its way: its handler never
    // runs, and fetches asked for afterwards are not sent.
    sites.program("/t/quit", delayed("too late", 1000));
    sites.program("/t/after", Answer::html("should not be fetched"));
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        GetBody(url("/t/quit"), this, [&answered](const FetchResult&) { answered = true; });
    });
    QTimer::singleShot(150, qApp, &QCoreApplication::quit);
    QTimer guard;                      // ends the loop should quit() not work
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    guard.start(8000);
    const int rc = QCoreApplication::exec();
    guard.stop();

    QCOMPARE(rc, 0);
    QVERIFY(fetcher().isShuttingDown());
    QVERIFY(GetBody(url("/t/after"), this, [&answered](const FetchResult&) { answered = true; }).isNull());
    QVERIFY(sites.requestsFor("/t/after").empty());
    fetcher().reopen();
    sites.program("/t/later", delayed("later", 1300));
    QCOMPARE(fetchNow(url("/t/later")).text, QStringLiteral("later"));
    QVERIFY(!answered);
}

QTEST_MAIN(FetcherTest)
#include "test_fetcher.moc"
