// Every source of the main window against a misbehaving server. One table
// row per source action (a search or listing button, a paging button, a
// detail resolver); each runs once against the well-behaved sample sites and
// once for every misbehaviour of sites/hostile_answers.h. Every run must end
// (the controller says so) within the fetch time-out, with the action's
// button enabled, a status naming what went wrong, nothing left on the way,
// and the rows of every other list as they were.
//
// A new source is one new row of stagedCases().
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "sources/source_table.h"
#include "pages/clouddisk/cloud_disk_search.h"
#include "sources/emule/emule_category_parse.h"
#include "pages/emule/emule_handlers.h"
#include "pages/film/film_detail.h"
#include "sources/film/film_list_parse.h"
#include "pages/film/film_listings.h"
#include "pages/torrent/bt_sources.h"
#include "pages/torrent/film_resource_detail.h"
#include "pages/torrent/magnet_search.h"
#include "player/forum_address_window.h"
#include "player/on_demand_handlers.h"
#include "player/on_demand_window.h"
#include "pages/torrent/torrent_download.h"
#include "pages/torrent/torrent_search.h"
#include "pages/video/online_video_handlers.h"
#include "pages/video/qvod_film_source.h"
#include "pages/video/qvod_search_source.h"
#include "pages/video/torrent_tag_source.h"
#include "lists/ed2k_extraction.h"
#include "platform/open_address.h"

#include "hostile_answers.h"
#include "modal_answerer.h"
#include "program_window.h"
#include "test_server.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <vector>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;
using lumorra::testing::ProgramWindow;
using lumorra::testing::TestServer;

