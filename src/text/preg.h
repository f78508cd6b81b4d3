#pragma once
// Regular-expression replace used to strip the tags of one element from a
// fragment, e.g. preg(cell, u"</?a[^<>]*>"_s, {}) removes <A HREF=…> and </a>.
#include <QString>

namespace lumorra {

// Replaces every match of `pattern` in `source` by `replacement`.
// Matching ignores case; ^ and $ anchor at the ends of the whole text (no
// multi-line mode); the pattern syntax is that of ECMAScript as far as the
// engine (PCRE2) shares it – classes, ?, *, +, {n,m}, alternation, groups.
// In `replacement`, $1 … $99 stand for a group ($12 is group 12 only when
// the pattern has that many groups, else group 1 followed by "2"), $& for the
// whole match, $` and $' for the text before and after it, $$ for "$"; a "$"
// in any other position is kept as it is.
//
// An invalid pattern never throws: the source comes back unchanged, *ok is
// set to false and *error (when given) names the fault.
QString preg(const QString& source, const QString& pattern, const QString& replacement,
             bool* ok = nullptr, QString* error = nullptr);

} // namespace lumorra
