#include "sources/torrent/torrent_index_parse.h"

#include "net/url_encoding.h"
#include "text/cut.h"

#include <limits>

namespace lumorra {

namespace {

const QString kNameCell = QStringLiteral("<td class=\"name\">");
const QString kDateCell = QStringLiteral("<td class=\"date\">");
const QString kSizeCell = QStringLiteral("<td class=\"size\">");
const QString kInfo = QStringLiteral("/information/");
const QString kMagnet = QStringLiteral("magnet:");

// A table cell's text: up to the "<" of its "</td>", every "<" dropped
// (other markup inside the cell stays, as the site writes it).
QString cellText(const CutPage& page, const QString& marker, int i)
{
    if (!page.hasPiece(marker, i))
        return {};
    return page.piece(marker, i).upToFirstCharOf(u"</td>").erase(u'<');
}

// The tail of a link up to its closing quote, behind a fixed prefix.
QString linkText(const CutPage& page, const QString& marker, int i, const QString& prefix)
{
    if (!page.hasPiece(marker, i))
        return {};
    return page.piece(marker, i).upToFirstCharOf(u"\"").erase(u'"').prefix(prefix);
}

} // namespace

QString torrentIndexSearchUrl(const QString& base, const QString& encodedKeyword,
                              const QString& pageText)
{
    return base + QStringLiteral("/search/") + encodedKeyword + u'/' + encodeKeyword(pageText);
}

QString torrentIndexHitMarker()
{
    return QStringLiteral("magnet:?");
}

qint16 countTorrentIndexHits(const QString& page)
{
    const qsizetype n = findOccurrences(page, torrentIndexHitMarker()).size();
    return qint16(qMin<qsizetype>(n, std::numeric_limits<qint16>::max()));
}

QList<TorrentIndexRow> cutTorrentIndexRows(const CutPage& page, const QString& base, int hits)
{
    QList<TorrentIndexRow> rows;
    // A record is a magnet link the page holds; a count from another page
    // (or from before the page was released) makes no rows of its own.
    hits = int(qMin<qsizetype>(hits, page.count(torrentIndexHitMarker())));
    if (hits <= 0)
        return rows;
    rows.reserve(hits);
    const QString infoPrefix = base + kInfo;
    for (int i = 1; i <= hits; ++i) {
        TorrentIndexRow r;
        r.name = cellText(page, kNameCell, i);
        r.date = cellText(page, kDateCell, i);
        r.size = cellText(page, kSizeCell, i);
        r.infoUrl = linkText(page, kInfo, i, infoPrefix);
        r.magnet = linkText(page, kMagnet, i, kMagnet);
        rows.append(std::move(r));
    }
    return rows;
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
