#include "sources/video/qvod_search_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"
#include "text/number_text.h"

#include <cmath>
#include <limits>

namespace lumorra {

namespace {

const QString kSite = QStringLiteral("qvod-search");

const SiteDefinition& shipped()
{
    return siteDefinition(kSite);
}

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

// `key`'s text when `page` holds it; an empty text is never found.
bool holds(const SiteDefinition& def, const QString& key, const QString& page)
{
    const QString text = def.text(key);
    return !text.isEmpty() && page.contains(text);
}

} // namespace

QString qvodSearchCategoryUrl(const SiteDefinition& def, const QString& base, int page)
{
    // The site's first page has an address of its own, without a number.
    if (page == 1)
        return def.url(QStringLiteral("category-first"), {{QStringLiteral("base"), base}});
    return def.url(QStringLiteral("category"),
                   {{QStringLiteral("base"), base}, {QStringLiteral("page"), QString::number(page)}});
}

QString qvodSearchCategoryUrl(const QString& base, int page)
{
    return qvodSearchCategoryUrl(shipped(), base, page);
}

QString qvodSearchKeywordUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword)
{
    return def.url(QStringLiteral("search"), {{QStringLiteral("base"), base}, {QStringLiteral("keyword"), encodedKeyword}});
}

QString qvodSearchKeywordUrl(const QString& base, const QString& encodedKeyword)
{
    return qvodSearchKeywordUrl(shipped(), base, encodedKeyword);
}

QString qvodSearchKeywordPageUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword,
                                 int page)
{
    return def.url(QStringLiteral("search-page"), {{QStringLiteral("base"), base},
                                                   {QStringLiteral("keyword"), encodedKeyword},
                                                   {QStringLiteral("page"), QString::number(page)}});
}

QString qvodSearchKeywordPageUrl(const QString& base, const QString& encodedKeyword, int page)
{
    return qvodSearchKeywordPageUrl(shipped(), base, encodedKeyword, page);
}

QString qvodSearchCategoryRowMarker(const SiteDefinition& def)
{
    return def.text(QStringLiteral("category-row"));
}

QString qvodSearchKeywordRowMarker(const SiteDefinition& def)
{
    return def.text(QStringLiteral("keyword-row"));
}

QString qvodSearchCategoryRowMarker()
{
    return qvodSearchCategoryRowMarker(shipped());
}

QString qvodSearchKeywordRowMarker()
{
    return qvodSearchKeywordRowMarker(shipped());
}

int countQvodSearchCategoryHits(const SiteDefinition& def, const QString& page)
{
    return int(findOccurrences(page, def.text(QStringLiteral("category-hit"))).size());
}

int countQvodSearchCategoryHits(const QString& page)
{
    return countQvodSearchCategoryHits(shipped(), page);
}

bool isQvodSearchNoResult(const SiteDefinition& def, const QString& page)
{
    return holds(def, QStringLiteral("no-result"), page);
}

bool isQvodSearchNoResult(const QString& page)
{
    return isQvodSearchNoResult(shipped(), page);
}

int qvodSearchAnnouncedTotal(const SiteDefinition& def, const CutPage& page)
{
    return announcedNumber(def.field(QStringLiteral("total")).apply(page.whole(), 1, QString()));
}

int qvodSearchAnnouncedTotal(const CutPage& page)
{
    return qvodSearchAnnouncedTotal(shipped(), page);
}

int qvodSearchAnnouncedPages(const SiteDefinition& def, const CutPage& page)
{
    // The search collects every announced page one by one; a page that
    // claims millions would keep it fetching (and joining) for good.
    return qMin(announcedNumber(def.field(QStringLiteral("pages")).apply(page.whole(), 1, QString())),
                kMaxQvodSearchPages);
}

int qvodSearchAnnouncedPages(const CutPage& page)
{
    return qvodSearchAnnouncedPages(shipped(), page);
}

QList<QvodSearchRow> cutQvodSearchRows(const SiteDefinition& def, const CutPage& page, QStringView rowMarker,
                                       const QString& base, int wanted)
{
    QList<QvodSearchRow> rows;
    const int n = int(qMin<qsizetype>(qMax(wanted, 0), page.count(rowMarker)));
    rows.reserve(n);
    const FieldCut& cells = def.field(QStringLiteral("cells"));
    const FieldCut& detail = def.field(QStringLiteral("dz"));
    const FieldCut& title = def.field(QStringLiteral("mc"));
    const FieldCut& section = def.field(QStringLiteral("lmfl"));
    const FieldCut& region = def.field(QStringLiteral("dqfl"));
    for (int i = 1; i <= n; ++i) {
        // Each row is a record of its own: its fields are cut out of its
        // cells, not out of the page.
        const CutPage row(cells.cutText(page.piece(rowMarker, i)));
        QvodSearchRow r;
        r.detailUrl = detail.cut(row, 1, base);
        r.title = title.cut(row, 1, base);
        r.section = section.cut(row, 1, base);
        r.region = region.cut(row, 1, base);
        rows.append(std::move(r));
    }
    return rows;
}

QList<QvodSearchRow> cutQvodSearchRows(const CutPage& page, QStringView rowMarker, const QString& base,
                                       int wanted)
{
    return cutQvodSearchRows(shipped(), page, rowMarker, base, wanted);
}

QvodSearchDetail cutQvodSearchDetail(const SiteDefinition& def, const QString& text)
{
    const CutPage page(text);
    QvodSearchDetail d;
    d.address = def.field(QStringLiteral("address")).cut(page, 1);
    d.posterUrl = def.field(QStringLiteral("poster")).cut(page, 1);
    return d;
}

QvodSearchDetail cutQvodSearchDetail(const QString& text)
{
    return cutQvodSearchDetail(shipped(), text);
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
