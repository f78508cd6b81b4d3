#pragma once
// The online-video sources: the Qvod film site's channel pages (cut by
// Timer7), the Qvod search site's category pages (counted by hx6, cut by
// Timer13) and keyword search (its further pages collected by Timer14), the
// torrent tag search (counted by hx12, cut by Timer8), and the two
// resolvers of their detail pages.
#include "sources/engine/pacing.h"
#include "sources/engine/page_engine.h"
#include "sources/video/qvod_film_parse.h"
#include "sources/video/qvod_search_parse.h"
#include "text/cut.h"

namespace lumorra {


// list qvod-channel: one channel page, its 25 titles cut by Timer7.
class QvodChannelEngine : public PageEngine {
    Q_OBJECT
public:
    explicit QvodChannelEngine(const Pacing& pacing, QObject* parent = nullptr);
    ~QvodChannelEngine() override;

    int rowsLeft() const { return m_rowsLeft; }

protected:
    QString addressFor(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
    void halt() override;

private:
    void cut();

    PacedStep* m_cutStep;
    CutPage m_page;          // QvodFilmListPage
    int m_rowsLeft = 0;      // QvodFilmRowsLeft
    int m_releaseHook = -1;
};

// list qvod-category: one category page, counted (hx6) and cut by Timer13.
class QvodCategoryEngine : public PageEngine {
    Q_OBJECT
public:
    explicit QvodCategoryEngine(const Pacing& pacing, QObject* parent = nullptr);
    ~QvodCategoryEngine() override;

    qint16 pending() const { return m_hits; }

protected:
    void begin(const SourceRequest& request) override;
    QString addressFor(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
    void halt() override;

private:
    void cut();

    PacedStep* m_cutStep;
    CutPage m_page;          // QvodSearchPage
    qint16 m_hits = 0;       // QvodSearchHits
    int m_releaseHook = -1;
};

// search qvod: the first result page announces the total and the page
// count; Timer14 asks for one further page per tick (P − 1 … 0), joins them
// after the first and, when none is left, cuts the rows from the whole. A
// page that does not come is skipped; three in a row end the collection.
class QvodSearchEngine : public PageEngine {
    Q_OBJECT
public:
    explicit QvodSearchEngine(const Pacing& pacing, QObject* parent = nullptr);
    ~QvodSearchEngine() override;

    QString refusalOf(const SourceRequest& request) const override;
    // Further pages still to ask for (QvodSearchPagesLeft).
    int pagesLeft() const { return m_pagesLeft; }
    // Pages that did not come (or were no longer asked for) in the last run.
    int missedPages() const { return m_missedPages; }

protected:
    void begin(const SourceRequest& request) override;
    QString addressFor(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
    void halt() override;

private:
    void collectorTick();    // Timer14_Timer
    void collectNextPage();
    void cutRows();

    PacedStep* m_collector;
    LatestFetch m_pageFetch;
    CutPage m_joined;             // the pages that came, joined by CR LF
    QString m_keyword;            // encoded, as the search began
    int m_total = 0;              // QvodSearchTotal
    int m_pagesLeft = 0;
    int m_pagesAnnounced = 0;
    int m_missedPages = 0;
    int m_missesInARow = 0;
    QString m_firstMissReason;
    int m_releaseHook = -1;
};

// search tag: one tag page, counted (hx12) and cut by Timer8, the rows
// numbered for the top of the list.
class TorrentTagEngine : public PageEngine {
    Q_OBJECT
public:
    explicit TorrentTagEngine(const Pacing& pacing, QObject* parent = nullptr);

    QString refusalOf(const SourceRequest& request) const override;
    qint16 pending() const { return m_hits; }

protected:
    QString addressFor(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
    void pageMissing(const FetchResult& result) override;
    void halt() override;

private:
    void cut();

    PacedStep* m_cutStep;
    CutPage m_page;          // TorrentTagPage
    qint16 m_hits = 0;       // TorrentTagHits
};

// resolve qvod: a detail page of whichever site it belongs to — the Qvod
// search site's address, the Qvod film site's 快播 address, or every
// distinct qvod:// link of a film resource page.
class QvodResolveEngine : public PageEngine {
    Q_OBJECT
public:
    enum class Site { QvodSearch, QvodFilm, FilmResource };
    explicit QvodResolveEngine(QObject* parent = nullptr);

    // The site whose base the address starts with (the film resource site
    // when neither Qvod site's does), and the name of its definition.
    static Site siteOf(const QString& address);
    static QString siteName(Site site);
    // What the last page that came held, for the window's boxes and poster.
    const QvodSearchDetail& searchDetail() const { return m_searchDetail; }
    const QvodFilmDetail& filmDetail() const { return m_filmDetail; }
    // hx5: the page's "qvod://" occurrences, at most 32767.
    qint16 qvodLinkHits() const { return m_linkHits; }

protected:
    void begin(const SourceRequest& request) override;
    QString addressFor(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
    void pageMissing(const FetchResult& result) override;

private:
    Site m_site = Site::FilmResource;
    QvodSearchDetail m_searchDetail;
    QvodFilmDetail m_filmDetail;
    qint16 m_linkHits = 0;
};

// resolve tag: the magnet link and info hash of a torrent's page. An empty
// page means the site has withdrawn the torrent: none, not a failure.
class TorrentTagResolveEngine : public PageEngine {
    Q_OBJECT
public:
    explicit TorrentTagResolveEngine(QObject* parent = nullptr);

protected:
    QString addressFor(const SourceRequest& request) const override { return request.address; }
    QString startText() const override;
    void takePage(const FetchResult& page) override;
    void pageMissing(const FetchResult& result) override;

private:
    void gone();
};

} // namespace lumorra
