#include "sources/emule/emule_engines.h"

#include "sources/emule/emule_search_parse.h"
#include "text/memory_release.h"
#include "text/number_text.h"

namespace lumorra {

namespace {

QString keywordMissingText()
{
    return QStringLiteral("请输入资源关键字 ..");
}

} // namespace

QString emuleEmptyListingText()
{
    return QStringLiteral("获取完毕..本页没有资源记录");
}

QString emuleListedText()
{
    return QStringLiteral("获取完毕..");
}

// ---------------------------------------------------------------------------

EmuleCategoryEngine::EmuleCategoryEngine(EmuleCategory category, QObject* parent)
    : PageEngine(parent), m_category(category)
{
    setSite(QStringLiteral("emule-index"));
}

QString EmuleCategoryEngine::startText() const
{
    return QStringLiteral("正在获取,请稍等..");
}

QString EmuleCategoryEngine::addressFor(const SourceRequest& request) const
{
    return categoryPageUrl(definition(), siteBase(), m_category, request.page.toLongLong());
}

void EmuleCategoryEngine::takePage(const FetchResult& page)
{
    const CutPage cut(page.text);
    const QList<EmuleRecord> records = cutCategoryRecords(definition(), cut, siteBase(), kCategoryPageRecords);
    // Rows are emitted even when there are none: the page came, so the list
    // shows it, empty.
    addRows(numberedInOrder(records));
    say(records.isEmpty() ? emuleEmptyListingText() : emuleListedText());
    finishRows();
}

// ---------------------------------------------------------------------------

EmuleIndexSearchEngine::EmuleIndexSearchEngine(const Pacing& pacing, QObject* parent)
    : PageEngine(parent), m_cutStep(new PacedStep(pacing, QStringLiteral("Timer15"), 100, this, [this] { cut(); }))
{
    setSite(QStringLiteral("emule-index"));
    // The memory release stops Timer15: a search whose page is in but not yet
    // cut keeps its page and gets its step back, else it would never end.
    m_releaseHook = addReleaseHook([this] {
        if (isRunning() && !isFetching() && m_pending > 0) {
            m_cutStep->arm();
        } else {
            m_page.clear();
            m_pending = 0;
        }
    });
}

EmuleIndexSearchEngine::~EmuleIndexSearchEngine()
{
    removeReleaseHook(m_releaseHook);
}

QString EmuleIndexSearchEngine::notFoundText()
{
    return QStringLiteral("没有找到相关电驴资源!");
}

QString EmuleIndexSearchEngine::refusalOf(const SourceRequest& request) const
{
    return request.keyword.isEmpty() ? keywordMissingText() : QString();
}

QString EmuleIndexSearchEngine::startText() const
{
    return QStringLiteral("正在搜索资源..");
}

QString EmuleIndexSearchEngine::addressFor(const SourceRequest& request) const
{
    return indexSearchUrl(definition(), siteBase(), request.keyword, request.page);
}

void EmuleIndexSearchEngine::takePage(const FetchResult& page)
{
    m_page.setText(page.text);
    if (isIndexSearchNotFound(definition(), page.text)) {
        say(notFoundText());
        finishNone(notFoundText());
        return;
    }
    const int hits = countCategoryRecords(definition(), m_page);
    if (hits == 0) {
        // A page of neither kind: nothing to cut, and no step would end it.
        say(emuleListedText());
        finishNone();
        return;
    }
    m_pending = addPendingHits(m_pending, hits);
    m_cutStep->arm();
    emit hitsCounted(m_pending);
}

void EmuleIndexSearchEngine::halt()
{
    PageEngine::halt();
    m_cutStep->disarm();
    m_pending = 0;
    m_page.clear();
}

void EmuleIndexSearchEngine::cut()
{
    const SiteDefinition& def = definition();
    const QString base = siteBase();
    const int n = m_pending;
    QList<ListRow> rows;
    for (int i = 1; i <= n; ++i) {
        --m_pending;
        if (const std::optional<EmuleRecord> r = cutCategoryRecord(def, m_page, i, base))
            rows << listRow(i, *r);
    }
    m_cutStep->disarm();
    addRows(rows);
    say(emuleListedText());
    finishRows();
}

// ---------------------------------------------------------------------------

EmuleSiteSearchEngine::EmuleSiteSearchEngine(const Pacing& pacing, QObject* parent)
    : PageEngine(parent),
      m_steps(new CountThenCut(pacing, {QStringLiteral("Timer20"), 100}, {QStringLiteral("Timer21"), 1000}, this,
                               [this](int hits) { cut(hits); }, [this] { judge(); }))
{
    setSite(QStringLiteral("emule-search"));
    // As the index search: a counted page keeps its steps through the
    // memory release; other pages are let go.
    m_releaseHook = addReleaseHook([this] {
        if (isRunning() && !isFetching())
            m_steps->rearm();
        else
            m_page.clear();
    });
}

EmuleSiteSearchEngine::~EmuleSiteSearchEngine()
{
    removeReleaseHook(m_releaseHook);
}

QString EmuleSiteSearchEngine::refusalOf(const SourceRequest& request) const
{
    return request.keyword.isEmpty() ? keywordMissingText() : QString();
}

QString EmuleSiteSearchEngine::startText() const
{
    return QStringLiteral("正在获取资源..");
}

QString EmuleSiteSearchEngine::addressFor(const SourceRequest& request) const
{
    return searchSiteUrl(definition(), siteBase(), request.keyword, request.page);
}

void EmuleSiteSearchEngine::takePage(const FetchResult& page)
{
    m_page.setText(page.text);
    m_steps->counted(countSearchSiteRecords(definition(), m_page));
}

void EmuleSiteSearchEngine::halt()
{
    PageEngine::halt();
    m_steps->stop();
}

void EmuleSiteSearchEngine::cut(int hits)
{
    addRows(numberedInOrder(cutSearchSiteRows(definition(), m_page, siteBase(), hits)));
    say(QStringLiteral("资源获取完毕.."));
}

void EmuleSiteSearchEngine::judge()
{
    // The search's last step: rows that arrived answer it as well.
    if (rowCount() == 0)
        say(QStringLiteral("没有找到相关资源.."));
    finishRows();
}

} // namespace lumorra
