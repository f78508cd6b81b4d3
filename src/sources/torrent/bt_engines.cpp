#include "sources/torrent/bt_engines.h"

#include "sources/torrent/bt_board_parse.h"
#include "text/cut.h"

#include <limits>

namespace lumorra {

namespace {

int pageOf(const SourceRequest& request, int first, int last)
{
    bool ok = false;
    const int n = request.page.toInt(&ok);
    return ok ? qBound(first, n, last) : first;
}

} // namespace

QString btEmptyListingText()
{
    return QStringLiteral("获取完毕 ...本页没有资源记录");
}

QString btMagnetNotFoundText(const FetchResult& result)
{
    if (!result.hasPage())
        return QStringLiteral("磁力链接解析失败(") + pageFailureText(result) + QStringLiteral("),请稍后再试..");
    return QStringLiteral("磁力链接解析失败(页面中没有磁力链接)..");
}

QString btMagnetResolvedText()
{
    return QStringLiteral("磁力链接已解析!");
}

// ---------------------------------------------------------------------------

BtBoardEngine::BtBoardEngine(QObject* parent) : PageEngine(parent)
{
    setSite(QStringLiteral("bt-board"));
}

QString BtBoardEngine::addressFor(const SourceRequest& request) const
{
    return btBoardUrl(definition(), siteBase(), pageOf(request, kBtBoardFirst, kBtBoardLast));
}

QString BtBoardEngine::startText() const
{
    return QStringLiteral("正在获取资源 ...");
}

void BtBoardEngine::takePage(const FetchResult& page)
{
    getys(page.text);
}

void BtBoardEngine::getys(const QString& boardPage)
{
    addRows(numberedInOrder(cutBoardPosts(definition(), CutPage(boardPage), siteBase())));
    if (rowCount() == 0) {
        say(btEmptyListingText());
        finishNone(btEmptyListingText());
        return;
    }
    say(QStringLiteral("获取完毕 ..."));
    finishRows();
}

// ---------------------------------------------------------------------------

BtFilmsEngine::BtFilmsEngine(QObject* parent) : PageEngine(parent)
{
    setSite(QStringLiteral("emule-index"));
}

QString BtFilmsEngine::addressFor(const SourceRequest& request) const
{
    return btFilmPageUrl(definition(), siteBase(), pageOf(request, 1, std::numeric_limits<qint16>::max()));
}

QString BtFilmsEngine::startText() const
{
    return QStringLiteral("正在获取电影资源..");
}

void BtFilmsEngine::takePage(const FetchResult& page)
{
    addRows(numberedInOrder(cutBtFilms(definition(), CutPage(page.text), siteBase())));
    if (rowCount() == 0) {
        say(btEmptyListingText());
        finishNone(btEmptyListingText());
        return;
    }
    say(QStringLiteral("资源获取完毕.."));
    finishRows();
}

// ---------------------------------------------------------------------------

BtMagnetEngine::BtMagnetEngine(QObject* parent) : PageEngine(parent)
{
    setSite(QStringLiteral("emule-index"));
}

QString BtMagnetEngine::addressFor(const SourceRequest& request) const
{
    return request.address;
}

QString BtMagnetEngine::startText() const
{
    return QStringLiteral("正在解析..请稍等..");
}

void BtMagnetEngine::takePage(const FetchResult& page)
{
    m_magnet = cutBtFilmMagnet(definition(), page.text);
    if (m_magnet.link.isEmpty()) {
        const QString none = btMagnetNotFoundText(page);
        say(none);
        finishNone(none);
        return;
    }
    ListRow row(rowNumber(1));
    row.set(QStringLiteral("dz"), m_magnet.link).set(QStringLiteral("gx"), m_magnet.updated);
    addRows({row});
    say(btMagnetResolvedText());
    finishRows();
}

void BtMagnetEngine::pageMissing(const FetchResult& result)
{
    m_magnet = BtFilmMagnet{};
    failPage(result, btMagnetNotFoundText(result));
}

} // namespace lumorra