namespace {

// A stalled server is given up on after this; the other runs end on their
// own and get the generous time-out, so that a slow machine never turns
// their endings into time-outs.
constexpr int kStallTimeoutMs = 400;
constexpr int kTimeoutMs = 10000;
// A body cap well below the 40 MiB answer: the cap is what is under test,
// not how fast 32 MiB cross the loopback.
constexpr qint64 kBodyCap = 4 * 1024 * 1024;
// Room beyond the time-out for the steps after a fetch (a cut, a not-found
// check) on a loaded machine.
constexpr int kEndingSlackMs = 4000;

// Answers every box and closes every modal window of the run; the windows
// it closed tell whether Form11 came up.
ModalAnswerer* g_answerer = nullptr;
// Where the torrent downloads of the run go.
QString g_downloads;

// A source action as the table knows it. `prepare` runs against the
// well-behaved sites (it may list the row a resolver reads); `act` runs with
// the misbehaviour staged.
struct Source {
    QString name;
    const char* role;             // whose pages misbehave
    std::function<void(QWidget*)> prepare;
    std::function<void(QWidget*)> act;
    std::function<QObject*(QWidget*)> controller;
    const char* endSignal;        // SIGNAL() of the controller: the action has ended
    QString button;               // enabled again at the end; empty when it never is disabled
    QStringList lists;            // the lists the action may change
    std::function<int(QWidget*)> results;   // what a good page gives: rows, links
    QString input = {};           // a resolver's list: its rows stay as prepared
    std::string under = {};       // only pages below this path of the role misbehave
    // Where the action reports; the status line unless set.
    std::function<QString(QWidget*)> status = {};
    // A success it does not report (only failures are said).
    bool quietSuccess = false;
    // What the status says after an empty body, where the site means
    // something by one; the plain "no content" reason unless set.
    QString emptyBodyText = {};
    // Pages of the action that came stay listed when only later ones
    // misbehave: the results are then kept, not gone.
    bool keepsArrivedPages = false;
    // What the status says after a 404 or 500 page, where the action answers
    // an error page in a way of its own; the page's status unless set.
    QString errorPageText = {};
};

QAbstractButton* buttonOf(QWidget* form1, const QString& name)
{
    return form1->findChild<QAbstractButton*>(name);
}

void click(QWidget* form1, const QString& name)
{
    QAbstractButton* b = buttonOf(form1, name);
    QVERIFY2(b, qPrintable(name));
    b->click();
}

void setText(QWidget* form1, const char* box, const QString& text)
{
    auto* edit = form1->findChild<QLineEdit*>(QLatin1String(box));
    QVERIFY2(edit, box);
    edit->setText(text);
}

int filledBoxes(QWidget* form1, const QStringList& boxes)
{
    int n = 0;
    for (const QString& name : boxes)
        if (auto* box = form1->findChild<QLineEdit*>(name); box && !box->text().isEmpty())
            ++n;
    return n;
}

int rowsOf(QWidget* form1, const QString& list)
{
    ResultList* l = findResultList(form1, list);
    return l ? l->rowCount() : -1;
}

int entriesOf(QWidget* form1, const char* box)
{
    auto* l = form1->findChild<QListWidget*>(QLatin1String(box));
    return l ? l->count() : -1;
}

// Runs `trigger` and waits until the controller's end signal arrives.
bool runToEnd(QWidget* form1, const Source& s, const std::function<void(QWidget*)>& trigger)
{
    QSignalSpy ended(s.controller(form1), s.endSignal);
    trigger(form1);
    return ended.count() > 0 || ended.wait(PageFetcher::instance().timeoutMs() + kEndingSlackMs);
}

// Lists a source's first page as the user would before a resolver reads a
// row of it, and selects its first row.
std::function<void(QWidget*)> listAndSelect(std::function<QObject*(QWidget*)> controller, const char* endSignal,
                                            std::function<void(QWidget*)> listing, QString list)
{
    return [=](QWidget* form1) {
        QSignalSpy ended(controller(form1), endSignal);
        listing(form1);
        QVERIFY(ended.count() > 0 || ended.wait(8000));
        ResultList* l = findResultList(form1, list);
        QVERIFY2(l && l->rowCount() > 0, qPrintable(list + QStringLiteral(" has no row to resolve")));
        l->clearSelection();
        l->setCurrentItem(l->topLevelItem(0));
        l->topLevelItem(0)->setSelected(true);
    };
}

template <typename T>
std::function<QObject*(QWidget*)> child()
{
    return [](QWidget* form1) -> QObject* { return form1->findChild<T*>(QString(), Qt::FindDirectChildrenOnly); };
}

const std::vector<Source>& stagedCases()
{
    static const std::vector<Source> table = [] {
        std::vector<Source> t;
        const auto cloud = child<CloudDiskSearch>();
        const auto emule = [](QWidget* f) -> QObject* { return EmuleSources::of(f); };
        const auto torrent = child<TorrentSearches>();
        const auto magnet = child<MagnetSearch>();
        const auto filmDetail = child<FilmResourceDetail>();
        const auto ed2k = [](QWidget* f) -> QObject* { return Ed2kExtraction::of(f); };
        const auto bt = [](QWidget* f) -> QObject* { return BtSources::of(f); };
        const auto films = [](QWidget* f) -> QObject* { return FilmListings::of(f); };
        const auto post = [](QWidget* f) -> QObject* { return FilmDetailView::of(f); };
        const auto rows = [](QString list) { return [list](QWidget* f) { return rowsOf(f, list); }; };
        const auto none = [](QWidget*) {};

        // --- cloud-disk search (two services ticked: both misbehave) ---
        t.push_back({QStringLiteral("clouddisk Command1"), role::CloudDiskSearch,
                     [](QWidget* f) {
                         for (int i = 0; i < CloudDiskSearch::kServiceCount; ++i)
                             f->findChild<QCheckBox*>(QStringLiteral("Check2(%1)").arg(i))->setChecked(i < 2);
                         setText(f, "Text1", QStringLiteral("电影"));
                     },
                     [](QWidget* f) { click(f, QStringLiteral("Command1")); }, cloud, SIGNAL(searchEnded()),
                     QStringLiteral("Command1"), {QStringLiteral("ListView1")}, rows(QStringLiteral("ListView1"))});

        // --- eMule categories: every fetch, next and previous button ---
        static const char* const kActions[] = {"fetch", "next", "previous"};
        for (const EmuleCategoryInfo& c : emuleCategories()) {
            for (int action = 0; action < 3; ++action) {
                const QString button =
                    QStringLiteral("%1(%2)").arg(QLatin1String(c.buttonArray)).arg(c.firstButton + action);
                const EmuleCategory category = c.category;
                t.push_back({QStringLiteral("emule %1 %2 %3").arg(QLatin1String(c.path), QLatin1String(kActions[action]), button),
                             role::EmuleIndexSite,
                             [category](QWidget* f) { EmuleSources::of(f)->setPageNumber(category, 2); },
                             [button](QWidget* f) { click(f, button); }, emule, SIGNAL(listingLoaded(int)), QString(),
                             {QLatin1String(c.listName)}, rows(QLatin1String(c.listName))});
            }
        }
        // --- eMule keyword searches ---
        t.push_back({QStringLiteral("emule index search Command27(12)"), role::EmuleIndexSite,
                     [](QWidget* f) {
                         setText(f, "Text16", QStringLiteral("电影"));
                         setText(f, "Text17", QStringLiteral("1"));
                     },
                     [](QWidget* f) { click(f, QStringLiteral("Command27(12)")); }, emule, SIGNAL(searchEnded(int)),
                     QStringLiteral("Command27(12)"), {QStringLiteral("ListView15")}, rows(QStringLiteral("ListView15"))});
        t.push_back({QStringLiteral("emule site search Command27(13)"), role::EmuleSearchSite,
                     [](QWidget* f) {
                         setText(f, "Text19", QStringLiteral("电影"));
                         setText(f, "Text20", QStringLiteral("1"));
                     },
                     [](QWidget* f) { click(f, QStringLiteral("Command27(13)")); }, emule, SIGNAL(searchEnded(int)),
                     QStringLiteral("Command27(13)"), {QStringLiteral("ListView17")}, rows(QStringLiteral("ListView17"))});
        // --- ed2k extraction from every list that offers it ---
        const struct {
            const char* item;
            const char* list;
            const char* listing;
            const char* signal;
        } kEd2k[] = {
            {"kctqzz", "ListView6", "Command21(0)", SIGNAL(listingLoaded(int))},
            {"yytqzz", "ListView7", "Command26(0)", SIGNAL(listingLoaded(int))},
            {"tqzzrj", "ListView8", "Command27(0)", SIGNAL(listingLoaded(int))},
            {"tqzzts", "ListView9", "Command27(3)", SIGNAL(listingLoaded(int))},
            {"tqzzjy", "ListView10", "Command27(6)", SIGNAL(listingLoaded(int))},
            {"tqzzzh", "ListView11", "Command27(9)", SIGNAL(listingLoaded(int))},
            {"tqdv", "ListView15", "Command27(12)", SIGNAL(searchEnded(int))},
        };
        for (const auto& e : kEd2k) {
            const QString listing = QLatin1String(e.listing);
            const QString item = QLatin1String(e.item);
            t.push_back({QStringLiteral("ed2k %1 from %2").arg(item, QLatin1String(e.list)), role::EmuleIndexSite,
                         listAndSelect(emule, e.signal,
                                       [listing](QWidget* f) {
                                           for (const EmuleCategoryInfo& c : emuleCategories())
                                               EmuleSources::of(f)->setPageNumber(c.category, 1);
                                           setText(f, "Text16", QStringLiteral("电影"));
                                           setText(f, "Text17", QStringLiteral("1"));
                                           click(f, listing);
                                       },
                                       QLatin1String(e.list)),
                         [item](QWidget* f) { findRowAction(f, item)->trigger(); }, ed2k, SIGNAL(extracted(bool)),
                         QString(), {QLatin1String(e.list)}, [](QWidget*) {
                             return QGuiApplication::clipboard()->text().startsWith(QStringLiteral("ed2k://")) ? 1 : 0;
                         }, QLatin1String(e.list)});
        }

        // --- torrent and film-resource searches ---
        const struct {
            int index;
            const char* keywordBox;
            const char* keyword;
            const char* list;
            const char* role;
        } kTorrent[] = {
            {0, "Text2", "ubuntu", "ListView2", role::TorrentIndexSite},
            {1, "Text8", "ubuntu", "ListView4", role::TorrentRssSite},
            {2, "Text13", "电影", "ListView13", role::FilmResourceSite},
        };
        for (const auto& s : kTorrent) {
            const QString button = QStringLiteral("Command2(%1)").arg(s.index);
            const char* box = s.keywordBox;
            const QString keyword = QString::fromUtf8(s.keyword);
            t.push_back({QStringLiteral("torrent search %1 %2").arg(button, QLatin1String(s.list)), s.role,
                         [box, keyword](QWidget* f) {
                             setText(f, box, keyword);
                             setText(f, "Text4", QStringLiteral("1"));
                             setText(f, "Text14", QStringLiteral("1"));
                         },
                         [button](QWidget* f) { click(f, button); }, torrent, SIGNAL(searchEnded(int)), button,
                         {QLatin1String(s.list)}, rows(QLatin1String(s.list))});
        }
        // The film-resource detail page into List2.
        t.push_back({QStringLiteral("film resource ListView13 double click"), role::FilmResourceSite,
                     listAndSelect(torrent, SIGNAL(searchEnded(int)),
                                   [](QWidget* f) {
                                       setText(f, "Text13", QStringLiteral("电影"));
                                       setText(f, "Text14", QStringLiteral("1"));
                                       click(f, QStringLiteral("Command2(2)"));
                                   },
                                   QStringLiteral("ListView13")),
                     [](QWidget* f) { emit findResultList(f, QStringLiteral("ListView13"))->listDoubleClicked(); },
                     filmDetail, SIGNAL(resolved(bool)), QString(),
                     {QStringLiteral("ListView13"), QStringLiteral("List2")},
                     [](QWidget* f) { return entriesOf(f, "List2"); }, QStringLiteral("ListView13")});

        // The torrent of a ListView4 row, through the hidden browser.
        t.push_back({QStringLiteral("torrent download dkbtxz from ListView4"), role::TorrentRssSite,
                     listAndSelect(torrent, SIGNAL(searchEnded(int)),
                                   [](QWidget* f) {
                                       setText(f, "Text8", QStringLiteral("ubuntu"));
                                       click(f, QStringLiteral("Command2(1)"));
                                   },
                                   QStringLiteral("ListView4")),
                     [](QWidget* f) { findRowAction(f, QStringLiteral("dkbtxz"))->trigger(); },
                     child<TorrentDownload>(), SIGNAL(downloadEnded(bool,QString)), QString(),
                     {QStringLiteral("ListView4")},
                     [](QWidget*) { return int(QDir(g_downloads).entryList(QDir::Files).size()); },
                     QStringLiteral("ListView4")});
        t.back().under = "/torrent/";

        // --- magnet searches: both channels, search and paging buttons ---
        for (int channel : {0, 1}) {
            const char* role = channel == 0 ? role::MagnetSiteA : role::MagnetSiteB;
            const QString keyword = QStringLiteral("ubuntu");
            for (int button : {3, 4, 5}) {
                const QString name = QStringLiteral("Command21(%1)").arg(button);
                t.push_back({QStringLiteral("magnet channel %1 %2").arg(channel + 1).arg(name), role,
                             [channel, keyword, button](QWidget* f) {
                                 f->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(channel);
                                 setText(f, "Text21", keyword);
                                 auto* search = f->findChild<MagnetSearch*>();
                                 search->setMagnetPageNumber(1);
                                 if (button != 3) {
                                     // Paging works once a search has listed rows.
                                     QSignalSpy ended(search, SIGNAL(searchEnded()));
                                     click(f, QStringLiteral("Command21(3)"));
                                     QVERIFY(ended.count() > 0 || ended.wait(8000));
                                     // Back from page 2 to page 1; on to page 2.
                                     search->setMagnetPageNumber(button == 5 ? 2 : 1);
                                 }
                             },
                             [name](QWidget* f) { click(f, name); }, magnet, SIGNAL(searchEnded()), name,
                             {QStringLiteral("ListView19")}, rows(QStringLiteral("ListView19"))});
            }
        }
        // MagnetSiteB's detail pages alone misbehave: the hits list, their links do not come.
        t.push_back({QStringLiteral("magnet channel 2 detail pages"), role::MagnetSiteB,
                     [](QWidget* f) {
                         f->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(1);
                         setText(f, "Text21", QStringLiteral("ubuntu"));
                         f->findChild<MagnetSearch*>()->setMagnetPageNumber(1);
                     },
                     [](QWidget* f) { click(f, QStringLiteral("Command21(3)")); }, magnet, SIGNAL(searchEnded()),
                     QStringLiteral("Command21(3)"), {QStringLiteral("ListView19")}, [](QWidget* f) {
                         ResultList* l = findResultList(f, QStringLiteral("ListView19"));
                         int links = 0;
                         for (int i = 0; i < l->rowCount(); ++i)
                             links += l->cell(l->topLevelItem(i), QStringLiteral("cl")).startsWith(QStringLiteral("magnet:"));
                         return links;
                     }});
        t.back().under = "/detail/";

        // --- BT board, BT film pages and their resolvers ---
        for (int button : {0, 1, 2}) {
            const QString name = QStringLiteral("Command3(%1)").arg(button);
            t.push_back({QStringLiteral("bt board %1").arg(name), role::BtBoardSite,
                         [](QWidget* f) { BtSources::of(f)->setBoardNumber(2); },
                         [name](QWidget* f) { click(f, name); }, bt, SIGNAL(boardEnded()), QString(),
                         {QStringLiteral("ListView18")}, rows(QStringLiteral("ListView18"))});
        }
        for (int button : {0, 1, 2}) {
            const QString name = QStringLiteral("Commandz3(%1)").arg(button);
            t.push_back({QStringLiteral("bt films %1").arg(name), role::EmuleIndexSite,
                         [](QWidget* f) { BtSources::of(f)->setBtFilmPageNumber(2); },
                         [name](QWidget* f) { click(f, name); }, bt, SIGNAL(filmsEnded()), QString(),
                         {QStringLiteral("ListView16")}, rows(QStringLiteral("ListView16"))});
        }
        t.push_back({QStringLiteral("bt films ListView16 double click"), role::EmuleIndexSite,
                     listAndSelect(bt, SIGNAL(filmsEnded()),
                                   [](QWidget* f) {
                                       BtSources::of(f)->setBtFilmPageNumber(1);
                                       click(f, QStringLiteral("Commandz3(0)"));
                                   },
                                   QStringLiteral("ListView16")),
                     [](QWidget* f) { emit findResultList(f, QStringLiteral("ListView16"))->listDoubleClicked(); },
                     bt, SIGNAL(magnetEnded(bool)), QString(), {QStringLiteral("ListView16")},
                     [](QWidget* f) { return f->findChild<QLineEdit*>(QStringLiteral("Text18"))->text().isEmpty() ? 0 : 1; },
                     QStringLiteral("ListView16")});
        t.push_back({QStringLiteral("bt board ListView18 double click (Form11)"), role::BtBoardSite,
                     listAndSelect(bt, SIGNAL(boardEnded()),
                                   [](QWidget* f) {
                                       BtSources::of(f)->setBoardNumber(1);
                                       click(f, QStringLiteral("Command3(0)"));
                                   },
                                   QStringLiteral("ListView18")),
                     [](QWidget* f) { emit findResultList(f, QStringLiteral("ListView18"))->listDoubleClicked(); },
                     post, SIGNAL(detailEnded(bool)), QString(), {QStringLiteral("ListView18")},
                     [](QWidget*) { return int(g_answerer->dialogs().count(QStringLiteral("Form11"))); },
                     QStringLiteral("ListView18")});
        // An error page is no post: the user is asked whether to open the
        // post in the browser, and the status says the post was not read.
        t.back().errorPageText = QStringLiteral("无法获取当前影片信息!");

        // --- film listings and their download links ---
        for (int i = 0; i < kFilmCategoryCount; ++i) {
            const QString name = QStringLiteral("Command14(%1)").arg(i);
            t.push_back({QStringLiteral("film listing %1").arg(name), role::FilmListSite, none,
                         [name](QWidget* f) { click(f, name); }, films, SIGNAL(listingLoaded(int)), QString(),
                         {QStringLiteral("ListView5")}, rows(QStringLiteral("ListView5"))});
        }
        const auto filmRow = listAndSelect(films, SIGNAL(listingLoaded(int)),
                                           [](QWidget* f) { click(f, QStringLiteral("Command14(0)")); },
                                           QStringLiteral("ListView5"));
        t.push_back({QStringLiteral("film listing ListView5 double click"), role::FilmListSite, filmRow,
                     [](QWidget* f) { emit findResultList(f, QStringLiteral("ListView5"))->listDoubleClicked(); },
                     films, SIGNAL(filmLinkEnded(bool)), QString(),
                     {QStringLiteral("ListView5"), QStringLiteral("List3")}, [](QWidget* f) { return entriesOf(f, "List3"); },
                     QStringLiteral("ListView5")});
        t.push_back({QStringLiteral("film listing menu jxyszz"), role::FilmListSite, filmRow,
                     [](QWidget* f) { findRowAction(f, QString::fromLatin1(kParseFilmItem))->trigger(); },
                     films, SIGNAL(filmLinkEnded(bool)), QString(),
                     {QStringLiteral("ListView5"), QStringLiteral("List3")}, [](QWidget* f) { return entriesOf(f, "List3"); },
                     QStringLiteral("ListView5")});
        // --- online video: Qvod film and search sites, torrent tags ---
        const auto qvodFilm = [](QWidget* f) -> QObject* { return OnlineVideoHandlers::of(f)->qvodFilm(); };
        const auto qvodSearch = [](QWidget* f) -> QObject* { return OnlineVideoHandlers::of(f)->qvodSearch(); };
        const auto tags = [](QWidget* f) -> QObject* { return OnlineVideoHandlers::of(f)->torrentTag(); };
        for (int button : {3, 4, 5}) {
            const QString name = QStringLiteral("Command53(%1)").arg(button);
            t.push_back({QStringLiteral("qvod film %1").arg(name), role::QvodFilmSite,
                         [](QWidget* f) { OnlineVideoHandlers::of(f)->qvodFilm()->setPageNumber(2); },
                         [name](QWidget* f) { click(f, name); }, qvodFilm, SIGNAL(listingLoaded()), QString(),
                         {QStringLiteral("ListView3")}, rows(QStringLiteral("ListView3"))});
        }
        for (int button : {7, 8, 9}) {
            const QString name = QStringLiteral("Command53(%1)").arg(button);
            t.push_back({QStringLiteral("qvod search category %1").arg(name), role::QvodSearchSite,
                         [](QWidget* f) { OnlineVideoHandlers::of(f)->qvodSearch()->setPageNumber(2); },
                         [name](QWidget* f) { click(f, name); }, qvodSearch, SIGNAL(listingLoaded()), QString(),
                         {QStringLiteral("ListView14")}, rows(QStringLiteral("ListView14"))});
        }
        // The keyword search reads three pages after its first: all of them
        // misbehave, or only the later ones.
        for (const bool laterOnly : {false, true}) {
            t.push_back({QStringLiteral("qvod search keyword Command53(10)%1").arg(laterOnly ? QStringLiteral(" later pages") : QString()),
                         role::QvodSearchSite, [](QWidget* f) { setText(f, "Text15", QStringLiteral("星际")); },
                         [](QWidget* f) { click(f, QStringLiteral("Command53(10)")); }, qvodSearch, SIGNAL(searchEnded()),
                         QStringLiteral("Command53(10)"), {QStringLiteral("ListView14")}, rows(QStringLiteral("ListView14"))});
            if (laterOnly) {
                t.back().under = "/vod-search-wd-星际-p-";
                t.back().keepsArrivedPages = true;
            }
        }
        t.push_back({QStringLiteral("torrent tags Command53(15)"), role::TorrentTagSite,
                     [](QWidget* f) { setText(f, "Text22", QStringLiteral("ubuntu")); },
                     [](QWidget* f) { click(f, QStringLiteral("Command53(15)")); }, tags, SIGNAL(searchEnded()),
                     QStringLiteral("Command53(15)"), {QStringLiteral("ListView20")}, rows(QStringLiteral("ListView20"))});
        const QStringList filmBoxes = {QStringLiteral("Text7"), QStringLiteral("Text9"), QStringLiteral("Text10"),
                                       QStringLiteral("Text11")};
        t.push_back({QStringLiteral("qvod film ListView3 double click"), role::QvodFilmSite,
                     listAndSelect(qvodFilm, SIGNAL(listingLoaded()),
                                   [filmBoxes](QWidget* f) {
                                       OnlineVideoHandlers::of(f)->qvodFilm()->setPageNumber(1);
                                       click(f, QStringLiteral("Command53(3)"));
                                       for (const QString& box : filmBoxes)
                                           f->findChild<QLineEdit*>(box)->clear();
                                   },
                                   QStringLiteral("ListView3")),
                     [](QWidget* f) { emit findResultList(f, QStringLiteral("ListView3"))->listDoubleClicked(); },
                     qvodFilm, SIGNAL(detailResolved()), QString(), {QStringLiteral("ListView3")},
                     [filmBoxes](QWidget* f) { return filledBoxes(f, filmBoxes); }, QStringLiteral("ListView3")});
        t.push_back({QStringLiteral("qvod search ListView14 double click"), role::QvodSearchSite,
                     listAndSelect(qvodSearch, SIGNAL(listingLoaded()),
                                   [](QWidget* f) {
                                       OnlineVideoHandlers::of(f)->qvodSearch()->setPageNumber(1);
                                       click(f, QStringLiteral("Command53(7)"));
                                   },
                                   QStringLiteral("ListView14")),
                     [](QWidget* f) { emit findResultList(f, QStringLiteral("ListView14"))->listDoubleClicked(); },
                     qvodSearch, SIGNAL(detailResolved()), QString(), {QStringLiteral("ListView14")},
                     // The address it resolves stays until the next one: the
                     // status is what tells this run's ending.
                     [](QWidget*) { return StatusLine::text() == QStringLiteral("种子文件地址已解析..") ? 1 : 0; },
                     QStringLiteral("ListView14")});
        const QStringList hashBoxes = {QStringLiteral("Text23(0)"), QStringLiteral("Text23(1)")};
        t.push_back({QStringLiteral("torrent tags ListView20 double click"), role::TorrentTagSite,
                     listAndSelect(tags, SIGNAL(searchEnded()),
                                   [hashBoxes](QWidget* f) {
                                       setText(f, "Text22", QStringLiteral("ubuntu"));
                                       findResultList(f, QStringLiteral("ListView20"))->clearRows();
                                       click(f, QStringLiteral("Command53(15)"));
                                       for (const QString& box : hashBoxes)
                                           f->findChild<QLineEdit*>(box)->clear();
                                   },
                                   QStringLiteral("ListView20")),
                     [](QWidget* f) {
                         // The last row's torrent is one the site still offers.
                         ResultList* l = findResultList(f, QStringLiteral("ListView20"));
                         QTreeWidgetItem* last = l->topLevelItem(l->rowCount() - 1);
                         l->clearSelection();
                         l->setCurrentItem(last);
                         last->setSelected(true);
                         emit l->listDoubleClicked();
                     },
                     tags, SIGNAL(detailResolved()), QString(), {QStringLiteral("ListView20")},
                     [hashBoxes](QWidget* f) { return filledBoxes(f, hashBoxes); }, QStringLiteral("ListView20")});
        // The site answers a withdrawn torrent with an empty page.
        t.back().emptyBodyText = QStringLiteral("抱歉!该资源已失效,请您获取其他资源");

        // --- player area: on-demand play of a film page, forum addresses ---
        t.push_back({QStringLiteral("on demand jdydbf from ListView6"), role::EmuleIndexSite,
                     listAndSelect(emule, SIGNAL(listingLoaded(int)),
                                   [](QWidget* f) {
                                       EmuleSources::of(f)->setPageNumber(EmuleCategory::Films, 1);
                                       click(f, QStringLiteral("Command21(0)"));
                                   },
                                   QStringLiteral("ListView6")),
                     [](QWidget* f) { findRowAction(f, QStringLiteral("jdydbf"))->trigger(); },
                     child<OnDemandHandlers>(), SIGNAL(filmPageRead()), QString(), {QStringLiteral("ListView6")},
                     [](QWidget*) { return int(g_answerer->dialogs().count(QStringLiteral("Form8"))); },
                     QStringLiteral("ListView6")});
        // The status line speaks once the on-demand window has closed.
        t.back().quietSuccess = true;
        t.push_back({QStringLiteral("forum addresses Form6 Command1"), role::ForumAddressPage,
                     [](QWidget* f) {
                         if (!findForumAddressWindow(f))
                             new ForumAddressWindow(f);
                         for (int i = 2; i <= 7; ++i)
                             findForumAddressWindow(f)->addressBox(i)->clear();
                     },
                     [](QWidget* f) { findForumAddressWindow(f)->findChild<QAbstractButton*>(QStringLiteral("Command1"))->click(); },
                     [](QWidget* f) -> QObject* { return findForumAddressWindow(f); }, SIGNAL(addressesLoaded()), QString(),
                     {}, [](QWidget* f) {
                         int n = 0;
                         for (int i = 2; i <= 7; ++i)
                             n += !findForumAddressWindow(f)->addressBox(i)->text().isEmpty();
                         return n;
                     }});
        t.back().status = [](QWidget* f) {
            return findForumAddressWindow(f)->findChild<QLabel*>(QStringLiteral("forumStatusLabel"))->text();
        };
        t.back().quietSuccess = true;
        return t;
    }();
    return table;
}

// What the status must name after each misbehaviour; empty where the server
// cannot be caught misbehaving (the page is read as it comes).
QStringList namedFailure(Misbehaviour m)
{
    switch (m) {
    case Misbehaviour::EmptyBody:
        // Two wordings of one reason, both in use.
        return {QStringLiteral("页面没有内容"), QStringLiteral("未获取到页面内容")};
    case Misbehaviour::NotFoundPage: return {QStringLiteral("服务器返回 HTTP 404")};
    case Misbehaviour::ServerErrorPage: return {QStringLiteral("服务器返回 HTTP 500")};
    case Misbehaviour::DroppedConnection: return {fetchErrorText(FetchError::Refused)};
    case Misbehaviour::Stall: return {fetchErrorText(FetchError::Timeout)};
    case Misbehaviour::HugeBody: return {fetchErrorText(FetchError::TooLarge)};
    case Misbehaviour::RedirectLoop: return {fetchErrorText(FetchError::RedirectLoop)};
    case Misbehaviour::UndeclaredCharset:
    case Misbehaviour::InvalidBytes:
        return {};
    }
    return {};
}

} // namespace

