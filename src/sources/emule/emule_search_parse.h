#pragma once
// The two eMule keyword searches: the index site (result pages laid out like
// its category listings) and the search site (result pages are tables).
// URL building, the no-result test, counting and cutting, by each site's
// definition (without one: the shipped definition's). No widgets.
#include "core/list_row.h"

#include <QList>
#include <QString>

namespace lumorra {

class CutPage;
struct SiteDefinition;

// ---- index site -------------------------------------------------------------

// base + "/emule/search/" + keyword + "/" + page text. Both are escaped so
// that neither can change the URL's shape ("电影", "3" → …/%E7%94%B5%E5%BD%B1/3).
QString indexSearchUrl(const QString& base, const QString& keyword, const QString& pageText);
QString indexSearchUrl(const SiteDefinition& def, const QString& base, const QString& keyword,
                       const QString& pageText);

// The site's own "nothing found" page.
bool isIndexSearchNotFound(const QString& page);
bool isIndexSearchNotFound(const SiteDefinition& def, const QString& page);

// ---- search site ------------------------------------------------------------

// Page 1 (a page text worth exactly 1) gives
//   base + "/FileList.asp?SearchWord=" + keyword,
// any other page
//   base + "/FileList.asp?PageIndex=" + k + "&SearchWord=" + keyword,
// with k in its shortest decimal form and the keyword escaped.
QString searchSiteUrl(const QString& base, const QString& keyword, const QString& pageText);
QString searchSiteUrl(const SiteDefinition& def, const QString& base, const QString& keyword,
                      const QString& pageText);

QString searchSiteRecordMarker();   // <td>[
int countSearchSiteRecords(const CutPage& page);
int countSearchSiteRecords(const SiteDefinition& def, const CutPage& page);

struct SearchSiteRow {
    QString name;       // may start with the blank that follows "]"
    QString category;   // anchors stripped
    QString address;    // base + "/ShowFile.asp?FileID=" + id
};

// The ListView17 row of a record: mc name, dz address, fl category.
ListRow listRow(int number, const SearchSiteRow& row);

// Records 1..hits of a page, in page order. A record without its detail link
// is left out (it names no file), so the result may hold fewer than `hits`.
QList<SearchSiteRow> cutSearchSiteRows(const CutPage& page, const QString& base, int hits);
QList<SearchSiteRow> cutSearchSiteRows(const SiteDefinition& def, const CutPage& page, const QString& base,
                                       int hits);

} // namespace lumorra
