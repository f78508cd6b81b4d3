#include "sources/video/qvod_film_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

namespace lumorra {

namespace {

const QString kSite = QStringLiteral("qvod-film");

// The text of one address block, or nothing when the page has no such block
// (an empty block is still one: its box is emptied).
std::optional<QString> addressBlock(const CutPage& page, const FieldCut& block)
{
    const QString marker = block.recordMarker();
    if (marker.isEmpty() || !page.hasPiece(marker, 1))
        return std::nullopt;
    return block.cut(page, 1);
}

} // namespace

QString qvodFilmChannelUrl(const SiteDefinition& def, const QString& base, int page)
{
    return def.url(QStringLiteral("channel"),
                   {{QStringLiteral("base"), base}, {QStringLiteral("page"), QString::number(page)}});
}

QString qvodFilmChannelUrl(const QString& base, int page)
{
    return qvodFilmChannelUrl(siteDefinition(kSite), base, page);
}

QList<QvodFilmRow> cutQvodFilmRows(const SiteDefinition& def, const CutPage& page, const QString& base, int wanted)
{
    QList<QvodFilmRow> rows;
    if (wanted <= 0)
        return rows;

    const CutPage titles(def.field(QStringLiteral("list-block")).cutText(page.whole()));
    const FieldCut& title = def.field(QStringLiteral("mc"));
    const FieldCut& detail = def.field(QStringLiteral("dz"));

    // Titles and addresses are numbered apart: the page lists as many films
    // as the more numerous of the two.
    const QString titleMarker = title.recordMarker();
    const QString detailMarker = detail.recordMarker();
    const qsizetype records = qMax(titleMarker.isEmpty() ? 0 : titles.count(titleMarker),
                                   detailMarker.isEmpty() ? 0 : page.count(detailMarker));
    const int n = int(qMin<qsizetype>(wanted, records));
    rows.reserve(n);
    for (int i = 1; i <= n; ++i) {
        QvodFilmRow r;
        r.title = title.cut(titles, i, base);
        r.detailUrl = detail.cut(page, i, base);
        rows.append(std::move(r));
    }
    return rows;
}

QList<QvodFilmRow> cutQvodFilmRows(const CutPage& page, const QString& base, int wanted)
{
    return cutQvodFilmRows(siteDefinition(kSite), page, base, wanted);
}

QvodFilmDetail cutQvodFilmDetail(const SiteDefinition& def, const QString& text, const QString& base)
{
    const CutPage page(text);
    QvodFilmDetail d;
    const QString path = def.field(QStringLiteral("poster")).cut(page, 1, base);
    if (!path.isEmpty())
        d.posterUrl = def.url(QStringLiteral("poster"), {{QStringLiteral("base"), base}, {QStringLiteral("path"), path}});
    d.thunder = addressBlock(page, def.field(QStringLiteral("thunder")));
    d.baidu = addressBlock(page, def.field(QStringLiteral("baidu")));
    d.qq = addressBlock(page, def.field(QStringLiteral("qq")));
    d.qvod = addressBlock(page, def.field(QStringLiteral("qvod")));
    return d;
}

QvodFilmDetail cutQvodFilmDetail(const QString& text, const QString& base)
{
    return cutQvodFilmDetail(siteDefinition(kSite), text, base);
}

ListRow listRow(int number, const QvodFilmRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.title).set(QStringLiteral("dz"), row.detailUrl);
    return r;
}

} // namespace lumorra
