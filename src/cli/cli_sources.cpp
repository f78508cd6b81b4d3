#include "cli/cli_sources.h"

#include "cli/console_run.h"
#include "lists/column_table.h"
#include "net/site_config.h"
#include "net/url_encoding.h"
#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/clouddisk/cloud_disk_parse.h"
#include "sources/clouddisk/cloud_disk_query.h"
#include "sources/emule/ed2k_link_parse.h"
#include "sources/emule/emule_category_parse.h"
#include "sources/emule/emule_search_parse.h"
#include "sources/film/film_list_parse.h"
#include "sources/torrent/bt_board_parse.h"
#include "sources/torrent/bt_film_parse.h"
#include "sources/torrent/film_resource_detail_parse.h"
#include "sources/torrent/film_resource_parse.h"
#include "sources/torrent/magnet_search_parse.h"
#include "sources/torrent/torrent_index_parse.h"
#include "sources/torrent/torrent_rss_parse.h"
#include "sources/video/qvod_film_parse.h"
#include "sources/video/qvod_search_parse.h"
#include "sources/video/torrent_tag_parse.h"
#include "text/cut.h"
#include "text/export_file.h"

#include <memory>

namespace lumorra::cli {

namespace {

QString baseOf(const char* role)
{
    return SiteConfig::current().base(QString::fromLatin1(role));
}

QString pageText(const Request& request)
{
    return QString::number(request.page);
}

// A one-page source's page: false (and the run has failed) when no text
// came back.
bool pageArrived(ConsoleRun& run, const FetchResult& result)
{
    if (!result.text.isEmpty())
        return true;
    run.failFetch(result);
    return false;
}

// The end of a one-page source: an error page that gave no rows is a
// failure, not an empty answer.
void finishPage(ConsoleRun& run, const FetchResult& result)
{
    if (run.rows().isEmpty() && result.status >= 400)
        run.failFetch(result);
    else
        run.finish();
}

template <typename Row>
void addNumbered(ConsoleRun& run, const QList<Row>& rows)
{
    for (int i = 0; i < rows.size(); ++i)
        run.addRow(listRow(i + 1, rows.at(i)));
}

// ---- cloud disk ------------------------------------------------------------

// The ticked services asked together, their pages taken in box order, as
// the window's search does; `done` gets the rows once every service is in.
void searchCloudDisk(ConsoleRun& run, const Request& request, std::function<void()> done)
{
    const QString base = baseOf(role::CloudDiskSearch);
    const QString keyword = encodeKeyword(request.keyword);
    QStringList urls;
    for (int service : request.services)
        urls << clouddisk::searchUrl(base, clouddisk::serviceHost(service), keyword, pageText(request));

    struct Tally {
        int answered = 0;
        int failed = 0;
    };
    auto tally = std::make_shared<Tally>();
    const QList<int> services = request.services;
    run.progress(0, int(services.size()), QString());
    // Each page is cut as it arrives; only its rows wait for the services
    // before it.
    struct Reply {
        clouddisk::ServiceAnswer cut;
        bool arrived = false; // a body came, whatever its status
    };
    run.batch().startCutting<Reply>(
        urls, FetchMode::WithIfModifiedSince, &run,
        [services](int i, const FetchResult& result) {
            return Reply{clouddisk::cutServiceAnswer(services.value(i, -1), result), result.ok()};
        },
        [&run, services, tally](int i, Reply answer) {
            const int service = services.value(i, -1);
            const clouddisk::ServiceOutcome& outcome = answer.cut.outcome;
            if (answer.arrived)
                ++tally->answered;
            if (!outcome.failure.isEmpty()) {
                ++tally->failed;
                run.warn(clouddisk::serviceStatusLine(outcome));
            }
            for (const clouddisk::CloudDiskRow& row : std::as_const(answer.cut.rows))
                run.addRow(clouddisk::listRow(row));
            run.progress(i + 1, int(services.size()), clouddisk::serviceCaption(service));
        },
        [&run, tally, done = std::move(done)] {
            if (!run.rows().isEmpty()) {
                done();
            } else if (tally->answered == 0) {
                run.fail(clouddisk::allFailedText());
            } else if (tally->failed > 0) {
                run.fail(QStringLiteral("no rows, and %1 of the services did not answer").arg(tally->failed));
            } else {
                done();
            }
        });
}

void runCloudDiskSearch(ConsoleRun& run, const Request& request)
{
    searchCloudDisk(run, request, [&run] { run.finish(); });
}

void runCloudDiskExport(ConsoleRun& run, const Request& request)
{
    const QString file = request.file;
    searchCloudDisk(run, request, [&run, file] {
        if (run.rows().isEmpty()) {
            run.warn(QStringLiteral("没有可导出的数据"));
            run.end(kExitNoRows);
            return;
        }
        // The same lines the window's export writes: every column of
        // ListView1, in its order.
        const QStringList keys = columnsOf(*findSource(Verb::Export, QStringLiteral("clouddisk")));
        QList<QStringList> lines;
        for (const ListRow& row : run.rows()) {
            QStringList cells;
            for (const QString& key : keys)
                cells << row.cell(key);
            lines << cells;
        }
        if (!writeExportFile(lines, file)) {
            run.fail(QStringLiteral("cannot write %1").arg(file));
            return;
        }
        run.end(kExitRows);
    });
}

// ---- torrent and magnet searches -------------------------------------------

void runTorrentIndex(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::TorrentIndexSite);
    const QString url = torrentIndexSearchUrl(base, encodeKeyword(request.keyword), pageText(request));
    run.single().get(url, FetchMode::WithIfModifiedSince, &run, [&run, base](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        const CutPage page(r.text);
        addNumbered(run, cutTorrentIndexRows(page, base, countTorrentIndexHits(r.text)));
        finishPage(run, r);
    });
}

void runTorrentRss(ConsoleRun& run, const Request& request)
{
    const QString url = torrentRssUrl(baseOf(role::TorrentRssSite), encodeKeyword(request.keyword));
    run.single().get(url, FetchMode::WithIfModifiedSince, &run, [&run](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        const CutPage feed(r.text);
        addNumbered(run, cutTorrentRssRows(feed, countTorrentRssHits(r.text)));
        finishPage(run, r);
    });
}

void runFilmResource(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::FilmResourceSite);
    const QString url = filmResourceSearchUrl(base, request.keyword, pageText(request));
    run.single().get(url, FetchMode::WithIfModifiedSince, &run, [&run, base](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        const CutPage page(r.text);
        if (!isFilmResourceNoResult(r.text))
            addNumbered(run, cutFilmResourceRows(page, base, announcedFilmCount(page)));
        finishPage(run, r);
    });
}

