#include "pages/torrent/magnet_search.h"

#include "sources/engine/source_engine.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "net/url_encoding.h"
#include "pages/page_widgets.h"
#include "pages/torrent/torrent_search.h"
#include "pages/window_timer.h"
#include "text/memory_release.h"
#include "text/number_text.h"
#include "ui/message_box.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <limits>
#include <utility>

namespace lumorra {

namespace {

constexpr int kSearchButton = 3;
constexpr int kNextButton = 4;
constexpr int kPreviousButton = 5;

QString baseOf(MagnetChannel channel)
{
    return SiteConfig::current().base(
        QString::fromLatin1(channel == MagnetChannel::SiteA ? role::MagnetSiteA : role::MagnetSiteB));
}

} // namespace

QString MagnetSearch::noResultText()
{
    return QStringLiteral("抱歉!没有找到任何结果,请更换关键字重试");
}

QString MagnetSearch::doneText()
{
    return QStringLiteral("资源搜索完毕..");
}

QString MagnetSearch::detailsFailedText(const QString& reason)
{
    return QStringLiteral("资源搜索完毕..磁力链接获取失败(") + reason + QStringLiteral(")");
}

MagnetSearch::MagnetSearch(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QStringLiteral("MagnetSearch"));
    for (int i = 0; i < 3; ++i) {
        const int index = kSearchButton + i;
        m_command21[i] = form1->findChild<QPushButton*>(pageui::arrayName(QStringLiteral("Command21"), index));
        if (m_command21[i])
            connect(m_command21[i], &QPushButton::clicked, this, [this, index] { Command21_Click(index); });
    }
    m_text21 = form1->findChild<QLineEdit*>(QStringLiteral("Text21"));
    m_combo1 = form1->findChild<QComboBox*>(QStringLiteral("Combo1"));
    m_listView19 = findResultList(form1, QStringLiteral("ListView19"));

    m_timer24 = windowTimer(form1, this, QStringLiteral("Timer24"), 3000);
    m_timer26 = windowTimer(form1, this, QStringLiteral("Timer26"), 100);
    connect(m_timer24, &QTimer::timeout, this, &MagnetSearch::Timer24_Timer);
    connect(m_timer26, &QTimer::timeout, this, &MagnetSearch::Timer26_Timer);

    m_releaseHook = addReleaseHook([this] { releaseTexts(); });
}

MagnetSearch::~MagnetSearch()
{
    removeReleaseHook(m_releaseHook);
}

void MagnetSearch::Command21_Click(int index)
{
    switch (index) {
    case kSearchButton:
        search();
        break;
    case kNextButton:
        if (m_magnetPageNumber < std::numeric_limits<qint16>::max())
            ++m_magnetPageNumber;
        search();
        break;
    case kPreviousButton:
        if (m_magnetPageNumber == 1) {
            showInfo(m_form1, QStringLiteral("已经是最上一页!"));
            return;
        }
        --m_magnetPageNumber;
        search();
        break;
    default:
        break;
    }
}

void MagnetSearch::search()
{
    if (!m_text21 || m_text21->text().isEmpty()) {
        StatusLine::set(QStringLiteral("请输入关键字.."));
        return;
    }
    // This search supersedes whatever the last one still had going: its
    // page, its pending cut and its detail pages.
    m_fetch.cancel();
    m_detailFetches.cancel();
    m_pendingHits.clear();
    disableTimer(m_timer24);
    disableTimer(m_timer26);
    m_magnetHits = 0;
    m_magnetPage.clear();
    if (m_listView19)
        m_listView19->clearRows();
    StatusLine::set(QStringLiteral("正在搜索资源,请稍等.."));
    m_searching = true;

    const int item = m_combo1 ? m_combo1->currentIndex() : 0;
    if (item != int(MagnetChannel::SiteA) && item != int(MagnetChannel::SiteB)) {
        fail(failedPageText(FetchResult{}));
        return;
    }
    // The page is tested and counted for the channel it was asked of, even
    // when the choice changes while it is on the way.
    const auto channel = MagnetChannel(item);
    m_channel = channel;
    const QString url = magnetSearchUrl(channel, baseOf(channel), encodeKeyword(m_text21->text()),
                                        m_magnetPageNumber);
    m_fetch.get(url, FetchMode::WithIfModifiedSince, this, [this, channel](const FetchResult& r) {
        m_magnetPage.setText(r.hasPage() ? r.text : QString());
        if (!r.hasPage()) {
            fail(failedPageText(r));
            return;
        }
        if (isMagnetNoResult(channel, r.text)) {
            StatusLine::set(noResultText());
            endSearch();
            showInfo(m_form1, noResultText());
            return;
        }
        if (channel == MagnetChannel::SiteA)
            hx10();
        else
            hx11();
    });
}

