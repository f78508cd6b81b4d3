#pragma once
// An engine whose run starts with one page of its site: it asks for the
// address the request names, and a page that does not come (a fetch error,
// an error status, an empty body) ends the run with the one failure
// wording. What the page holds is the source's own step, takePage(): cut
// in the handler, or counted for the timers of CountThenCut.
#include "net/page_fetcher.h"
#include "sources/engine/source_engine.h"

namespace lumorra {

class PageEngine : public SourceEngine {
    Q_OBJECT
public:
    using SourceEngine::SourceEngine;

protected:
    // The page to ask for (refusalOf() has passed the request).
    virtual QString addressFor(const SourceRequest& request) const = 0;
    // The site definition's fetch kind unless the source asks otherwise.
    virtual FetchMode fetchMode() const;
    // Said when the request goes out ("正在进行搜索..."); none by default.
    virtual QString startText() const { return QString(); }
    // The page came (result.hasPage()).
    virtual void takePage(const FetchResult& page) = 0;
    // No page came; fails the run with failedPageText() unless overridden.
    virtual void pageMissing(const FetchResult& result) { failPage(result); }

    void begin(const SourceRequest& request) override;
    void halt() override;
    bool isFetching() const { return m_fetch.isPending(); }

private:
    LatestFetch m_fetch;
};

} // namespace lumorra
