#pragma once
// The ed2k resolver: an eMule detail page to its first ed2k link, as one row
// (xh "1", dz the link). The window puts the link on the clipboard; the
// command line prints it.
#include "sources/engine/page_engine.h"

namespace lumorra {

// "没有找到ed2k链接,种子地址提取失败!", or with the reason a page did not come
// in parentheses after "链接".
QString ed2kNotFoundText(const QString& reason = {});

class Ed2kEngine : public PageEngine {
    Q_OBJECT
public:
    explicit Ed2kEngine(QObject* parent = nullptr);

protected:
    // An empty address has nothing to fetch: it is a link not found.
    QString refusalOf(const SourceRequest& request) const override;
    QString addressFor(const SourceRequest& request) const override;
    void takePage(const FetchResult& page) override;
    // Told in the resolver's own words, with the fetcher's reason.
    void pageMissing(const FetchResult& result) override;
};

} // namespace lumorra
