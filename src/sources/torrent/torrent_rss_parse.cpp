#include "sources/torrent/torrent_rss_parse.h"

#include "text/cut.h"

#include <limits>

namespace lumorra {

namespace {

const QString kTitle = QStringLiteral("<title><![CDATA[");
const QString kSize = QStringLiteral("Size:");
const QString kEnclosure = QStringLiteral("<enclosure url=\"");
const QString kPubDate = QStringLiteral("<pubDate>");

// Piece i at `marker`, kept up to the first character of `end`, with every
// `drop` deleted; empty when the feed holds no such piece.
QString field(const CutPage& feed, const QString& marker, int i, QStringView end, QChar drop)
{
    if (!feed.hasPiece(marker, i))
        return {};
    return feed.piece(marker, i).upToFirstCharOf(end).erase(drop);
}

} // namespace

QString torrentRssUrl(const QString& base, const QString& encodedKeyword)
{
    return base + QStringLiteral("/rss/") + encodedKeyword + u'/';
}

QString torrentRssHitMarker()
{
    return kTitle;
}

qint16 countTorrentRssHits(const QString& feed)
{
    const qsizetype n = findOccurrences(feed, kTitle).size();
    return qint16(qMin<qsizetype>(n, std::numeric_limits<qint16>::max()));
}

QList<TorrentRssRow> cutTorrentRssRows(const CutPage& feed, int hits)
{
    QList<TorrentRssRow> rows;
    // Only items the feed really holds become rows.
    hits = int(qMin<qsizetype>(hits, feed.count(kTitle)));
    if (hits <= 0)
        return rows;
    rows.reserve(hits);
    for (int i = 1; i <= hits; ++i) {
        TorrentRssRow r;
        // "a]b]]" keeps "a]b" up to the first "]" of "]]", then loses every "]".
        r.title = field(feed, kTitle, i, u"]]", u']');
        r.size = field(feed, kSize, i, u"</b>", u'<');
        r.torrentUrl = field(feed, kEnclosure, i, u"\"", u'"');
        r.date = field(feed, kPubDate, i, u"</pubDate>", u'<');
        rows.append(std::move(r));
    }
    return rows;
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
