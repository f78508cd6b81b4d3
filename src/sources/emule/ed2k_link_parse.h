#pragma once
// The ed2k link of an eMule detail page (the pages behind the eMule lists).
#include <QString>

#include <optional>

namespace lumorra {

// The first ed2k link of a detail page, character for character as the page
// writes it (nothing decoded: "&amp;" and "%E4…" stay). None when the page
// has no `<a href="ed2k://` anchor or the anchor's address is empty or
// unterminated. The anchor and the scheme are the eMule index site's
// definition's (without one: the shipped definition's).
std::optional<QString> firstEd2kLink(const QString& page);
struct SiteDefinition;
std::optional<QString> firstEd2kLink(const SiteDefinition& def, const QString& page);

} // namespace lumorra
