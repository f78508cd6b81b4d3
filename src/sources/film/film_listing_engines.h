#pragma once
// FilmListSite as engines: the six category listings (one index page, cut
// in the handler, at most 25 films) and the resolver that reads a film's
// detail page for its download link. Both ask the site's pages without
// If-Modified-Since, as its definition's fetch says.
#include "sources/engine/page_engine.h"

namespace lumorra {

// The category is the request's variant (0 to 5), as each of the six table
// rows sets it.
class FilmListingEngine : public PageEngine {
    Q_OBJECT
public:
    explicit FilmListingEngine(QObject* parent = nullptr);

protected:
    QString addressFor(const SourceRequest& request) const override;
    void takePage(const FetchResult& page) override;
};

// The detail page is the request's address; its one row is the link (dz).
class FilmLinkEngine : public PageEngine {
    Q_OBJECT
public:
    explicit FilmLinkEngine(QObject* parent = nullptr);

protected:
    QString addressFor(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
    void pageMissing(const FetchResult& result) override;
};

// The texts of these sources.
QString filmListingDoneText();    // "获取完毕.."
QString filmListingEmptyText();   // "获取完毕..本页没有资源记录"
QString filmLinkDoneText();       // "种子地址已解析.."
// Why a detail page gave no link: the page did not come ("种子地址解析失败
// (服务器返回 HTTP 404),请稍后再试..") or holds no download cell.
QString filmLinkFailedText(const FetchResult& result);

} // namespace lumorra
