#pragma once
// One row of any keyword source read as a resource: its name, size, date,
// the best link it has and its detail page; and the key under which the
// rows of different sources that list the same resource meet.
#include "core/list_row.h"

#include <QString>

namespace lumorra {

struct SourceEntry;

// What a link is, best first: a row's link is the best of its cells.
enum class LinkKind { Magnet, Torrent, Ed2k, Qvod, Page, None };

struct FoundResource {
    QString name;
    QString size;
    QString date;
    QString link;          // best link: magnet, torrent, ed2k, qvod, then the page
    LinkKind linkKind = LinkKind::None;
    QString detail;        // the detail (or share) page, when the row has one
    QString torrent;       // a torrent address, when the row has one besides a magnet
};

// The row of `source` as a resource. Only cells holding a web, magnet,
// ed2k or qvod address count as links (a "file:" or "javascript:" cell a
// page put there is none); an HTML entity left in one is decoded.
FoundResource foundResource(const SourceEntry& source, const ListRow& row);

// The BitTorrent info hash in an address, 40 lower-case hex digits: a
// magnet link's btih, or a run of 40 hex or 32 base32 characters (any case)
// standing on its own in a torrent or detail address. Empty when none.
QString infoHashIn(const QString& address);

// The file hash of an ed2k file link, in lower case; empty when none.
QString ed2kHashOf(const QString& link);

// The merging key: "btih:<hash>" from the magnet link, torrent address or
// detail page; else "ed2k:<hash>"; else the link (or the detail page) with
// scheme and host in lower case. Empty for a row that has no link at all.
QString resourceKey(const FoundResource& resource);

} // namespace lumorra
