#include "sources/film/film_list_parse.h"

#include "text/cut.h"

namespace lumorra {

namespace {

const QString kRowMarker = QStringLiteral("<td height=\"26\">");
const QString kCellEnd = QStringLiteral("padding-left:3px\">&nbsp;</td>");
const QString kTitleMarker = QStringLiteral("class=\"ulink\">");
const QString kDownloadCell = QStringLiteral("#fdfddf\"><a href=\"");

} // namespace

FilmCategoryPaths filmCategoryPaths(int index)
{
    switch (index) {
    case 0: return {QStringLiteral("/html/gndy/dyzz/index.html"), QStringLiteral("/html/gndy/dyzz/")};
    case 1: return {QStringLiteral("/html/gndy/china/index.html"), QStringLiteral("/html/gndy/")};
    // The site files its western films under the newest-films path.
    case 2: return {QStringLiteral("/html/gndy/oumei/index.html"), QStringLiteral("/html/gndy/dyzz/")};
    case 3: return {QStringLiteral("/html/tv/hytv/index.html"), QStringLiteral("/html/tv/hytv/")};
    case 4: return {QStringLiteral("/html/tv/rihantv/index.html"), QStringLiteral("/html/tv/rihantv/")};
    case 5: return {QStringLiteral("/html/dongman/index.html"), QStringLiteral("/html/dongman/")};
    default: return {};
    }
}

QString filmCategoryIndexUrl(const QString& base, int index)
{
    return base + filmCategoryPaths(index).indexPath;
}

QList<FilmListRow> cutFilmListRows(const CutPage& page, const QString& base, int index)
{
    const FilmCategoryPaths paths = filmCategoryPaths(index);
    const QString linkMarker = QStringLiteral("<a href=\"") + paths.linkPath;
    const QString prefix = base + paths.linkPath;
    const int rows = int(qMin<qsizetype>(kFilmListMaxRows, page.count(kRowMarker)));
    QList<FilmListRow> out;
    out.reserve(rows);
    for (int i = 1; i <= rows; ++i) {
        const Cut cell = page.piece(kRowMarker, i).upToFirstCharOf(kCellEnd);
        FilmListRow row;
        row.detailUrl = cell.piece(linkMarker, 1).upToFirstCharOf(u"\"").erase(u'"').str().prepend(prefix);
        row.title = cell.piece(kTitleMarker, 1).upToFirstCharOf(u"</a>").erase(u'<');
        out.append(std::move(row));
    }
    return out;
}

QString filmDownloadLink(const QString& detailPage)
{
    return Cut(detailPage).piece(kDownloadCell, 1).upToFirstCharOf(u"\">").erase(u'"');
}

ListRow listRow(int number, const FilmListRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.title).set(QStringLiteral("zzdz"), row.detailUrl);
    return r;
}

} // namespace lumorra
