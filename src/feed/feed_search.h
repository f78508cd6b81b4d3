#pragma once
// One search of the feed: the indexer's sources asked for the keyword
// together (the search over every source, merged the same way), or, without
// a keyword, the recent rows of the listings that lead to torrents. The
// page asked for (offset, limit) is cut from the merged rows, and rows that
// lead only to a detail page are resolved into their magnet or torrent link,
// at most 20 detail pages per request, all together.
#include "feed/feed_indexers.h"
#include "feed/feed_item.h"
#include "feed/torznab_request.h"
#include "sources/everywhere/merged_results.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace lumorra {
class SearchEverywhere;
class SourceEngine;
}

namespace lumorra::feed {

class FeedSearch : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxResolved = 20;

    explicit FeedSearch(QObject* parent = nullptr);
    ~FeedSearch() override;

    // The whole search, resolving included, ends by this time with what it has.
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    void start(const FeedIndexer& indexer, const TorznabRequest& request);
    void cancel();
    bool isRunning() const { return m_running; }

signals:
    // Exactly once per start (not after cancel()): the page of items, the
    // number of merged rows in all, and "id: reason" of each source that failed.
    void finished(const QList<lumorra::feed::FeedItem>& items, int total, const QStringList& failures);

private:
    void searched();
    void listingEnded();
    void resolvePage(QList<MergedRow> rows, int total);
    void resolved(int pageRow, const QList<ListRow>& rows);
    void finish();
    void stopEngines();

    TorznabRequest m_request;
    SearchEverywhere* m_search = nullptr;
    QList<SourceEngine*> m_engines;     // listings, then resolvers
    MergedResults m_listed;             // the listings' rows
    int m_listingsRunning = 0;
    QList<MergedRow> m_page;
    int m_total = 0;
    int m_resolving = 0;
    QStringList m_failures;
    QTimer m_timeout;
    int m_timeoutMs = 120000;
    bool m_running = false;
};

} // namespace lumorra::feed
