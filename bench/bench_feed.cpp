// The Torznab feed under load, over loopback: a t=search on "all" against
// each indexer alone (sample sites one per role, each with its own delay),
// then 50 clients × 20 searches at once, each answer checked against the
// one its keyword gives alone, and the resident memory before and after.
//
//   bench_feed [CLIENTS] [SEARCHES_EACH] [BASE_DELAY_MS]
#include "bench_result.h"
#include "bench_window.h"
#include "delayed_sites.h"
#include "feed/feed_server.h"
#include "net/page_fetcher.h"
#include "sources/source_table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace lumorra;
using namespace lumorra::feed;

namespace {

const QString kKey = QStringLiteral("bench-key-0123");
// Not "linux": a detail page of that sample search drops its connection on purpose.
const QStringList kKeywords{QStringLiteral("ubuntu"), QStringLiteral("电影")};

QUrl feedUrl(quint16 port, const QString& indexer, const QString& keyword)
{
    QUrl url(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(FeedServer::feedPath(indexer)));
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("apikey"), kKey);
    q.addQueryItem(QStringLiteral("t"), QStringLiteral("search"));
    q.addQueryItem(QStringLiteral("q"), keyword);
    url.setQuery(q);
    return url;
}

// The titles of an answer, sorted (sources end in any order), and the
// keyword its own address names: what "not mixed up" is checked on.
QStringList titles(const QByteArray& body)
{
    static const QRegularExpression title(QStringLiteral("<title>([^<]*)</title>"));
    static const QRegularExpression self(QStringLiteral("<atom:link href=\"[^\"]*(?:\\?|&amp;)q=([^&\"]*)"));
    QStringList out;
    const QString text = QString::fromUtf8(body);
    auto it = title.globalMatch(text);
    while (it.hasNext())
        out << it.next().captured(1);
    out.sort();
    out.prepend(QUrl::fromPercentEncoding(self.match(text).captured(1).toUtf8()));
    return out;
}

QByteArray fetch(QNetworkAccessManager& nam, const QUrl& url)
{
    QNetworkReply* reply = nam.get(QNetworkRequest(url));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QByteArray body = reply->readAll();
    reply->deleteLater();
    return body;
}

double timedSearch(QNetworkAccessManager& nam, quint16 port, const QString& indexer)
{
    QElapsedTimer clock;
    clock.start();
    fetch(nam, feedUrl(port, indexer, QStringLiteral("ubuntu")));
    return double(clock.nsecsElapsed()) / 1e6;
}

struct Load {
    int answered = 0;
    int mixed = 0;        // an item or an address of another search
    int incomplete = 0;   // fewer items: a source did not answer in time
    double ms = 0;
};

