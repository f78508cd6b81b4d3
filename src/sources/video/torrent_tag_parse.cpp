#include "sources/video/torrent_tag_parse.h"

#include "text/cut.h"
#include "text/preg.h"

namespace lumorra {

namespace {
const QString kRow = QStringLiteral("subject");
} // namespace

QString torrentTagUrl(const QString& base, const QString& encodedKeyword)
{
    return base + QStringLiteral("/tags/") + encodedKeyword + QStringLiteral("/");
}

bool hasTorrentTagRecords(const QString& page)
{
    return page.contains(kRow);
}

int countTorrentTagHits(const QString& page)
{
    return int(findOccurrences(page, kRow).size());
}

QString torrentTagSize(const QString& cellText)
{
    const QString size = Cut(cellText).erase(u'<').erase(u'>').erase(u'"').str();
    // Only a size of exactly nothing is blanked: "10 B" keeps its digits.
    return size.trimmed() == QStringLiteral("0 B") ? QString() : size;
}

QList<TorrentTagRow> cutTorrentTagRows(const CutPage& page, int wanted)
{
    QList<TorrentTagRow> rows;
    const int n = int(qMin<qsizetype>(qMax(wanted, 0), page.count(kRow)));
    rows.reserve(n);
    for (int i = 1; i <= n; ++i) {
        const Cut row = page.piece(kRow, i).upToFirstCharOf(u"</td>");
        TorrentTagRow r;
        r.pageUrl = row.piece(u"<a href=\"", 1).before(u'"');
        r.title = row.piece(u"title=\"", 1).before(u'"');
        const Cut size = row.piece(u"#FF6347", 1).upToFirstCharOf(u"<");
        if (size.found())
            r.size = torrentTagSize(size.str());
        rows.append(std::move(r));
    }
    return rows;
}

QString cutTorrentInfoHash(const QString& page)
{
    const Cut quoted = Cut(page).piece(u"<blockquote>", 1);
    if (!quoted.found())
        return {};
    const QString withoutParagraphs = preg(quoted.str(), QStringLiteral("</?p[^<>]*>"), QString());
    return Cut(withoutParagraphs).upToFirstCharOf(u"</blockquote>").erase(u'<');
}

QString magnetOfInfoHash(const QString& hash)
{
    return QStringLiteral("magnet:?xt=urn:btih:") + hash;
}

ListRow listRow(int number, const TorrentTagRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.title)
        .set(QStringLiteral("dz"), row.pageUrl)
        .set(QStringLiteral("dx"), row.size);
    return r;
}

} // namespace lumorra
