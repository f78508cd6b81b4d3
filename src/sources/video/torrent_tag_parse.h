#pragma once
// TorrentTagSite: the tag page URL, its rows, and the info hash of a
// torrent's page, by the site's definition (without one: the shipped
// definition's).
#include "core/list_row.h"

#include <QList>
#include <QString>

namespace lumorra {

class CutPage;
struct SiteDefinition;

// base + "/tags/" + keyword + "/".
QString torrentTagUrl(const QString& base, const QString& encodedKeyword);
QString torrentTagUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword);

// A tag page lists torrents when it holds the row marker "subject".
bool hasTorrentTagRecords(const QString& page);
int countTorrentTagHits(const QString& page);
bool hasTorrentTagRecords(const SiteDefinition& def, const QString& page);
int countTorrentTagHits(const SiteDefinition& def, const QString& page);

struct TorrentTagRow {
    QString title;
    QString pageUrl;     // the torrent's page, as the link gives it
    QString size;
};

// The ListView20 row of a torrent: mc title, dz torrent page, dx size.
ListRow listRow(int number, const TorrentTagRow& row);

// Rows 1 … `wanted` of a tag page in page order, no more than it holds.
QList<TorrentTagRow> cutTorrentTagRows(const CutPage& page, int wanted);
QList<TorrentTagRow> cutTorrentTagRows(const SiteDefinition& def, const CutPage& page, int wanted);

// The size cell's text without its markup; a size of nothing at all
// ("0 B") is shown blank.
QString torrentTagSize(const QString& cellText);
QString torrentTagSize(const SiteDefinition& def, const QString& cellText);

// The info hash a torrent page quotes in its blockquote; empty when none.
QString cutTorrentInfoHash(const QString& page);
QString cutTorrentInfoHash(const SiteDefinition& def, const QString& page);
// "magnet:?xt=urn:btih:" + hash.
QString magnetOfInfoHash(const QString& hash);
QString magnetOfInfoHash(const SiteDefinition& def, const QString& hash);

} // namespace lumorra