void runMagnet(ConsoleRun& run, const Request& request, MagnetChannel channel)
{
    const QString base = baseOf(channel == MagnetChannel::SiteA ? role::MagnetSiteA : role::MagnetSiteB);
    const QString url = magnetSearchUrl(channel, base, encodeKeyword(request.keyword), qint16(request.page));
    run.single().get(url, FetchMode::WithIfModifiedSince, &run, [&run, base, channel](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        if (isMagnetNoResult(channel, r.text)) {
            run.finish();
            return;
        }
        const CutPage page(r.text);
        const int hits = countMagnetHits(channel, r.text);
        if (channel == MagnetChannel::SiteA) {
            addNumbered(run, cutMagnetSiteARows(page, hits));
            finishPage(run, r);
            return;
        }
        // Each hit's magnet link is on its own detail page: all are asked
        // for together and listed in hit order, as the window lists them.
        const QList<MagnetSiteBHit> found = cutMagnetSiteBHits(page, base, hits);
        QStringList detailUrls;
        for (const MagnetSiteBHit& hit : found)
            detailUrls << hit.detailUrl;
        run.progress(0, int(found.size()), QString());
        // Each detail page is read for its link as it arrives: only the row
        // waits for its turn.
        struct Detail {
            MagnetRow row;
            QString missing; // why there is no link to read; empty when a body came
        };
        run.batch().startCutting<Detail>(
            detailUrls, FetchMode::WithIfModifiedSince, &run,
            [found](int i, const FetchResult& detail) {
                const MagnetSiteBHit& hit = found.at(i);
                return Detail{magnetSiteBRow(hit, detail.text),
                    detail.text.isEmpty() ? QStringLiteral("no magnet link for \"%1\": %2 (%3)")
                                                .arg(hit.name, fetchProblem(detail), detail.url)
                                          : QString()};
            },
            [&run, found](int i, Detail detail) {
                if (!detail.missing.isEmpty())
                    run.warn(detail.missing);
                run.addRow(listRow(i + 1, detail.row));
                run.progress(i + 1, int(found.size()), found.at(i).name);
            },
            [&run] { run.finish(); });
    });
}

