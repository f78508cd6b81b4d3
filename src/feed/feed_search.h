#pragma once
// One search of the feed: the indexer's sources asked for the keyword
// together (the search over every source, merged the same way), or, without
// a keyword, the recent rows of the listings that lead to torrents. The
// page asked for (offset, limit) is cut from the merged rows, and rows that
// lead only to a detail page are resolved into their magnet or torrent link,
// at most 20 detail pages per request, all together. Rows that will be on a
// first page are resolved as they arrive, while slower sources still run.
#include "feed/feed_indexers.h"
#include "feed/feed_item.h"
#include "feed/torznab_request.h"
#include "sources/everywhere/merged_results.h"

#include <QElapsedTimer>
#include <QHash>
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
    struct Resolved {
        QString link;
        QString date;
        bool done = false;
    };

    void searched();
    void listingEnded();
    // New merged rows [first, first + count): those a first page holds are
    // resolved now.
    void arrived(const MergedResults& results, int first, int count);
    void resolve(const MergedRow& row);
    void gathered(QList<MergedRow> page, int total);
    void finish();
    void stopListings();
    void stopResolvers();

    TorznabRequest m_request;
    SearchEverywhere* m_search = nullptr;
    QList<SourceEngine*> m_listings;
    QList<SourceEngine*> m_resolvers;
    MergedResults m_listed;             // the listings' rows
    int m_listingsRunning = 0;
    QHash<QString, Resolved> m_resolved;   // by detail page
    int m_resolving = 0;                // resolvers still running
    bool m_gathered = false;            // the page is cut; what resolves now is all
    QList<MergedRow> m_page;
    int m_total = 0;
    QStringList m_failures;
    QTimer m_timeout;
    int m_timeoutMs = 120000;
    bool m_running = false;
};

} // namespace lumorra::feed
