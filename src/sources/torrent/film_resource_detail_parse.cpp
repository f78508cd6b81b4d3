#include "sources/torrent/film_resource_detail_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

#include <QSet>

#include <limits>

namespace lumorra {

QStringList collectQvodLinks(const SiteDefinition& def, const QString& detailPage)
{
    const FieldCut& link = def.field(QStringLiteral("detail-link"));
    const QString scheme = link.recordMarker();
    if (scheme.isEmpty())
        return {};
    const CutPage page(detailPage);
    const qsizetype hits = qMin<qsizetype>(page.count(scheme), std::numeric_limits<qint16>::max());
    QStringList links;
    QSet<QString> seen;
    for (qsizetype i = 1; i <= hits; ++i) {
        const QString tail = link.cut(page, i);
        // A bare "qvod://" is no address a player could open.
        if (tail.isEmpty())
            continue;
        const QString address = scheme + tail;
        if (!seen.contains(address)) {
            seen.insert(address);
            links.append(address);
        }
    }
    return links;
}

QStringList collectQvodLinks(const QString& detailPage)
{
    return collectQvodLinks(siteDefinition(QStringLiteral("film-resource")), detailPage);
}

} // namespace lumorra
