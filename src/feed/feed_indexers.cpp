#include "feed/feed_indexers.h"

#include "sources/source_table.h"

namespace lumorra::feed {

bool leadsToTorrents(const SourceEntry& source)
{
    const int torrents = LinksToMagnet | LinksToTorrent;
    if (source.links & torrents)
        return true;
    const SourceEntry* resolver = resolverOf(source);
    return resolver && (resolver->links & torrents);
}

QList<FeedIndexer> feedIndexers(bool agreementAccepted)
{
    FeedIndexer all;
    all.id = QLatin1String(kAllIndexer);
    all.title = QStringLiteral("Lumorra: every torrent and magnet source");
    QList<FeedIndexer> each;
    QList<const SourceEntry*> recent;
    for (const SourceEntry& s : sourceTable()) {
        if (!s.create || !leadsToTorrents(s) || (s.has(NeedsAgreement) && !agreementAccepted))
            continue;
        if (s.verb == SourceVerb::List)
            recent << &s;
        if (s.verb != SourceVerb::Search)
            continue;
        all.sources << &s;
        FeedIndexer one;
        one.id = s.id;
        one.title = QStringLiteral("Lumorra: ") + s.summary;
        one.sources = {&s};
        each << one;
    }
    all.recent = recent;
    for (FeedIndexer& one : each)
        one.recent = recent;
    return QList<FeedIndexer>{all} + each;
}

FeedIndexer findIndexer(const QString& id, bool agreementAccepted)
{
    for (const FeedIndexer& i : feedIndexers(agreementAccepted))
        if (i.id == id)
            return i;
    return {};
}

} // namespace lumorra::feed
