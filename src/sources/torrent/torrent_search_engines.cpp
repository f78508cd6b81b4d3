#include "sources/torrent/torrent_search_engines.h"

#include "net/site_config.h"
#include "net/url_encoding.h"
#include "sources/torrent/film_resource_parse.h"
#include "sources/torrent/torrent_index_parse.h"
#include "sources/torrent/torrent_rss_parse.h"
#include "text/memory_release.h"

namespace lumorra {

QString searchingText() { return QStringLiteral("正在进行搜索..."); }
QString searchDoneText() { return QStringLiteral("搜索完毕.."); }
QString searchNotFoundText() { return QStringLiteral("未找到相关资源.."); }

// ---------------------------------------------------------------------------

CountedSearchEngine::CountedSearchEngine(const Pacing& pacing, const StepTimer& cutTimer,
                                         const StepTimer& notFoundTimer, QObject* parent)
    : PageEngine(parent),
      m_steps(new CountThenCut(pacing, cutTimer, notFoundTimer, this, [this](int hits) { cut(hits); },
                               [this] { judge(); }))
{
    // The memory release empties the pages no search needs any more; a
    // search whose page is in but not yet cut keeps it and its steps.
    m_releaseHook = addReleaseHook([this] {
        if (isRunning() && !isFetching())
            m_steps->rearm();
        else
            m_page.clear();
    });
}

CountedSearchEngine::~CountedSearchEngine()
{
    removeReleaseHook(m_releaseHook);
}

QString CountedSearchEngine::refusalOf(const SourceRequest& request) const
{
    return request.keyword.isEmpty() ? QStringLiteral("请输入您要搜索的关键字..") : QString();
}

QString CountedSearchEngine::startText() const
{
    return searchingText();
}

void CountedSearchEngine::takePage(const FetchResult& page)
{
    m_page.setText(page.text);
    m_steps->counted(countHits(page.text));
}

void CountedSearchEngine::halt()
{
    PageEngine::halt();
    m_steps->stop();
}

void CountedSearchEngine::cut(int hits)
{
    addRows(cutRows(m_page, hits));
    say(searchDoneText());
}

void CountedSearchEngine::judge()
{
    if (rowCount() == 0)
        say(searchNotFoundText());
    finishRows();
}

// ---------------------------------------------------------------------------

TorrentIndexEngine::TorrentIndexEngine(const Pacing& pacing, QObject* parent)
    : CountedSearchEngine(pacing, {QStringLiteral("Timer3"), 100}, {QStringLiteral("Timer4"), 1000}, parent)
{
    setSite(QStringLiteral("torrent-index"));
}

QString TorrentIndexEngine::addressFor(const SourceRequest& request) const
{
    return torrentIndexSearchUrl(definition(), siteBase(), encodeKeyword(request.keyword), request.page);
}

int TorrentIndexEngine::countHits(const QString& page) const
{
    return countTorrentIndexHits(definition(), page);
}

QList<ListRow> TorrentIndexEngine::cutRows(const CutPage& page, int hits) const
{
    return numberedInOrder(cutTorrentIndexRows(definition(), page, siteBase(), hits));
}

// ---------------------------------------------------------------------------

TorrentRssEngine::TorrentRssEngine(const Pacing& pacing, QObject* parent)
    : CountedSearchEngine(pacing, {QStringLiteral("Timer5"), 100}, {QStringLiteral("Timer6"), 1000}, parent)
{
    setSite(QStringLiteral("torrent-rss"));
}

QString TorrentRssEngine::addressFor(const SourceRequest& request) const
{
    return torrentRssUrl(definition(), siteBase(), encodeKeyword(request.keyword));
}

int TorrentRssEngine::countHits(const QString& page) const
{
    return countTorrentRssHits(definition(), page);
}

QList<ListRow> TorrentRssEngine::cutRows(const CutPage& page, int hits) const
{
    return numberedInOrder(cutTorrentRssRows(definition(), page, hits));
}

void TorrentRssEngine::judge()
{
    say(rowCount() == 0 ? searchNotFoundText() : searchDoneText());
    finishRows();
}

// ---------------------------------------------------------------------------

FilmResourceEngine::FilmResourceEngine(QObject* parent) : PageEngine(parent)
{
    setSite(QStringLiteral("film-resource"));
}

QString FilmResourceEngine::refusalOf(const SourceRequest& request) const
{
    return request.keyword.isEmpty() ? QStringLiteral("请输入关键字...") : QString();
}

QString FilmResourceEngine::startText() const
{
    return QStringLiteral("正在搜索资源，请稍等..");
}

QString FilmResourceEngine::addressFor(const SourceRequest& request) const
{
    return filmResourceSearchUrl(definition(), siteBase(), request.keyword, request.page);
}

void FilmResourceEngine::takePage(const FetchResult& page)
{
    if (isFilmResourceNoResult(definition(), page.text)) {
        const QString none = QStringLiteral("没有找到相关影片资源..");
        say(none);
        finishNone(none);
        return;
    }
    const CutPage cut(page.text);
    addRows(numberedInOrder(
        cutFilmResourceRows(definition(), cut, siteBase(), announcedFilmCount(definition(), cut))));
    say(searchDoneText());
    finishRows();
}

} // namespace lumorra
