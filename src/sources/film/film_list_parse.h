#pragma once
// FilmListSite: the six category index pages, the films of one index page
// and the download link of a film's detail page, by the site's definition
// (without one: the shipped definition's).
#include "core/list_row.h"

#include <QList>
#include <QString>

namespace lumorra {

class CutPage;
struct SiteDefinition;

inline constexpr int kFilmCategoryCount = 6;
// Only the first table rows of an index page are read.
inline constexpr int kFilmListMaxRows = 25;

struct FilmCategoryPaths {
    QString indexPath;    // "/html/gndy/dyzz/index.html"
    QString linkPath;     // what a film link starts with after <a href=", and the detail URL prefix
};

// The paths of category `index` (0 to 5); empty paths for any other index.
FilmCategoryPaths filmCategoryPaths(int index);
FilmCategoryPaths filmCategoryPaths(const SiteDefinition& def, int index);

QString filmCategoryIndexUrl(const QString& base, int index);
QString filmCategoryIndexUrl(const SiteDefinition& def, const QString& base, int index);

struct FilmListRow {
    QString title;
    QString detailUrl;    // base + link path + the link; the prefix alone when the row has no link
};

// The ListView5 row of a film: mc title, zzdz detail page.
ListRow listRow(int number, const FilmListRow& row);

// One row per table row of the page (at most 25); a row without a title or
// link gets empty fields, never another row's.
QList<FilmListRow> cutFilmListRows(const CutPage& page, const QString& base, int index);
QList<FilmListRow> cutFilmListRows(const SiteDefinition& def, const CutPage& page, const QString& base,
                                   int index);

// The link of the download cell (background #fdfddf) of a detail page; empty
// when the page has none.
QString filmDownloadLink(const QString& detailPage);
QString filmDownloadLink(const SiteDefinition& def, const QString& detailPage);

} // namespace lumorra
