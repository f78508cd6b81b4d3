#include "feed/feed_search.h"

#include "sources/everywhere/search_everywhere.h"
#include "sources/source_table.h"
#include "text/html_entities.h"

namespace lumorra::feed {

namespace {

// The resolver that turns a row's detail page into a torrent link.
const SourceEntry* torrentResolverOf(const MergedRow& row)
{
    for (const SourceEntry* s : row.sources)
        if (const SourceEntry* r = resolverOf(*s); r && (r->links & (LinksToMagnet | LinksToTorrent)))
            return r;
    return nullptr;
}

QString failureLine(const QString& id, const QString& reason)
{
    return id + QStringLiteral(": ") + reason;
}

} // namespace

FeedSearch::FeedSearch(QObject* parent) : QObject(parent)
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        m_failures << QStringLiteral("search: not done within %1 s").arg(m_timeoutMs / 1000);
        if (m_search && m_search->isRunning()) {
            m_search->cancel();   // its finished() carries on with the rows it has
            return;
        }
        if (m_listingsRunning > 0) {
            m_listingsRunning = 0;
            stopListings();
            listingEnded();
            return;
        }
        finish();
    });
}

FeedSearch::~FeedSearch()
{
    stopListings();
    stopResolvers();
}

void FeedSearch::start(const FeedIndexer& indexer, const TorznabRequest& request)
{
    cancel();
    m_request = request;
    m_failures.clear();
    m_page.clear();
    m_total = 0;
    m_listed.clear();
    m_resolved.clear();
    m_gathered = false;
    m_running = true;
    m_timeout.start(m_timeoutMs);

    if (!request.keyword.isEmpty()) {
        m_search = new SearchEverywhere(this);
        m_search->setTimeoutMs(std::max(1000, m_timeoutMs - 15000)); // leaves time to resolve
        connect(m_search, &SearchEverywhere::rowsAdded, this,
                [this](int first, int count) { arrived(m_search->results(), first, count); });
        connect(m_search, &SearchEverywhere::finished, this, &FeedSearch::searched, Qt::QueuedConnection);
        m_search->start(request.keyword, indexer.sources);
        return;
    }
    // No keyword: how media managers test an indexer and take recent
    // releases. The listings' first pages answer it.
    m_listingsRunning = int(indexer.recent.size());
    if (m_listingsRunning == 0) {
        listingEnded();
        return;
    }
    for (const SourceEntry* listing : indexer.recent) {
        SourceEngine* engine = listing->createEngine(Pacing::immediate(), this);
        m_listings << engine;
        connect(engine, &SourceEngine::rows, this, [this, listing](const QList<ListRow>& rows) {
            const MergedResults::Change change = m_listed.add(*listing, rows);
            arrived(m_listed, change.firstNew, change.newCount);
        });
        connect(engine, &SourceEngine::finished, this, [this, listing](const SourceOutcome& outcome) {
            if (outcome.failed())
                m_failures << failureLine(listing->id, outcome.reason);
            if (!outcome.completed() && !outcome.failed())
                return;
            if (--m_listingsRunning == 0)
                listingEnded();
        });
        SourceRequest r;
        r.variant = listing->variant;
        engine->start(r);
    }
}

void FeedSearch::searched()
{
    if (!m_running || !m_search)
        return;
    for (const SourceRun& run : m_search->sourceRuns())
        if (run.state == SourceRun::State::Failed)
            m_failures << failureLine(run.source->id, run.reason);
    const QList<MergedRow>& rows = m_search->results().rows();
    gathered(rows.mid(m_request.offset, m_request.limit), int(rows.size()));
}

void FeedSearch::listingEnded()
{
    if (!m_running)
        return;
    const QList<MergedRow>& rows = m_listed.rows();
    gathered(rows.mid(m_request.offset, m_request.limit), int(rows.size()));
}

