#include "pages/video/qvod_search_source.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "net/url_encoding.h"
#include "pages/page_widgets.h"
#include "pages/video/list_top.h"
#include "pages/video/poster.h"
#include "sources/video/qvod_search_parse.h"
#include "sources/video/video_texts.h"
#include "pages/window_timer.h"
#include "text/memory_release.h"
#include "text/number_text.h"
#include "ui/load_picture.h"
#include "ui/message_box.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <limits>
#include <utility>

namespace lumorra {

namespace {

const QString kFetching = QStringLiteral("正在获取资源中...");
const QString kDone = QStringLiteral("资源获取完毕..");

QString siteBase()
{
    return SiteConfig::current().base(QString::fromLatin1(role::QvodSearchSite));
}

} // namespace

QvodSearchSource::QvodSearchSource(QWidget* form1, QObject* parent) : QObject(parent), m_form1(form1)
{
    setObjectName(QStringLiteral("QvodSearchSource"));
    m_listView14 = findResultList(form1, QStringLiteral("ListView14"));
    m_text15 = form1->findChild<QLineEdit*>(QStringLiteral("Text15"));
    m_image3 = form1->findChild<QLabel*>(QStringLiteral("Image3"));
    m_searchButton = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Command53"), 10));
    m_timer13 = windowTimer(form1, this, QStringLiteral("Timer13"), 100);
    m_timer14 = windowTimer(form1, this, QStringLiteral("Timer14"), 100);
    connect(m_timer13, &QTimer::timeout, this, &QvodSearchSource::Timer13_Timer);
    connect(m_timer14, &QTimer::timeout, this, &QvodSearchSource::Timer14_Timer);
    if (m_listView14)
        connect(m_listView14, &ResultList::listDoubleClicked, this, &QvodSearchSource::ListView14_DblClick);
    m_releaseHook = addReleaseHook([this] { releaseTexts(); });
}

QvodSearchSource::~QvodSearchSource()
{
    removeReleaseHook(m_releaseHook);
}

void QvodSearchSource::releaseTexts()
{
    // The release has stopped Timer13 and Timer14. A category page counted
    // but not yet cut, and a keyword search between two of its pages, get
    // their timers back; pages nobody needs any more are let go.
    if (m_categoryHits > 0 && !m_categoryPage.text().isEmpty())
        m_timer13->start();
    else
        m_categoryPage.clear();
    if (m_searching) {
        if (!m_searchFetch.isPending())
            m_timer14->start();
    } else {
        m_searchPage.clear();
    }
}

// ---------------------------------------------------------------------------
// Category pages

void QvodSearchSource::fetchCategory()
{
    // The list shows the latest request: a keyword search still collecting
    // its pages, or a category cut still due, is dropped.
    if (m_searching) {
        m_searchFetch.cancel();
        m_timer14->stop();
        m_searchPage.clear();
        endSearch(kFetching);
    }
    m_timer13->stop();
    m_categoryHits = 0;
    if (m_listView14)
        m_listView14->clearRows();
    StatusLine::set(kFetching);
    m_categoryPage.clear();
    m_categoryFetch.get(qvodSearchCategoryUrl(siteBase(), m_pageNumber), FetchMode::WithIfModifiedSince, this,
                        [this](const FetchResult& r) {
        m_categoryPage.setText(r.hasPage() ? r.text : QString());
        if (!r.hasPage()) {
            const QString reason = videoListingFailedText(r);
            StatusLine::set(reason);
            emit failed(reason);
            emit listingLoaded();
            return;
        }
        hx6();
    });
}

void QvodSearchSource::hx6()
{
    const int n = countQvodSearchCategoryHits(m_categoryPage.text());
    m_categoryHits = addPendingHits(m_categoryHits, n);
    if (n > 0) {
        m_timer13->start();
        return;
    }
    StatusLine::set(videoEmptyListingText());
    emit listingLoaded();
}

void QvodSearchSource::Timer13_Timer()
{
    const int n = m_categoryHits;
    const QList<QvodSearchRow> rows = cutQvodSearchRows(m_categoryPage, qvodSearchCategoryRowMarker(), siteBase(), n);
    if (m_listView14) {
        for (int i = 0; i < rows.size(); ++i)
            m_listView14->addRow(listRow(i + 1, rows.at(i)));
    }
    m_categoryHits = qint16(m_categoryHits - n);
    StatusLine::set(kDone);
    m_timer13->stop();
    emit listingLoaded();
}

// ---------------------------------------------------------------------------
// Keyword search

void QvodSearchSource::keywordSearch()
{
    const QString keyword = m_text15 ? m_text15->text() : QString();
    if (keyword.isEmpty()) {
        StatusLine::set(QStringLiteral("请输入要搜索的关键字 .."));
        return;
    }
    // A new search replaces a running one and any category listing.
    m_timer14->stop();
    m_timer13->stop();
    m_categoryFetch.cancel();
    m_categoryHits = 0;
    m_pagesLeft = 0;
    m_missedPages = 0;
    m_missesInARow = 0;
    m_firstMissReason.clear();
    m_searching = true;
    if (m_searchButton)
        m_searchButton->setEnabled(false);
    if (m_listView14)
        m_listView14->clearRows();
    StatusLine::set(kFetching);
    m_searchPage.clear();
    // The collection asks for the keyword the search began with, whatever
    // the box holds by then.
    m_searchKeyword = encodeKeyword(keyword);

    m_searchFetch.get(qvodSearchKeywordUrl(siteBase(), m_searchKeyword), FetchMode::WithIfModifiedSince, this,
                      [this](const FetchResult& r) {
        if (!r.hasPage()) {
            const QString reason = videoListingFailedText(r);
            endSearch(reason);
            emit failed(reason);
            return;
        }
        if (isQvodSearchNoResult(r.text)) {
            endSearch(QStringLiteral("没有搜索到相关资源..."));
            return;
        }
        m_searchPage.setText(r.text);
        m_searchTotal = qvodSearchAnnouncedTotal(m_searchPage);
        m_pagesLeft = qvodSearchAnnouncedPages(m_searchPage);
        if (m_pagesLeft > 1) {
            m_timer14->start();
            return;
        }
        m_pagesLeft = 0;
        cutKeywordRows();
    });
}

void QvodSearchSource::Timer14_Timer()
{
    // One page per tick, and never a second tick while a page is on its way.
    if (!m_searching || m_searchFetch.isPending()) {
        m_timer14->stop();
        return;
    }
    if (m_pagesLeft != 0) {
        collectNextPage();
        return;
    }
    m_timer14->stop();
    cutKeywordRows();
}

void QvodSearchSource::collectNextPage()
{
    --m_pagesLeft;
    m_timer14->stop();
    const QString url = qvodSearchKeywordPageUrl(siteBase(), m_searchKeyword, m_pagesLeft);
    m_searchFetch.get(url, FetchMode::WithIfModifiedSince, this, [this](const FetchResult& r) {
        // A page that does not come is skipped and the collection goes on:
        // the pages that came are still worth listing. The first reason is
        // kept for the status at the end. A site that has stopped answering
        // would hold the button for every page's time-out (up to 500 of
        // them), so a few misses in a row end the collection.
        if (!r.hasPage()) {
            if (m_missedPages++ == 0)
                m_firstMissReason = pageFailureText(r);
            if (++m_missesInARow == kMostMissesInARow) {
                m_missedPages += m_pagesLeft;
                m_pagesLeft = 0;
            }
        } else {
            m_missesInARow = 0;
            m_searchPage.setText(m_searchPage.text() + QStringLiteral("\r\n") + r.text);
        }
        m_timer14->start();
    });
}

void QvodSearchSource::cutKeywordRows()
{
    const QList<QvodSearchRow> rows =
        cutQvodSearchRows(m_searchPage, qvodSearchKeywordRowMarker(), siteBase(), m_searchTotal);
    if (m_listView14) {
        m_listView14->clearRows();
        // Each row goes on top, numbered so that the list reads 1 … n
        // from the top with the page's last result first.
        addRowsAtTop(m_listView14, numberedFromTheTop(rows));
    }
    if (m_missedPages == 0) {
        endSearch(kDone);
        return;
    }
    // The list is short of the missed pages' rows: the user has to be told.
    const QString status = qvodSearchMissedPagesText(m_missedPages, m_firstMissReason);
    emit failed(status);
    endSearch(status);
}

void QvodSearchSource::endSearch(const QString& status)
{
    StatusLine::set(status);
    if (m_searchButton)
        m_searchButton->setEnabled(true);
    if (std::exchange(m_searching, false))
        emit searchEnded();
}

// ---------------------------------------------------------------------------
// Detail page

void QvodSearchSource::ListView14_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_listView14);
    if (!row)
        return;
    StatusLine::set(QStringLiteral("正在解析..请稍等.."));
    const QString url = m_listView14->cell(row, QStringLiteral("dz"));
    m_detailFetch.get(url, FetchMode::WithIfModifiedSince, this, [this](const FetchResult& r) {
        if (!r.hasPage()) {
            const QString reason = videoDetailFailedText(r);
            StatusLine::set(reason);
            emit failed(reason);
            emit detailResolved();
            return;
        }
        const QvodSearchDetail d = cutQvodSearchDetail(r.text);
        if (d.address.isEmpty()) {
            showInfo(m_form1->window(), videoResourceGoneText());
            StatusLine::set(videoResourceGoneText() + QStringLiteral(".."));
            emit detailResolved();
            return;
        }
        const quint64 generation = m_detailFetch.generation();
        LoadPicture(d.posterUrl, this, [this, generation](const QImage& picture) {
            if (generation == m_detailFetch.generation())
                showPosterImage(m_image3, picture);
        });
        m_currentQvodAddress = d.address;
        StatusLine::set(QStringLiteral("种子文件地址已解析.."));
        emit detailResolved();
    });
}

} // namespace lumorra
