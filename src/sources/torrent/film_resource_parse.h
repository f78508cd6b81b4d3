#pragma once
// FilmResourceSite: the search URL, the no-result page, the announced film
// count and the rows of one result page.
#include "core/list_row.h"

#include <QList>
#include <QString>

namespace lumorra {

class CutPage;
struct SiteDefinition;

struct FilmResourceRow {
    QString title;
    QString detailUrl;   // base + "/detail.asp?ID=" + id; the id keeps its trailing blank
    QString updated;
    QString region;
};

// The ListView13 row of a film: mc title, zzdz detail page, gx update time,
// bz region.
ListRow listRow(int number, const FilmResourceRow& row);

// base + "/index.asp?keyword=" + escaped keyword + "&page=" + page text.
QString filmResourceSearchUrl(const QString& base, const QString& keyword, const QString& pageText);
QString filmResourceSearchUrl(const SiteDefinition& def, const QString& base, const QString& keyword,
                              const QString& pageText);

// The site's own page for a search without films.
bool isFilmResourceNoResult(const QString& page);
bool isFilmResourceNoResult(const SiteDefinition& def, const QString& page);

// The most films one search lists.
inline constexpr int kFilmResourceMaxRows = 30;

// The count the page announces with "共有 N 部", at most 30. 0 when the page
// announces none, or the announcement is not a number.
int announcedFilmCount(const CutPage& page);
int announcedFilmCount(const SiteDefinition& def, const CutPage& page);

// The films of the page, at most `count`, and no more than the page links
// (a page announcing more films than it lists gives the ones it lists). A
// field whose piece the page does not hold is empty.
QList<FilmResourceRow> cutFilmResourceRows(const CutPage& page, const QString& base, int count);
QList<FilmResourceRow> cutFilmResourceRows(const SiteDefinition& def, const CutPage& page, const QString& base,
                                           int count);

} // namespace lumorra
