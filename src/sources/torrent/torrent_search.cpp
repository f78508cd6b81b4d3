#include "sources/torrent/torrent_search.h"

#include "ui/message_box.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "net/url_encoding.h"
#include "sources/page_widgets.h"
#include "sources/torrent/film_resource_page.h"
#include "sources/torrent/film_resource_parse.h"
#include "sources/torrent/torrent_index_parse.h"
#include "sources/torrent/torrent_rss_parse.h"
#include "sources/window_timer.h"
#include "text/memory_release.h"
#include "text/number_text.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <limits>
#include <utility>

namespace lumorra {

namespace {

const QString kSearching = QStringLiteral("正在进行搜索...");
const QString kDone = QStringLiteral("搜索完毕..");
const QString kNotFound = QStringLiteral("未找到相关资源..");

void setButtonEnabled(QPushButton* b, bool on)
{
    if (b)
        b->setEnabled(on);
}

QString baseOf(const char* role)
{
    return SiteConfig::current().base(QString::fromLatin1(role));
}

} // namespace

QString searchFailureText(FetchError error)
{
    const QString reason = error == FetchError::None ? QStringLiteral("未获取到页面内容")
                                                     : fetchErrorText(error);
    return QStringLiteral("搜索失败：") + reason + QStringLiteral("，请稍后重试..");
}

QString searchFailureText(const FetchResult& result)
{
    if (result.okStatus())
        return searchFailureText(result.error);
    return QStringLiteral("搜索失败：") + pageFailureText(result) + QStringLiteral("，请稍后重试..");
}

TorrentSearches::TorrentSearches(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QStringLiteral("TorrentSearches"));
    for (int i = 0; i < 3; ++i) {
        m_command2[i] = form1->findChild<QPushButton*>(pageui::arrayName(QStringLiteral("Command2"), i));
        if (m_command2[i])
            connect(m_command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    }
    m_text2 = form1->findChild<QLineEdit*>(QStringLiteral("Text2"));
    m_text4 = form1->findChild<QLineEdit*>(QStringLiteral("Text4"));
    m_text8 = form1->findChild<QLineEdit*>(QStringLiteral("Text8"));
    m_text13 = form1->findChild<QLineEdit*>(QStringLiteral("Text13"));
    m_text14 = form1->findChild<QLineEdit*>(QStringLiteral("Text14"));
    m_listView2 = findResultList(form1, QStringLiteral("ListView2"));
    m_listView4 = findResultList(form1, QStringLiteral("ListView4"));
    m_listView13 = findResultList(form1, QStringLiteral("ListView13"));

    m_timer3 = windowTimer(form1, this, QStringLiteral("Timer3"), 100);
    m_timer4 = windowTimer(form1, this, QStringLiteral("Timer4"), 1000);
    m_timer5 = windowTimer(form1, this, QStringLiteral("Timer5"), 100);
    m_timer6 = windowTimer(form1, this, QStringLiteral("Timer6"), 1000);
    connect(m_timer3, &QTimer::timeout, this, &TorrentSearches::Timer3_Timer);
    connect(m_timer4, &QTimer::timeout, this, &TorrentSearches::Timer4_Timer);
    connect(m_timer5, &QTimer::timeout, this, &TorrentSearches::Timer5_Timer);
    connect(m_timer6, &QTimer::timeout, this, &TorrentSearches::Timer6_Timer);

    if (m_text2)
        connect(m_text2, &QLineEdit::textChanged, this, &TorrentSearches::Text2_Change);
    if (m_text8)
        connect(m_text8, &QLineEdit::textChanged, this, &TorrentSearches::Text8_Change);
    // The boxes may already hold text.
    Text2_Change();
    Text8_Change();

    m_releaseHook = addReleaseHook([this] { releaseTexts(); });
}

TorrentSearches::~TorrentSearches()
{
    removeReleaseHook(m_releaseHook);
}

bool TorrentSearches::isSearching(int index) const
{
    return index >= 0 && index < 3 && m_searching[index];
}

void TorrentSearches::releaseTexts()
{
    // The memory release has just stopped Timer3 … Timer6. A search whose
    // page is in but not yet cut would then never end (its button disabled
    // with "正在进行搜索..." for good), so its page stays and its timers run
    // again; every other page is let go.
    if (m_searching[0] && !m_fetch[0].isPending()) {
        if (m_torrentIndexHits > 0)
            enableTimer(m_timer3);
        enableTimer(m_timer4);
    } else {
        m_torrentIndexPage.clear();
    }
    if (m_searching[1] && !m_fetch[1].isPending()) {
        if (m_torrentRssHits > 0)
            enableTimer(m_timer5);
        enableTimer(m_timer6);
    } else {
        m_torrentRssPage.clear();
    }
}

void TorrentSearches::Text2_Change()
{
    m_torrentIndexKeyword = m_text2 ? encodeKeyword(m_text2->text()) : QString();
}

void TorrentSearches::Text8_Change()
{
    m_torrentRssKeyword = m_text8 ? encodeKeyword(m_text8->text()) : QString();
}

void TorrentSearches::Command2_Click(int index)
{
    switch (index) {
    case 0: searchTorrentIndex(); break;
    case 1: searchTorrentRss(); break;
    case 2: searchFilmResource(); break;
    default: break;
    }
}

void TorrentSearches::beginSearch(ResultList* list, QPushButton* button, const QString& status)
{
    if (list)
        list->clearRows();
    StatusLine::set(status);
    setButtonEnabled(button, false);
}

bool TorrentSearches::takePage(int index, const FetchResult& result, CutPage& into)
{
    into.setText(result.hasPage() ? result.text : QString());
    if (result.hasPage())
        return true;
    const QString reason = searchFailureText(result);
    StatusLine::set(reason);
    endSearch(index);
    emit failed(index, reason);
    return false;
}

void TorrentSearches::endSearch(int index)
{
    setButtonEnabled(m_command2[index], true);
    if (std::exchange(m_searching[index], false))
        emit searchEnded(index);
}

// ---------------------------------------------------------------------------
// TorrentIndexSite

void TorrentSearches::searchTorrentIndex()
{
    if (!m_text2 || m_text2->text().isEmpty()) {
        StatusLine::set(QStringLiteral("请输入您要搜索的关键字.."));
        return;
    }
    // Ticks still pending from the last search would report on this one.
    disableTimer(m_timer3);
    disableTimer(m_timer4);
    m_torrentIndexHits = 0;
    m_searching[0] = true;
    beginSearch(m_listView2, m_command2[0], kSearching);

    const QString url = torrentIndexSearchUrl(baseOf(role::TorrentIndexSite), m_torrentIndexKeyword,
                                              m_text4 ? m_text4->text() : QStringLiteral("1"));
    m_fetch[0].get(url, FetchMode::WithIfModifiedSince, this, [this](const FetchResult& r) {
        if (takePage(0, r, m_torrentIndexPage))
            hx();
    });
}

void TorrentSearches::hx()
{
    const int n = countTorrentIndexHits(m_torrentIndexPage.text());
    m_torrentIndexHits = addPendingHits(m_torrentIndexHits, n);
    if (n > 0)
        enableTimer(m_timer3);
    enableTimer(m_timer4);
    emit pageCounted(0);
}

void TorrentSearches::Timer3_Timer()
{
    const int n = m_torrentIndexHits;
    const QList<TorrentIndexRow> rows =
        cutTorrentIndexRows(m_torrentIndexPage, baseOf(role::TorrentIndexSite), n);
    if (m_listView2) {
        m_listView2->setUpdatesEnabled(false);
        for (int i = 0; i < rows.size(); ++i)
            m_listView2->addRow(listRow(i + 1, rows.at(i)));
        m_listView2->setUpdatesEnabled(true);
    }
    m_torrentIndexHits = qint16(m_torrentIndexHits - n);
    disableTimer(m_timer3);
    setButtonEnabled(m_command2[0], true);
    StatusLine::set(kDone);
}

void TorrentSearches::Timer4_Timer()
{
    // The last step of every search that got its page: it ends the search.
    if (!m_listView2 || m_listView2->rowCount() == 0)
        StatusLine::set(kNotFound);
    disableTimer(m_timer4);
    endSearch(0);
}

// ---------------------------------------------------------------------------
// TorrentRssSite

void TorrentSearches::searchTorrentRss()
{
    if (!m_text8 || m_text8->text().isEmpty()) {
        StatusLine::set(QStringLiteral("请输入您要搜索的关键字.."));
        return;
    }
    disableTimer(m_timer5);
    disableTimer(m_timer6);
    m_torrentRssHits = 0;
    m_searching[1] = true;
    beginSearch(m_listView4, m_command2[1], kSearching);

    const QString url = torrentRssUrl(baseOf(role::TorrentRssSite), m_torrentRssKeyword);
    m_fetch[1].get(url, FetchMode::WithIfModifiedSince, this, [this](const FetchResult& r) {
        if (takePage(1, r, m_torrentRssPage))
            hx2();
    });
}

void TorrentSearches::hx2()
{
    const int n = countTorrentRssHits(m_torrentRssPage.text());
    m_torrentRssHits = addPendingHits(m_torrentRssHits, n);
    if (n > 0)
        enableTimer(m_timer5);
    enableTimer(m_timer6);
    emit pageCounted(1);
}

void TorrentSearches::Timer5_Timer()
{
    const int n = m_torrentRssHits;
    const QList<TorrentRssRow> rows = cutTorrentRssRows(m_torrentRssPage, n);
    if (m_listView4) {
        for (int i = 0; i < rows.size(); ++i)
            m_listView4->addRow(listRow(i + 1, rows.at(i)));
    }
    m_torrentRssHits = qint16(m_torrentRssHits - n);
    disableTimer(m_timer5);
    setButtonEnabled(m_command2[1], true);
    StatusLine::set(kDone);
}

void TorrentSearches::Timer6_Timer()
{
    // Stopped first: the message box below runs its own event loop.
    disableTimer(m_timer6);
    const bool nothing = !m_listView4 || m_listView4->rowCount() == 0;
    StatusLine::set(nothing ? kNotFound : kDone);
    endSearch(1);
    if (nothing)
        showInfo(m_form1, QStringLiteral("未找到相关资源!"));
}

// ---------------------------------------------------------------------------
// FilmResourceSite

void TorrentSearches::searchFilmResource()
{
    const QString keyword = m_text13 ? m_text13->text() : QString();
    if (keyword.isEmpty() || keyword == FilmResourcePage::keywordHint()) {
        StatusLine::set(QStringLiteral("请输入关键字..."));
        return;
    }
    m_searching[2] = true;
    beginSearch(m_listView13, m_command2[2], QStringLiteral("正在搜索资源，请稍等.."));

    const QString base = baseOf(role::FilmResourceSite);
    const QString url = filmResourceSearchUrl(base, keyword, m_text14 ? m_text14->text() : QStringLiteral("1"));
    m_fetch[2].get(url, FetchMode::WithIfModifiedSince, this, [this, base](const FetchResult& r) {
        CutPage page;
        if (!takePage(2, r, page))
            return;
        if (isFilmResourceNoResult(page.text())) {
            StatusLine::set(QStringLiteral("没有找到相关影片资源.."));
            endSearch(2);
            showInfo(m_form1, QStringLiteral("没有找到相关影片资源"));
            return;
        }
        const QList<FilmResourceRow> rows = cutFilmResourceRows(page, base, announcedFilmCount(page));
        if (m_listView13) {
            for (int i = 0; i < rows.size(); ++i)
                m_listView13->addRow(listRow(i + 1, rows.at(i)));
        }
        StatusLine::set(kDone);
        endSearch(2);
    });
}

TorrentSearches* installTorrentSearches(QWidget* form1)
{
    if (!form1)
        return nullptr;
    if (auto* existing = form1->findChild<TorrentSearches*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new TorrentSearches(form1);
}

} // namespace lumorra
