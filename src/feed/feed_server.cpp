#include "feed/feed_server.h"

#include "feed/api_key.h"
#include "feed/feed_search.h"
#include "feed/torznab_request.h"
#include "feed/torznab_xml.h"

#include <QElapsedTimer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QPointer>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrlQuery>

#include <memory>

namespace lumorra::feed {

namespace {

using Status = QHttpServerResponder::StatusCode;

const QByteArray kXml = QByteArrayLiteral("application/xml; charset=utf-8");
const QByteArray kRss = QByteArrayLiteral("application/rss+xml; charset=utf-8");

// The address asked, for the log and the feed's self link: never the key.
QString withoutKey(const QUrl& url)
{
    QUrl shown = url;
    QUrlQuery query(url);
    query.removeAllQueryItems(QStringLiteral("apikey"));
    shown.setQuery(query);
    return shown.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority);
}

} // namespace

FeedServer::FeedServer(FeedServerOptions options, QObject* parent)
    : QAbstractHttpServer(parent), m_options(std::move(options))
{
}

FeedServer::~FeedServer() = default;

QString FeedServer::feedPath(const QString& indexer)
{
    return QStringLiteral("/api/v2.0/indexers/%1/results/torznab/api").arg(indexer);
}

void FeedServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket)
{
    makeResponder(request, socket).write(errorDocument(kErrorNoSuchFunction, QStringLiteral("Not a Torznab address")),
                                         kXml, Status::NotFound);
}

bool FeedServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    QElapsedTimer clock;
    clock.start();
    const QUrl url = request.url();
    const QString client = request.remoteAddress().toString();
    const QString shown = withoutKey(url);
    auto reply = [&](Status status, const QByteArray& body, const QByteArray& type, const QString& what) {
        makeResponder(request, socket).write(body, type, status);
        emit logLine(QStringLiteral("%1 %2 %3 %4 %5 ms").arg(client, shown).arg(int(status)).arg(what).arg(clock.elapsed()));
        return true;
    };
    auto error = [&](int code, const QString& description, Status status = Status::Ok) {
        return reply(status, errorDocument(code, description), kXml,
                     QStringLiteral("error %1 (%2)").arg(code).arg(description));
    };

    if (url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority).size() > m_options.maxTargetBytes)
        return error(kErrorBadParameter, QStringLiteral("Request too long"), Status::UriTooLong);
    static const QRegularExpression layout(
        QStringLiteral("^/api/v2\\.0/indexers/([A-Za-z0-9_-]{1,40})/results/torznab(?:/api)?/?$"));
    const QRegularExpressionMatch path = layout.match(url.path());
    if (!path.hasMatch())
        return error(kErrorNoSuchFunction, QStringLiteral("Not a Torznab address"), Status::NotFound);
    if (request.method() != QHttpServerRequest::Method::Get && request.method() != QHttpServerRequest::Method::Head)
        return error(kErrorNoSuchFunction, QStringLiteral("Only GET is answered"), Status::MethodNotAllowed);

    const QUrlQuery query(url);
    const QString key = query.queryItemValue(QStringLiteral("apikey"), QUrl::FullyDecoded);
    if (key.isEmpty() || !sameKey(key, m_options.apiKey))
        return error(kErrorCredentials, QStringLiteral("Incorrect user credentials"), Status::Unauthorized);

    const FeedIndexer indexer = findIndexer(path.captured(1), m_options.agreementAccepted);
    if (indexer.id.isEmpty())
        return error(kErrorBadParameter, QStringLiteral("Unknown indexer (%1)").arg(path.captured(1)), Status::NotFound);

    TorznabRequest torznab;
    if (const TorznabError e = readTorznabQuery(query, &torznab); e.isError())
        return error(e.code, e.description);
    switch (torznab.function) {
    case TorznabFunction::Caps: return reply(Status::Ok, capsDocument(), kXml, QStringLiteral("caps"));
    case TorznabFunction::Indexers: {
        QList<FeedIndexer> all = feedIndexers(m_options.agreementAccepted);
        // "all" lists the indexers it stands for; one indexer lists itself.
        if (indexer.id == QLatin1String(kAllIndexer))
            all.removeFirst();
        else
            all = {indexer};
        return reply(Status::Ok, indexersDocument(all), kXml, QStringLiteral("indexers"));
    }
    case TorznabFunction::Search:
    case TorznabFunction::TvSearch:
    case TorznabFunction::Movie: break;
    }

    const QHostAddress address = request.remoteAddress();
    if (m_perClient.value(address) >= m_options.maxSearchesPerClient)
        return error(kErrorRequestLimit, QStringLiteral("Request limit reached"), Status::TooManyRequests);
    ++m_perClient[address];
    ++m_running;

    // Answered when the search ends; a client gone by then is not.
    auto responder = std::make_shared<QHttpServerResponder>(makeResponder(request, socket));
    QPointer<QTcpSocket> alive(socket);
    auto* search = new FeedSearch(this);
    search->setTimeoutMs(m_options.searchTimeoutMs);
    // The feed's own address as the client reached it.
    const QByteArray host = request.value(QByteArrayLiteral("Host"));
    const QString self = host.isEmpty() || host.contains('/') || host.size() > 255
        ? shown
        : QStringLiteral("http://") + QString::fromLatin1(host) + shown;
    const auto done = [this, search, address, client, self, clock, indexer, torznab, responder,
                       alive](const QList<FeedItem>& items, int total, const QStringList& failures) {
        search->deleteLater();
        --m_running;
        if (--m_perClient[address] <= 0)
            m_perClient.remove(address);
        for (const QString& f : failures)
            emit logLine(QStringLiteral("%1 %2 source failed: %3").arg(client, self, f));
        if (!alive || alive->state() != QAbstractSocket::ConnectedState) {
            emit logLine(QStringLiteral("%1 %2 client gone before the answer").arg(client, self));
            return;
        }
        responder->write(resultsDocument(indexer, self, items, torznab.offset, total), kRss, Status::Ok);
        emit logLine(QStringLiteral("%1 %2 200 %3 items %4 ms").arg(client, self).arg(items.size()).arg(clock.elapsed()));
    };
    connect(search, &FeedSearch::finished, this, done);
    // A client that leaves takes its search with it.
    connect(socket, &QTcpSocket::disconnected, search, [search, done] {
        if (search->isRunning()) {
            search->cancel();
            done({}, 0, {});
        }
    });
    search->start(indexer, torznab);
    return true;
}

} // namespace lumorra::feed
