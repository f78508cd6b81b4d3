#include "sources/torrent/film_resource_parse.h"

#include "net/url_encoding.h"
#include "text/cut.h"

#include <cmath>

namespace lumorra {

namespace {

const QString kLink = QStringLiteral("<a href=\"detail.asp?ID=");
const QString kDate = QStringLiteral("<td class=\"l6 \">");
const QString kRegion = QStringLiteral("index.asp?RegionID=");
const QString kTotal = QStringLiteral("共有");

} // namespace

QString filmResourceSearchUrl(const QString& base, const QString& keyword, const QString& pageText)
{
    return base + QStringLiteral("/index.asp?keyword=") + encodeKeyword(keyword)
        + QStringLiteral("&page=") + encodeKeyword(pageText);
}

bool isFilmResourceNoResult(const QString& page)
{
    return page.contains(QStringLiteral("没有符合属性的影片"));
}

int announcedFilmCount(const CutPage& page)
{
    if (!page.hasPiece(kTotal, 1))
        return 0;
    const Cut text = page.piece(kTotal, 1).upToFirstCharOf(u"部").erase(u'部');
    if (!text.found())
        return 0;
    // The site writes the number with blanks around it ("共有 45 部").
    bool ok = false;
    const double n = text.str().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(n) || n < 1)
        return 0;
    return n > kFilmResourceMaxRows ? kFilmResourceMaxRows : int(std::floor(n));
}

QList<FilmResourceRow> cutFilmResourceRows(const CutPage& page, const QString& base, int count)
{
    QList<FilmResourceRow> rows;
    const int films = int(qMin<qsizetype>(qMin(count, kFilmResourceMaxRows), page.count(kLink)));
    if (films <= 0)
        return rows;
    rows.reserve(films);
    const QString detailPrefix = base + QStringLiteral("/detail.asp?ID=");
    for (int i = 1; i <= films; ++i) {
        FilmResourceRow r;
        const Cut link = page.piece(kLink, i);
        // The id runs to the first blank after it and keeps that blank.
        r.detailUrl = link.upToFirstCharOf(u" ").erase(u'"').prefix(detailPrefix);
        if (page.hasPiece(kDate, i))
            r.updated = page.piece(kDate, i).upToFirstCharOf(u"</td>").erase(u'<');
        if (page.hasPiece(kRegion, i))
            r.region = page.piece(kRegion, i).upToFirstCharOf(u"</a>").piece(u">", 1).erase(u'<');
        r.title = link.piece(u"title=", 1).upToFirstCharOf(u">").erase(u'>').erase(u'"');
        rows.append(std::move(r));
    }
    return rows;
}

ListRow listRow(int number, const FilmResourceRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.title)
        .set(QStringLiteral("zzdz"), row.detailUrl)
        .set(QStringLiteral("gx"), row.updated)
        .set(QStringLiteral("bz"), row.region);
    return r;
}

} // namespace lumorra