void FeedSearch::arrived(const MergedResults& results, int first, int count)
{
    // Rows keep their places as they merge, so a row this far up is on the
    // first page whatever comes after it.
    if (m_request.offset != 0)
        return;
    for (int i = first; i < first + count && i < m_request.limit; ++i)
        resolve(results.at(i));
}

void FeedSearch::resolve(const MergedRow& row)
{
    const FoundResource& r = row.resource;
    if (!m_running || r.linkKind != LinkKind::Page || r.detail.isEmpty() || m_resolved.contains(r.detail)
        || m_resolved.size() >= kMaxResolved)
        return;
    const SourceEntry* resolver = torrentResolverOf(row);
    if (!resolver)
        return;
    const QString detail = r.detail;
    m_resolved.insert(detail, Resolved());
    SourceEngine* engine = resolver->createEngine(Pacing::immediate(), this);
    m_resolvers << engine;
    ++m_resolving;
    connect(engine, &SourceEngine::rows, this, [this, detail](const QList<ListRow>& found) {
        Resolved& resolved = m_resolved[detail];
        for (const ListRow& row : found) {
            const QString link = decodeHtmlEntities(row.cell(QStringLiteral("dz")).trimmed());
            // A resolver's page is a page too: only a link of its kind counts.
            if (link.startsWith(QLatin1String("magnet:?"), Qt::CaseInsensitive)
                || link.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
                || link.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
                resolved.link = link;
                resolved.date = row.cell(QStringLiteral("gx")).trimmed();
                return;
            }
        }
    });
    connect(engine, &SourceEngine::finished, this, [this, detail](const SourceOutcome& outcome) {
        if (!outcome.completed() && !outcome.failed())
            return;
        m_resolved[detail].done = true;
        if (--m_resolving == 0 && m_gathered)
            finish();
    });
    SourceRequest request;
    request.address = detail;
    engine->start(request);
}

void FeedSearch::gathered(QList<MergedRow> page, int total)
{
    m_page = std::move(page);
    m_total = total;
    m_gathered = true;
    stopListings();
    for (const MergedRow& row : std::as_const(m_page))
        resolve(row);
    if (m_resolving == 0)
        finish();
}

void FeedSearch::finish()
{
    if (!m_running)
        return;
    m_running = false;
    m_timeout.stop();
    stopListings();
    stopResolvers();
    QList<FeedItem> items;
    items.reserve(m_page.size());
    for (MergedRow row : std::as_const(m_page)) {
        FoundResource& r = row.resource;
        const Resolved found = r.linkKind == LinkKind::Page ? m_resolved.value(r.detail) : Resolved();
        if (!found.link.isEmpty()) {
            const bool magnet = found.link.startsWith(QLatin1String("magnet:?"), Qt::CaseInsensitive);
            r.link = found.link;
            r.linkKind = magnet ? LinkKind::Magnet : LinkKind::Torrent;
            if (!magnet)
                r.torrent = found.link;
            if (r.date.isEmpty())
                r.date = found.date;
        }
        items << feedItem(row);
    }
    emit finished(items, m_total, m_failures);
}

void FeedSearch::cancel()
{
    m_running = false;
    m_timeout.stop();
    m_listingsRunning = 0;
    stopListings();
    stopResolvers();
    if (m_search) {
        m_search->disconnect(this);
        m_search->cancel();
        m_search->deleteLater();
        m_search = nullptr;
    }
}

namespace {

void stopAll(QList<SourceEngine*>& engines, QObject* listener)
{
    for (SourceEngine* engine : std::as_const(engines)) {
        engine->disconnect(listener);
        engine->cancel();
        engine->deleteLater();
    }
    engines.clear();
}

} // namespace

void FeedSearch::stopListings()
{
    stopAll(m_listings, this);
}

void FeedSearch::stopResolvers()
{
    m_resolving = 0;
    stopAll(m_resolvers, this);
}

} // namespace lumorra::feed
