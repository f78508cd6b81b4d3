#include "sources/video/qvod_search_parse.h"

#include "text/cut.h"
#include "text/number_text.h"
#include "text/preg.h"

#include <cmath>
#include <limits>

namespace lumorra {

namespace {

const QString kCategoryHit = QStringLiteral("<font color=\"#008000\">");
const QString kCategoryRow = QStringLiteral("<tr bgcolor=\"#f5fef7\">");
const QString kKeywordRow = QStringLiteral("<tr bgcolor=\"#F5FAFE\">");
const QString kRegion = QStringLiteral("<font color=\"#3D709E\">");

// A count the page writes as text, blanks around the digits allowed.
int announcedNumber(const Cut& text)
{
    if (!text.found())
        return 0;
    const double n = leadingNumber(text.str());
    if (!std::isfinite(n) || n < 1)
        return 0;
    return n >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : int(std::floor(n));
}

} // namespace

QString qvodSearchCategoryUrl(const QString& base, int page)
{
    if (page == 1)
        return base + QStringLiteral("/vod-show-p.html");
    return base + QStringLiteral("/vod-show-p-") + QString::number(page) + QStringLiteral(".html");
}

QString qvodSearchKeywordUrl(const QString& base, const QString& encodedKeyword)
{
    return base + QStringLiteral("/vod-search-wd-") + encodedKeyword + QStringLiteral("-p.html");
}

QString qvodSearchKeywordPageUrl(const QString& base, const QString& encodedKeyword, int page)
{
    return base + QStringLiteral("/vod-search-wd-") + encodedKeyword + QStringLiteral("-p-")
        + QString::number(page) + QStringLiteral(".html");
}

QStringView qvodSearchCategoryRowMarker()
{
    return kCategoryRow;
}

QStringView qvodSearchKeywordRowMarker()
{
    return kKeywordRow;
}

int countQvodSearchCategoryHits(const QString& page)
{
    return int(findOccurrences(page, kCategoryHit).size());
}

bool isQvodSearchNoResult(const QString& page)
{
    return page.contains(QStringLiteral("没有搜索到"));
}

int qvodSearchAnnouncedTotal(const CutPage& page)
{
    return announcedNumber(page.piece(u"共", 1).upToFirstCharOf(u"部").erase(u'部'));
}

int qvodSearchAnnouncedPages(const CutPage& page)
{
    // The search collects every announced page one by one; a page that
    // claims millions would keep it fetching (and joining) for good.
    return qMin(announcedNumber(page.piece(u"当前:1/", 1).upToFirstCharOf(u"页").erase(u'页')),
                kMaxQvodSearchPages);
}

QList<QvodSearchRow> cutQvodSearchRows(const CutPage& page, QStringView rowMarker, const QString& base,
                                       int wanted)
{
    QList<QvodSearchRow> rows;
    const int n = int(qMin<qsizetype>(qMax(wanted, 0), page.count(rowMarker)));
    rows.reserve(n);
    const QString detailPrefix = base + QStringLiteral("/");
    for (int i = 1; i <= n; ++i) {
        // The row's cells without their td tags: link, title, section link,
        // section, then the region in its own colour.
        const Cut row(preg(page.piece(rowMarker, i).str(), QStringLiteral("</?td[^<>]*>"), QString()));
        QvodSearchRow r;
        const Cut link = row.piece(u"<a href=\"/", 1);
        if (link.found())
            r.detailUrl = link.before(u'"').prefix(detailPrefix);
        r.title = row.piece(u">", 1).erase(u"</a");
        r.section = row.piece(u">", 3).erase(u"</a");
        r.region = row.piece(kRegion, 1).upToFirstCharOf(u"</font>").erase(u'<');
        rows.append(std::move(r));
    }
    return rows;
}

QvodSearchDetail cutQvodSearchDetail(const QString& text)
{
    const CutPage page(text);
    QvodSearchDetail d;
    d.address = page.piece(u"value=", 5).upToFirstCharOf(u"\">").erase(u'"');
    d.posterUrl = page.piece(u"<img src=\"", 3).before(u'"');
    return d;
}

ListRow listRow(int number, const QvodSearchRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.title)
        .set(QStringLiteral("dz"), row.detailUrl)
        .set(QStringLiteral("dqfl"), row.region)
        .set(QStringLiteral("lmfl"), row.section);
    return r;
}

QList<int> qvodSearchFurtherPages(int announcedPages)
{
    QList<int> pages;
    for (int page = announcedPages - 1; announcedPages > 1 && page >= 0; --page)
        pages << page;
    return pages;
}

} // namespace lumorra
