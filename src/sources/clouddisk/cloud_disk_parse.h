#pragma once
// Cutting a search engine result page into cloud-disk rows: the records'
// titles and addresses, and the disk kind each title is classified as, by
// the site's definition (without one: the shipped definition's).
#include "core/list_row.h"
#include "sources/definitions/site_definition.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <limits>

namespace lumorra::clouddisk {

struct CloudDiskRow {
    QString kind;       // row text of ListView1
    QString title;      // cell mc
    QString address;    // cell dz
};

// The ListView1 row of a record: the kind as row text, mc title, dz address.
ListRow listRow(const CloudDiskRow& row);

// The pending-record count is 16 bits wide: a page lists at most this many
// records, its first ones, instead of a count that wraps negative.
inline constexpr int kMostRecordsPerPage = std::numeric_limits<qint16>::max();

// Number of records on a page: its title markers, at most kMostRecordsPerPage.
int countRecords(const QString& page);
int countRecords(const SiteDefinition& def, const QString& page);

// The records of a page in page order, one per title marker, the first
// kMostRecordsPerPage of them. Title and
// address are the text after their marker up to the next double quote,
// taken exactly as they stand; a missing quote or a missing address marker
// gives an empty field. Each row's kind is classifyTitle() of its title, or
// the kind of service `serviceIndex` (the box whose page this is) when no
// rule matches.
QList<CloudDiskRow> cutRecords(const QString& page, int serviceIndex);
QList<CloudDiskRow> cutRecords(const SiteDefinition& def, const QString& page, int serviceIndex);

// The classification table: the kind of the first rule whose literal text
// the title contains (case-sensitive); empty when no rule matches.
QString classifyTitle(const QString& title);
// The same by a rules table of the definition (rows of titles and kind).
QString classifyTitle(const QList<TableRow>& rules, const QString& title);

// Status and caption texts of the parse step.
QString finishedText(const QString& kind);           // kind + "搜索完毕.."
QString notFoundText(const QString& serviceName);    // name + "未找到相关资源.."
QString frameCaption(int rowCount);                  // "资源列表(当前共搜索到：N个资源)"
// Shown when no ticked service gave a page; `reason` names the last failure
// (a fetch error, an error status). Without one: no service could be
// connected to.
QString allFailedText(const QString& reason);
QString allFailedText();

} // namespace lumorra::clouddisk
