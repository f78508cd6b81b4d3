#include "sources/video/qvod_film_parse.h"

#include "text/cut.h"
#include "text/preg.h"

namespace lumorra {

namespace {

const QString kListStart = QStringLiteral("<div class=\"mlist\"> <ul>");
const QString kTitle = QStringLiteral("c_contentcj\">");
const QString kDetailLink = QStringLiteral("c_contentcj\"><a href=\"/content/detail_");
const QString kPoster = QStringLiteral("<!--海报开始--><img src=\"");
const QString kAddressTable = QStringLiteral("<table cellpadding=\"0\" cellspacing=\"0\" border=\"0\"><tr><td>");

// The text of one address block, or nothing when the page has no such block.
std::optional<QString> addressBlock(const CutPage& page, const QString& comment)
{
    const QString marker = comment + kAddressTable;
    if (!page.hasPiece(marker, 1))
        return std::nullopt;
    return page.piece(marker, 1).upToFirstCharOf(u"</td>").erase(u'<').str();
}

} // namespace

QString qvodFilmChannelUrl(const QString& base, int page)
{
    return base + QStringLiteral("/channel/list_0_") + QString::number(page) + QStringLiteral(".html");
}

QList<QvodFilmRow> cutQvodFilmRows(const CutPage& page, const QString& base, int wanted)
{
    QList<QvodFilmRow> rows;
    if (wanted <= 0)
        return rows;

    // The list block from its opening marker to the first "</ul>", its links
    // taken out so that each title follows its marker directly.
    QString block;
    const qsizetype start = page.text().indexOf(kListStart);
    if (start >= 0) {
        const Cut listed = Cut(page.text().mid(start)).upToFirstCharOf(u"</ul>");
        block = preg(listed.str(), QStringLiteral("</?a[^<>]*>"), QString());
    }
    const CutPage titles(block);

    const qsizetype records = qMax(titles.count(kTitle), page.count(kDetailLink));
    const int n = int(qMin<qsizetype>(wanted, records));
    const QString detailPrefix = base + QStringLiteral("/content/detail_");
    rows.reserve(n);
    for (int i = 1; i <= n; ++i) {
        QvodFilmRow r;
        if (titles.hasPiece(kTitle, i))
            r.title = titles.piece(kTitle, i).upToFirstCharOf(u"</div>").erase(u'<');
        if (page.hasPiece(kDetailLink, i)) {
            // A link without its closing quote gives the bare prefix.
            r.detailUrl = page.piece(kDetailLink, i).before(u'"').prefix(detailPrefix);
        }
        rows.append(std::move(r));
    }
    return rows;
}

QvodFilmDetail cutQvodFilmDetail(const QString& text, const QString& base)
{
    const CutPage page(text);
    QvodFilmDetail d;
    if (page.hasPiece(kPoster, 1)) {
        const Cut path = page.piece(kPoster, 1).before(u'"');
        if (!path.isEmpty())
            d.posterUrl = base + path.str();
    }
    d.thunder = addressBlock(page, QStringLiteral("<!--迅播高清1地址开始-->"));
    d.baidu = addressBlock(page, QStringLiteral("<!--百度影音5地址开始-->"));
    d.qq = addressBlock(page, QStringLiteral("<!--ＱＱ影音2地址开始-->"));
    d.qvod = addressBlock(page, QStringLiteral("<!--快播资源4地址开始-->"));
    return d;
}

ListRow listRow(int number, const QvodFilmRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.title).set(QStringLiteral("dz"), row.detailUrl);
    return r;
}

} // namespace lumorra
