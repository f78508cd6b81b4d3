#include "pages/emule/emule_handlers.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "pages/engine_binding.h"
#include "pages/page_widgets.h"
#include "sources/emule/emule_engines.h"
#include "sources/source_table.h"
#include "ui/message_box.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QWidget>

#include <limits>
#include <utility>

namespace lumorra {

namespace {

const char kInstanceName[] = "EmuleSources";

// The table's ids of the category listings, in category order.
const char* const kCategoryIds[] = {"emule-films",     "emule-music", "emule-software", "emule-books",
                                    "emule-education", "emule-data",  "emule-cartoons"};

size_t slotOf(EmuleCategory category)
{
    return size_t(category);
}

QString boxText(const QLineEdit* box)
{
    return box ? box->text() : QString();
}

} // namespace

EmuleSources::EmuleSources(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QString::fromLatin1(kInstanceName));
    m_pages.fill(1);
    const Pacing pacing = windowPacing(form1);

    for (const EmuleCategoryInfo& info : emuleCategories())
        bindCategory(info, pacing);

    m_indexSearch = qobject_cast<EmuleIndexSearchEngine*>(
        findSourceEntry(SourceVerb::Search, QStringLiteral("emule"))->createEngine(pacing, this));
    m_siteSearch = qobject_cast<EmuleSiteSearchEngine*>(
        findSourceEntry(SourceVerb::Search, QStringLiteral("emule-search"))->createEngine(pacing, this));
    auto searchButton = [form1](int index) {
        return form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Command27"), index));
    };
    m_indexBinding = new EngineBinding(m_indexSearch, searchButton(kIndexSearch),
                                       findResultList(form1, QStringLiteral("ListView15")), this);
    m_siteBinding = new EngineBinding(m_siteSearch, searchButton(kSiteSearch),
                                      findResultList(form1, QStringLiteral("ListView17")), this);
    // The search site's cutting step gives the button back; its not-found
    // check a second later ends the search.
    m_siteBinding->setReleaseOnRows(true);
    m_indexKeywordBox = form1->findChild<QLineEdit*>(QStringLiteral("Text16"));
    m_indexPageBox = form1->findChild<QLineEdit*>(QStringLiteral("Text17"));
    m_siteKeywordBox = form1->findChild<QLineEdit*>(QStringLiteral("Text19"));
    m_sitePageBox = form1->findChild<QLineEdit*>(QStringLiteral("Text20"));

    connect(m_indexBinding, &EngineBinding::ended, this,
            [this](const SourceOutcome& outcome) { searchDone(kIndexSearch, outcome); });
    connect(m_siteBinding, &EngineBinding::ended, this,
            [this](const SourceOutcome& outcome) { searchDone(kSiteSearch, outcome); });
    connect(m_indexSearch, &EmuleIndexSearchEngine::hitsCounted, this, [this] { emit pageCounted(kIndexSearch); });
    connect(m_siteSearch->steps(), &CountThenCut::hitsCounted, this, [this] { emit pageCounted(kSiteSearch); });

    auto wire = [this, form1](const char* array, int first, int last, void (EmuleSources::*handler)(int)) {
        for (int i = first; i <= last; ++i) {
            const QString name = pageui::arrayName(QLatin1String(array), i);
            if (auto* b = form1->findChild<QAbstractButton*>(name))
                connect(b, &QAbstractButton::clicked, this, [this, handler, i] { (this->*handler)(i); });
        }
    };
    // Command21(3..5) belong to the magnet search.
    wire("Command21", 0, 2, &EmuleSources::Command21_Click);
    wire("Command26", 0, 2, &EmuleSources::Command26_Click);
    wire("Command27", 0, 13, &EmuleSources::Command27_Click);
    wire("Command41", 0, 2, &EmuleSources::Command41_Click);
}

