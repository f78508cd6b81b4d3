#pragma once
// Character references a site left in text it meant as plain: "&amp;" in a
// magnet link copied out of an attribute, "&#39;" in a name.
#include <QString>

namespace lumorra {

// Decodes the five XML entities, "&nbsp;" and numeric references
// ("&#38;", "&#x26;") once; anything else that starts with '&' stays as it
// is. "&amp;amp;" gives "&amp;": a page that escaped twice is read once.
QString decodeHtmlEntities(const QString& text);

} // namespace lumorra
