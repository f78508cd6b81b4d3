#pragma once
// The browse-only BT sources of the film pages and their resolver: a board
// of the BT forum (BtBoardSite, board 1 to 8, a plain GET as its definition
// says), a BT film page of the eMule index site, and the magnet link and
// update date of one BT film's download page.
#include "sources/engine/page_engine.h"
#include "sources/torrent/bt_film_parse.h"

#include <QString>

namespace lumorra {

class BtBoardEngine : public PageEngine {
    Q_OBJECT
public:
    explicit BtBoardEngine(QObject* parent = nullptr);

    // The board cutting step: the posts of `boardPage`, and the run's end.
    void getys(const QString& boardPage);

protected:
    QString addressFor(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
};

class BtFilmsEngine : public PageEngine {
    Q_OBJECT
public:
    explicit BtFilmsEngine(QObject* parent = nullptr);

protected:
    QString addressFor(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
};

// Rows: one (xh 1, dz the magnet link, gx the update date) when the page
// holds a link; none otherwise.
class BtMagnetEngine : public PageEngine {
    Q_OBJECT
public:
    explicit BtMagnetEngine(QObject* parent = nullptr);

    // What the last page that came held, link or not (the window shows its
    // update date either way).
    const BtFilmMagnet& lastMagnet() const { return m_magnet; }

protected:
    QString addressFor(const SourceRequest& request) const override;
    QString startText() const override;
    void takePage(const FetchResult& page) override;
    void pageMissing(const FetchResult& result) override;

private:
    BtFilmMagnet m_magnet;
};

// Status texts of our own: a listing page without records, a page that did
// not arrive.
QString btEmptyListingText();   // "获取完毕 ...本页没有资源记录"
QString btMagnetNotFoundText(const FetchResult& result);
QString btMagnetResolvedText(); // "磁力链接已解析!"

} // namespace lumorra