void runMagnetA(ConsoleRun& run, const Request& request) { runMagnet(run, request, MagnetChannel::SiteA); }
void runMagnetB(ConsoleRun& run, const Request& request) { runMagnet(run, request, MagnetChannel::SiteB); }

// ---- eMule -------------------------------------------------------------------

void runEmuleIndexSearch(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::EmuleIndexSite);
    const QString url = indexSearchUrl(base, request.keyword, pageText(request));
    run.single().get(url, FetchMode::WithIfModifiedSince, &run, [&run, base](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        if (!isIndexSearchNotFound(r.text)) {
            const CutPage page(r.text);
            addNumbered(run, cutCategoryRecords(page, base, countCategoryRecords(page)));
        }
        finishPage(run, r);
    });
}

void runEmuleSiteSearch(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::EmuleSearchSite);
    const QString url = searchSiteUrl(base, request.keyword, pageText(request));
    run.single().get(url, FetchMode::WithIfModifiedSince, &run, [&run, base](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        const CutPage page(r.text);
        addNumbered(run, cutSearchSiteRows(page, base, countSearchSiteRecords(page)));
        finishPage(run, r);
    });
}

void runEmuleCategory(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::EmuleIndexSite);
    const auto category = EmuleCategory(request.variant);
    run.single().get(categoryPageUrl(base, category, request.page), FetchMode::WithIfModifiedSince, &run,
                     [&run, base](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        addNumbered(run, cutCategoryRecords(CutPage(r.text), base, kCategoryPageRecords));
        finishPage(run, r);
    });
}

// ---- BT board, BT films, film listings -------------------------------------

void runBtBoard(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::BtBoardSite);
    run.single().get(btBoardUrl(base, request.page), FetchMode::Plain, &run, [&run, base](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        addNumbered(run, cutBoardPosts(CutPage(r.text), base));
        finishPage(run, r);
    });
}

void runBtFilms(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::EmuleIndexSite);
    run.single().get(btFilmPageUrl(base, request.page), FetchMode::WithIfModifiedSince, &run,
                     [&run, base](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        addNumbered(run, cutBtFilms(CutPage(r.text), base));
        finishPage(run, r);
    });
}

void runFilmListing(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::FilmListSite);
    const int index = request.variant;
    run.single().get(filmCategoryIndexUrl(base, index), FetchMode::Plain, &run,
                     [&run, base, index](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        addNumbered(run, cutFilmListRows(CutPage(r.text), base, index));
        finishPage(run, r);
    });
}

// ---- online video ------------------------------------------------------------

void runQvodChannel(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::QvodFilmSite);
    run.single().get(qvodFilmChannelUrl(base, request.page), FetchMode::Plain, &run,
                     [&run, base](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        addNumbered(run, cutQvodFilmRows(CutPage(r.text), base, kQvodFilmRowsPerPage));
        finishPage(run, r);
    });
}

void runQvodCategory(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::QvodSearchSite);
    run.single().get(qvodSearchCategoryUrl(base, request.page), FetchMode::WithIfModifiedSince, &run,
                     [&run, base](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        const int hits = countQvodSearchCategoryHits(r.text);
        addNumbered(run, cutQvodSearchRows(CutPage(r.text), qvodSearchCategoryRowMarker(), base, hits));
        finishPage(run, r);
    });
}