void MagnetSearch::hx10()
{
    const int n = countMagnetHits(MagnetChannel::SiteA, m_magnetPage.text());
    m_magnetHits = addPendingHits(m_magnetHits, n);
    if (n > 0)
        enableTimer(m_timer24);
    else
        fail(QStringLiteral("未找到相关资源.."));
}

void MagnetSearch::hx11()
{
    const int n = countMagnetHits(MagnetChannel::SiteB, m_magnetPage.text());
    m_magnetHits = addPendingHits(m_magnetHits, n);
    if (n > 0)
        enableTimer(m_timer26);
    else
        fail(QStringLiteral("未找到相关资源.."));
}

void MagnetSearch::Timer24_Timer()
{
    disableTimer(m_timer24);
    const int n = m_magnetHits;
    const QList<MagnetRow> rows = cutMagnetSiteARows(m_magnetPage, n);
    if (m_listView19)
        m_listView19->setUpdatesEnabled(false);
    for (int i = 0; i < rows.size(); ++i)
        addRow(i + 1, rows.at(i));
    if (m_listView19)
        m_listView19->setUpdatesEnabled(true);
    m_magnetHits = qint16(m_magnetHits - n);
    StatusLine::set(doneText());
    enablePaging();
    endSearch();
}

void MagnetSearch::Timer26_Timer()
{
    // Stopped before anything else: the detail pages take a while, and the
    // step must not start again meanwhile.
    disableTimer(m_timer26);
    const int n = m_magnetHits;
    m_pendingHits = cutMagnetSiteBHits(m_magnetPage, baseOf(MagnetChannel::SiteB), n);
    m_magnetHits = qint16(m_magnetHits - n);

    m_failedDetails = 0;
    m_detailFailure.clear();
    QStringList detailUrls;
    detailUrls.reserve(m_pendingHits.size());
    for (const MagnetSiteBHit& hit : std::as_const(m_pendingHits))
        detailUrls << hit.detailUrl;
    // All detail pages are asked for together; rows still appear in hit
    // order, each once its page (and every page before it) is in. A page
    // that does not come leaves its row without a magnet link. Each page is
    // read for its link as it arrives: only the row waits for its turn.
    struct Detail {
        MagnetRow row;
        QString failure; // why the page did not come; empty when it did
    };
    m_detailFetches.startCutting<Detail>(
        detailUrls, FetchMode::WithIfModifiedSince, this,
        [hits = m_pendingHits](int index, const FetchResult& page) {
            return Detail{magnetSiteBRow(hits.at(index), page.hasPage() ? page.text : QString()),
                pageFailureText(page)};
        },
        [this](int index, Detail detail) {
            if (!detail.failure.isEmpty()) {
                ++m_failedDetails;
                m_detailFailure = detail.failure;
            }
            addRow(index + 1, detail.row);
        },
        [this] {
            // A row without its link is no failure of the search; no link at
            // all is, and the user is told why.
            const bool noneCame = !m_pendingHits.isEmpty() && m_failedDetails == m_pendingHits.size();
            m_pendingHits.clear();
            StatusLine::set(noneCame ? detailsFailedText(m_detailFailure) : doneText());
            enablePaging();
            endSearch();
        });
}

void MagnetSearch::addRow(int number, const MagnetRow& row)
{
    if (m_listView19)
        m_listView19->addRow(listRow(number, row));
}

void MagnetSearch::enablePaging()
{
    for (int i : {kNextButton, kPreviousButton})
        if (QPushButton* b = m_command21[i - kSearchButton])
            b->setEnabled(true);
}

void MagnetSearch::fail(const QString& reason)
{
    StatusLine::set(reason);
    if (std::exchange(m_searching, false)) {
        emit failed(reason);
        emit searchEnded();
    }
}

void MagnetSearch::endSearch()
{
    if (std::exchange(m_searching, false))
        emit searchEnded();
}

void MagnetSearch::releaseTexts()
{
    // The memory release has just stopped Timer24 and Timer26. A page that is
    // in but not yet cut would leave the search hanging, so it stays and its
    // step runs again; any other page is let go (the detail step works from
    // hits already cut).
    if (m_searching && m_magnetHits > 0 && !m_fetch.isPending() && !m_detailFetches.isRunning())
        enableTimer(m_channel == MagnetChannel::SiteA ? m_timer24 : m_timer26);
    else
        m_magnetPage.clear();
}

MagnetSearch* installMagnetSearch(QWidget* form1)
{
    if (!form1)
        return nullptr;
    if (auto* existing = form1->findChild<MagnetSearch*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new MagnetSearch(form1);
}

} // namespace lumorra
