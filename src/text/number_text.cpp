#include "text/number_text.h"

#include <cmath>

namespace lumorra {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

struct NumberSpan {
    qsizetype start = 0;   // first character of the number (its sign, if any)
    qsizetype end = 0;     // one past its last character
    bool found = false;
};

// The number at the start of `text` after leading blanks, as long as the
// grammar lets it run.
NumberSpan numberAtStart(const QString& text)
{
    NumberSpan span;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && isBlank(text[i]))
        ++i;
    span.start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && isAsciiDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && isAsciiDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return span;
    span.found = true;
    span.end = i;
    // A bare "e" after the digits is ordinary trailing text, not an exponent.
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        const qsizetype expStart = j;
        while (j < n && isAsciiDigit(text[j]))
            ++j;
        if (j > expStart)
            span.end = j;
    }
    return span;
}

} // namespace

double leadingNumber(const QString& text)
{
    const NumberSpan span = numberAtStart(text);
    if (!span.found)
        return 0.0;
    bool ok = false;
    const double value = text.mid(span.start, span.end - span.start).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

bool isNumericText(const QString& text)
{
    const NumberSpan span = numberAtStart(text);
    if (!span.found)
        return false;
    for (qsizetype i = span.end; i < text.size(); ++i) {
        if (!isBlank(text[i]))
            return false;
    }
    return true;
}

} // namespace lumorra
