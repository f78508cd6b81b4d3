#pragma once
// The eMule family as engines: the seven category listings of the index
// site (one page, cut in the handler), the index site's keyword search
// (counted, then cut by Timer15) and the search site's keyword search
// (counted, cut by Timer20, judged by Timer21).
#include "sources/emule/emule_category_parse.h"
#include "sources/engine/count_then_cut.h"
#include "sources/engine/page_engine.h"
#include "text/cut.h"

namespace lumorra {

// Status texts of the listings.
QString emuleEmptyListingText();   // a listing page without records
QString emuleListedText();         // "获取完毕.."

class EmuleCategoryEngine : public PageEngine {
    Q_OBJECT
public:
    EmuleCategoryEngine(EmuleCategory category, QObject* parent = nullptr);

    EmuleCategory category() const { return m_category; }

protected:
    QString startText() const override;
    // The page number in decimal; the window keeps it (and its 16-bit
    // cartoon limit), the command line checks it.
    QString addressFor(const SourceRequest& request) const override;
    void takePage(const FetchResult& page) override;

private:
    EmuleCategory m_category;
};

// The index site's search: the page's records are counted in the handler
// and cut, all at once, by the one step on Timer15. A no-result page of the
// site ends the search with its text as the reason (the window shows it in a
// message box as well).
class EmuleIndexSearchEngine : public PageEngine {
    Q_OBJECT
public:
    explicit EmuleIndexSearchEngine(const Pacing& pacing, QObject* parent = nullptr);
    ~EmuleIndexSearchEngine() override;

    qint16 pending() const { return m_pending; }
    PacedStep* cutStep() const { return m_cutStep; }

    static QString notFoundText();   // "没有找到相关电驴资源!"

signals:
    // The page was counted: `pending` records wait for the cutting step.
    void hitsCounted(qint16 pending);

protected:
    QString refusalOf(const SourceRequest& request) const override;
    QString startText() const override;
    QString addressFor(const SourceRequest& request) const override;
    void takePage(const FetchResult& page) override;
    void halt() override;

private:
    void cut();

    PacedStep* m_cutStep;
    CutPage m_page;
    qint16 m_pending = 0;
    int m_releaseHook = -1;
};

class EmuleSiteSearchEngine : public PageEngine {
    Q_OBJECT
public:
    explicit EmuleSiteSearchEngine(const Pacing& pacing, QObject* parent = nullptr);
    ~EmuleSiteSearchEngine() override;

    CountThenCut* steps() const { return m_steps; }

protected:
    QString refusalOf(const SourceRequest& request) const override;
    QString startText() const override;
    QString addressFor(const SourceRequest& request) const override;
    void takePage(const FetchResult& page) override;
    void halt() override;

private:
    void cut(int hits);
    void judge();

    CountThenCut* m_steps;
    CutPage m_page;
    int m_releaseHook = -1;
};

} // namespace lumorra