// The first result page announces the total and the page count; the other
// pages are collected and joined after it, then the rows are cut from the
// whole and listed as the window lists them (the last result on top).
void runQvodSearch(ConsoleRun& run, const Request& request)
{
    const QString base = baseOf(role::QvodSearchSite);
    const QString keyword = encodeKeyword(request.keyword);
    run.single().get(qvodSearchKeywordUrl(base, keyword), FetchMode::WithIfModifiedSince, &run,
                     [&run, base, keyword](const FetchResult& first) {
        if (!pageArrived(run, first))
            return;
        if (isQvodSearchNoResult(first.text)) {
            run.finish();
            return;
        }
        auto collected = std::make_shared<QString>(first.text);
        const CutPage announced(first.text);
        const int total = qvodSearchAnnouncedTotal(announced);
        const QList<int> pages = qvodSearchFurtherPages(qvodSearchAnnouncedPages(announced));
        QStringList urls;
        for (int page : pages)
            urls << qvodSearchKeywordPageUrl(base, keyword, page);
        run.progress(1, int(urls.size()) + 1, QString());
        run.batch().start(
            urls, FetchMode::WithIfModifiedSince, &run,
            [&run, collected, count = int(urls.size())](int i, const FetchResult& page) {
                // As in the window, a page that does not come is named and
                // skipped: the pages that came are still listed.
                if (page.hasPage())
                    *collected += QStringLiteral("\r\n") + page.text;
                else
                    run.warn(QStringLiteral("page skipped: ") + fetchProblem(page) + QStringLiteral(" (")
                             + page.url + u')');
                run.progress(i + 2, count + 1, QString());
            },
            [&run, collected, base, total] {
                const QList<QvodSearchRow> rows =
                    cutQvodSearchRows(CutPage(*collected), qvodSearchKeywordRowMarker(), base, total);
                run.addRows(numberedFromTheTop(rows));
                run.finish();
            });
    });
}

void runTorrentTag(ConsoleRun& run, const Request& request)
{
    const QString url = torrentTagUrl(baseOf(role::TorrentTagSite), encodeKeyword(request.keyword));
    run.single().get(url, FetchMode::WithIfModifiedSince, &run, [&run](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        if (hasTorrentTagRecords(r.text)) {
            const QList<TorrentTagRow> rows = cutTorrentTagRows(CutPage(r.text), countTorrentTagHits(r.text));
            run.addRows(numberedFromTheTop(rows));
        }
        finishPage(run, r);
    });
}

// ---- resolvers -----------------------------------------------------------------

ListRow linkRow(int number, const QString& link)
{
    ListRow row(rowNumber(number));
    row.set(QStringLiteral("dz"), link);
    return row;
}

void runResolveEd2k(ConsoleRun& run, const Request& request)
{
    run.single().get(request.url, FetchMode::WithIfModifiedSince, &run, [&run](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        if (const std::optional<QString> link = firstEd2kLink(r.text))
            run.addRow(linkRow(1, *link));
        finishPage(run, r);
    });
}

bool isUnder(const QString& url, const char* role)
{
    const QString base = baseOf(role);
    return !base.isEmpty() && url.startsWith(base + u'/');
}

// A Qvod detail page of whichever site it belongs to: the Qvod search
// site's address, the Qvod film site's 快播 address, or every distinct Qvod
// link of a film resource page.
void runResolveQvod(ConsoleRun& run, const Request& request)
{
    const QString url = request.url;
    const bool searchSite = isUnder(url, role::QvodSearchSite);
    const bool filmSite = isUnder(url, role::QvodFilmSite);
    const FetchMode mode = filmSite ? FetchMode::Plain : FetchMode::WithIfModifiedSince;
    run.single().get(url, mode, &run, [&run, searchSite, filmSite](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        QStringList links;
        if (searchSite) {
            links << cutQvodSearchDetail(r.text).address;
        } else if (filmSite) {
            links << cutQvodFilmDetail(r.text, baseOf(role::QvodFilmSite)).qvod.value_or(QString());
        } else {
            links = collectQvodLinks(r.text);
        }
        links.removeAll(QString());
        for (int i = 0; i < links.size(); ++i)
            run.addRow(linkRow(i + 1, links.at(i)));
        finishPage(run, r);
    });
}

void runResolveFilm(ConsoleRun& run, const Request& request)
{
    run.single().get(request.url, FetchMode::Plain, &run, [&run](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        const QString link = filmDownloadLink(r.text);
        if (!link.isEmpty())
            run.addRow(linkRow(1, link));
        finishPage(run, r);
    });
}

