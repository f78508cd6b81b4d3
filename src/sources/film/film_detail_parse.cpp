#include "sources/film/film_detail_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

namespace lumorra {

FilmDetail cutFilmDetail(const SiteDefinition& def, const QString& postText)
{
    const Cut post(postText);
    auto field = [&](const char* key) { return def.field(QLatin1String(key)).cutText(post); };
    FilmDetail d;
    d.poster = field("poster");
    const QString layoutB = def.text(QStringLiteral("layout-b-mark"));
    d.layoutB = !layoutB.isEmpty() && postText.contains(layoutB);
    d.description = field(d.layoutB ? "description-b" : "description-a");
    d.synopsis = field(d.layoutB ? "synopsis-b" : "synopsis-a");
    d.firstAddress = field("first-address");
    const QString second = field("second-address");
    // Without a second link there is nothing to open: the scheme alone is
    // no address.
    if (!second.isEmpty())
        d.secondAddress = def.text(QStringLiteral("second-address-scheme")) + second;
    return d;
}

FilmDetail cutFilmDetail(const QString& postText)
{
    return cutFilmDetail(siteDefinition(QStringLiteral("bt-board")), postText);
}

bool isReadable(const SiteDefinition& def, const FilmDetail& detail)
{
    return !QString(detail.description).remove(def.text(QStringLiteral("name-field"))).isEmpty();
}

bool isReadable(const FilmDetail& detail)
{
    return isReadable(siteDefinition(QStringLiteral("bt-board")), detail);
}

} // namespace lumorra
