#include "pages/emule/emule_handlers.h"

#include "ui/message_box.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "pages/page_widgets.h"
#include "pages/window_timer.h"
#include "sources/emule/emule_search_parse.h"
#include "text/memory_release.h"
#include "text/number_text.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <limits>
#include <utility>

namespace lumorra {

namespace {

const char kInstanceName[] = "EmuleSources";

QString indexSite()
{
    return SiteConfig::current().base(QString::fromLatin1(role::EmuleIndexSite));
}

QString searchSite()
{
    return SiteConfig::current().base(QString::fromLatin1(role::EmuleSearchSite));
}

int slotOf(EmuleCategory category)
{
    return int(category);
}

void addRecordRow(ResultList* list, int number, const EmuleRecord& record)
{
    list->addRow(listRow(number, record));
}

QString boxText(const QLineEdit* box)
{
    return box ? box->text() : QString();
}

void setEnabled(QAbstractButton* button, bool on)
{
    if (button)
        button->setEnabled(on);
}

} // namespace

QString emuleEmptyListingText()
{
    return QStringLiteral("获取完毕..本页没有资源记录");
}

QString emuleFetchFailedText(const FetchResult& result)
{
    const QString reason = pageFailureText(result);
    return QStringLiteral("资源获取失败(") + reason + QStringLiteral("),请稍后再试..");
}

EmuleSources::EmuleSources(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QString::fromLatin1(kInstanceName));
    m_pages.fill(1);

    for (const EmuleCategoryInfo& info : emuleCategories())
        m_categoryLists[size_t(slotOf(info.category))] = findResultList(form1, QLatin1String(info.listName));
    m_listView15 = findResultList(form1, QStringLiteral("ListView15"));
    m_listView17 = findResultList(form1, QStringLiteral("ListView17"));
    m_text16 = form1->findChild<QLineEdit*>(QStringLiteral("Text16"));
    m_text17 = form1->findChild<QLineEdit*>(QStringLiteral("Text17"));
    m_text19 = form1->findChild<QLineEdit*>(QStringLiteral("Text19"));
    m_text20 = form1->findChild<QLineEdit*>(QStringLiteral("Text20"));
    m_indexSearchButton = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Command27"), kIndexSearch));
    m_siteSearchButton = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Command27"), kSiteSearch));

    m_timer15 = windowTimer(form1, this, QStringLiteral("Timer15"), 100);
    m_timer20 = windowTimer(form1, this, QStringLiteral("Timer20"), 100);
    m_timer21 = windowTimer(form1, this, QStringLiteral("Timer21"), 1000);
    connect(m_timer15, &QTimer::timeout, this, &EmuleSources::Timer15_Timer);
    connect(m_timer20, &QTimer::timeout, this, &EmuleSources::Timer20_Timer);
    connect(m_timer21, &QTimer::timeout, this, &EmuleSources::Timer21_Timer);

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

    m_releaseHook = addReleaseHook([this] { releaseTexts(); });
}

EmuleSources::~EmuleSources()
{
    removeReleaseHook(m_releaseHook);
}

EmuleSources* EmuleSources::of(QWidget* form1)
{
    return form1 ? form1->findChild<EmuleSources*>(QString::fromLatin1(kInstanceName),
                                                   Qt::FindDirectChildrenOnly)
                 : nullptr;
}

bool EmuleSources::takeSearchPage(int search, const FetchResult& result, CutPage& into)
{
    if (!result.hasPage()) {
        const QString reason = emuleFetchFailedText(result);
        StatusLine::set(reason);
        endSearch(search);
        emit failed(reason);
        return false;
    }
    into.setText(result.text);
    return true;
}

