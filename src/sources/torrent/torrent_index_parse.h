#pragma once
// TorrentIndexSite: the search URL, the hit count and the rows of one result
// page, by the site's definition (without one: the shipped definition's).
// No widgets: the search handler feeds these with the fetched page.
#include "core/list_row.h"

#include <QList>
#include <QString>
#include <QtGlobal>

namespace lumorra {

class CutPage;
struct SiteDefinition;

struct TorrentIndexRow {
    QString name;
    QString date;
    QString size;
    QString infoUrl;     // base URL + "/information/" + the link's tail
    QString magnet;      // "magnet:" + the link's tail
};

// The ListView2 row of a hit: mc name, dx size, xzdz information page, fhdz
// magnet link, rq date.
ListRow listRow(int number, const TorrentIndexRow& row);

// base + "/search/" + keyword + "/" + page. `encodedKeyword` is already
// escaped (the keyword box keeps it current); the page text is escaped here
// so an odd page box text cannot change the URL's shape.
QString torrentIndexSearchUrl(const QString& base, const QString& encodedKeyword,
                              const QString& pageText);
QString torrentIndexSearchUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword,
                              const QString& pageText);

// The record marker: one hit per occurrence.
QString torrentIndexHitMarker();   // "magnet:?"
// The pending-hit counter is 16 bits wide: it stops at 32767.
qint16 countTorrentIndexHits(const QString& page);
qint16 countTorrentIndexHits(const SiteDefinition& def, const QString& page);

// Rows 1..hits of the page, no more than it holds "magnet:?" links. Each
// field is taken from its own numbering of the page (row i joins the i-th
// name cell, date cell, size cell, information link and magnet link); a
// field whose i-th piece the page does not hold is empty.
QList<TorrentIndexRow> cutTorrentIndexRows(const CutPage& page, const QString& base, int hits);
QList<TorrentIndexRow> cutTorrentIndexRows(const SiteDefinition& def, const CutPage& page, const QString& base,
                                           int hits);

} // namespace lumorra
