#pragma once
// TorrentRssSite: the feed URL, the item count and the rows of one feed.
#include "core/list_row.h"

#include <QList>
#include <QString>
#include <QtGlobal>

namespace lumorra {

class CutPage;
struct SiteDefinition;

struct TorrentRssRow {
    QString title;
    QString size;        // as the feed writes it after "Size:", blanks included
    QString torrentUrl;  // the enclosure's url
    QString date;        // the pubDate text
};

// The ListView4 row of an item: mc title, dx size, zzdz torrent file, rq date.
ListRow listRow(int number, const TorrentRssRow& row);

// base + "/rss/" + keyword + "/" (already escaped keyword).
QString torrentRssUrl(const QString& base, const QString& encodedKeyword);
QString torrentRssUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword);

// One item per character-data title.
QString torrentRssHitMarker();   // "<title><![CDATA["
// The pending-item counter is 16 bits wide: it stops at 32767.
qint16 countTorrentRssHits(const QString& feed);
qint16 countTorrentRssHits(const SiteDefinition& def, const QString& feed);

// Items 1..hits, no more than the feed holds titles. Each field has its own
// numbering in the feed; a field whose i-th piece the feed does not hold is
// empty.
QList<TorrentRssRow> cutTorrentRssRows(const CutPage& feed, int hits);
QList<TorrentRssRow> cutTorrentRssRows(const SiteDefinition& def, const CutPage& feed, int hits);

} // namespace lumorra
