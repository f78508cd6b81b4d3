#include "sources/emule/ed2k_link_parse.h"

#include "text/cut.h"

namespace lumorra {

std::optional<QString> firstEd2kLink(const QString& page)
{
    static const QString linkMarker = QStringLiteral("<a href=\"ed2k://");
    const Cut body = Cut(page).piece(linkMarker, 1).before(QLatin1Char('"'));
    // A bare "ed2k://" is no link: an eMule client could do nothing with it.
    if (!body.found() || body.isEmpty())
        return std::nullopt;
    return QStringLiteral("ed2k://") + body.str();
}

} // namespace lumorra
