#include "sources/emule/emule_search_parse.h"

#include "net/url_encoding.h"
#include "sources/definitions/site_definitions.h"
#include "text/cut.h"
#include "text/number_text.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace lumorra {

namespace {

const QString kIndexSite = QStringLiteral("emule-index");
const QString kSearchSite = QStringLiteral("emule-search");

QString shortestDecimal(double k)
{
    if (std::isfinite(k) && std::floor(k) == k && std::fabs(k) < 1e15)
        return QString::number(qint64(k));
    return QString::number(k, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QString indexSearchUrl(const SiteDefinition& def, const QString& base, const QString& keyword,
                       const QString& pageText)
{
    return def.url(QStringLiteral("search"), {{QStringLiteral("base"), base},
                                              {QStringLiteral("keyword"), encodeKeyword(keyword)},
                                              {QStringLiteral("page"), encodeKeyword(pageText)}});
}

QString indexSearchUrl(const QString& base, const QString& keyword, const QString& pageText)
{
    return indexSearchUrl(siteDefinition(kIndexSite), base, keyword, pageText);
}

bool isIndexSearchNotFound(const SiteDefinition& def, const QString& page)
{
    const QString text = def.text(QStringLiteral("no-result"));
    return !text.isEmpty() && page.contains(text);
}

bool isIndexSearchNotFound(const QString& page)
{
    return isIndexSearchNotFound(siteDefinition(kIndexSite), page);
}

QString searchSiteUrl(const SiteDefinition& def, const QString& base, const QString& keyword,
                      const QString& pageText)
{
    const double k = leadingNumber(pageText);
    const QString word = encodeKeyword(keyword);
    if (k == 1)
        return def.url(QStringLiteral("search-first"), {{QStringLiteral("base"), base}, {QStringLiteral("keyword"), word}});
    return def.url(QStringLiteral("search"), {{QStringLiteral("base"), base},
                                              {QStringLiteral("page"), shortestDecimal(k)},
                                              {QStringLiteral("keyword"), word}});
}

QString searchSiteUrl(const QString& base, const QString& keyword, const QString& pageText)
{
    return searchSiteUrl(siteDefinition(kSearchSite), base, keyword, pageText);
}

QString searchSiteRecordMarker()
{
    return siteDefinition(kSearchSite).record;
}

int countSearchSiteRecords(const SiteDefinition& def, const CutPage& page)
{
    return int(qMin<qsizetype>(page.count(def.record), std::numeric_limits<int>::max()));
}

int countSearchSiteRecords(const CutPage& page)
{
    return countSearchSiteRecords(siteDefinition(kSearchSite), page);
}

QList<SearchSiteRow> cutSearchSiteRows(const SiteDefinition& def, const CutPage& page, const QString& base,
                                       int hits)
{
    QList<SearchSiteRow> rows;
    const int n = qMin(hits, countSearchSiteRecords(def, page));
    const FieldCut& fileIdCut = def.field(QStringLiteral("file-id"));
    const FieldCut& categoryCut = def.field(QStringLiteral("fl"));
    const FieldCut& nameCut = def.field(QStringLiteral("mc"));
    const QString categoryEnd = def.text(QStringLiteral("category-end"));
    for (int i = 1; i <= n; ++i) {
        const Cut record = page.piece(def.record, i);
        const Cut fileId = fileIdCut.apply(record, i, base);
        if (!fileId.found() || fileId.isEmpty())
            continue;   // no detail link: nothing this row could open

        // The record splits at its category's end: the category before it,
        // the name after it. Without one there is no category, and the name
        // is read from the record's second character on.
        SearchSiteRow row;
        const qsizetype close = categoryEnd.isEmpty() ? -1 : record.view().indexOf(categoryEnd);
        const QString category = close < 0 ? QString() : record.view().left(close).toString();
        row.category = categoryCut.cutText(Cut(category), i, base);
        const Cut rest(close < 0 ? record.view().mid(1) : record.view().mid(close + categoryEnd.size()));
        row.name = nameCut.cutText(rest, i, base);
        row.address = def.url(QStringLiteral("detail"), {{QStringLiteral("base"), base}, {QStringLiteral("id"), fileId.str()}});
        rows.append(row);
    }
    return rows;
}

QList<SearchSiteRow> cutSearchSiteRows(const CutPage& page, const QString& base, int hits)
{
    return cutSearchSiteRows(siteDefinition(kSearchSite), page, base, hits);
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
