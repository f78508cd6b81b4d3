#include "sources/torrent/magnet_search_parse.h"

#include "text/cut.h"
#include "text/preg.h"

#include <limits>

namespace lumorra {

namespace {

// MagnetSiteA: each hit is a file list followed by a metadata line.
const QString kFileList = QStringLiteral("<ul class=\"m-files-ul\">");
const QString kMeta = QStringLiteral("<p class=\"m-meta\">");
const QString kSize = QStringLiteral("大小: ");
const QString kCreated = QStringLiteral("创建时间: ");
const QString kMetaLink = QStringLiteral("<a href=\"");

// MagnetSiteB: each hit is a name block whose anchor follows a font label.
const QString kNameBlock = QStringLiteral("<div class=\"name\">");
const QString kHitAnchor = QStringLiteral("</font><a href=\"");
const QString kPublished = QStringLiteral("<p>发布:");
const QString kDetailLink = QStringLiteral(
    "<a class=\"bnt-0 resource-download-name\"  data-download-type=\"1\" target='blank' href=\"");

const QString kNoResultA = QStringLiteral("没有找到任何结果");
const QString kZeroResults = QStringLiteral("<strong>0</strong>个结果");

// A metadata value: after its label up to the "&" of the "&nbsp;" that ends it.
QString metaValue(const Cut& meta, const QString& label)
{
    return meta.piece(label, 1).upToFirstCharOf(u"&nbsp;").erase(u'&');
}

} // namespace

QString magnetSearchUrl(MagnetChannel channel, const QString& base, const QString& encodedKeyword,
                        qint16 page)
{
    const QString n = QString::number(page);
    if (channel == MagnetChannel::SiteA)
        return base + QStringLiteral("/?s=") + encodedKeyword + QStringLiteral("&p=") + n;
    return base + QStringLiteral("/search/") + encodedKeyword + QStringLiteral("?page=") + n;
}

bool isMagnetNoResult(MagnetChannel channel, const QString& page)
{
    if (channel == MagnetChannel::SiteA && page.contains(kNoResultA))
        return true;
    return page.contains(kZeroResults);
}

QString magnetHitMarker(MagnetChannel channel)
{
    return channel == MagnetChannel::SiteA ? kFileList : kNameBlock;
}

qint16 countMagnetHits(MagnetChannel channel, const QString& page)
{
    const qsizetype n = findOccurrences(page, magnetHitMarker(channel)).size();
    return qint16(qMin<qsizetype>(n, std::numeric_limits<qint16>::max()));
}

QString magnetSiteBSizeText()
{
    return QStringLiteral("未知");
}

QList<MagnetRow> cutMagnetSiteARows(const CutPage& page, int hits)
{
    QList<MagnetRow> rows;
    hits = int(qMin<qsizetype>(hits, page.count(kFileList)));
    if (hits <= 0)
        return rows;
    rows.reserve(hits);
    for (int i = 1; i <= hits; ++i) {
        MagnetRow r;
        r.name = page.piece(kFileList, i)
                     .upToFirstCharOf(u"<span")
                     .erase(u"<li>")
                     .erase(u"\r\n")
                     .erase(u'<');
        // A hit without its metadata line gets empty size, date and link,
        // not the metadata of some other hit.
        if (page.hasPiece(kMeta, i)) {
            const Cut meta = page.piece(kMeta, i).upToFirstCharOf(u"</li>");
            r.size = metaValue(meta, kSize);
            r.date = metaValue(meta, kCreated);
            const Cut link = meta.piece(kMetaLink, 1).upToFirstCharOf(u"\"").erase(u'"');
            // Only the part before the first "&" is the link proper; a link
            // with no "&" has nothing to drop.
            r.magnet = link.view().contains(u'&') ? link.before(u'&').str() : link.str();
        }
        rows.append(std::move(r));
    }
    return rows;
}

QList<MagnetSiteBHit> cutMagnetSiteBHits(const CutPage& page, const QString& base, int hits)
{
    QList<MagnetSiteBHit> out;
    hits = int(qMin<qsizetype>(hits, page.count(kNameBlock)));
    if (hits <= 0)
        return out;
    out.reserve(hits);
    for (int i = 1; i <= hits; ++i) {
        MagnetSiteBHit h;
        if (page.hasPiece(kHitAnchor, i)) {
            const Cut block = page.piece(kHitAnchor, i);
            const Cut anchorBody = block.upToFirstCharOf(u"</a>");
            if (anchorBody.found()) {
                const QString anchor = QStringLiteral("<a href=\"") + anchorBody.str() + QStringLiteral("/a>");
                h.name = preg(preg(anchor, QStringLiteral("</?a[^<>]*>"), QString()),
                              QStringLiteral("</?font[^<>]*>"), QString());
            }
            const Cut href = block.upToFirstCharOf(u"\"");
            if (href.found())
                h.detailUrl = base + href.erase(u'"').str();
        }
        if (page.hasPiece(kPublished, i))
            h.date = page.piece(kPublished, i).upToFirstCharOf(u"</p>").erase(u'<');
        out.append(std::move(h));
    }
    return out;
}

QString magnetSiteBDetailLink(const QString& detailPage)
{
    return Cut(detailPage).piece(kDetailLink, 1).upToFirstCharOf(u"\"").erase(u'"');
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

MagnetRow magnetSiteBRow(const MagnetSiteBHit& hit, const QString& detailPage)
{
    return {hit.name, hit.date, magnetSiteBSizeText(),
            detailPage.isEmpty() ? QString() : magnetSiteBDetailLink(detailPage)};
}

} // namespace lumorra