void EmuleSources::bindCategory(const EmuleCategoryInfo& info, const Pacing& pacing)
{
    const size_t slot = slotOf(info.category);
    const int category = int(info.category);
    auto* engine = qobject_cast<EmuleCategoryEngine*>(
        findSourceEntry(SourceVerb::List, QLatin1String(kCategoryIds[slot]))->createEngine(pacing, this));
    m_categoryEngines[slot] = engine;
    m_categoryLists[slot] = findResultList(m_form1, QLatin1String(info.listName));

    connect(engine, &SourceEngine::status, this, [](const QString& text) { StatusLine::set(text); });
    connect(engine, &SourceEngine::rows, this, [this, slot](const QList<ListRow>& rows) {
        ResultList* list = m_categoryLists[slot];
        if (!list)
            return;
        if (!std::exchange(m_listShowsThisRun[slot], true))
            list->clearRows();
        for (const ListRow& row : rows)
            list->addRow(row);
    });
    connect(engine, &SourceEngine::finished, this, [this, category](const SourceOutcome& outcome) {
        // A newer click of this category has the list now.
        if (outcome.kind == SourceOutcome::Kind::Superseded || outcome.kind == SourceOutcome::Kind::Cancelled)
            return;
        // The list keeps what it shows (and the raised page number stays),
        // but the user is told the page did not arrive.
        if (outcome.failed())
            emit failed(outcome.reason);
        emit listingLoaded(category);
    });
}

EmuleSources* EmuleSources::of(QWidget* form1)
{
    return form1 ? form1->findChild<EmuleSources*>(QString::fromLatin1(kInstanceName),
                                                   Qt::FindDirectChildrenOnly)
                 : nullptr;
}

qint64 EmuleSources::pageNumber(EmuleCategory category) const
{
    return m_pages[slotOf(category)];
}

void EmuleSources::setPageNumber(EmuleCategory category, qint64 page)
{
    if (category == EmuleCategory::Cartoons)
        page = qBound(qint64(std::numeric_limits<qint16>::min()), page, qint64(std::numeric_limits<qint16>::max()));
    m_pages[slotOf(category)] = page;
}

int EmuleSources::indexPending() const
{
    return m_indexSearch->pending();
}

int EmuleSources::searchPending() const
{
    return m_siteSearch->steps()->pending();
}

// ---------------------------------------------------------------------------
// Category rows

void EmuleSources::Command21_Click(int index) { categoryClick(QStringLiteral("Command21"), index); }
void EmuleSources::Command26_Click(int index) { categoryClick(QStringLiteral("Command26"), index); }
void EmuleSources::Command41_Click(int index) { categoryClick(QStringLiteral("Command41"), index); }

void EmuleSources::Command27_Click(int index)
{
    if (index == kIndexSearch || index == kSiteSearch)
        startSearch(index);
    else
        categoryClick(QStringLiteral("Command27"), index);
}

void EmuleSources::categoryClick(const QString& array, int index)
{
    const std::optional<CategoryButton> b = categoryButton(array, index);
    if (!b)
        return;
    qint64& page = m_pages[slotOf(b->category)];
    switch (b->action) {
    case PagingAction::Fetch:
        break;
    case PagingAction::Next:
        page = nextCategoryPage(b->category, page);
        break;
    case PagingAction::Previous:
        if (page == 1) {
            showInfo(m_form1->window(), QStringLiteral("已经是最上一页!"));
            return;
        }
        // The 16-bit cartoon number keeps its floor rather than wrap.
        if (b->category != EmuleCategory::Cartoons || page > std::numeric_limits<qint16>::min())
            --page;
        break;
    }
    fetchCategory(b->category);
}

void EmuleSources::fetchCategory(EmuleCategory category)
{
    const size_t slot = slotOf(category);
    SourceRequest request;
    request.page = QString::number(pageNumber(category));
    request.variant = int(category);
    m_listShowsThisRun[slot] = false;
    // The latest click wins: the engine drops a page still on its way for an
    // earlier click, so the list always shows the page its number names.
    m_categoryEngines[slot]->start(request);
}

// ---------------------------------------------------------------------------
// Keyword searches

void EmuleSources::startSearch(int search)
{
    const bool index = search == kIndexSearch;
    SourceRequest request;
    request.keyword = boxText(index ? m_indexKeywordBox : m_siteKeywordBox);
    request.page = boxText(index ? m_indexPageBox : m_sitePageBox);
    (index ? m_indexBinding : m_siteBinding)->start(request);
}

void EmuleSources::searchDone(int search, const SourceOutcome& outcome)
{
    emit searchEnded(search);
    if (outcome.failed()) {
        emit failed(outcome.reason);
        return;
    }
    // The index site's own no-result page is told in a box as well.
    if (search == kIndexSearch && outcome.kind == SourceOutcome::Kind::NoRows && !outcome.reason.isEmpty())
        showInfo(m_form1->window(), outcome.reason);
}

void installEmuleSources(QWidget* form1)
{
    if (!form1 || EmuleSources::of(form1))
        return;
    new EmuleSources(form1);
}

} // namespace lumorra
