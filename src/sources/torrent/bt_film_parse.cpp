#include "sources/torrent/bt_film_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

namespace lumorra {

namespace {

const QString kSite = QStringLiteral("emule-index");

} // namespace

QString btFilmPageUrl(const SiteDefinition& def, const QString& base, int page)
{
    if (page == 1)
        return def.url(QStringLiteral("bt-films-first"), {{QStringLiteral("base"), base}});
    return def.url(QStringLiteral("bt-films"), {{QStringLiteral("base"), base}, {QStringLiteral("page"), QString::number(page)}});
}

QString btFilmPageUrl(const QString& base, int page)
{
    return btFilmPageUrl(siteDefinition(kSite), base, page);
}

QList<BtFilm> cutBtFilms(const SiteDefinition& def, const CutPage& page, const QString& base)
{
    const FieldCut& title = def.field(QStringLiteral("bt-film-mc"));
    const FieldCut& address = def.field(QStringLiteral("bt-film-dz"));
    // One film per download link: the title's own record marker.
    const QString link = title.recordMarker();
    const int films = link.isEmpty() ? 0 : int(qMin<qsizetype>(kBtFilmMaxRows, page.count(link)));
    QList<BtFilm> out;
    out.reserve(films);
    for (int i = 1; i <= films; ++i) {
        BtFilm film;
        film.title = title.cut(page, i, base);
        film.address = address.cut(page, i, base);
        out.append(std::move(film));
    }
    return out;
}

QList<BtFilm> cutBtFilms(const CutPage& page, const QString& base)
{
    return cutBtFilms(siteDefinition(kSite), page, base);
}

BtFilmMagnet cutBtFilmMagnet(const SiteDefinition& def, const QString& downloadPage)
{
    const Cut page(downloadPage);
    BtFilmMagnet m;
    m.updated = def.field(QStringLiteral("bt-updated")).cutText(page);
    m.link = def.field(QStringLiteral("bt-magnet")).cutText(page);
    return m;
}

BtFilmMagnet cutBtFilmMagnet(const QString& downloadPage)
{
    return cutBtFilmMagnet(siteDefinition(kSite), downloadPage);
}

ListRow listRow(int number, const BtFilm& film)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), film.title).set(QStringLiteral("dz"), film.address);
    return r;
}

} // namespace lumorra
