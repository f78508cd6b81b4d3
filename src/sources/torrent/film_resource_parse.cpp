#include "sources/torrent/film_resource_parse.h"

#include "net/url_encoding.h"
#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

#include <cmath>

namespace lumorra {

namespace {

const QString kSite = QStringLiteral("film-resource");

} // namespace

QString filmResourceSearchUrl(const SiteDefinition& def, const QString& base, const QString& keyword,
                              const QString& pageText)
{
    return def.url(QStringLiteral("search"), {{QStringLiteral("base"), base},
                                              {QStringLiteral("keyword"), encodeKeyword(keyword)},
                                              {QStringLiteral("page"), encodeKeyword(pageText)}});
}

QString filmResourceSearchUrl(const QString& base, const QString& keyword, const QString& pageText)
{
    return filmResourceSearchUrl(siteDefinition(kSite), base, keyword, pageText);
}

bool isFilmResourceNoResult(const SiteDefinition& def, const QString& page)
{
    const QString text = def.text(QStringLiteral("no-result"));
    return !text.isEmpty() && page.contains(text);
}

bool isFilmResourceNoResult(const QString& page)
{
    return isFilmResourceNoResult(siteDefinition(kSite), page);
}

int announcedFilmCount(const SiteDefinition& def, const CutPage& page)
{
    const Cut text = def.field(QStringLiteral("count")).apply(page.whole(), 1, QString());
    if (!text.found())
        return 0;
    // The site writes the number with blanks around it ("共有 45 部").
    bool ok = false;
    const double n = text.str().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(n) || n < 1)
        return 0;
    return n > kFilmResourceMaxRows ? kFilmResourceMaxRows : int(std::floor(n));
}

int announcedFilmCount(const CutPage& page)
{
    return announcedFilmCount(siteDefinition(kSite), page);
}

QList<FilmResourceRow> cutFilmResourceRows(const SiteDefinition& def, const CutPage& page, const QString& base,
                                           int count)
{
    QList<FilmResourceRow> rows;
    const int films = int(qMin<qsizetype>(qMin(count, kFilmResourceMaxRows), page.count(def.record)));
    if (films <= 0)
        return rows;
    rows.reserve(films);
    const FieldCut& title = def.field(QStringLiteral("mc"));
    const FieldCut& detail = def.field(QStringLiteral("zzdz"));
    const FieldCut& updated = def.field(QStringLiteral("gx"));
    const FieldCut& region = def.field(QStringLiteral("bz"));
    for (int i = 1; i <= films; ++i) {
        FilmResourceRow r;
        r.detailUrl = detail.cut(page, i, base);
        r.updated = updated.cut(page, i, base);
        r.region = region.cut(page, i, base);
        r.title = title.cut(page, i, base);
        rows.append(std::move(r));
    }
    return rows;
}

QList<FilmResourceRow> cutFilmResourceRows(const CutPage& page, const QString& base, int count)
{
    return cutFilmResourceRows(siteDefinition(kSite), page, base, count);
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
