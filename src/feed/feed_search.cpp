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
            stopEngines();
            listingEnded();
            return;
        }
        finish();
    });
}

FeedSearch::~FeedSearch()
{
    stopEngines();
}

void FeedSearch::start(const FeedIndexer& indexer, const TorznabRequest& request)
{
    cancel();
    m_request = request;
    m_failures.clear();
    m_page.clear();
    m_total = 0;
    m_listed.clear();
    m_running = true;
    m_timeout.start(m_timeoutMs);

    if (!request.keyword.isEmpty()) {
        m_search = new SearchEverywhere(this);
        m_search->setTimeoutMs(std::max(1000, m_timeoutMs - 15000)); // leaves time to resolve
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
        m_engines << engine;
        connect(engine, &SourceEngine::rows, this,
                [this, listing](const QList<ListRow>& rows) { m_listed.add(*listing, rows); });
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
    const int total = int(rows.size());
    resolvePage(rows.mid(m_request.offset, m_request.limit), total);
}

void FeedSearch::listingEnded()
{
    if (!m_running)
        return;
    const QList<MergedRow>& rows = m_listed.rows();
    resolvePage(rows.mid(m_request.offset, m_request.limit), int(rows.size()));
}

void FeedSearch::resolvePage(QList<MergedRow> rows, int total)
{
    m_page = std::move(rows);
    m_total = total;
    stopEngines();
    for (int i = 0; i < m_page.size() && m_resolving < kMaxResolved; ++i) {
        const MergedRow& row = m_page[i];
        if (row.resource.linkKind != LinkKind::Page || row.resource.detail.isEmpty())
            continue;
        const SourceEntry* resolver = torrentResolverOf(row);
        if (!resolver)
            continue;
        SourceEngine* engine = resolver->createEngine(Pacing::immediate(), this);
        m_engines << engine;
        ++m_resolving;
        connect(engine, &SourceEngine::rows, this, [this, i](const QList<ListRow>& found) { resolved(i, found); });
        connect(engine, &SourceEngine::finished, this, [this](const SourceOutcome& outcome) {
            if (!outcome.completed() && !outcome.failed())
                return;
            if (--m_resolving == 0)
                finish();
        });
        SourceRequest r;
        r.address = row.resource.detail;
        engine->start(r);
    }
    if (m_resolving == 0)
        finish();
}

void FeedSearch::resolved(int pageRow, const QList<ListRow>& found)
{
    FoundResource& r = m_page[pageRow].resource;
    for (const ListRow& row : found) {
        const QString link = decodeHtmlEntities(row.cell(QStringLiteral("dz")).trimmed());
        const bool magnet = link.startsWith(QLatin1String("magnet:?"), Qt::CaseInsensitive);
        const bool web = link.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
            || link.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
        if (!magnet && !web)
            continue; // a resolver's page is a page too: only a link of its kind counts
        r.link = link;
        r.linkKind = magnet ? LinkKind::Magnet : LinkKind::Torrent;
        if (!magnet)
            r.torrent = link;
        if (r.date.isEmpty())
            r.date = row.cell(QStringLiteral("gx")).trimmed();
        return;
    }
}

void FeedSearch::finish()
{
    if (!m_running)
        return;
    m_running = false;
    m_timeout.stop();
    stopEngines();
    QList<FeedItem> items;
    items.reserve(m_page.size());
    for (const MergedRow& row : std::as_const(m_page))
        items << feedItem(row);
    emit finished(items, m_total, m_failures);
}

void FeedSearch::cancel()
{
    m_running = false;
    m_timeout.stop();
    m_listingsRunning = 0;
    stopEngines();
    if (m_search) {
        m_search->disconnect(this);
        m_search->cancel();
        m_search->deleteLater();
        m_search = nullptr;
    }
}

void FeedSearch::stopEngines()
{
    m_resolving = 0;
    for (SourceEngine* engine : std::as_const(m_engines)) {
        engine->disconnect(this);
        engine->cancel();
        engine->deleteLater();
    }
    m_engines.clear();
}

} // namespace lumorra::feed