void runResolveBt(ConsoleRun& run, const Request& request)
{
    run.single().get(request.url, FetchMode::WithIfModifiedSince, &run, [&run](const FetchResult& r) {
        if (!pageArrived(run, r))
            return;
        const BtFilmMagnet magnet = cutBtFilmMagnet(r.text);
        if (!magnet.link.isEmpty()) {
            ListRow row = linkRow(1, magnet.link);
            row.set(QStringLiteral("gx"), magnet.updated);
            run.addRow(row);
        }
        finishPage(run, r);
    });
}

void runResolveTag(ConsoleRun& run, const Request& request)
{
    run.single().get(request.url, FetchMode::WithIfModifiedSince, &run, [&run](const FetchResult& r) {
        // An empty page no longer offers the torrent: nothing to list.
        if (!r.ok()) {
            run.failFetch(r);
            return;
        }
        const QString hash = cutTorrentInfoHash(r.text);
        if (!hash.isEmpty()) {
            ListRow row = linkRow(1, magnetOfInfoHash(hash));
            row.set(QStringLiteral("tzm"), hash);
            run.addRow(row);
        }
        finishPage(run, r);
    });
}

// ---- the table -------------------------------------------------------------------

QList<Source> buildTable()
{
    const QStringList linkColumns{QStringLiteral("xh"), QStringLiteral("dz")};
    QList<Source> t;
    auto add = [&t](Verb verb, const char* name, const char* summary, const char* list, int options,
                    Runner run, int variant = 0) {
        Source s;
        s.verb = verb;
        s.name = QString::fromLatin1(name);
        s.summary = QString::fromUtf8(summary);
        s.listName = QString::fromLatin1(list);
        s.options = options;
        s.run = run;
        s.variant = variant;
        t << s;
        return &t.last();
    };

    add(Verb::Search, "clouddisk", "shares of the 24 cloud-disk services, through the search engine (CloudDiskSearch)",
        "ListView1", Paged | Services, &runCloudDiskSearch);
    add(Verb::Search, "torrent", "torrent index (TorrentIndexSite)", "ListView2", Paged, &runTorrentIndex);
    add(Verb::Search, "rss", "torrent RSS feed (TorrentRssSite)", "ListView4", NoOptions, &runTorrentRss);
    add(Verb::Search, "film", "film resources (FilmResourceSite)", "ListView13", Paged, &runFilmResource);
    add(Verb::Search, "magnet-a", "magnet search, channel 1 (MagnetSiteA)", "ListView19", Paged, &runMagnetA);
    add(Verb::Search, "magnet-b", "magnet search, channel 2 (MagnetSiteB); reads each hit's detail page",
        "ListView19", Paged, &runMagnetB);
    add(Verb::Search, "emule", "eMule index site (EmuleIndexSite)", "ListView15", Paged, &runEmuleIndexSearch);
    add(Verb::Search, "emule-search", "eMule search site (EmuleSearchSite)", "ListView17", Paged,
        &runEmuleSiteSearch);
    add(Verb::Search, "qvod", "Qvod search site, every result page collected (QvodSearchSite)", "ListView14",
        NeedsAgreement, &runQvodSearch);
    add(Verb::Search, "tag", "torrent tag site (TorrentTagSite)", "ListView20", NeedsAgreement, &runTorrentTag);

    static const char* const emuleNames[] = {"emule-films", "emule-music", "emule-software", "emule-books",
                                             "emule-education", "emule-data", "emule-cartoons"};
    for (const EmuleCategoryInfo& info : emuleCategories()) {
        const int slot = int(info.category);
        add(Verb::List, emuleNames[slot], "eMule index site category page (EmuleIndexSite)", info.listName, Paged,
            &runEmuleCategory, slot);
    }
    add(Verb::List, "bt-board", "BT board, --page is the board number 1 to 8 (BtBoardSite)", "ListView18", Paged,
        &runBtBoard)
        ->maxPage = kBtBoardLast;
    add(Verb::List, "bt-films", "BT film pages (EmuleIndexSite)", "ListView16", Paged, &runBtFilms);
    static const char* const filmNames[] = {"films-latest", "films-chinese", "films-western",
                                            "films-chinese-tv", "films-japan-korea-tv", "films-anime"};
    static const char* const filmSummaries[] = {
        "film listing 综合最新电影 (FilmListSite)", "film listing 国内最新电影 (FilmListSite)",
        "film listing 欧美最新电影 (FilmListSite)", "film listing 华语电视剧 (FilmListSite)",
        "film listing 日韩电视剧 (FilmListSite)", "film listing 动漫资源 (FilmListSite)"};
    for (int i = 0; i < kFilmCategoryCount; ++i)
        add(Verb::List, filmNames[i], filmSummaries[i], "ListView5", NoOptions, &runFilmListing, i);
    add(Verb::List, "qvod-channel", "Qvod film site channel page (QvodFilmSite)", "ListView3",
        Paged | NeedsAgreement, &runQvodChannel);
    add(Verb::List, "qvod-category", "Qvod search site category page (QvodSearchSite)", "ListView14",
        Paged | NeedsAgreement, &runQvodCategory);

    auto resolver = [&](const char* name, const char* summary, Runner run, QStringList columns) {
        add(Verb::Resolve, name, summary, "", NoOptions, run)->columns = std::move(columns);
    };
    resolver("ed2k", "the first ed2k link of an eMule detail page", &runResolveEd2k, linkColumns);
    resolver("qvod", "the Qvod address of a Qvod search or Qvod film site detail page, or every distinct "
                     "qvod:// link of a film resource detail page",
             &runResolveQvod, linkColumns);
    resolver("film", "the download link of a film listing detail page", &runResolveFilm, linkColumns);
    resolver("bt", "the magnet link (dz) and update date (gx) of a BT film download page", &runResolveBt,
             {QStringLiteral("xh"), QStringLiteral("dz"), QStringLiteral("gx")});
    resolver("tag", "the magnet link (dz) and info hash (tzm) of a torrent tag page", &runResolveTag,
             {QStringLiteral("xh"), QStringLiteral("dz"), QStringLiteral("tzm")});

    add(Verb::Export, "clouddisk", "cloud-disk search written to FILE as the window's export (GB18030)",
        "ListView1", Paged | Services, &runCloudDiskExport);
    return t;
}

} // namespace