class TestHostileServers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everySourceAgainstEveryMisbehaviour_data();
    void everySourceAgainstEveryMisbehaviour();
    void everySourceOfTheTableIsStaged();

private:
    QWidget* form1() const { return m_window->get(); }
    // Every list of the window, each given one row of its own name.
    void markEveryList();
    // The lists (other than `own`) that no longer hold only their mark.
    QStringList touchedLists(const QStringList& own) const;
    void clearOutputs(const Source& s);

    std::unique_ptr<ProgramWindow> m_window;
    TestServer* m_server = nullptr;
    std::unique_ptr<ModalAnswerer> m_answerer;
    QTemporaryDir m_downloads;
};

// A source added to the table of sources is staged here too: some case of
// the suite starts it from its button, on its site, into its list.
void TestHostileServers::everySourceOfTheTableIsStaged()
{
    for (const SourceEntry& entry : lumorra::sourceTable()) {
        if (entry.startControl.isEmpty())
            continue;
        bool staged = false;
        for (const Source& s : stagedCases())
            staged = staged
                || (QLatin1String(s.role) == entry.role && s.lists.contains(entry.listName)
                    && s.name.contains(entry.startControl));
        QVERIFY2(staged, qPrintable(sourceVerbName(entry.verb) + u' ' + entry.id + QStringLiteral(" (")
                                    + entry.startControl + QStringLiteral(") has no case")));
    }
}

