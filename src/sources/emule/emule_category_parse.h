#pragma once
// The seven category listings of the eMule index site: which buttons, path
// and list belong to each, the listing URL, the page-number arithmetic, and
// the record cutting that the index site's keyword search shares, by the
// site's definition (without one: the shipped definition's). No widgets.
#include "core/list_row.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace lumorra {

class CutPage;
struct SiteDefinition;

enum class EmuleCategory { Films, Music, Software, Books, Education, Data, Cartoons };

struct EmuleCategoryInfo {
    EmuleCategory category;
    const char* buttonArray;   // "Command21", "Command26", "Command27", "Command41"
    int firstButton;           // index of its "获取资源" button in that array
    const char* path;          // "/emule/movie/" …: the definition's, as first read
    const char* listName;      // "ListView6" …
};

// The seven categories in listing order (films first, cartoons last).
const QList<EmuleCategoryInfo>& emuleCategories();
const EmuleCategoryInfo& emuleCategoryInfo(EmuleCategory category);

enum class PagingAction { Fetch, Next, Previous };

struct CategoryButton {
    EmuleCategory category;
    PagingAction action;
};

// What button `array(index)` does; none for buttons that are not category
// buttons (Command21(3..5), Command27(12), Command27(13) …).
std::optional<CategoryButton> categoryButton(const QString& array, int index);

// A listing holds at most this many records per page.
inline constexpr int kCategoryPageRecords = 30;

// base + path + page number in decimal ("…/emule/music/1"), the path the
// definition's categories table gives the category.
QString categoryPageUrl(const QString& base, EmuleCategory category, qint64 page);
QString categoryPageUrl(const SiteDefinition& def, const QString& base, EmuleCategory category, qint64 page);

// The page number after "下一页". The cartoon number is a 16-bit value: at its
// top it stays where it is instead of wrapping.
qint64 nextCategoryPage(EmuleCategory category, qint64 page);

// The record start marker of listing and index-site search pages.
QString categoryRecordMarker();   // <div class="thumb">

struct EmuleRecord {
    QString name;
    QString remark;
    QString address;   // base + "/" + the record's link path
};

// The row of a record in a category list or ListView15: mc name, bz remark,
// zzdz address.
ListRow listRow(int number, const EmuleRecord& record);

// Number of records on a page (occurrences of the record marker).
int countCategoryRecords(const CutPage& page);
int countCategoryRecords(const SiteDefinition& def, const CutPage& page);

// Record i (from 1) of a page: its block is piece i at the record marker.
// Fields whose marker the block lacks are empty. None when the page holds
// fewer than i records.
std::optional<EmuleRecord> cutCategoryRecord(const CutPage& page, int i, const QString& base);
std::optional<EmuleRecord> cutCategoryRecord(const SiteDefinition& def, const CutPage& page, int i,
                                             const QString& base);

// Records 1 .. min(limit, records on the page), in page order.
QList<EmuleRecord> cutCategoryRecords(const CutPage& page, const QString& base, int limit);
QList<EmuleRecord> cutCategoryRecords(const SiteDefinition& def, const CutPage& page, const QString& base,
                                      int limit);

} // namespace lumorra
