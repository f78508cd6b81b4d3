#pragma once
// The Torznab feed over HTTP, on the Qt event loop: Jackett's URL layout
// (/api/v2.0/indexers/{id}/results/torznab/api), every answer an RSS or
// Torznab document, every failure a Torznab error document. The searches
// run the same engines as the window, answered when they end; a client that
// went away meanwhile is simply not answered.
#include "feed/feed_indexers.h"

#include <QAbstractHttpServer>
#include <QHash>
#include <QHostAddress>
#include <QString>

namespace lumorra::feed {

struct FeedServerOptions {
    QString apiKey;                  // required of every request
    bool agreementAccepted = false;  // the online-video sources take part
    int maxSearchesPerClient = 4;    // searches in progress per client address
    int maxTargetBytes = 4096;       // request path and query
    int searchTimeoutMs = 120000;    // a search ends by then with what it has
};

class FeedServer : public QAbstractHttpServer {
    Q_OBJECT
public:
    explicit FeedServer(FeedServerOptions options, QObject* parent = nullptr);
    ~FeedServer() override;

    // The feed's path for `indexer` ("all" or a source id).
    static QString feedPath(const QString& indexer);
    int searchesInProgress() const { return m_running; }

signals:
    // One line per answer (client, path without the key, status, items, ms)
    // and one per source that failed in a search.
    void logLine(const QString& line);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    FeedServerOptions m_options;
    QHash<QHostAddress, int> m_perClient;
    int m_running = 0;
};

} // namespace lumorra::feed