void TestHostileServers::initTestCase()
{
    m_server = &TestServer::shared();
    m_window = std::make_unique<ProgramWindow>();
    QVERIFY(m_window->isValid());
    QVERIFY(m_window->waitUntilUnlocked());
    PageFetcher::instance().setTimeoutMs(kTimeoutMs);
    PageFetcher::instance().setMaxBodyBytes(kBodyCap);
    setOpenAddressHandler([](const QString&) {});
    // The window's cutting and not-found steps wait up to three seconds;
    // cut first, judge after.
    for (const char* name : {"Timer3", "Timer5", "Timer7", "Timer8", "Timer13", "Timer14", "Timer15", "Timer17",
                             "Timer20", "Timer24", "Timer26"})
        if (auto* t = form1()->findChild<QTimer*>(QLatin1String(name)))
            t->setInterval(5);
    for (const char* name : {"Timer4", "Timer6", "Timer18", "Timer21"})
        if (auto* t = form1()->findChild<QTimer*>(QLatin1String(name)))
            t->setInterval(60);
    // Boxes ("未找到相关资源!", "无法获取当前影片信息!…") are answered with
    // their escape button.
    // The online-video actions want the usage agreement.
    auto* agreement = form1()->findChild<QCheckBox*>(QStringLiteral("Check1"));
    QVERIFY(agreement);
    agreement->setChecked(true);
    m_answerer = std::make_unique<ModalAnswerer>();
    g_answerer = m_answerer.get();
    QVERIFY(m_downloads.isValid());
    g_downloads = m_downloads.path();
    auto* download = form1()->findChild<TorrentDownload*>();
    QVERIFY(download);
    download->setDownloadFolder(g_downloads);
    download->setOfferWaitMs(1000);
}

