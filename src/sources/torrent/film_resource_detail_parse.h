#pragma once
// FilmResourceSite detail pages: the Qvod links a film's page offers.
#include <QStringList>

namespace lumorra {

// Every distinct "qvod://" link of the page, in order of first occurrence.
// A link runs from "qvod://" up to the "</a>" that closes its anchor, so the
// same link in an anchor's href and in its text is one link; an occurrence
// with no "</a>" before the next link (the href of such an anchor) names no
// link of its own. At most 32767 occurrences are read, as the count is 16 bits.
QStringList collectQvodLinks(const QString& detailPage);
struct SiteDefinition;
QStringList collectQvodLinks(const SiteDefinition& def, const QString& detailPage);

} // namespace lumorra
