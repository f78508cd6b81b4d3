#pragma once
// The feed's indexers: every keyword source of the table whose rows lead to
// magnet or torrent links (itself, or through the resolver of its detail
// pages), each by its id, and "all" for all of them together. A search
// without a keyword lists the recent items of the listings of that kind.
#include <QList>
#include <QString>

namespace lumorra {
struct SourceEntry;
}

namespace lumorra::feed {

struct FeedIndexer {
    QString id;                              // a source id, or "all"
    QString title;
    QList<const SourceEntry*> sources;       // searched with a keyword
    QList<const SourceEntry*> recent;        // listed without one
};

inline constexpr char kAllIndexer[] = "all";

// Rows of `source` lead to magnet or torrent links, or its resolver's do.
bool leadsToTorrents(const SourceEntry& source);

// Every indexer: "all" first, then each source in table order. The
// online-video sources only when their agreement is accepted.
QList<FeedIndexer> feedIndexers(bool agreementAccepted);
// The indexer `id`, or none (id empty) when there is no such one.
FeedIndexer findIndexer(const QString& id, bool agreementAccepted);

// Torznab's categories the feed names.
inline constexpr int kCategoryMovies = 2000;
inline constexpr int kCategoryTv = 5000;
inline constexpr int kCategoryOther = 8000;

} // namespace lumorra::feed
