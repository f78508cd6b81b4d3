#include "sources/torrent/torrent_rss_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

#include <limits>

namespace lumorra {

namespace {

const QString kSite = QStringLiteral("torrent-rss");

} // namespace

QString torrentRssUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword)
{
    return def.url(QStringLiteral("search"), {{QStringLiteral("base"), base}, {QStringLiteral("keyword"), encodedKeyword}});
}

QString torrentRssUrl(const QString& base, const QString& encodedKeyword)
{
    return torrentRssUrl(siteDefinition(kSite), base, encodedKeyword);
}

QString torrentRssHitMarker()
{
    return siteDefinition(kSite).record;
}

qint16 countTorrentRssHits(const SiteDefinition& def, const QString& feed)
{
    const qsizetype n = findOccurrences(feed, def.record).size();
    return qint16(qMin<qsizetype>(n, std::numeric_limits<qint16>::max()));
}

qint16 countTorrentRssHits(const QString& feed)
{
    return countTorrentRssHits(siteDefinition(kSite), feed);
}

QList<TorrentRssRow> cutTorrentRssRows(const SiteDefinition& def, const CutPage& feed, int hits)
{
    QList<TorrentRssRow> rows;
    // Only items the feed really holds become rows.
    hits = int(qMin<qsizetype>(hits, feed.count(def.record)));
    if (hits <= 0)
        return rows;
    rows.reserve(hits);
    const FieldCut& title = def.field(QStringLiteral("mc"));
    const FieldCut& size = def.field(QStringLiteral("dx"));
    const FieldCut& torrent = def.field(QStringLiteral("zzdz"));
    const FieldCut& date = def.field(QStringLiteral("rq"));
    for (int i = 1; i <= hits; ++i) {
        TorrentRssRow r;
        r.title = title.cut(feed, i);
        r.size = size.cut(feed, i);
        r.torrentUrl = torrent.cut(feed, i);
        r.date = date.cut(feed, i);
        rows.append(std::move(r));
    }
    return rows;
}

QList<TorrentRssRow> cutTorrentRssRows(const CutPage& feed, int hits)
{
    return cutTorrentRssRows(siteDefinition(kSite), feed, hits);
}

ListRow listRow(int number, const TorrentRssRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.title)
        .set(QStringLiteral("dx"), row.size)
        .set(QStringLiteral("zzdz"), row.torrentUrl)
        .set(QStringLiteral("rq"), row.date);
    return r;
}

} // namespace lumorra