QString verbName(Verb verb)
{
    switch (verb) {
    case Verb::Search: return QStringLiteral("search");
    case Verb::List: return QStringLiteral("list");
    case Verb::Resolve: return QStringLiteral("resolve");
    case Verb::Export: return QStringLiteral("export");
    }
    return {};
}

bool verbFromName(const QString& name, Verb* verb)
{
    for (Verb v : {Verb::Search, Verb::List, Verb::Resolve, Verb::Export}) {
        if (verbName(v) == name) {
            *verb = v;
            return true;
        }
    }
    return false;
}

const QList<Source>& sources()
{
    static const QList<Source> table = buildTable();
    return table;
}

const Source* findSource(Verb verb, const QString& name)
{
    for (const Source& s : sources())
        if (s.verb == verb && s.name == name)
            return &s;
    return nullptr;
}

QStringList columnsOf(const Source& source)
{
    if (!source.columns.isEmpty())
        return source.columns;
    QStringList keys;
    if (const ListLayout* layout = listLayout(source.listName))
        for (const ColumnLayout& c : layout->columns)
            keys << c.key;
    return keys;
}

QList<std::pair<QString, QString>> columnCaptions(const Source& source)
{
    QList<std::pair<QString, QString>> out;
    if (source.columns.isEmpty()) {
        if (const ListLayout* layout = listLayout(source.listName))
            for (const ColumnLayout& c : layout->columns)
                out.append({c.key, c.caption});
        return out;
    }
    for (const QString& key : source.columns) {
        QString caption;
        if (key == QLatin1String("xh"))
            caption = QStringLiteral("序号");
        else if (key == QLatin1String("dz"))
            caption = QStringLiteral("链接");
        else if (key == QLatin1String("gx"))
            caption = QStringLiteral("更新时间");
        else if (key == QLatin1String("tzm"))
            caption = QStringLiteral("种子特征码");
        out.append({key, caption});
    }
    return out;
}

} // namespace lumorra::cli
