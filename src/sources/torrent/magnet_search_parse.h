#pragma once
// The two magnet search channels of ListView19: their search URLs, the
// no-result pages, the hit counts, and the fields cut from a result page
// (MagnetSiteA) or from a result list plus one detail page per hit
// (MagnetSiteB), each by its site's definition (without one: the shipped
// definition of the channel's site). No widgets: the controller feeds these
// with fetched pages.
#include "core/list_row.h"

#include <QList>
#include <QString>
#include <QtGlobal>

namespace lumorra {

class CutPage;
struct SiteDefinition;

// The channels of Combo1, by item index.
enum class MagnetChannel { SiteA = 0, SiteB = 1 };

struct MagnetRow {
    QString name;
    QString date;
    QString size;
    QString magnet;
};

// One hit of a MagnetSiteB result list; its magnet link is on its detail page.
struct MagnetSiteBHit {
    QString name;
    QString date;
    QString detailUrl;   // base + the hit's href; empty when the hit has no link
};

// The ListView19 row of a hit: mc name, cl magnet link, dx size, fb date.
ListRow listRow(int number, const MagnetRow& row);

// MagnetSiteA: base + "/?s=" + keyword + "&p=" + page.
// MagnetSiteB: base + "/search/" + keyword + "?page=" + page.
// `encodedKeyword` is already escaped.
QString magnetSearchUrl(MagnetChannel channel, const QString& base, const QString& encodedKeyword,
                        qint16 page);
QString magnetSearchUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword,
                        qint16 page);

// The site's own "nothing found" page.
bool isMagnetNoResult(MagnetChannel channel, const QString& page);
bool isMagnetNoResult(const SiteDefinition& def, const QString& page);

// The record marker of each channel: one hit per occurrence. The pending
// count is 16 bits wide and stops at 32767.
QString magnetHitMarker(MagnetChannel channel);
qint16 countMagnetHits(MagnetChannel channel, const QString& page);
qint16 countMagnetHits(const SiteDefinition& def, const QString& page);

// The size column of every MagnetSiteB row: the list page does not tell.
QString magnetSiteBSizeText();   // "未知"

// Rows 1..hits of a MagnetSiteA page, no more than the page holds file
// lists. A field whose piece the hit does not hold is empty. The magnet link
// is the metadata link up to its first "&" (its display name and trackers
// dropped); a link without "&" is kept whole.
QList<MagnetRow> cutMagnetSiteARows(const CutPage& page, int hits);
QList<MagnetRow> cutMagnetSiteARows(const SiteDefinition& def, const CutPage& page, int hits);

// Hits 1..hits of a MagnetSiteB result list, no more than the page holds
// name blocks. The name is the anchor's text with its a and font tags
// removed.
QList<MagnetSiteBHit> cutMagnetSiteBHits(const CutPage& page, const QString& base, int hits);
QList<MagnetSiteBHit> cutMagnetSiteBHits(const SiteDefinition& def, const CutPage& page, const QString& base,
                                         int hits);

// The magnet link of a MagnetSiteB detail page; empty when it has none.
QString magnetSiteBDetailLink(const QString& detailPage);
QString magnetSiteBDetailLink(const SiteDefinition& def, const QString& detailPage);

// The row of a MagnetSiteB hit once its detail page is read: the hit's name
// and date, the size magnetSiteBSizeText(), and the page's magnet link (empty
// when the page did not come: an empty `detailPage`).
MagnetRow magnetSiteBRow(const MagnetSiteBHit& hit, const QString& detailPage);
MagnetRow magnetSiteBRow(const SiteDefinition& def, const MagnetSiteBHit& hit, const QString& detailPage);

} // namespace lumorra
