#include "sources/emule/emule_handlers.h"

#include "ui/message_box.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "sources/page_widgets.h"
#include "sources/window_timer.h"
#include "sources/emule/emule_search_parse.h"
#include "text/memory_release.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <limits>

namespace lumorra {

namespace {

const char kInstanceName[] = "EmuleSources";
constexpr qint16 kPendingTop = std::numeric_limits<qint16>::max();

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

// Pending counts are 16-bit: once full they stay full.
qint16 addPending(qint16 pending, int hits)
{
    return qint16(qMin<qint64>(qint64(pending) + qMax(hits, 0), kPendingTop));
}

FetchResult fetchPage(const QString& url)
{
    return PageFetcher::instance().fetch(url, FetchMode::WithIfModifiedSince);
}

void addRecordRow(ResultList* list, int number, const EmuleRecord& record)
{
    QTreeWidgetItem* row = list->addRow(QString::number(number));
    list->setCell(row, QStringLiteral("mc"), record.name);
    list->setCell(row, QStringLiteral("bz"), record.remark);
    list->setCell(row, QStringLiteral("zzdz"), record.address);
}

} // namespace

QString emuleEmptyListingText()
{
    return QStringLiteral("获取完毕..本页没有资源记录");
}

QString emuleFetchFailedText(const FetchResult& result)
{
    const QString reason = result.ok() ? QStringLiteral("页面没有内容") : fetchErrorText(result.error);
    return QStringLiteral("资源获取失败(") + reason + QStringLiteral("),请稍后再试..");
}

EmuleSources::EmuleSources(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QString::fromLatin1(kInstanceName));
    m_pages.fill(1);

    m_timer15 = windowTimer(form1, this, QStringLiteral("Timer15"), 100);
    m_timer20 = windowTimer(form1, this, QStringLiteral("Timer20"), 100);
    m_timer21 = windowTimer(form1, this, QStringLiteral("Timer21"), 1000);
    connect(m_timer15, &QTimer::timeout, this, &EmuleSources::Timer15_Timer);
    connect(m_timer20, &QTimer::timeout, this, &EmuleSources::Timer20_Timer);
    connect(m_timer21, &QTimer::timeout, this, &EmuleSources::Timer21_Timer);

