#include "sources/video/torrent_tag_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

namespace lumorra {

namespace {

const QString kSite = QStringLiteral("torrent-tag");

const SiteDefinition& shipped()
{
    return siteDefinition(kSite);
}

} // namespace

QString torrentTagUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword)
{
    return def.url(QStringLiteral("search"), {{QStringLiteral("base"), base}, {QStringLiteral("keyword"), encodedKeyword}});
}

QString torrentTagUrl(const QString& base, const QString& encodedKeyword)
{
    return torrentTagUrl(shipped(), base, encodedKeyword);
}

bool hasTorrentTagRecords(const SiteDefinition& def, const QString& page)
{
    return !def.record.isEmpty() && page.contains(def.record);
}

bool hasTorrentTagRecords(const QString& page)
{
    return hasTorrentTagRecords(shipped(), page);
}

int countTorrentTagHits(const SiteDefinition& def, const QString& page)
{
    return int(findOccurrences(page, def.record).size());
}

int countTorrentTagHits(const QString& page)
{
    return countTorrentTagHits(shipped(), page);
}

QString torrentTagSize(const SiteDefinition& def, const QString& cellText)
{
    const QString size = def.field(QStringLiteral("size-text")).cutText(Cut(cellText));
    // Only a size of exactly nothing is blanked: "10 B" keeps its digits.
    const QString zero = def.text(QStringLiteral("zero-size"));
    return !zero.isEmpty() && size.trimmed() == zero ? QString() : size;
}

QString torrentTagSize(const QString& cellText)
{
    return torrentTagSize(shipped(), cellText);
}

QList<TorrentTagRow> cutTorrentTagRows(const SiteDefinition& def, const CutPage& page, int wanted)
{
    QList<TorrentTagRow> rows;
    const int n = int(qMin<qsizetype>(qMax(wanted, 0), def.record.isEmpty() ? 0 : page.count(def.record)));
    rows.reserve(n);
    const FieldCut& rowCut = def.field(QStringLiteral("row"));
    const FieldCut& link = def.field(QStringLiteral("dz"));
    const FieldCut& title = def.field(QStringLiteral("mc"));
    const FieldCut& sizeCell = def.field(QStringLiteral("dx"));
    for (int i = 1; i <= n; ++i) {
        // The other fields are cut out of the row, not out of the page.
        const Cut row(rowCut.cut(page, i));
        TorrentTagRow r;
        r.pageUrl = link.cutText(row);
        r.title = title.cutText(row);
        // A row without a size cell shows none, not even a cleaned-up blank.
        const Cut size = sizeCell.apply(row, 1, QString());
        if (size.found())
            r.size = torrentTagSize(def, size.str());
        rows.append(std::move(r));
    }
    return rows;
}

QList<TorrentTagRow> cutTorrentTagRows(const CutPage& page, int wanted)
{
    return cutTorrentTagRows(shipped(), page, wanted);
}

QString cutTorrentInfoHash(const SiteDefinition& def, const QString& page)
{
    return def.field(QStringLiteral("hash")).cutText(Cut(page));
}

QString cutTorrentInfoHash(const QString& page)
{
    return cutTorrentInfoHash(shipped(), page);
}

QString magnetOfInfoHash(const SiteDefinition& def, const QString& hash)
{
    return def.url(QStringLiteral("magnet"), {{QStringLiteral("hash"), hash}});
}

QString magnetOfInfoHash(const QString& hash)
{
    return magnetOfInfoHash(shipped(), hash);
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
