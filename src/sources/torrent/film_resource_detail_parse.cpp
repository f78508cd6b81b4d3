#include "sources/torrent/film_resource_detail_parse.h"

#include "text/cut.h"

#include <QSet>

#include <limits>

namespace lumorra {

QStringList collectQvodLinks(const QString& detailPage)
{
    static const QString kScheme = QStringLiteral("qvod://");
    const CutPage page(detailPage);
    const qsizetype hits = qMin<qsizetype>(page.count(kScheme), std::numeric_limits<qint16>::max());
    QStringList links;
    QSet<QString> seen;
    for (qsizetype i = 1; i <= hits; ++i) {
        const Cut tail = page.piece(kScheme, i).upToFirstCharOf(u"</a>").erase(u'<');
        // A bare "qvod://" is no address a player could open.
        if (tail.isEmpty())
            continue;
        const QString link = kScheme + tail.str();
        if (!seen.contains(link)) {
            seen.insert(link);
            links.append(link);
        }
    }
    return links;
}

} // namespace lumorra
