#include "sources/torrent/torrent_index_parse.h"

#include "net/url_encoding.h"
#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

#include <limits>

namespace lumorra {

namespace {

const QString kSite = QStringLiteral("torrent-index");

} // namespace

QString torrentIndexSearchUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword,
                              const QString& pageText)
{
    return def.url(QStringLiteral("search"), {{QStringLiteral("base"), base},
                                              {QStringLiteral("keyword"), encodedKeyword},
                                              {QStringLiteral("page"), encodeKeyword(pageText)}});
}

QString torrentIndexSearchUrl(const QString& base, const QString& encodedKeyword, const QString& pageText)
{
    return torrentIndexSearchUrl(siteDefinition(kSite), base, encodedKeyword, pageText);
}

QString torrentIndexHitMarker()
{
    return siteDefinition(kSite).record;
}

qint16 countTorrentIndexHits(const SiteDefinition& def, const QString& page)
{
    const qsizetype n = findOccurrences(page, def.record).size();
    return qint16(qMin<qsizetype>(n, std::numeric_limits<qint16>::max()));
}

qint16 countTorrentIndexHits(const QString& page)
{
    return countTorrentIndexHits(siteDefinition(kSite), page);
}

QList<TorrentIndexRow> cutTorrentIndexRows(const SiteDefinition& def, const CutPage& page, const QString& base,
                                           int hits)
{
    QList<TorrentIndexRow> rows;
    // A record is a magnet link the page holds; a count from another page
    // (or from before the page was released) makes no rows of its own.
    hits = int(qMin<qsizetype>(hits, page.count(def.record)));
    if (hits <= 0)
        return rows;
    rows.reserve(hits);
    const FieldCut& name = def.field(QStringLiteral("mc"));
    const FieldCut& date = def.field(QStringLiteral("rq"));
    const FieldCut& size = def.field(QStringLiteral("dx"));
    const FieldCut& info = def.field(QStringLiteral("xzdz"));
    const FieldCut& magnet = def.field(QStringLiteral("fhdz"));
    for (int i = 1; i <= hits; ++i) {
        TorrentIndexRow r;
        r.name = name.cut(page, i, base);
        r.date = date.cut(page, i, base);
        r.size = size.cut(page, i, base);
        r.infoUrl = info.cut(page, i, base);
        r.magnet = magnet.cut(page, i, base);
        rows.append(std::move(r));
    }
    return rows;
}

QList<TorrentIndexRow> cutTorrentIndexRows(const CutPage& page, const QString& base, int hits)
{
    return cutTorrentIndexRows(siteDefinition(kSite), page, base, hits);
}

ListRow listRow(int number, const TorrentIndexRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.name)
        .set(QStringLiteral("dx"), row.size)
        .set(QStringLiteral("xzdz"), row.infoUrl)
        .set(QStringLiteral("fhdz"), row.magnet)
        .set(QStringLiteral("rq"), row.date);
    return r;
}

} // namespace lumorra
