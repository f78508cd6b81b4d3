#include "sources/emule/ed2k_link_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

namespace lumorra {

std::optional<QString> firstEd2kLink(const SiteDefinition& def, const QString& page)
{
    const Cut body = def.field(QStringLiteral("ed2k-link")).apply(Cut(page), 1, QString());
    // A bare "ed2k://" is no link: an eMule client could do nothing with it.
    if (!body.found() || body.isEmpty())
        return std::nullopt;
    return def.text(QStringLiteral("ed2k-scheme")) + body.str();
}

std::optional<QString> firstEd2kLink(const QString& page)
{
    return firstEd2kLink(siteDefinition(QStringLiteral("emule-index")), page);
}

} // namespace lumorra
