#include "sources/torrent/magnet_search_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

#include <limits>

namespace lumorra {

namespace {

const SiteDefinition& definitionOf(MagnetChannel channel)
{
    return siteDefinition(channel == MagnetChannel::SiteA ? QStringLiteral("magnet-a")
                                                          : QStringLiteral("magnet-b"));
}

// The field without its record's own piece, for a caller that cuts that
// piece itself and must know whether the rest of the chain found its text.
FieldCut afterRecordPiece(const FieldCut& field)
{
    FieldCut rest = field;
    if (!rest.recordMarker().isEmpty())
        rest.steps.removeFirst();
    return rest;
}

} // namespace

QString magnetSearchUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword,
                        qint16 page)
{
    return def.url(QStringLiteral("search"), {{QStringLiteral("base"), base},
                                              {QStringLiteral("keyword"), encodedKeyword},
                                              {QStringLiteral("page"), QString::number(page)}});
}

QString magnetSearchUrl(MagnetChannel channel, const QString& base, const QString& encodedKeyword,
                        qint16 page)
{
    return magnetSearchUrl(definitionOf(channel), base, encodedKeyword, page);
}

bool isMagnetNoResult(const SiteDefinition& def, const QString& page)
{
    for (const QString& key : {QStringLiteral("no-result"), QStringLiteral("zero-results")}) {
        const QString text = def.text(key);
        if (!text.isEmpty() && page.contains(text))
            return true;
    }
    return false;
}

bool isMagnetNoResult(MagnetChannel channel, const QString& page)
{
    return isMagnetNoResult(definitionOf(channel), page);
}

QString magnetHitMarker(MagnetChannel channel)
{
    return definitionOf(channel).record;
}

qint16 countMagnetHits(const SiteDefinition& def, const QString& page)
{
    const qsizetype n = findOccurrences(page, def.record).size();
    return qint16(qMin<qsizetype>(n, std::numeric_limits<qint16>::max()));
}

qint16 countMagnetHits(MagnetChannel channel, const QString& page)
{
    return countMagnetHits(definitionOf(channel), page);
}

QString magnetSiteBSizeText()
{
    return QStringLiteral("未知");
}

QList<MagnetRow> cutMagnetSiteARows(const SiteDefinition& def, const CutPage& page, int hits)
{
    QList<MagnetRow> rows;
    hits = int(qMin<qsizetype>(hits, page.count(def.record)));
    if (hits <= 0)
        return rows;
    rows.reserve(hits);
    const FieldCut& name = def.field(QStringLiteral("mc"));
    const FieldCut& size = def.field(QStringLiteral("dx"));
    const FieldCut& date = def.field(QStringLiteral("fb"));
    const FieldCut& magnet = def.field(QStringLiteral("cl"));
    for (int i = 1; i <= hits; ++i) {
        MagnetRow r;
        r.name = name.cut(page, i);
        // A hit without its metadata line gets empty size, date and link,
        // not the metadata of some other hit.
        r.size = size.cut(page, i);
        r.date = date.cut(page, i);
        r.magnet = magnet.cut(page, i);
        rows.append(std::move(r));
    }
    return rows;
}

QList<MagnetRow> cutMagnetSiteARows(const CutPage& page, int hits)
{
    return cutMagnetSiteARows(definitionOf(MagnetChannel::SiteA), page, hits);
}

QList<MagnetSiteBHit> cutMagnetSiteBHits(const SiteDefinition& def, const CutPage& page, const QString& base,
                                         int hits)
{
    QList<MagnetSiteBHit> out;
    hits = int(qMin<qsizetype>(hits, page.count(def.record)));
    if (hits <= 0)
        return out;
    out.reserve(hits);
    const FieldCut& name = def.field(QStringLiteral("mc"));
    const FieldCut& date = def.field(QStringLiteral("fb"));
    // The detail address is the base only when the hit names a link: a
    // chain that did not find its text leaves the hit without one.
    const FieldCut& link = def.field(QStringLiteral("zzdz"));
    const QString linkMarker = link.recordMarker();
    const FieldCut linkRest = afterRecordPiece(link);
    for (int i = 1; i <= hits; ++i) {
        MagnetSiteBHit h;
        h.name = name.cut(page, i, base);
        if (linkMarker.isEmpty() || page.hasPiece(linkMarker, i)) {
            const Cut href = linkMarker.isEmpty() ? linkRest.apply(page.whole(), i, base)
                                                  : linkRest.apply(page.piece(linkMarker, i), i, base);
            if (href.found())
                h.detailUrl = href.str();
        }
        h.date = date.cut(page, i, base);
        out.append(std::move(h));
    }
    return out;
}

QList<MagnetSiteBHit> cutMagnetSiteBHits(const CutPage& page, const QString& base, int hits)
{
    return cutMagnetSiteBHits(definitionOf(MagnetChannel::SiteB), page, base, hits);
}

QString magnetSiteBDetailLink(const SiteDefinition& def, const QString& detailPage)
{
    return def.field(QStringLiteral("cl")).cutText(Cut(detailPage));
}

QString magnetSiteBDetailLink(const QString& detailPage)
{
    return magnetSiteBDetailLink(definitionOf(MagnetChannel::SiteB), detailPage);
}

ListRow listRow(int number, const MagnetRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.name)
        .set(QStringLiteral("cl"), row.magnet)
        .set(QStringLiteral("dx"), row.size)
        .set(QStringLiteral("fb"), row.date);
    return r;
}

MagnetRow magnetSiteBRow(const SiteDefinition& def, const MagnetSiteBHit& hit, const QString& detailPage)
{
    return {hit.name, hit.date, magnetSiteBSizeText(),
            detailPage.isEmpty() ? QString() : magnetSiteBDetailLink(def, detailPage)};
}

MagnetRow magnetSiteBRow(const MagnetSiteBHit& hit, const QString& detailPage)
{
    return magnetSiteBRow(definitionOf(MagnetChannel::SiteB), hit, detailPage);
}

} // namespace lumorra
