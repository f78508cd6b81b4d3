#include "sources/film/film_listing_engines.h"

#include "sources/film/film_list_parse.h"
#include "text/cut.h"

namespace lumorra {

namespace {

ListRow linkRow(const QString& link)
{
    ListRow row(rowNumber(1));
    row.set(QStringLiteral("dz"), link);
    return row;
}

} // namespace

QString filmListingDoneText() { return QStringLiteral("获取完毕.."); }
QString filmListingEmptyText() { return QStringLiteral("获取完毕..本页没有资源记录"); }
QString filmLinkDoneText() { return QStringLiteral("种子地址已解析.."); }

QString filmLinkFailedText(const FetchResult& result)
{
    if (!result.hasPage())
        return QStringLiteral("种子地址解析失败(") + pageFailureText(result) + QStringLiteral("),请稍后再试..");
    return QStringLiteral("种子地址解析失败(页面中没有下载地址)..");
}

// ---------------------------------------------------------------------------

FilmListingEngine::FilmListingEngine(QObject* parent) : PageEngine(parent)
{
    setSite(QStringLiteral("film-list"));
}

QString FilmListingEngine::addressFor(const SourceRequest& request) const
{
    return filmCategoryIndexUrl(definition(), siteBase(), request.variant);
}

void FilmListingEngine::takePage(const FetchResult& page)
{
    const QList<FilmListRow> films =
        cutFilmListRows(definition(), CutPage(page.text), siteBase(), request().variant);
    addRows(numberedInOrder(films));
    // A status for every ending, so that a failure shown earlier does not
    // stand beside the rows of a later listing.
    if (films.isEmpty()) {
        say(filmListingEmptyText());
        finishNone(filmListingEmptyText());
        return;
    }
    say(filmListingDoneText());
    finishRows();
}

// ---------------------------------------------------------------------------

FilmLinkEngine::FilmLinkEngine(QObject* parent) : PageEngine(parent)
{
    setSite(QStringLiteral("film-list"));
}

QString FilmLinkEngine::addressFor(const SourceRequest& request) const
{
    return request.address;
}

QString FilmLinkEngine::startText() const
{
    return QStringLiteral("正在解析..请稍等..");
}

void FilmLinkEngine::takePage(const FetchResult& page)
{
    const QString link = filmDownloadLink(definition(), page.text);
    if (link.isEmpty()) {
        // A page without a download cell is an answer, not a missing page:
        // nothing to list, and the status says why.
        const QString why = filmLinkFailedText(page);
        say(why);
        finishNone(why);
        return;
    }
    addRows({linkRow(link)});
    say(filmLinkDoneText());
    finishRows();
}

void FilmLinkEngine::pageMissing(const FetchResult& result)
{
    failPage(result, filmLinkFailedText(result));
}

} // namespace lumorra
