#include "sources/source_table.h"

#include "core/column_table.h"
#include "net/site_config.h"
#include "sources/definitions/site_definitions.h"
#include "sources/engine/source_events.h"
#include "sources/clouddisk/cloud_disk_engine.h"
#include "sources/emule/ed2k_engine.h"
#include "sources/emule/emule_category_parse.h"
#include "sources/emule/emule_engines.h"
#include "sources/film/film_list_parse.h"
#include "sources/film/film_listing_engines.h"
#include "sources/torrent/bt_board_parse.h"
#include "sources/torrent/bt_engines.h"
#include "sources/torrent/magnet_search_engines.h"
#include "sources/torrent/torrent_search_engines.h"
#include "sources/video/video_engines.h"

#include <QHash>

namespace lumorra {

namespace {

template <typename Engine>
EngineFactory paced()
{
    return [](const Pacing& pacing, QObject* parent) -> SourceEngine* { return new Engine(pacing, parent); };
}

template <typename Engine>
EngineFactory unpaced()
{
    return [](const Pacing&, QObject* parent) -> SourceEngine* { return new Engine(parent); };
}

const SourceEntry* findSourceEntryIn(const QList<SourceEntry>& table, SourceVerb verb, const QString& id)
{
    for (const SourceEntry& s : table)
        if (s.verb == verb && s.id == id)
            return &s;
    return nullptr;
}

QList<SourceEntry> buildTable()
{
    QList<SourceEntry> t;
    auto add = [&t](SourceVerb verb, const char* id, const char* role, const char* summary, const char* list,
                    int options, int links, EngineFactory create) -> SourceEntry& {
        SourceEntry s;
        s.id = QString::fromLatin1(id);
        s.verb = verb;
        s.role = QString::fromLatin1(role);
        s.site = siteOfRole(s.role);
        s.summary = QString::fromUtf8(summary);
        s.listName = QString::fromLatin1(list);
        s.options = options;
        s.links = links;
        s.create = std::move(create);
        t << s;
        return t.last();
    };
    using V = SourceVerb;

    // ---- keyword searches ----
    {
        SourceEntry& s = add(V::Search, "clouddisk", role::CloudDiskSearch,
                             "shares of the 24 cloud-disk services, through the search engine (CloudDiskSearch)",
                             "ListView1", Paged | Services, LinksToShare, paced<CloudDiskEngine>());
        s.caption = QStringLiteral("网盘搜索");
        s.startControl = QStringLiteral("Command1");
        s.keywordBox = QStringLiteral("Text1");
        s.timers = {{QStringLiteral("Timer17"), 100}, {QStringLiteral("Timer18"), 1000}};
    }
    {
        SourceEntry& s = add(V::Search, "torrent", role::TorrentIndexSite, "torrent index (TorrentIndexSite)",
                             "ListView2", Paged, LinksToMagnet, paced<TorrentIndexEngine>());
        s.caption = QStringLiteral("种子搜索");
        s.startControl = QStringLiteral("Command2(0)");
        s.keywordBox = QStringLiteral("Text2");
        s.timers = {{QStringLiteral("Timer3"), 100}, {QStringLiteral("Timer4"), 1000}};
    }
    {
        SourceEntry& s = add(V::Search, "rss", role::TorrentRssSite, "torrent RSS feed (TorrentRssSite)",
                             "ListView4", NoSourceOptions, LinksToTorrent, paced<TorrentRssEngine>());
        s.caption = QStringLiteral("种子订阅");
        s.startControl = QStringLiteral("Command2(1)");
        s.keywordBox = QStringLiteral("Text8");
        s.timers = {{QStringLiteral("Timer5"), 100}, {QStringLiteral("Timer6"), 1000}};
    }
    {
        SourceEntry& s = add(V::Search, "film", role::FilmResourceSite, "film resources (FilmResourceSite)",
                             "ListView13", Paged, LinksToPage, unpaced<FilmResourceEngine>());
        s.caption = QStringLiteral("影视资源");
        s.startControl = QStringLiteral("Command2(2)");
        s.keywordBox = QStringLiteral("Text13");
        s.resolvedBy = QStringLiteral("qvod");
    }
    {
        SourceEntry& s = add(V::Search, "magnet-a", role::MagnetSiteA, "magnet search, channel 1 (MagnetSiteA)",
                             "ListView19", Paged, LinksToMagnet, paced<MagnetSiteAEngine>());
        s.caption = QStringLiteral("磁力搜索一");
        s.startControl = QStringLiteral("Command21(3)");
        s.keywordBox = QStringLiteral("Text21");
        s.timers = {{QStringLiteral("Timer24"), 3000}};
        s.checkWord = QStringLiteral("ubuntu");
    }
    {
        SourceEntry& s = add(V::Search, "magnet-b", role::MagnetSiteB,
                             "magnet search, channel 2 (MagnetSiteB); reads each hit's detail page", "ListView19",
                             Paged, LinksToMagnet, paced<MagnetSiteBEngine>());
        s.caption = QStringLiteral("磁力搜索二");
        s.startControl = QStringLiteral("Command21(3)");
        s.keywordBox = QStringLiteral("Text21");
        s.timers = {{QStringLiteral("Timer26"), 100}};
        s.checkWord = QStringLiteral("ubuntu");
    }
    {
        SourceEntry& s = add(V::Search, "emule", role::EmuleIndexSite, "eMule index site (EmuleIndexSite)",
                             "ListView15", Paged, LinksToPage, paced<EmuleIndexSearchEngine>());
        s.caption = QStringLiteral("电驴资源");
        s.startControl = QStringLiteral("Command27(12)");
        s.keywordBox = QStringLiteral("Text16");
        s.timers = {{QStringLiteral("Timer15"), 100}};
        s.resolvedBy = QStringLiteral("ed2k");
    }
    {
        SourceEntry& s = add(V::Search, "emule-search", role::EmuleSearchSite, "eMule search site (EmuleSearchSite)",
                             "ListView17", Paged, LinksToEd2k, paced<EmuleSiteSearchEngine>());
        s.caption = QStringLiteral("电驴搜索");
        s.startControl = QStringLiteral("Command27(13)");
        s.keywordBox = QStringLiteral("Text19");
        s.timers = {{QStringLiteral("Timer20"), 100}, {QStringLiteral("Timer21"), 1000}};
    }
    {
        SourceEntry& s = add(V::Search, "qvod", role::QvodSearchSite,
                             "Qvod search site, every result page collected (QvodSearchSite)", "ListView14",
                             NeedsAgreement, LinksToPage, paced<QvodSearchEngine>());
        s.caption = QStringLiteral("快播搜索");
        s.startControl = QStringLiteral("Command53(10)");
        s.keywordBox = QStringLiteral("Text15");
        s.timers = {{QStringLiteral("Timer14"), 100}};
        s.resolvedBy = QStringLiteral("qvod");
    }
    {
        SourceEntry& s = add(V::Search, "tag", role::TorrentTagSite, "torrent tag site (TorrentTagSite)",
                             "ListView20", NeedsAgreement, LinksToPage, paced<TorrentTagEngine>());
        s.caption = QStringLiteral("种子标签");
        s.startControl = QStringLiteral("Command53(15)");
        s.keywordBox = QStringLiteral("Text22");
        s.timers = {{QStringLiteral("Timer8"), 1000}};
        s.resolvedBy = QStringLiteral("tag");
    }

    // ---- listings ----
    static const char* const emuleNames[] = {"emule-films", "emule-music", "emule-software", "emule-books",
                                             "emule-education", "emule-data", "emule-cartoons"};
    for (const EmuleCategoryInfo& info : emuleCategories()) {
        const int slot = int(info.category);
        const EmuleCategory category = info.category;
        SourceEntry& s = add(V::List, emuleNames[slot], role::EmuleIndexSite,
                             "eMule index site category page (EmuleIndexSite)", info.listName, Paged, LinksToPage,
                             [category](const Pacing&, QObject* parent) -> SourceEngine* {
                                 return new EmuleCategoryEngine(category, parent);
                             });
        s.variant = slot;
        s.startControl = QStringLiteral("%1(%2)").arg(QLatin1String(info.buttonArray)).arg(info.firstButton);
    }
    {
        SourceEntry& s = add(V::List, "bt-board", role::BtBoardSite,
                             "BT board, --page is the board number 1 to 8 (BtBoardSite)", "ListView18", Paged,
                             LinksToPage, unpaced<BtBoardEngine>());
        s.maxPage = kBtBoardLast;
        s.startControl = QStringLiteral("Command3(0)");
    }
    {
        SourceEntry& s = add(V::List, "bt-films", role::EmuleIndexSite, "BT film pages (EmuleIndexSite)",
                             "ListView16", Paged, LinksToPage, unpaced<BtFilmsEngine>());
        s.startControl = QStringLiteral("Commandz3(0)");
        s.resolvedBy = QStringLiteral("bt");
    }
    static const char* const filmNames[] = {"films-latest", "films-chinese", "films-western",
                                            "films-chinese-tv", "films-japan-korea-tv", "films-anime"};
    static const char* const filmSummaries[] = {
        "film listing 综合最新电影 (FilmListSite)", "film listing 国内最新电影 (FilmListSite)",
        "film listing 欧美最新电影 (FilmListSite)", "film listing 华语电视剧 (FilmListSite)",
        "film listing 日韩电视剧 (FilmListSite)", "film listing 动漫资源 (FilmListSite)"};
    for (int i = 0; i < kFilmCategoryCount; ++i) {
        SourceEntry& s = add(V::List, filmNames[i], role::FilmListSite, filmSummaries[i], "ListView5",
                             NoSourceOptions, LinksToPage, unpaced<FilmListingEngine>());
        s.variant = i;
        s.startControl = QStringLiteral("Command14(%1)").arg(i);
    }
    {
        SourceEntry& s = add(V::List, "qvod-channel", role::QvodFilmSite,
                             "Qvod film site channel page (QvodFilmSite)", "ListView3", Paged | NeedsAgreement,
                             LinksToPage, paced<QvodChannelEngine>());
        s.startControl = QStringLiteral("Command53(3)");
        s.timers = {{QStringLiteral("Timer7"), 100}};
    }
    {
        SourceEntry& s = add(V::List, "qvod-category", role::QvodSearchSite,
                             "Qvod search site category page (QvodSearchSite)", "ListView14",
                             Paged | NeedsAgreement, LinksToPage, paced<QvodCategoryEngine>());
        s.startControl = QStringLiteral("Command53(7)");
        s.timers = {{QStringLiteral("Timer13"), 100}};
    }

    // ---- resolvers: a detail page to its link ----
    const QStringList linkColumns{QStringLiteral("xh"), QStringLiteral("dz")};
    auto resolver = [&](const char* id, const char* role, const char* summary, int links, QStringList columns,
                        EngineFactory create) {
        add(V::Resolve, id, role, summary, "", NoSourceOptions, links, std::move(create)).columns =
            std::move(columns);
    };
    resolver("ed2k", role::EmuleIndexSite, "the first ed2k link of an eMule detail page", LinksToEd2k, linkColumns,
             unpaced<Ed2kEngine>());
    resolver("qvod", role::QvodSearchSite,
             "the Qvod address of a Qvod search or Qvod film site detail page, or every distinct qvod:// link of "
             "a film resource detail page",
             LinksToQvod, linkColumns, unpaced<QvodResolveEngine>());
    resolver("film", role::FilmListSite, "the download link of a film listing detail page", LinksToPage,
             linkColumns, unpaced<FilmLinkEngine>());
    resolver("bt", role::EmuleIndexSite, "the magnet link (dz) and update date (gx) of a BT film download page",
             LinksToMagnet, {QStringLiteral("xh"), QStringLiteral("dz"), QStringLiteral("gx")},
             unpaced<BtMagnetEngine>());
    resolver("tag", role::TorrentTagSite, "the magnet link (dz) and info hash (tzm) of a torrent tag page",
             LinksToMagnet, {QStringLiteral("xh"), QStringLiteral("dz"), QStringLiteral("tzm")},
             unpaced<TorrentTagResolveEngine>());
    t.last().keywordBox = QStringLiteral("ListView20");

    // ---- sites added by definition files: their scheme's search ----
    const qsizetype shippedCount = t.size();
    for (const SiteDefinitionPtr& d : SiteDefinitions::current().added()) {
        for (qsizetype i = 0; i < shippedCount; ++i) {
            const SourceEntry& model = t.at(i);
            if (model.site != d->scheme || model.verb == V::Resolve)
                continue;
            if (findSourceEntryIn(t, model.verb, d->name))
                break;   // a name the table has already
            SourceEntry s = model;
            s.id = d->name;
            s.site = d->name;
            s.role = d->role;
            s.caption = d->caption.isEmpty() ? d->name : d->caption;
            s.summary = QStringLiteral("%1, added by %2").arg(model.summary, d->origin);
            // The window's pages are the shipped sites'; an added site has none.
            s.startControl.clear();
            s.keywordBox.clear();
            t << s;
            break;
        }
    }
    return t;
}

} // namespace

QString sourceVerbName(SourceVerb verb)
{
    switch (verb) {
    case SourceVerb::Search: return QStringLiteral("search");
    case SourceVerb::List: return QStringLiteral("list");
    case SourceVerb::Resolve: return QStringLiteral("resolve");
    }
    return {};
}

SourceEngine* SourceEntry::createEngine(const Pacing& pacing, QObject* parent) const
{
    SourceEngine* engine = create ? create(pacing, parent) : nullptr;
    if (engine) {
        engine->setObjectName(id);
        engine->setSite(site);
        QObject::connect(engine, &SourceEngine::finished, &SourceEvents::instance(),
                         [this](const SourceOutcome& outcome) { emit SourceEvents::instance().ended(this, outcome); });
    }
    return engine;
}

const QList<SourceEntry>& sourceTable()
{
    static const QList<SourceEntry> table = buildTable();
    return table;
}

const SourceEntry* findSourceEntry(SourceVerb verb, const QString& id)
{
    return findSourceEntryIn(sourceTable(), verb, id);
}

QString siteOfRole(const QString& role)
{
    static const QHash<QString, QString> sites{
        {QLatin1String(role::CloudDiskSearch), QStringLiteral("clouddisk")},
        {QLatin1String(role::TorrentIndexSite), QStringLiteral("torrent-index")},
        {QLatin1String(role::TorrentRssSite), QStringLiteral("torrent-rss")},
        {QLatin1String(role::FilmResourceSite), QStringLiteral("film-resource")},
        {QLatin1String(role::MagnetSiteA), QStringLiteral("magnet-a")},
        {QLatin1String(role::MagnetSiteB), QStringLiteral("magnet-b")},
        {QLatin1String(role::EmuleIndexSite), QStringLiteral("emule-index")},
        {QLatin1String(role::EmuleSearchSite), QStringLiteral("emule-search")},
        {QLatin1String(role::QvodSearchSite), QStringLiteral("qvod-search")},
        {QLatin1String(role::TorrentTagSite), QStringLiteral("torrent-tag")},
        {QLatin1String(role::BtBoardSite), QStringLiteral("bt-board")},
        {QLatin1String(role::FilmListSite), QStringLiteral("film-list")},
        {QLatin1String(role::QvodFilmSite), QStringLiteral("qvod-film")}};
    return sites.value(role);
}

const SourceEntry* resolverOf(const SourceEntry& source)
{
    return source.resolvedBy.isEmpty() ? nullptr : findSourceEntry(SourceVerb::Resolve, source.resolvedBy);
}

QStringList sourceColumns(const SourceEntry& source)
{
    if (!source.columns.isEmpty())
        return source.columns;
    QStringList keys;
    if (const ListLayout* layout = listLayout(source.listName))
        for (const ColumnLayout& c : layout->columns)
            keys << c.key;
    return keys;
}

} // namespace lumorra
