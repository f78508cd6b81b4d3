#include "sources/torrent/magnet_search_engines.h"

#include "net/url_encoding.h"
#include "sources/definitions/site_definition.h"
#include "text/memory_release.h"
#include "text/number_text.h"

#include <QStringList>

#include <limits>
#include <memory>

namespace lumorra {

QString magnetSearchingText() { return QStringLiteral("正在搜索资源,请稍等.."); }
QString magnetNoResultText() { return QStringLiteral("抱歉!没有找到任何结果,请更换关键字重试"); }
QString magnetDoneText() { return QStringLiteral("资源搜索完毕.."); }
QString magnetNoHitsText() { return QStringLiteral("未找到相关资源.."); }

QString magnetDetailsFailedText(const QString& reason)
{
    return QStringLiteral("资源搜索完毕..磁力链接获取失败(") + reason + QStringLiteral(")");
}

// ---------------------------------------------------------------------------

MagnetSearchEngine::MagnetSearchEngine(MagnetChannel channel, const Pacing& pacing, const StepTimer& cutTimer,
                                       QObject* parent)
    : PageEngine(parent),
      m_cutStep(new PacedStep(pacing, cutTimer.name, cutTimer.intervalMs, this, [this] { cutHits(); })),
      m_channel(channel)
{
    setSite(channel == MagnetChannel::SiteA ? QStringLiteral("magnet-a") : QStringLiteral("magnet-b"));
    // The memory release stops every window timer. A page that is in but
    // not yet cut would leave the search hanging, so it stays and its step
    // runs again; any other page is let go (MagnetSiteB's detail step works
    // from hits already cut).
    m_releaseHook = addReleaseHook([this] {
        if (isRunning() && !isFetching() && m_pendingHits > 0)
            m_cutStep->arm();
        else
            m_page.clear();
    });
}

MagnetSearchEngine::~MagnetSearchEngine()
{
    removeReleaseHook(m_releaseHook);
}

QString MagnetSearchEngine::refusalOf(const SourceRequest& request) const
{
    return request.keyword.isEmpty() ? QStringLiteral("请输入关键字..") : QString();
}

QString MagnetSearchEngine::base() const
{
    return siteBase();
}

QString MagnetSearchEngine::addressFor(const SourceRequest& request) const
{
    bool ok = false;
    const int page = request.page.toInt(&ok);
    const auto number = qint16(ok ? qBound(1, page, int(std::numeric_limits<qint16>::max())) : 1);
    return magnetSearchUrl(definition(), base(), encodeKeyword(request.keyword), number);
}

QString MagnetSearchEngine::startText() const
{
    return magnetSearchingText();
}

void MagnetSearchEngine::takePage(const FetchResult& page)
{
    m_page.setText(page.text);
    if (isMagnetNoResult(definition(), page.text)) {
        say(magnetNoResultText());
        finishNone(magnetNoResultText());
        return;
    }
    countHits();
}

void MagnetSearchEngine::countHits()
{
    const int n = countMagnetHits(definition(), m_page.text());
    m_pendingHits = addPendingHits(m_pendingHits, n);
    if (n > 0) {
        m_cutStep->arm();
        return;
    }
    // Neither the site's no-result page nor a hit: not a page of results.
    say(magnetNoHitsText());
    fail(magnetNoHitsText());
}

void MagnetSearchEngine::halt()
{
    PageEngine::halt();
    m_cutStep->disarm();
    m_pendingHits = 0;
    m_page.clear();
}

// ---------------------------------------------------------------------------

MagnetSiteAEngine::MagnetSiteAEngine(const Pacing& pacing, QObject* parent)
    : MagnetSearchEngine(MagnetChannel::SiteA, pacing, {QStringLiteral("Timer24"), 3000}, parent)
{
}

void MagnetSiteAEngine::cutHits()
{
    m_cutStep->disarm();
    const int n = m_pendingHits;
    const QList<MagnetRow> rows = cutMagnetSiteARows(definition(), m_page, n);
    m_pendingHits = qint16(m_pendingHits - n);
    addRows(numberedInOrder(rows));
    say(magnetDoneText());
    finishRows();
}

// ---------------------------------------------------------------------------

MagnetSiteBEngine::MagnetSiteBEngine(const Pacing& pacing, QObject* parent)
    : MagnetSearchEngine(MagnetChannel::SiteB, pacing, {QStringLiteral("Timer26"), 100}, parent)
{
}

void MagnetSiteBEngine::halt()
{
    MagnetSearchEngine::halt();
    m_detailFetches.cancel();
}

void MagnetSiteBEngine::cutHits()
{
    // Disarmed before anything else: the detail pages take a while, and the
    // step must not start again meanwhile.
    m_cutStep->disarm();
    const int n = m_pendingHits;
    const QList<MagnetSiteBHit> hits = cutMagnetSiteBHits(definition(), m_page, base(), n);
    m_pendingHits = qint16(m_pendingHits - n);

    QStringList detailUrls;
    detailUrls.reserve(hits.size());
    for (const MagnetSiteBHit& hit : hits)
        detailUrls << hit.detailUrl;
    const int total = int(hits.size());
    report(0, total);

    // All detail pages are asked for together; rows still come in hit
    // order, each once its page (and every page before it) is in. A page
    // that does not come leaves its row without a magnet link; each page is
    // read for its link as it arrives, only the row waits for its turn.
    struct Detail {
        MagnetRow row;
        QString failure; // why the page did not come; empty when it did
    };
    struct Tally {
        int failed = 0;
        QString lastFailure;
    };
    auto tally = std::make_shared<Tally>();
    m_detailFetches.startCutting<Detail>(
        detailUrls, fetchMode(), this,
        [this, hits](int index, const FetchResult& page) {
            return Detail{
                magnetSiteBRow(definition(), hits.at(index), page.hasPage() ? page.text : QString()),
                pageFailureText(page)};
        },
        [this, tally, total](int index, Detail detail) {
            if (!detail.failure.isEmpty()) {
                ++tally->failed;
                tally->lastFailure = detail.failure;
                warn(QStringLiteral("磁力链接获取失败(") + detail.failure + QStringLiteral("): ") + detail.row.name);
            }
            addRows({listRow(index + 1, detail.row)});
            report(index + 1, total);
        },
        [this, tally, total] {
            // A row without its link is no failure of the search; no link at
            // all is, and the status says why.
            const bool noneCame = total > 0 && tally->failed == total;
            say(noneCame ? magnetDetailsFailedText(tally->lastFailure) : magnetDoneText());
            finishRows();
        });
}

} // namespace lumorra