void EmuleSources::endSearch(int search)
{
    bool& searching = search == kIndexSearch ? m_indexSearching : m_siteSearching;
    setEnabled(search == kIndexSearch ? m_indexSearchButton : m_siteSearchButton, true);
    if (std::exchange(searching, false))
        emit searchEnded(search);
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

// ---------------------------------------------------------------------------
// Category rows

void EmuleSources::Command21_Click(int index) { categoryClick(QStringLiteral("Command21"), index); }
void EmuleSources::Command26_Click(int index) { categoryClick(QStringLiteral("Command26"), index); }
void EmuleSources::Command41_Click(int index) { categoryClick(QStringLiteral("Command41"), index); }

void EmuleSources::Command27_Click(int index)
{
    if (index == kIndexSearch)
        indexSearch();
    else if (index == kSiteSearch)
        searchSiteSearch();
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
    StatusLine::set(QStringLiteral("正在获取,请稍等.."));
    const QString base = indexSite();
    const size_t slot = size_t(slotOf(category));
    // The latest click wins: a page still on its way for an earlier click of
    // this category is dropped, so the list always shows the page its page
    // number names.
    m_categoryFetch[slot].get(categoryPageUrl(base, category, pageNumber(category)),
                              FetchMode::WithIfModifiedSince, this,
                              [this, category, base, slot](const FetchResult& result) {
        // Nothing came back: the list keeps what it shows (and the raised
        // page number stays), but the user is told the page did not arrive
        // instead of being left with "正在获取" for good.
        if (!result.hasPage()) {
            const QString reason = emuleFetchFailedText(result);
            StatusLine::set(reason);
            emit failed(reason);
            emit listingLoaded(int(category));
            return;
        }
        ResultList* list = m_categoryLists[slot];
        if (list) {
            list->clearRows();
            const CutPage page(result.text);
            const QList<EmuleRecord> records = cutCategoryRecords(page, base, kCategoryPageRecords);
            for (int i = 0; i < records.size(); ++i)
                addRecordRow(list, i + 1, records[i]);
            StatusLine::set(records.isEmpty() ? emuleEmptyListingText() : QStringLiteral("获取完毕.."));
        }
        emit listingLoaded(int(category));
    });
}

// ---------------------------------------------------------------------------
// Index-site keyword search

void EmuleSources::indexSearch()
{
    const QString keyword = boxText(m_text16);
    if (keyword.isEmpty()) {
        StatusLine::set(QStringLiteral("请输入资源关键字 .."));
        return;
    }
    if (m_listView15)
        m_listView15->clearRows();
    setEnabled(m_indexSearchButton, false);
    if (m_timer15)
        m_timer15->stop();
    m_indexPending = 0;
    m_indexPage.clear();
    m_indexSearching = true;
    StatusLine::set(QStringLiteral("正在搜索资源.."));

    const QString url = indexSearchUrl(indexSite(), keyword, boxText(m_text17));
    m_indexFetch.get(url, FetchMode::WithIfModifiedSince, this, [this](const FetchResult& result) {
        if (!takeSearchPage(kIndexSearch, result, m_indexPage))
            return;
        if (isIndexSearchNotFound(m_indexPage.text())) {
            const QString text = QStringLiteral("没有找到相关电驴资源!");
            StatusLine::set(text);
            endSearch(kIndexSearch);
            showInfo(m_form1->window(), text);
            return;
        }
        const int hits = countCategoryRecords(m_indexPage);
        if (hits == 0) {
            // A page of neither kind: nothing to cut, and nothing would give
            // the button back.
            StatusLine::set(QStringLiteral("获取完毕.."));
            endSearch(kIndexSearch);
            return;
        }
        m_indexPending = addPendingHits(m_indexPending, hits);
        if (m_timer15)
            m_timer15->start();
        emit pageCounted(kIndexSearch);
    });
}

void EmuleSources::Timer15_Timer()
{
    const QString base = indexSite();
    const int n = m_indexPending;
    for (int i = 1; i <= n; ++i) {
        --m_indexPending;
        const std::optional<EmuleRecord> r = cutCategoryRecord(m_indexPage, i, base);
        if (r && m_listView15)
            addRecordRow(m_listView15, i, *r);
    }
    StatusLine::set(QStringLiteral("获取完毕.."));
    if (m_timer15)
        m_timer15->stop();
    endSearch(kIndexSearch);
}

// ---------------------------------------------------------------------------
// Search-site keyword search

void EmuleSources::searchSiteSearch()
{
    const QString keyword = boxText(m_text19);
    if (keyword.isEmpty()) {
        StatusLine::set(QStringLiteral("请输入资源关键字 .."));
        return;
    }
    setEnabled(m_siteSearchButton, false);
    // The previous search's steps have nothing to say about this one.
    if (m_timer20)
        m_timer20->stop();
    if (m_timer21)
        m_timer21->stop();
    if (m_listView17)
        m_listView17->clearRows();
    m_searchPending = 0;
    m_siteSearching = true;
    StatusLine::set(QStringLiteral("正在获取资源.."));

    const QString url = searchSiteUrl(searchSite(), keyword, boxText(m_text20));
    m_siteFetch.get(url, FetchMode::WithIfModifiedSince, this, [this](const FetchResult& result) {
        if (!takeSearchPage(kSiteSearch, result, m_searchPage))
            return;
        const int hits = countSearchSiteRecords(m_searchPage);
        if (hits > 0) {
            m_searchPending = addPendingHits(m_searchPending, hits);
            if (m_timer20)
                m_timer20->start();
        }
        if (m_timer21)
            m_timer21->start();
        emit pageCounted(kSiteSearch);
    });
}

void EmuleSources::Timer20_Timer()
{
    if (m_listView17) {
        const QList<SearchSiteRow> rows = cutSearchSiteRows(m_searchPage, searchSite(), m_searchPending);
        for (int i = 0; i < rows.size(); ++i)
            m_listView17->addRow(listRow(i + 1, rows[i]));
    }
    m_searchPending = 0;
    if (m_timer20)
        m_timer20->stop();
    StatusLine::set(QStringLiteral("资源获取完毕.."));
    setEnabled(m_siteSearchButton, true);
}

void EmuleSources::Timer21_Timer()
{
    // One check per search, and the search's last step: rows that arrived
    // answer it as well.
    if (m_timer21)
        m_timer21->stop();
    if (!m_listView17 || m_listView17->rowCount() == 0)
        StatusLine::set(QStringLiteral("没有找到相关资源.."));
    endSearch(kSiteSearch);
}

// ---------------------------------------------------------------------------

void EmuleSources::releaseTexts()
{
    // The memory release has just stopped Timer15, Timer20 and Timer21. A
    // search whose page is in but not yet cut would never end, so it keeps
    // its page and its steps run again; other pages are let go. A search
    // still waiting for its page carries on by itself.
    if (m_indexSearching && !m_indexFetch.isPending()) {
        if (m_timer15)
            m_timer15->start();
    } else {
        m_indexPage.clear();
        m_indexPending = 0;
    }
    if (m_siteSearching && !m_siteFetch.isPending()) {
        if (m_searchPending > 0 && m_timer20)
            m_timer20->start();
        if (m_timer21)
            m_timer21->start();
    } else {
        m_searchPage.clear();
        m_searchPending = 0;
    }
}

void installEmuleSources(QWidget* form1)
{
    if (!form1 || EmuleSources::of(form1))
        return;
    new EmuleSources(form1);
}

} // namespace lumorra