void TestHostileServers::cleanupTestCase()
{
    m_server->sites().clearProgram();
    m_window.reset();
    g_answerer = nullptr;
    m_answerer.reset();
    setOpenAddressHandler(nullptr);
}

void TestHostileServers::markEveryList()
{
    for (ResultList* l : form1()->findChildren<ResultList*>()) {
        l->clearRows();
        l->addRow(l->objectName());
    }
    for (QListWidget* l : form1()->findChildren<QListWidget*>()) {
        l->clear();
        l->addItem(l->objectName());
    }
}

QStringList TestHostileServers::touchedLists(const QStringList& own) const
{
    QStringList touched;
    for (ResultList* l : form1()->findChildren<ResultList*>())
        if (!own.contains(l->objectName())
            && (l->rowCount() != 1 || l->topLevelItem(0)->text(0) != l->objectName()))
            touched << l->objectName();
    for (QListWidget* l : form1()->findChildren<QListWidget*>())
        if (!own.contains(l->objectName()) && (l->count() != 1 || l->item(0)->text() != l->objectName()))
            touched << l->objectName();
    return touched;
}

void TestHostileServers::clearOutputs(const Source& s)
{
    // What the action fills starts empty, so that what is there at the end
    // came from this run; a resolver's list keeps the row it reads.
    for (const QString& name : s.lists) {
        if (name == s.input)
            continue;
        if (auto* box = form1()->findChild<QListWidget*>(name))
            box->clear();
        else if (ResultList* l = findResultList(form1(), name))
            l->clearRows();
    }
}

