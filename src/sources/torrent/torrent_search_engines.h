#pragma once
// The three keyword searches of the video resource page: the torrent index
// site (counted, cut by Timer3, judged by Timer4), the torrent RSS feed
// (Timer5, Timer6) and the film resource site (cut in the handler).
#include "sources/engine/count_then_cut.h"
#include "sources/engine/page_engine.h"
#include "text/cut.h"

namespace lumorra {

class CountedSearchEngine : public PageEngine {
    Q_OBJECT
public:
    CountThenCut* steps() const { return m_steps; }

protected:
    CountedSearchEngine(const Pacing& pacing, const StepTimer& cutTimer, const StepTimer& notFoundTimer,
                        QObject* parent);
    ~CountedSearchEngine() override;

    QString refusalOf(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
    void halt() override;

    virtual int countHits(const QString& page) const = 0;
    virtual QList<ListRow> cutRows(const CutPage& page, int hits) const = 0;
    // The not-found step: says how the search came out and ends it.
    virtual void judge();

    CutPage m_page;

private:
    void cut(int hits);
    CountThenCut* m_steps;
    int m_releaseHook = -1;
};

class TorrentIndexEngine : public CountedSearchEngine {
    Q_OBJECT
public:
    explicit TorrentIndexEngine(const Pacing& pacing, QObject* parent = nullptr);

protected:
    QString addressFor(const SourceRequest& request) const override;
    int countHits(const QString& page) const override;
    QList<ListRow> cutRows(const CutPage& page, int hits) const override;
};

class TorrentRssEngine : public CountedSearchEngine {
    Q_OBJECT
public:
    explicit TorrentRssEngine(const Pacing& pacing, QObject* parent = nullptr);

protected:
    QString addressFor(const SourceRequest& request) const override;
    int countHits(const QString& page) const override;
    QList<ListRow> cutRows(const CutPage& page, int hits) const override;
    void judge() override;
};

class FilmResourceEngine : public PageEngine {
    Q_OBJECT
public:
    explicit FilmResourceEngine(QObject* parent = nullptr);

protected:
    QString refusalOf(const SourceRequest& request) const override;
    QString startText() const override;
    QString addressFor(const SourceRequest& request) const override;
    void takePage(const FetchResult& page) override;
};

// The texts of these searches.
QString searchingText();      // "正在进行搜索..."
QString searchDoneText();     // "搜索完毕.."
QString searchNotFoundText(); // "未找到相关资源.."

} // namespace lumorra
