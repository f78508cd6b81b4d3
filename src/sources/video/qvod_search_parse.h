#pragma once
// QvodSearchSite: category and keyword URLs, the hit count of a category
// page, the announced total and page count of a keyword search, the rows of
// both kinds of page and the address of a detail page, by the site's
// definition (without one: the shipped definition's).
#include "core/list_row.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace lumorra {

class CutPage;
struct SiteDefinition;

// base + "/vod-show-p.html" for page 1, else base + "/vod-show-p-N.html".
QString qvodSearchCategoryUrl(const QString& base, int page);
// base + "/vod-search-wd-" + keyword + "-p.html": the first result page.
QString qvodSearchKeywordUrl(const QString& base, const QString& encodedKeyword);
// base + "/vod-search-wd-" + keyword + "-p-N.html": a further result page.
QString qvodSearchKeywordPageUrl(const QString& base, const QString& encodedKeyword, int page);
QString qvodSearchCategoryUrl(const SiteDefinition& def, const QString& base, int page);
QString qvodSearchKeywordUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword);
QString qvodSearchKeywordPageUrl(const SiteDefinition& def, const QString& base, const QString& encodedKeyword,
                                 int page);

// Row markers: category pages write the colour in lower case, keyword pages
// in upper case.
QString qvodSearchCategoryRowMarker();
QString qvodSearchKeywordRowMarker();
QString qvodSearchCategoryRowMarker(const SiteDefinition& def);
QString qvodSearchKeywordRowMarker(const SiteDefinition& def);

// Records a category page announces (its green date cells).
int countQvodSearchCategoryHits(const QString& page);
int countQvodSearchCategoryHits(const SiteDefinition& def, const QString& page);

// The site's own page for a keyword without results.
bool isQvodSearchNoResult(const QString& page);
bool isQvodSearchNoResult(const SiteDefinition& def, const QString& page);

// The most result pages one keyword search collects.
inline constexpr int kMaxQvodSearchPages = 500;

// "共 N 部" and "当前:1/P页" of a keyword result page; 0 when absent or not a
// number; P is at most kMaxQvodSearchPages.
int qvodSearchAnnouncedTotal(const CutPage& page);
int qvodSearchAnnouncedPages(const CutPage& page);
int qvodSearchAnnouncedTotal(const SiteDefinition& def, const CutPage& page);
int qvodSearchAnnouncedPages(const SiteDefinition& def, const CutPage& page);

struct QvodSearchRow {
    QString title;
    QString detailUrl;   // base + "/" + the link's path
    QString section;     // 栏目分类
    QString region;      // 地区分类
};

// The ListView14 row of a film: mc title, dz detail page, dqfl region, lmfl
// section.
ListRow listRow(int number, const QvodSearchRow& row);

// The further result pages a keyword search collects after its first, in
// the order they are asked for and joined: with P pages announced, P − 1,
// P − 2, …, 0 (the site's own numbering); none when P is 1 or less.
QList<int> qvodSearchFurtherPages(int announcedPages);

// Rows 1 … `wanted` at `rowMarker`, in page order, no more than the page
// holds. A field a row lacks is empty.
QList<QvodSearchRow> cutQvodSearchRows(const CutPage& page, QStringView rowMarker, const QString& base,
                                       int wanted);
QList<QvodSearchRow> cutQvodSearchRows(const SiteDefinition& def, const CutPage& page, QStringView rowMarker,
                                       const QString& base, int wanted);

struct QvodSearchDetail {
    QString address;     // the Qvod address; empty when the page has none
    QString posterUrl;
};

QvodSearchDetail cutQvodSearchDetail(const QString& page);
QvodSearchDetail cutQvodSearchDetail(const SiteDefinition& def, const QString& page);

} // namespace lumorra
