#include "pages/video/torrent_tag_source.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "net/url_encoding.h"
#include "pages/page_widgets.h"
#include "pages/video/list_top.h"
#include "sources/video/torrent_tag_parse.h"
#include "sources/video/video_texts.h"
#include "pages/window_timer.h"
#include "text/number_text.h"
#include "ui/message_box.h"

#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <limits>

namespace lumorra {

namespace {

QString siteBase()
{
    return SiteConfig::current().base(QString::fromLatin1(role::TorrentTagSite));
}

} // namespace

TorrentTagSource::TorrentTagSource(QWidget* form1, QObject* parent) : QObject(parent), m_form1(form1)
{
    setObjectName(QStringLiteral("TorrentTagSource"));
    m_listView20 = findResultList(form1, QStringLiteral("ListView20"));
    m_text22 = form1->findChild<QLineEdit*>(QStringLiteral("Text22"));
    m_infoHash = form1->findChild<QLineEdit*>(pageui::arrayName(QStringLiteral("Text23"), 0));
    m_magnet = form1->findChild<QLineEdit*>(pageui::arrayName(QStringLiteral("Text23"), 1));
    m_timer8 = windowTimer(form1, this, QStringLiteral("Timer8"), 1000);
    connect(m_timer8, &QTimer::timeout, this, &TorrentTagSource::Timer8_Timer);
    if (m_listView20)
        connect(m_listView20, &ResultList::listDoubleClicked, this, &TorrentTagSource::ListView20_DblClick);
    // Timer8 survives the memory release and the pages it waits for stay.
}

void TorrentTagSource::search()
{
    const QString keyword = m_text22 ? m_text22->text() : QString();
    if (keyword.isEmpty()) {
        StatusLine::set(QStringLiteral("请输入要搜索的关键字.."));
        return;
    }
    StatusLine::set(QStringLiteral("正在进行资源获取..请耐心等待.."));
    // Every search's page is listed, so no request supersedes another.
    GetBody(torrentTagUrl(siteBase(), encodeKeyword(keyword)), this, [this](const FetchResult& r) {
        // No page, or one without a torrent, is the same to the user: nothing
        // was found. The status adds why no page came, when none did.
        if (!r.hasPage() || !hasTorrentTagRecords(r.text)) {
            const QString reason = r.hasPage() ? QString() : pageFailureText(r);
            StatusLine::set(torrentTagNothingFoundText(reason));
            if (!reason.isEmpty())
                emit failed(reason);
            showInfo(m_form1->window(), QStringLiteral("抱歉!未找到任何资源!"));
            emit searchEnded();
            return;
        }
        m_tagPages.emplace_back(r.text);
        hx12();
    });
}

void TorrentTagSource::hx12()
{
    if (m_tagPages.empty())
        return;
    const int n = countTorrentTagHits(m_tagPages.back().text());
    m_hits = addPendingHits(m_hits, n);
    if (n > 0 && !m_timer8->isActive())
        m_timer8->start();
}

void TorrentTagSource::Timer8_Timer()
{
    m_timer8->stop();
    // Pages in the order they came; each one's rows go on top of what the
    // list holds, numbered 1 … n from the top.
    while (!m_tagPages.empty()) {
        const CutPage page = std::move(m_tagPages.front());
        m_tagPages.pop_front();
        const int n = countTorrentTagHits(page.text());
        const QList<TorrentTagRow> rows = cutTorrentTagRows(page, n);
        if (m_listView20)
            addRowsAtTop(m_listView20, numberedFromTheTop(rows));
        m_hits = qint16(qMax(0, m_hits - n));
        emit searchEnded();
    }
    m_hits = 0;
    StatusLine::set(QStringLiteral("资源获取完毕.."));
}

void TorrentTagSource::ListView20_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_listView20);
    if (!row)
        return;
    StatusLine::set(QStringLiteral("正在解析..请稍等.."));
    m_detailFetch.get(m_listView20->cell(row, QStringLiteral("dz")), FetchMode::WithIfModifiedSince, this,
                      [this](const FetchResult& r) {
        if (!r.okStatus()) {
            const QString reason = videoDetailFailedText(r);
            StatusLine::set(reason);
            emit failed(reason);
            emit detailResolved();
            return;
        }
        // An empty page, or one that quotes no hash, no longer offers the
        // torrent: a bare "magnet:?xt=urn:btih:" would only mislead.
        const QString hash = cutTorrentInfoHash(r.text);
        if (hash.isEmpty()) {
            showInfo(m_form1->window(), videoResourceGoneText());
            StatusLine::set(videoResourceGoneText() + QStringLiteral(".."));
            emit detailResolved();
            return;
        }
        if (m_infoHash)
            m_infoHash->setText(hash);
        if (m_magnet)
            m_magnet->setText(magnetOfInfoHash(hash));
        StatusLine::set(QStringLiteral("种子文件地址已解析.."));
        emit detailResolved();
    });
}

} // namespace lumorra
