#pragma once
// The two magnet search channels behind ListView19. MagnetSiteA's result
// page is counted by hx10 and cut by Timer24 (3000 ms); MagnetSiteB's is
// counted by hx11 and cut by Timer26 (100 ms), which then reads the magnet
// link of each hit from its own detail page. A page that holds neither the
// site's no-result text nor a hit is no result page at all: the run fails.
#include "net/ordered_fetches.h"
#include "sources/engine/page_engine.h"
#include "sources/engine/pacing.h"
#include "sources/torrent/magnet_search_parse.h"
#include "text/cut.h"

#include <QList>
#include <QString>
#include <QtGlobal>

namespace lumorra {

class MagnetSearchEngine : public PageEngine {
    Q_OBJECT
public:
    ~MagnetSearchEngine() override;

    MagnetChannel channel() const { return m_channel; }
    // Hits counted on the page and not yet cut (16 bits, as the site's count).
    qint16 pendingHits() const { return m_pendingHits; }
    PacedStep* cutStep() const { return m_cutStep; }

    QString refusalOf(const SourceRequest& request) const override;

protected:
    MagnetSearchEngine(MagnetChannel channel, const Pacing& pacing, const StepTimer& cutTimer, QObject* parent);

    QString addressFor(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
    void halt() override;

    // The counting step: hits of the page into the pending count, and the
    // cutting step armed when there are any.
    void countHits();
    // The cutting step's tick.
    virtual void cutHits() = 0;

    QString base() const;

    CutPage m_page;
    qint16 m_pendingHits = 0;
    PacedStep* m_cutStep;

private:
    MagnetChannel m_channel;
    int m_releaseHook = -1;
};

class MagnetSiteAEngine : public MagnetSearchEngine {
    Q_OBJECT
public:
    explicit MagnetSiteAEngine(const Pacing& pacing, QObject* parent = nullptr);

    void hx10() { countHits(); }
    void Timer24_Timer() { cutHits(); }

protected:
    void cutHits() override;
};

class MagnetSiteBEngine : public MagnetSearchEngine {
    Q_OBJECT
public:
    explicit MagnetSiteBEngine(const Pacing& pacing, QObject* parent = nullptr);

    void hx11() { countHits(); }
    void Timer26_Timer() { cutHits(); }

protected:
    void cutHits() override;
    void halt() override;

private:
    OrderedFetches m_detailFetches;
};

// The texts of the magnet search.
QString magnetSearchingText();   // "正在搜索资源,请稍等.."
QString magnetNoResultText();    // "抱歉!没有找到任何结果,请更换关键字重试"
QString magnetDoneText();        // "资源搜索完毕.."
QString magnetNoHitsText();      // "未找到相关资源.."
// MagnetSiteB's hits listed, but not one detail page gave its link.
QString magnetDetailsFailedText(const QString& reason);

} // namespace lumorra
