#include "sources/torrent/bt_engines.h"

#include "net/site_config.h"
#include "sources/torrent/bt_board_parse.h"
#include "text/cut.h"

#include <limits>

namespace lumorra {

namespace {

QString baseOf(const char* role)
{
    return SiteConfig::current().base(QString::fromLatin1(role));
}

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

QString BtBoardEngine::addressFor(const SourceRequest& request) const
{
    return btBoardUrl(baseOf(role::BtBoardSite), pageOf(request, kBtBoardFirst, kBtBoardLast));
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
    addRows(numberedInOrder(cutBoardPosts(CutPage(boardPage), baseOf(role::BtBoardSite))));
    if (rowCount() == 0) {
        say(btEmptyListingText());
        finishNone(btEmptyListingText());
        return;
    }
    say(QStringLiteral("获取完毕 ..."));
    finishRows();
}

// ---------------------------------------------------------------------------

QString BtFilmsEngine::addressFor(const SourceRequest& request) const
{
    return btFilmPageUrl(baseOf(role::EmuleIndexSite), pageOf(request, 1, std::numeric_limits<qint16>::max()));
}

QString BtFilmsEngine::startText() const
{
    return QStringLiteral("正在获取电影资源..");
}

void BtFilmsEngine::takePage(const FetchResult& page)
{
    addRows(numberedInOrder(cutBtFilms(CutPage(page.text), baseOf(role::EmuleIndexSite))));
    if (rowCount() == 0) {
        say(btEmptyListingText());
        finishNone(btEmptyListingText());
        return;
    }
    say(QStringLiteral("资源获取完毕.."));
    finishRows();
}

// ---------------------------------------------------------------------------

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
    m_magnet = cutBtFilmMagnet(page.text);
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
