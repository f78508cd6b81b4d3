#include "net/page_fetcher.h"
#include "net/url_encoding.h"
#include "test_server.h"

#include <QtTest>
#include <QTcpServer>

#include <limits>
#include <numeric>

using namespace lumorra;
using lumorra::testing::TestServer;

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
    SampleSites& sites = server.sites();
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

    void nestedFetchFromTimer();
    void timersTickDuringWait();
    void concurrentJobsEachGetTheirPage();
    void abortedOrDeletedJobs();

    void shutdownEndsWaitAndLaterFetches();
    void quittingEndsPendingWait();
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
    const FetchResult r = fetcher().fetch(url("/t/error"), FetchMode::WithIfModifiedSince);
    QCOMPARE(r.error, FetchError::None);
    QCOMPARE(r.status, status);
    QCOMPARE(r.text, QString::fromStdString(page));
    QCOMPARE(GetBody(url("/t/error")), QString::fromStdString(page));
    QCOMPARE(fetcher().lastError(), FetchError::None);
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
    const FetchResult r = fetcher().fetch(url("/t/charset"), FetchMode::Plain);
    QCOMPARE(r.error, FetchError::None);
    QCOMPARE(r.text, expected);
    QCOMPARE(r.body, bytes);
}

void FetcherTest::requestHeadersPerMode()
{
    sites.program("/t/h", Answer::html("ok"));
    QCOMPARE(GetBody(url("/t/h")), QStringLiteral("ok"));
    QCOMPARE(GetBodyPlain(url("/t/h")), QStringLiteral("ok"));
    QCOMPARE(TransferFetch(url("/t/h")), QStringLiteral("ok"));
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
        QCOMPARE(GetBody(url("/t/search?kw=") + encodeKeyword(kw) + QStringLiteral("&page=2")),
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
    QCOMPARE(GetBody(url("/t/moved")), QStringLiteral("arrived"));
}

void FetcherTest::timeoutEndsSlowRequest()
{
    fetcher().setTimeoutSeconds(1);
    sites.program("/t/slow", delayed("late", 3000));
    // A second job, timing out alongside, is deleted by its own finished slot.
    FetchJob* selfDeleting = fetcher().start(url("/t/slow"), FetchMode::Plain);
    FetchError selfDeletingError = FetchError::None;
    connect(selfDeleting, &FetchJob::finished, this, [&] {
        selfDeletingError = selfDeleting->result().error;
        delete selfDeleting;
    });
    QElapsedTimer clock;
    clock.start();
    const QString text = GetBody(url("/t/slow"));
    const qint64 elapsed = clock.elapsed();
    QVERIFY(text.isEmpty());
    QCOMPARE(fetcher().lastError(), FetchError::Timeout);
    QVERIFY2(elapsed < 2500, qPrintable(QString::number(elapsed)));
    QTRY_COMPARE(selfDeletingError, FetchError::Timeout);
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
        QCOMPARE(GetBody(url("/t/quick")), QStringLiteral("quick"));
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

    const FetchResult r = fetcher().fetch(url("/t/big"), FetchMode::WithIfModifiedSince);
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
    const FetchResult r = fetcher().fetch(url("/t/drop"), FetchMode::WithIfModifiedSince);
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
    const QString text = GetBody(QStringLiteral("http://127.0.0.1:%1/x").arg(freePort));
    QVERIFY(text.isEmpty());
    QCOMPARE(fetcher().lastError(), FetchError::Refused);
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
    delete job;

    QVERIFY(GetBody(address).isEmpty());
    QCOMPARE(fetcher().lastError(), FetchError::BadUrl);
}

void FetcherTest::nestedFetchFromTimer()
{
    // The outer answer arrives while the inner fetch still waits: the outer
    // wait resumes only after the inner one returned, each with its own page.
    sites.program("/t/outer", delayed("outer page", 150));
    sites.program("/t/inner", delayed("inner page", 500));
    QStringList order;
    QString inner;
    FetchError innerError = FetchError::Network;
    QTimer::singleShot(50, this, [&] {
        inner = GetBody(url("/t/inner"));
        innerError = fetcher().lastError();
        order << QStringLiteral("inner");
    });
    const QString outer = GetBody(url("/t/outer"));
    order << QStringLiteral("outer");
    QCOMPARE(fetcher().lastError(), FetchError::None);
    QCOMPARE(inner, QStringLiteral("inner page"));
    QCOMPARE(innerError, FetchError::None);
    QCOMPARE(outer, QStringLiteral("outer page"));
    QCOMPARE(order, (QStringList{QStringLiteral("inner"), QStringLiteral("outer")}));
}

void FetcherTest::timersTickDuringWait()
{
    sites.program("/t/wait", delayed("done", 500));
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(50);
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start();
    QCOMPARE(GetBody(url("/t/wait")), QStringLiteral("done"));
    ticker.stop();
    QVERIFY2(ticks >= 3, qPrintable(QString::number(ticks)));
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

    QList<FetchJob*> jobs{fetcher().start(url("/t/a"), FetchMode::WithIfModifiedSince),
                          fetcher().start(url("/t/b"), FetchMode::Plain),
                          fetcher().start(url("/t/c"), FetchMode::WithIfModifiedSince)};
    QList<int> finishedCount(3, 0);
    size_t requestsSeenAtFirstFinish = 0;
    for (int i = 0; i < jobs.size(); ++i)
        connect(jobs[i], &FetchJob::finished, this, [&, i] {
            if (std::accumulate(finishedCount.begin(), finishedCount.end(), 0) == 0)
                requestsSeenAtFirstFinish = sites.requests().size();
            ++finishedCount[i];
        });

    // Waiting in a different order than they finish.
    QCOMPARE(jobs[0]->wait().text, QStringLiteral("page A"));
    QCOMPARE(jobs[2]->wait().text, QStringLiteral("page C"));
    QCOMPARE(jobs[2]->result().status, 404);
    QCOMPARE(jobs[1]->wait().text, QStringLiteral("电影"));
    QTest::qWait(50);
    QCOMPARE(finishedCount, (QList<int>{1, 1, 1}));
    // All three were on their way before the first answer came back.
    QCOMPARE(requestsSeenAtFirstFinish, size_t(3));
    qDeleteAll(jobs);
}

void FetcherTest::abortedOrDeletedJobs()
{
    sites.program("/t/pending", delayed("never read", 800));

    // abort(): one finished(), Aborted, nothing after the reply winds down.
    FetchJob* job = fetcher().start(url("/t/pending"), FetchMode::Plain);
    QSignalSpy spy(job, &FetchJob::finished);
    job->abort();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(job->result().error, FetchError::Aborted);
    job->abort();
    QTest::qWait(100);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(job->wait().error, FetchError::Aborted);
    delete job;

    // Deleted while its request runs: nothing left behind to fire.
    FetchJob* gone = fetcher().start(url("/t/pending"), FetchMode::Plain);
    delete gone;
    QTest::qWait(100);

    // Deleted by a timer while someone waits for it.
    FetchJob* victim = fetcher().start(url("/t/pending"), FetchMode::Plain);
    QTimer::singleShot(50, this, [victim] { delete victim; });
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(victim->wait().error, FetchError::Aborted);
    QVERIFY(clock.elapsed() < 700);
}

void FetcherTest::shutdownEndsWaitAndLaterFetches()
{
    sites.program("/t/long", delayed("too late", 5000));
    sites.program("/t/after", Answer::html("should not be fetched"));
    QTimer::singleShot(100, this, [] { PageFetcher::instance().shutdown(); });
    QElapsedTimer clock;
    clock.start();
    const QString text = GetBody(url("/t/long"));
    QVERIFY(text.isEmpty());
    QCOMPARE(fetcher().lastError(), FetchError::Aborted);
    QVERIFY(clock.elapsed() < 4000);

    // After shutdown a fetch returns at once without asking the server.
    QVERIFY(GetBody(url("/t/after")).isEmpty());
    QCOMPARE(fetcher().lastError(), FetchError::Aborted);
    QVERIFY(sites.requestsFor("/t/after").empty());

    fetcher().reopen();
    QCOMPARE(GetBody(url("/t/after")), QStringLiteral("should not be fetched"));
}

void FetcherTest::quittingEndsPendingWait()
{
    // The application quits (from a timer, as the exit question does) while
    // a handler waits inside a fetch: the wait ends at once, and fetches
    // started afterwards return at once.
    sites.program("/t/quit", delayed("too late", 5000));
    sites.program("/t/after", Answer::html("should not be fetched"));
    FetchResult result;
    qint64 elapsed = -1;
    QString afterQuit = QStringLiteral("unset");
    FetchError afterQuitError = FetchError::None;
    QTimer::singleShot(0, this, [&] {
        QElapsedTimer clock;
        clock.start();
        result = fetcher().fetch(url("/t/quit"), FetchMode::WithIfModifiedSince);
        elapsed = clock.elapsed();
        afterQuit = GetBody(url("/t/after"));
        afterQuitError = fetcher().lastError();
    });
    QTimer::singleShot(150, qApp, &QCoreApplication::quit);
    QTimer guard;                      // ends the loop should quit() not reach the wait
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    guard.start(8000);
    const int rc = QCoreApplication::exec();
    guard.stop();

    QCOMPARE(rc, 0);
    QCOMPARE(result.error, FetchError::Aborted);
    QVERIFY(result.text.isEmpty());
    QVERIFY2(elapsed >= 0 && elapsed < 4000, qPrintable(QString::number(elapsed)));
    QVERIFY(fetcher().isShuttingDown());
    QVERIFY(afterQuit.isEmpty());
    QCOMPARE(afterQuitError, FetchError::Aborted);
    QVERIFY(sites.requestsFor("/t/after").empty());
}

QTEST_MAIN(FetcherTest)
#include "test_fetcher.moc"
