#include "sources/emule/emule_search_parse.h"

#include "net/url_encoding.h"
#include "text/cut.h"
#include "text/number_text.h"
#include "text/preg.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace lumorra {

namespace {

const QString kNotFound = QStringLiteral("没能为您找到");
const QString kRecord = QStringLiteral("<td>[");
const QString kDetail = QStringLiteral(" <a href=\"ShowFile.asp?FileID=");
const QString kAnchorTag = QStringLiteral("</?a[^<>]*>");

QString withoutAnchors(const QString& text)
{
    return preg(text, kAnchorTag, QString());
}

QString shortestDecimal(double k)
{
    if (std::isfinite(k) && std::floor(k) == k && std::fabs(k) < 1e15)
        return QString::number(qint64(k));
    return QString::number(k, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QString indexSearchUrl(const QString& base, const QString& keyword, const QString& pageText)
{
    return base + QLatin1String("/emule/search/") + encodeKeyword(keyword) + QLatin1Char('/')
        + encodeKeyword(pageText);
}

bool isIndexSearchNotFound(const QString& page)
{
    return page.contains(kNotFound);
}

QString searchSiteUrl(const QString& base, const QString& keyword, const QString& pageText)
{
    const double k = leadingNumber(pageText);
    const QString word = encodeKeyword(keyword);
    if (k == 1)
        return base + QLatin1String("/FileList.asp?SearchWord=") + word;
    return base + QLatin1String("/FileList.asp?PageIndex=") + shortestDecimal(k)
        + QLatin1String("&SearchWord=") + word;
}

QString searchSiteRecordMarker()
{
    return kRecord;
}

int countSearchSiteRecords(const CutPage& page)
{
    return int(qMin<qsizetype>(page.count(kRecord), std::numeric_limits<int>::max()));
}

QList<SearchSiteRow> cutSearchSiteRows(const CutPage& page, const QString& base, int hits)
{
    QList<SearchSiteRow> rows;
    const int n = qMin(hits, countSearchSiteRecords(page));
    for (int i = 1; i <= n; ++i) {
        const Cut record = page.piece(kRecord, i);
        const Cut fileId = record.piece(kDetail, 1).before(QLatin1Char('"'));
        if (!fileId.found() || fileId.isEmpty())
            continue;   // no detail link: nothing this row could open

        SearchSiteRow row;
        const qsizetype close = record.view().indexOf(QLatin1Char(']'));
        row.category = withoutAnchors(close < 0 ? QString() : record.view().left(close).toString());
        const Cut rest(close < 0 ? record.view().mid(1) : record.view().mid(close + 1));
        row.name = Cut(withoutAnchors(rest.before(QStringLiteral("</a>")))).erase(QLatin1Char('<'));
        row.address = base + QLatin1String("/ShowFile.asp?FileID=") + fileId.str();
        rows.append(row);
    }
    return rows;
}

ListRow listRow(int number, const SearchSiteRow& row)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), row.name)
        .set(QStringLiteral("dz"), row.address)
        .set(QStringLiteral("fl"), row.category);
    return r;
}

} // namespace lumorra
