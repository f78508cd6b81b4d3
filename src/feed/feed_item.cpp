#include "feed/feed_item.h"

#include "feed/feed_indexers.h"
#include "sources/everywhere/merged_results.h"
#include "sources/source_table.h"
#include "text/rfc822_date.h"
#include "text/size_bytes.h"

#include <QUrl>

#include <algorithm>

namespace lumorra::feed {

FeedItem feedItem(const MergedRow& row)
{
    const FoundResource& r = row.resource;
    FeedItem item;
    item.title = r.name;
    item.guid = row.key.isEmpty() ? r.link : row.key;
    if (r.linkKind == LinkKind::Magnet)
        item.magnet = r.link;
    item.link = !r.torrent.isEmpty() ? r.torrent : r.link;
    if (item.link.isEmpty())
        item.link = r.detail;
    if (row.key.startsWith(QLatin1String("btih:")))
        item.infohash = row.key.mid(5);
    else
        item.infohash = infoHashIn(!item.magnet.isEmpty() ? item.magnet : r.torrent);
    // A detail page that gave no link (withdrawn, not resolved in time)
    // but whose address holds the info hash still makes a usable magnet.
    if (item.magnet.isEmpty() && r.torrent.isEmpty() && !item.infohash.isEmpty()) {
        item.magnet = QStringLiteral("magnet:?xt=urn:btih:") + item.infohash + QStringLiteral("&dn=")
            + QString::fromLatin1(QUrl::toPercentEncoding(r.name));
        item.link = item.magnet;
    }
    item.comments = r.detail;
    item.published = siteDateTime(r.date);
    item.size = std::max<qint64>(0, sizeInBytes(r.size));
    // Only the film pages say what their rows are.
    item.category = kCategoryOther;
    for (const SourceEntry* s : row.sources)
        if (s->verb == SourceVerb::List && s->id.startsWith(QLatin1String("bt-films")))
            item.category = kCategoryMovies;
    item.indexerId = row.sources.isEmpty() ? QString() : row.sources.first()->id;
    item.indexerTitle = row.sourceIds();
    return item;
}

} // namespace lumorra::feed