void TestHostileServers::everySourceAgainstEveryMisbehaviour_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("misbehaviour");   // -1: the well-behaved site
    const std::vector<Source>& table = stagedCases();
    for (int s = 0; s < int(table.size()); ++s) {
        QTest::addRow("%s | well-behaved", qPrintable(table[s].name)) << s << -1;
        for (Misbehaviour m : allMisbehaviours())
            QTest::addRow("%s | %s", qPrintable(table[s].name), misbehaviourName(m).c_str()) << s << int(m);
    }
}

void TestHostileServers::everySourceAgainstEveryMisbehaviour()
{
    QFETCH(int, source);
    QFETCH(int, misbehaviour);
    const Source& s = stagedCases().at(size_t(source));
    ProgrammableSites& sites = m_server->sites();
    sites.clearProgram();

    // A window the last run opened belongs to that run. (The on-demand
    // window is kept for reuse; a new one is shown to the answerer afresh.)
    delete findOnDemandWindow(form1());
    QTRY_VERIFY(!QApplication::activeModalWidget());
    markEveryList();
    for (const QString& file : QDir(g_downloads).entryList(QDir::Files))
        QFile::remove(QDir(g_downloads).filePath(file));
    QGuiApplication::clipboard()->setText(QStringLiteral("-"));
    form1()->findChild<QLineEdit*>(QStringLiteral("Text18"))->clear();
    s.prepare(form1());
    if (QTest::currentTestFailed())
        return;
    clearOutputs(s);
    m_answerer->clear();
    StatusLine::set(QStringLiteral("-"));

    const bool misbehaving = misbehaviour >= 0;
    const auto m = Misbehaviour(qMax(misbehaviour, 0));
    const std::string prefix = SampleSites::prefixFor(s.role) + s.under;
    if (misbehaving)
        sites.programUnder(prefix, misbehave(m, kTimeoutMs));
    const bool stalled = misbehaving && m == Misbehaviour::Stall;
    PageFetcher::instance().setTimeoutMs(stalled ? kStallTimeoutMs : kTimeoutMs);

    const auto statusNow = [&] { return s.status ? s.status(form1()) : StatusLine::text(); };
    QString progress;
    const bool ended = runToEnd(form1(), s, [&](QWidget* f) {
        s.act(f);
        progress = statusNow();
    });
    sites.clearProgram();
    PageFetcher::instance().setTimeoutMs(kTimeoutMs);
    QVERIFY2(ended, qPrintable(QStringLiteral("no end; status: ") + statusNow()));

    const QString status = statusNow();
    const QStringList named = misbehaving ? namedFailure(m) : QStringList();
    if (!s.quietSuccess || !named.isEmpty())
        QVERIFY2(status != progress && status != QStringLiteral("-"), qPrintable(status));
    if (!s.button.isEmpty())
        QTRY_VERIFY2(buttonOf(form1(), s.button)->isEnabled(), qPrintable(s.button));
    QTRY_COMPARE(PageFetcher::instance().pendingCount(), 0);
    QCOMPARE(touchedLists(s.lists), QStringList());
    // The status is the program's own text, never page text leaking in.
    QVERIFY2(!status.contains(QChar::ReplacementCharacter) && !status.contains(u'<'), qPrintable(status));

    if (!misbehaving) {
        // (A window it opens is seen by the answerer a moment later.)
        QTRY_VERIFY2(s.results(form1()) > 0, qPrintable(QStringLiteral("nothing listed; status: ") + status));
        return;
    }
    if (named.isEmpty())
        return;   // read as it came: rows or not, the ending is plain
    const bool errorPage = m == Misbehaviour::NotFoundPage || m == Misbehaviour::ServerErrorPage;
    const QStringList expected = m == Misbehaviour::EmptyBody && !s.emptyBodyText.isEmpty()
        ? QStringList{s.emptyBodyText}
        : errorPage && !s.errorPageText.isEmpty() ? QStringList{s.errorPageText}
                                                  : named;
    QVERIFY2(std::any_of(expected.begin(), expected.end(), [&](const QString& n) { return status.contains(n); }),
             qPrintable(status));
    if (s.keepsArrivedPages) {
        QVERIFY2(s.results(form1()) > 0, qPrintable(QStringLiteral("the pages that came are not listed")));
        return;
    }
    // (A cancelled download's partial file goes a moment after its end.)
    QTRY_COMPARE(s.results(form1()), 0);
}

int main(int argc, char** argv)
{
    // The hidden browser of the torrent download needs this before the
    // application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestHostileServers test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_hostile_servers.moc"
