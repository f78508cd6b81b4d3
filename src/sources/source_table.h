#pragma once
// The one list of the program's sources. The command line's verbs and
// names, the window's pages, the first-run tour and the hostile-server
// checks all read it; a new source of an existing scheme is a row here, its
// cutter, its sample route and its test.
#include "sources/engine/pacing.h"
#include "sources/engine/source_engine.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace lumorra {

enum class SourceVerb { Search, List, Resolve };

QString sourceVerbName(SourceVerb verb);   // "search", "list", "resolve"

enum SourceOption {
    NoSourceOptions = 0,
    Paged = 1,           // takes a page (board) number
    Services = 2,        // takes the cloud-disk services to ask
    NeedsAgreement = 4,  // an online-video source: the usage agreement first
};

// What a source's rows lead to.
enum SourceLink {
    LinksToPage = 1,     // a detail page (a resolver of the table reads it)
    LinksToMagnet = 2,
    LinksToTorrent = 4,
    LinksToEd2k = 8,
    LinksToQvod = 16,
    LinksToShare = 32,   // a cloud-disk share page
};

using EngineFactory = std::function<SourceEngine*(const Pacing& pacing, QObject* parent)>;

struct SourceEntry {
    QString id;               // the command line's name: "torrent", "emule-films" …
    SourceVerb verb = SourceVerb::Search;
    QString role;             // the sites.ini role whose base it asks
    QString site;             // the site definition its engine cuts by
    QString summary;          // one line for the command line's help
    QString caption;          // the window's short name of a keyword source ("种子搜索")
    QString listName;         // the window's list whose columns its rows have
    QStringList columns;      // column keys when its rows are not a list's (resolvers)
    int options = NoSourceOptions;
    int maxPage = 32767;      // with Paged: the highest page (board) number
    int variant = 0;          // the request's variant (a category)
    int links = LinksToPage;
    // In the window: the button that starts it and the box that holds its
    // keyword (or detail list), by objectName; empty where the window has none.
    QString startControl;
    QString keywordBox;
    QList<StepTimer> timers;  // the window timers that pace it
    // The resolver (a Resolve row's id) that reads this source's detail
    // pages; empty when its rows need none.
    QString resolvedBy;
    // A search: the word the site check asks for, one its site surely lists.
    QString checkWord = QStringLiteral("电影");
    EngineFactory create;

    bool has(SourceOption o) const { return options & o; }
    bool linksTo(SourceLink l) const { return links & l; }
    // A new engine of this source, named by its id (the window's pages,
    // the tour and the checks find it by that name); its parent owns it.
    SourceEngine* createEngine(const Pacing& pacing, QObject* parent) const;
};

// Every source, in help order, then a search of every site a definition
// file added (as its scheme's search, under the site's name). Built once,
// from the definitions in force at first use.
const QList<SourceEntry>& sourceTable();
// The shipped site of a sites.ini role ("torrent-index" for TorrentIndexSite).
QString siteOfRole(const QString& role);
const SourceEntry* findSourceEntry(SourceVerb verb, const QString& id);
// The resolver of `source`'s detail pages, or null.
const SourceEntry* resolverOf(const SourceEntry& source);
// The keys its rows are printed under, in column order.
QStringList sourceColumns(const SourceEntry& source);

} // namespace lumorra
