#include "sources/video/video_engines.h"

#include "net/url_encoding.h"
#include "sources/definitions/site_definitions.h"
#include "sources/engine/pacing.h"
#include "sources/torrent/film_resource_detail_parse.h"
#include "sources/video/torrent_tag_parse.h"
#include "sources/video/video_texts.h"
#include "text/memory_release.h"
#include "text/number_text.h"

#include <limits>

namespace lumorra {

namespace {

const QString kQvodSearchSite = QStringLiteral("qvod-search");
const QString kQvodFilmSite = QStringLiteral("qvod-film");
const QString kFilmResourceSite = QStringLiteral("film-resource");

QString fetchingText() { return QStringLiteral("正在获取资源中..."); }
QString doneText() { return QStringLiteral("资源获取完毕.."); }
QString resolvingText() { return QStringLiteral("正在解析..请稍等.."); }

ListRow linkRow(int number, const QString& link)
{
    ListRow row(rowNumber(number));
    row.set(QStringLiteral("dz"), link);
    return row;
}

// Three further pages in a row that do not come mean the site has stopped
// answering: waiting out every announced page's time-out (up to 500 of
// them) would hold the search for hours.
constexpr int kMostMissesInARow = 3;

} // namespace

// ---------------------------------------------------------------------------

QvodChannelEngine::QvodChannelEngine(const Pacing& pacing, QObject* parent)
    : PageEngine(parent), m_cutStep(new PacedStep(pacing, QStringLiteral("Timer7"), 100, this, [this] { cut(); }))
{
    setSite(kQvodFilmSite);
    // The memory release stops Timer7; a page that is in but not yet cut
    // gets its cut back, any other page is let go.
    m_releaseHook = addReleaseHook([this] {
        if (isRunning() && m_rowsLeft > 0)
            m_cutStep->arm();
        else
            m_page.clear();
    });
}

QvodChannelEngine::~QvodChannelEngine()
{
    removeReleaseHook(m_releaseHook);
}

QString QvodChannelEngine::addressFor(const SourceRequest& request) const
{
    return qvodFilmChannelUrl(definition(), siteBase(), request.page.toInt());
}

QString QvodChannelEngine::startText() const
{
    return fetchingText();
}

void QvodChannelEngine::takePage(const FetchResult& page)
{
    m_page.setText(page.text);
    m_rowsLeft = kQvodFilmRowsPerPage;
    m_cutStep->arm();
}

void QvodChannelEngine::halt()
{
    PageEngine::halt();
    m_cutStep->disarm();
    m_rowsLeft = 0;
}

void QvodChannelEngine::cut()
{
    m_cutStep->disarm();
    const int n = m_rowsLeft;
    m_rowsLeft = 0;
    const QList<QvodFilmRow> rows = cutQvodFilmRows(definition(), m_page, siteBase(), n);
    addRows(numberedInOrder(rows));
    if (rows.isEmpty()) {
        say(videoEmptyListingText());
        finishNone(videoEmptyListingText());
        return;
    }
    say(doneText());
    finishRows();
}

// ---------------------------------------------------------------------------

QvodCategoryEngine::QvodCategoryEngine(const Pacing& pacing, QObject* parent)
    : PageEngine(parent), m_cutStep(new PacedStep(pacing, QStringLiteral("Timer13"), 100, this, [this] { cut(); }))
{
    setSite(kQvodSearchSite);
    m_releaseHook = addReleaseHook([this] {
        if (isRunning() && m_hits > 0)
            m_cutStep->arm();
        else
            m_page.clear();
    });
}

QvodCategoryEngine::~QvodCategoryEngine()
{
    removeReleaseHook(m_releaseHook);
}

void QvodCategoryEngine::begin(const SourceRequest& request)
{
    m_hits = 0;
    m_page.clear();
    PageEngine::begin(request);
}

QString QvodCategoryEngine::addressFor(const SourceRequest& request) const
{
    return qvodSearchCategoryUrl(definition(), siteBase(), request.page.toInt());
}

QString QvodCategoryEngine::startText() const
{
    return fetchingText();
}

void QvodCategoryEngine::takePage(const FetchResult& page)
{
    // hx6
    m_page.setText(page.text);
    const int n = countQvodSearchCategoryHits(definition(), page.text);
    m_hits = addPendingHits(m_hits, n);
    if (n > 0) {
        m_cutStep->arm();
        return;
    }
    say(videoEmptyListingText());
    finishNone(videoEmptyListingText());
}

void QvodCategoryEngine::halt()
{
    PageEngine::halt();
    m_cutStep->disarm();
    m_hits = 0;
}

void QvodCategoryEngine::cut()
{
    // Timer13_Timer
    m_cutStep->disarm();
    const int n = m_hits;
    const QList<QvodSearchRow> rows =
        cutQvodSearchRows(definition(), m_page, qvodSearchCategoryRowMarker(definition()), siteBase(), n);
    m_hits = qint16(m_hits - n);
    addRows(numberedInOrder(rows));
    say(doneText());
    finishRows();
}

// ---------------------------------------------------------------------------

QvodSearchEngine::QvodSearchEngine(const Pacing& pacing, QObject* parent)
    : PageEngine(parent),
      m_collector(new PacedStep(pacing, QStringLiteral("Timer14"), 100, this, [this] { collectorTick(); }))
{
    setSite(kQvodSearchSite);
    // The memory release stops Timer14. A search between two of its pages
    // gets it back (a page on its way re-arms it when it comes); the pages
    // of a search that has ended are let go.
    m_releaseHook = addReleaseHook([this] {
        if (!isRunning())
            m_joined.clear();
        else if (!isFetching() && !m_pageFetch.isPending() && m_pagesAnnounced > 1)
            m_collector->arm();
    });
}

QvodSearchEngine::~QvodSearchEngine()
{
    removeReleaseHook(m_releaseHook);
}

QString QvodSearchEngine::refusalOf(const SourceRequest& request) const
{
    return request.keyword.isEmpty() ? QStringLiteral("请输入要搜索的关键字 ..") : QString();
}

void QvodSearchEngine::begin(const SourceRequest& request)
{
    m_joined.clear();
    // The collection asks for the keyword the search began with.
    m_keyword = encodeKeyword(request.keyword);
    m_total = 0;
    m_pagesLeft = 0;
    m_pagesAnnounced = 0;
    m_missedPages = 0;
    m_missesInARow = 0;
    m_firstMissReason.clear();
    PageEngine::begin(request);
}

QString QvodSearchEngine::addressFor(const SourceRequest& request) const
{
    return qvodSearchKeywordUrl(definition(), siteBase(), encodeKeyword(request.keyword));
}

QString QvodSearchEngine::startText() const
{
    return fetchingText();
}

void QvodSearchEngine::takePage(const FetchResult& page)
{
    if (isQvodSearchNoResult(definition(), page.text)) {
        const QString none = QStringLiteral("没有搜索到相关资源...");
        say(none);
        finishNone(none);
        return;
    }
    m_joined.setText(page.text);
    m_total = qvodSearchAnnouncedTotal(definition(), m_joined);
    m_pagesLeft = qvodSearchAnnouncedPages(definition(), m_joined);
    m_pagesAnnounced = m_pagesLeft;
    if (m_pagesLeft > 1) {
        report(1, m_pagesAnnounced + 1);
        m_collector->arm();
        return;
    }
    m_pagesLeft = 0;
    cutRows();
}

void QvodSearchEngine::halt()
{
    PageEngine::halt();
    m_pageFetch.cancel();
    m_collector->disarm();
    m_pagesLeft = 0;
    m_pagesAnnounced = 0;
}

void QvodSearchEngine::collectorTick()
{
    // One page per tick, and never a second tick while a page is on its way.
    if (m_pageFetch.isPending()) {
        m_collector->disarm();
        return;
    }
    if (m_pagesLeft != 0) {
        collectNextPage();
        return;
    }
    m_collector->disarm();
    cutRows();
}

void QvodSearchEngine::collectNextPage()
{
    --m_pagesLeft;
    m_collector->disarm();
    const QString url = qvodSearchKeywordPageUrl(definition(), siteBase(), m_keyword, m_pagesLeft);
    m_pageFetch.get(url, fetchMode(), this, [this](const FetchResult& fetched) {
        // Asked for and read as the first page was.
        const FetchResult r = fetched.hasPage() ? decodedFor(definition(), fetched) : fetched;
        // A page that does not come is skipped and the collection goes on:
        // the pages that came are still worth listing. The first reason is
        // kept for the status at the end.
        if (!r.hasPage()) {
            const QString reason = pageFailureText(r);
            if (m_missedPages++ == 0)
                m_firstMissReason = reason;
            warn(QStringLiteral("page skipped: ") + reason + QStringLiteral(" (") + r.url + u')');
            if (++m_missesInARow == kMostMissesInARow && m_pagesLeft > 0) {
                warn(QStringLiteral("%1 more pages not asked for: %2 pages in a row did not come")
                         .arg(m_pagesLeft)
                         .arg(kMostMissesInARow));
                m_missedPages += m_pagesLeft;
                m_pagesLeft = 0;
            }
        } else {
            m_missesInARow = 0;
            m_joined.setText(m_joined.text() + QStringLiteral("\r\n") + r.text);
        }
        report(m_pagesAnnounced - m_pagesLeft, m_pagesAnnounced + 1);
        m_collector->arm();
    });
}

void QvodSearchEngine::cutRows()
{
    const QList<QvodSearchRow> rows =
        cutQvodSearchRows(definition(), m_joined, qvodSearchKeywordRowMarker(definition()), siteBase(), m_total);
    m_pagesAnnounced = 0;
    // Each row goes on top, numbered so that the list reads 1 … n from the
    // top with the page's last result first.
    addRows(numberedFromTheTop(rows));
    // A list short of the missed pages' rows says so.
    say(m_missedPages == 0 ? doneText() : qvodSearchMissedPagesText(m_missedPages, m_firstMissReason));
    finishRows();
}

// ---------------------------------------------------------------------------

TorrentTagEngine::TorrentTagEngine(const Pacing& pacing, QObject* parent)
    : PageEngine(parent), m_cutStep(new PacedStep(pacing, QStringLiteral("Timer8"), 1000, this, [this] { cut(); }))
{
    setSite(QStringLiteral("torrent-tag"));
    // Timer8 survives the memory release and the page it waits for stays.
}

QString TorrentTagEngine::refusalOf(const SourceRequest& request) const
{
    return request.keyword.isEmpty() ? QStringLiteral("请输入要搜索的关键字..") : QString();
}

QString TorrentTagEngine::addressFor(const SourceRequest& request) const
{
    return torrentTagUrl(definition(), siteBase(), encodeKeyword(request.keyword));
}

QString TorrentTagEngine::startText() const
{
    return QStringLiteral("正在进行资源获取..请耐心等待..");
}

void TorrentTagEngine::pageMissing(const FetchResult& result)
{
    // The user hears that nothing was found, and why no page came.
    failPage(result, torrentTagNothingFoundText(pageFailureText(result)));
}

void TorrentTagEngine::takePage(const FetchResult& page)
{
    if (!hasTorrentTagRecords(definition(), page.text)) {
        const QString none = torrentTagNothingFoundText(QString());
        say(none);
        finishNone(none);
        return;
    }
    // hx12
    m_page.setText(page.text);
    m_hits = addPendingHits(m_hits, countTorrentTagHits(definition(), page.text));
    m_cutStep->arm();
}

void TorrentTagEngine::halt()
{
    PageEngine::halt();
    m_cutStep->disarm();
    m_hits = 0;
}

void TorrentTagEngine::cut()
{
    // Timer8_Timer
    m_cutStep->disarm();
    const int n = m_hits;
    m_hits = 0;
    addRows(numberedFromTheTop(cutTorrentTagRows(definition(), m_page, n)));
    say(doneText());
    finishRows();
}

// ---------------------------------------------------------------------------

QvodResolveEngine::QvodResolveEngine(QObject* parent) : PageEngine(parent)
{
    setSite(kQvodSearchSite);
}

QString QvodResolveEngine::siteName(Site site)
{
    switch (site) {
    case Site::QvodSearch: return kQvodSearchSite;
    case Site::QvodFilm: return kQvodFilmSite;
    case Site::FilmResource: break;
    }
    return kFilmResourceSite;
}

QvodResolveEngine::Site QvodResolveEngine::siteOf(const QString& address)
{
    auto under = [&address](Site site) {
        const QString base = SiteDefinitions::baseOf(siteDefinition(siteName(site)));
        return !base.isEmpty() && address.startsWith(base + u'/');
    };
    if (under(Site::QvodSearch))
        return Site::QvodSearch;
    if (under(Site::QvodFilm))
        return Site::QvodFilm;
    return Site::FilmResource;
}

void QvodResolveEngine::begin(const SourceRequest& request)
{
    m_site = siteOf(request.address);
    // The page is asked for, read and cut as its own site's: the Qvod film
    // site's pages come by the plain fetch, the other two's with the header.
    setSite(siteName(m_site));
    m_linkHits = 0;
    PageEngine::begin(request);
}

QString QvodResolveEngine::addressFor(const SourceRequest& request) const
{
    return request.address;
}

QString QvodResolveEngine::startText() const
{
    return m_site == Site::FilmResource ? QStringLiteral("正在提取种子..") : resolvingText();
}

void QvodResolveEngine::pageMissing(const FetchResult& result)
{
    failPage(result, m_site == Site::FilmResource ? filmResourceLinksFailedText(result)
                                                  : videoDetailFailedText(result));
}

void QvodResolveEngine::takePage(const FetchResult& page)
{
    switch (m_site) {
    case Site::QvodSearch: {
        m_searchDetail = cutQvodSearchDetail(definition(), page.text);
        if (m_searchDetail.address.isEmpty()) {
            say(videoResourceGoneText() + QStringLiteral(".."));
            finishNone(videoResourceGoneText());
            return;
        }
        addRows({linkRow(1, m_searchDetail.address)});
        say(QStringLiteral("种子文件地址已解析.."));
        finishRows();
        return;
    }
    case Site::QvodFilm: {
        m_filmDetail = cutQvodFilmDetail(definition(), page.text, siteBase());
        if (m_filmDetail.qvod && !m_filmDetail.qvod->isEmpty())
            addRows({linkRow(1, *m_filmDetail.qvod)});
        // The other boxes are filled even when the 快播 block is missing.
        say(QStringLiteral("种子地址已解析.."));
        finishRows();
        return;
    }
    case Site::FilmResource: {
        // hx5 counts, jx5 lists each distinct link once.
        const QString scheme = definition().field(QStringLiteral("detail-link")).recordMarker();
        const qsizetype found = scheme.isEmpty() ? 0 : findOccurrences(page.text, scheme).size();
        m_linkHits = qint16(qMin<qsizetype>(found, std::numeric_limits<qint16>::max()));
        const QStringList links = collectQvodLinks(definition(), page.text);
        QList<ListRow> rows;
        for (int i = 0; i < links.size(); ++i)
            rows << linkRow(i + 1, links.at(i));
        addRows(rows);
        // Also when the page holds no link: the step has ended.
        say(filmResourceLinksDoneText());
        finishRows();
        return;
    }
    }
}

// ---------------------------------------------------------------------------

TorrentTagResolveEngine::TorrentTagResolveEngine(QObject* parent) : PageEngine(parent)
{
    setSite(QStringLiteral("torrent-tag"));
}

QString TorrentTagResolveEngine::startText() const
{
    return resolvingText();
}

void TorrentTagResolveEngine::pageMissing(const FetchResult& result)
{
    if (result.okStatus()) {
        gone();
        return;
    }
    failPage(result, videoDetailFailedText(result));
}

void TorrentTagResolveEngine::takePage(const FetchResult& page)
{
    // A page that quotes no hash no longer offers the torrent either: a bare
    // "magnet:?xt=urn:btih:" would only mislead.
    const QString hash = cutTorrentInfoHash(definition(), page.text);
    if (hash.isEmpty()) {
        gone();
        return;
    }
    ListRow row = linkRow(1, magnetOfInfoHash(definition(), hash));
    row.set(QStringLiteral("tzm"), hash);
    addRows({row});
    say(QStringLiteral("种子文件地址已解析.."));
    finishRows();
}

void TorrentTagResolveEngine::gone()
{
    say(videoResourceGoneText() + QStringLiteral(".."));
    finishNone(videoResourceGoneText());
}

} // namespace lumorra
