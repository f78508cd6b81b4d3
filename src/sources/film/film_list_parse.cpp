#include "sources/film/film_list_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

namespace lumorra {

namespace {

const QString kSite = QStringLiteral("film-list");

// A film link's marker and prefix name the category's own path: {links}
// stands for that path (the categories table's), {base} is left for the cut.
FieldCut forCategory(const FieldCut& field, const QString& linkPath)
{
    FieldCut out = field;
    const QHash<QString, QString> values{{QStringLiteral("links"), linkPath}};
    for (CutStep& step : out.steps)
        step.text = fillTemplate(step.text, values);
    return out;
}

} // namespace

FilmCategoryPaths filmCategoryPaths(const SiteDefinition& def, int index)
{
    const QList<TableRow> categories = def.table(QStringLiteral("categories"));
    if (index < 0 || index >= categories.size())
        return {};
    const TableRow& row = categories.at(index);
    return {row.value(QStringLiteral("index")).value(0), row.value(QStringLiteral("links")).value(0)};
}

FilmCategoryPaths filmCategoryPaths(int index)
{
    return filmCategoryPaths(siteDefinition(kSite), index);
}

QString filmCategoryIndexUrl(const SiteDefinition& def, const QString& base, int index)
{
    const QString indexPath = filmCategoryPaths(def, index).indexPath;
    return def.url(QStringLiteral("category"), {{QStringLiteral("base"), base}, {QStringLiteral("index"), indexPath}});
}

QString filmCategoryIndexUrl(const QString& base, int index)
{
    return filmCategoryIndexUrl(siteDefinition(kSite), base, index);
}

QList<FilmListRow> cutFilmListRows(const SiteDefinition& def, const CutPage& page, const QString& base,
                                   int index)
{
    const FilmCategoryPaths paths = filmCategoryPaths(def, index);
    const FieldCut link = forCategory(def.field(QStringLiteral("zzdz")), paths.linkPath);
    const FieldCut& title = def.field(QStringLiteral("mc"));
    const int rows = int(qMin<qsizetype>(kFilmListMaxRows, page.count(def.record)));
    QList<FilmListRow> out;
    out.reserve(rows);
    for (int i = 1; i <= rows; ++i) {
        FilmListRow row;
        row.detailUrl = link.cut(page, i, base);
        row.title = title.cut(page, i, base);
        out.append(std::move(row));
    }
    return out;
}

QList<FilmListRow> cutFilmListRows(const CutPage& page, const QString& base, int index)
{
    return cutFilmListRows(siteDefinition(kSite), page, base, index);
}

QString filmDownloadLink(const SiteDefinition& def, const QString& detailPage)
{
    return def.field(QStringLiteral("dz")).cutText(Cut(detailPage));
}

QString filmDownloadLink(const QString& detailPage)
{
    return filmDownloadLink(siteDefinition(kSite), detailPage);
}

ListRow listRow(int number, const FilmListRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.title).set(QStringLiteral("zzdz"), row.detailUrl);
    return r;
}

} // namespace lumorra