// `clients` clients, each with its own connections, each asking `each`
// searches one after another, all clients at once.
Load runLoad(quint16 port, int clients, int each, const QHash<QString, QStringList>& expected)
{
    struct Client {
        std::unique_ptr<QNetworkAccessManager> nam = std::make_unique<QNetworkAccessManager>();
        int asked = 0;
    };
    std::vector<Client> all(static_cast<size_t>(clients));
    Load load;
    QEventLoop loop;
    int running = clients;
    std::function<void(int)> next = [&](int c) {
        Client& client = all[size_t(c)];
        if (client.asked == each) {
            if (--running == 0)
                loop.quit();
            return;
        }
        const QString keyword = kKeywords[(c + client.asked) % kKeywords.size()];
        ++client.asked;
        QNetworkReply* reply = client.nam->get(QNetworkRequest(feedUrl(port, QStringLiteral("all"), keyword)));
        QObject::connect(reply, &QNetworkReply::finished, reply, [&, reply, keyword, c] {
            const QByteArray body = reply->readAll();
            reply->deleteLater();
            ++load.answered;
            const QStringList got = titles(body);
            const QStringList& want = expected.value(keyword);
            if (got.value(0) != keyword
                || !std::all_of(got.begin() + 1, got.end(), [&want](const QString& t) { return want.contains(t); }))
                ++load.mixed;
            else if (got != want)
                ++load.incomplete;
            next(c);
        });
    };
    QElapsedTimer clock;
    clock.start();
    for (int c = 0; c < clients; ++c)
        next(c);
    loop.exec();
    load.ms = double(clock.nsecsElapsed()) / 1e6;
    return load;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int clients = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const int each = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    const int baseDelay = argc > 3 ? std::atoi(argv[3]) : 100;
    PageFetcher::instance().setTimeoutMs(30000);

    const FeedIndexer everything = findIndexer(QStringLiteral("all"), true);
    QStringList roles;
    for (const SourceEntry* s : everything.sources + everything.recent)
        if (!roles.contains(s->role))
            roles << s->role;
    bench::DelayedSites sites;
    if (!sites.start(roles, baseDelay, 40)) {
        std::fprintf(stderr, "cannot start a sample server\n");
        return 1;
    }
    FeedServerOptions options;
    options.apiKey = kKey;
    options.agreementAccepted = true;
    // Every client of the load comes from 127.0.0.1.
    options.maxSearchesPerClient = clients + 1;
    FeedServer server(options);
    QHash<QString, int> failures;   // what left sources out of answers, by its words
    QObject::connect(&server, &FeedServer::logLine, [&failures](const QString& line) {
        const qsizetype at = line.indexOf(QLatin1String("source failed: "));
        if (at >= 0)
            ++failures[line.mid(at + 15)];
    });
    const quint16 port = server.listen(QHostAddress::LocalHost, 0);
    if (!port) {
        std::fprintf(stderr, "cannot listen\n");
        return 1;
    }

    QNetworkAccessManager nam;
    double slowest = 0;
    QString slowestId;
    for (const SourceEntry* s : everything.sources) {
        std::vector<double> runs;
        for (int r = 0; r < 3; ++r)
            runs.push_back(timedSearch(nam, port, s->id));
        std::sort(runs.begin(), runs.end());
        std::printf("%-10s alone: %7.1f ms\n", qPrintable(s->id), runs[1]);
        if (runs[1] > slowest) {
            slowest = runs[1];
            slowestId = s->id;
        }
    }
    std::vector<double> allRuns;
    for (int r = 0; r < 3; ++r)
        allRuns.push_back(timedSearch(nam, port, QStringLiteral("all")));
    std::sort(allRuns.begin(), allRuns.end());
    std::printf("all       : %7.1f ms\n", allRuns[1]);

    QHash<QString, QStringList> expected;
    for (const QString& k : kKeywords)
        expected.insert(k, titles(fetch(nam, feedUrl(port, QStringLiteral("all"), k))));
    // A first round of the same load brings every pool (connections, the
    // allocator's arenas, the sample servers' threads) to its working size.
    const Load warm = runLoad(port, clients, each, expected);
    std::printf("warm-up: %d answered, %d mixed, %d incomplete, %.0f ms\n", warm.answered, warm.mixed,
                warm.incomplete, warm.ms);
    // Memory the allocator keeps free for later is not memory in use.
    malloc_trim(0);
    const long before = bench::residentKiB();
    const Load load = runLoad(port, clients, each, expected);
    QCoreApplication::processEvents();
    malloc_trim(0);
    const long after = bench::residentKiB();
    std::printf("load: %d clients x %d searches: %d answered, %d mixed, %d incomplete, %.0f ms; VmRSS %ld -> %ld KiB\n",
                clients, each, load.answered, load.mixed, load.incomplete, load.ms, before, after);

    for (auto it = failures.constBegin(); it != failures.constEnd(); ++it)
        std::printf("  left out %d times: %s\n", it.value(), qPrintable(it.key()));

    bench::result("feed t=search on all ÷ slowest indexer alone", allRuns[1] / slowest, 2, "ratio",
                  bench::format("%.0f / %.0f ms (%s); aim ≤ 1.1", allRuns[1], slowest, qPrintable(slowestId)));
    bench::result(qPrintable(QStringLiteral("feed: %1 clients x %2 searches at once, answered").arg(clients).arg(each)), load.answered, 0, "answers",
                  bench::format("of %d; %d mixed up, %d incomplete; %.1f s in all", clients * each, load.mixed,
                                load.incomplete, load.ms / 1000));
    bench::result("feed: resident memory after the load", 100.0 * double(after - before) / double(before), 2, "% growth",
                  bench::format("%ld -> %ld KiB; aim within 5 %%", before, after));
    return load.answered == clients * each && load.mixed == 0 ? 0 : 1;
}