    auto wire = [this](const char* array, int first, int last, void (EmuleSources::*handler)(int)) {
        for (int i = first; i <= last; ++i) {
            const QString name = pageui::arrayName(QLatin1String(array), i);
            if (auto* b = qobject_cast<QAbstractButton*>(control(name)))
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

QWidget* EmuleSources::control(const QString& name) const
{
    return m_form1->findChild<QWidget*>(name);
}

QString EmuleSources::boxText(const QString& name) const
{
    auto* box = qobject_cast<QLineEdit*>(control(name));
    return box ? box->text() : QString();
}

bool EmuleSources::fetchSearchPage(CutPage& into, const QString& url, bool& fetching, const QString& button)
{
    fetching = true;
    const QPointer<EmuleSources> alive(this);
    const FetchResult result = fetchPage(url);
    if (!alive)
        return false;
    fetching = false;
    if (result.text.isEmpty()) {
        setButtonEnabled(button, true);
        StatusLine::set(emuleFetchFailedText(result));
        return false;
    }
    into.setText(result.text);
    return true;
}

void EmuleSources::setButtonEnabled(const QString& name, bool enabled)
{
    if (QWidget* b = control(name))
        b->setEnabled(enabled);
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
    if (index == 12)
        indexSearch();
    else if (index == 13)
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
    const EmuleCategoryInfo& info = emuleCategoryInfo(category);
    StatusLine::set(QStringLiteral("正在获取,请稍等.."));
    const QString base = indexSite();
    const QPointer<EmuleSources> alive(this);
    const FetchResult result = fetchPage(categoryPageUrl(base, category, pageNumber(category)));
    if (!alive)
        return;   // the window went while the page loaded
    // Nothing came back: the list keeps what it shows (and the raised page
    // number stays), but the user is told the page did not arrive instead of
    // being left with "正在获取" for good.
    if (result.text.isEmpty()) {
        StatusLine::set(emuleFetchFailedText(result));
        return;
    }

    ResultList* list = findResultList(m_form1, QLatin1String(info.listName));
    if (!list)
        return;
    list->clearRows();
    const CutPage page(result.text);
    const QList<EmuleRecord> records = cutCategoryRecords(page, base, kCategoryPageRecords);
    for (int i = 0; i < records.size(); ++i)
        addRecordRow(list, i + 1, records[i]);
    StatusLine::set(records.isEmpty() ? emuleEmptyListingText() : QStringLiteral("获取完毕.."));
}

// ---------------------------------------------------------------------------
// Index-site keyword search

void EmuleSources::indexSearch()
{
    const QString button = QStringLiteral("Command27(12)");
    const QString keyword = boxText(QStringLiteral("Text16"));
    if (keyword.isEmpty()) {
        StatusLine::set(QStringLiteral("请输入资源关键字 .."));
        return;
    }
    if (ResultList* list = findResultList(m_form1, QStringLiteral("ListView15")))
        list->clearRows();
    setButtonEnabled(button, false);
    m_indexPending = 0;
    m_indexPage.clear();
    StatusLine::set(QStringLiteral("正在搜索资源.."));

    const QString url = indexSearchUrl(indexSite(), keyword, boxText(QStringLiteral("Text17")));
    if (!fetchSearchPage(m_indexPage, url, m_indexFetching, button))
        return;

    if (isIndexSearchNotFound(m_indexPage.text())) {
        const QString text = QStringLiteral("没有找到相关电驴资源!");
        StatusLine::set(text);
        showInfo(m_form1->window(), text);
        setButtonEnabled(button, true);
        return;
    }

    const int hits = countCategoryRecords(m_indexPage);
    if (hits == 0) {
        // A page of neither kind: nothing to cut, and nothing would give the
        // button back.
        setButtonEnabled(button, true);
        StatusLine::set(QStringLiteral("获取完毕.."));
        return;
    }
    m_indexPending = addPending(m_indexPending, hits);
    if (m_timer15)
        m_timer15->start();
}

void EmuleSources::Timer15_Timer()
{
    ResultList* list = findResultList(m_form1, QStringLiteral("ListView15"));
    const QString base = indexSite();
    const int n = m_indexPending;
    for (int i = 1; i <= n; ++i) {
        --m_indexPending;
        const std::optional<EmuleRecord> r = cutCategoryRecord(m_indexPage, i, base);
        if (r && list)
            addRecordRow(list, i, *r);
    }
    setButtonEnabled(QStringLiteral("Command27(12)"), true);
    StatusLine::set(QStringLiteral("获取完毕.."));
    if (m_timer15)
        m_timer15->stop();
}

// ---------------------------------------------------------------------------
// Search-site keyword search

void EmuleSources::searchSiteSearch()
{
    const QString button = QStringLiteral("Command27(13)");
    const QString keyword = boxText(QStringLiteral("Text19"));
    if (keyword.isEmpty()) {
        StatusLine::set(QStringLiteral("请输入资源关键字 .."));
        return;
    }
    setButtonEnabled(button, false);
    // The previous search's not-found check has nothing to say about this one.
    if (m_timer21)
        m_timer21->stop();
    if (ResultList* list = findResultList(m_form1, QStringLiteral("ListView17")))
        list->clearRows();
    StatusLine::set(QStringLiteral("正在获取资源.."));

    const QString url = searchSiteUrl(searchSite(), keyword, boxText(QStringLiteral("Text20")));
    if (!fetchSearchPage(m_searchPage, url, m_searchFetching, button))
        return;
    m_searchPending = 0;

    const int hits = countSearchSiteRecords(m_searchPage);
    if (hits > 0) {
        m_searchPending = addPending(m_searchPending, hits);
        if (m_timer20)
            m_timer20->start();
    }
    if (m_timer21)
        m_timer21->start();
}

void EmuleSources::Timer20_Timer()
{
    if (ResultList* list = findResultList(m_form1, QStringLiteral("ListView17"))) {
        const QList<SearchSiteRow> rows = cutSearchSiteRows(m_searchPage, searchSite(), m_searchPending);
        for (int i = 0; i < rows.size(); ++i) {
            QTreeWidgetItem* row = list->addRow(QString::number(i + 1));
            list->setCell(row, QStringLiteral("mc"), rows[i].name);
            list->setCell(row, QStringLiteral("dz"), rows[i].address);
            list->setCell(row, QStringLiteral("fl"), rows[i].category);
        }
    }
    m_searchPending = 0;
    if (m_timer20)
        m_timer20->stop();
    StatusLine::set(QStringLiteral("资源获取完毕.."));
    setButtonEnabled(QStringLiteral("Command27(13)"), true);
}

void EmuleSources::Timer21_Timer()
{
    // One check per search: rows that arrived answer it as well.
    if (m_timer21)
        m_timer21->stop();
    ResultList* list = findResultList(m_form1, QStringLiteral("ListView17"));
    if (list && list->rowCount() > 0)
        return;
    StatusLine::set(QStringLiteral("没有找到相关资源.."));
    setButtonEnabled(QStringLiteral("Command27(13)"), true);
}

// ---------------------------------------------------------------------------

void EmuleSources::releaseTexts()
{
    m_indexPage.clear();
    m_searchPage.clear();
    m_indexPending = 0;
    m_searchPending = 0;
    // The parse steps would have given the buttons back; with their pages
    // gone they will not run, so give them back here (a search still waiting
    // for its page does that itself).
    for (QTimer* t : {m_timer15.data(), m_timer20.data(), m_timer21.data()})
        if (t)
            t->stop();
    if (!m_indexFetching)
        setButtonEnabled(QStringLiteral("Command27(12)"), true);
    if (!m_searchFetching)
        setButtonEnabled(QStringLiteral("Command27(13)"), true);
}

void installEmuleSources(QWidget* form1)
{
    if (!form1 || EmuleSources::of(form1))
        return;
    new EmuleSources(form1);
}

} // namespace lumorra
