#include "net/url_encoding.h"

namespace lumorra {

namespace {

void appendEscape(QString& out, unsigned byte)
{
    static const char hex[] = "0123456789ABCDEF";
    out += QLatin1Char('%');
    out += QLatin1Char(hex[(byte >> 4) & 0xF]);
    out += QLatin1Char(hex[byte & 0xF]);
}

// One 16-bit unit of 0x80 or more as its UTF-8 bytes. Surrogate halves are
// taken as they are, one by one, exactly as the sites have always seen them.
void appendUtf8Escapes(QString& out, unsigned unit)
{
    if (unit < 0x800) {
        appendEscape(out, 0xC0 | (unit >> 6));
        appendEscape(out, 0x80 | (unit & 0x3F));
    } else {
        appendEscape(out, 0xE0 | (unit >> 12));
        appendEscape(out, 0x80 | ((unit >> 6) & 0x3F));
        appendEscape(out, 0x80 | (unit & 0x3F));
    }
}

// ASCII that would change a URL's structure (end the path, start the query or
// fragment, split parameters, read as an escape or a space) or that servers
// commonly reject unescaped.
bool isStructuralAscii(unsigned unit)
{
    if (unit < 0x20 || unit == 0x7F)
        return true;
    switch (unit) {
    case ' ': case '#': case '&': case '+': case '%': case '?': case '/': case '=':
    case '"': case '<': case '>': case '\\': case '^': case '`': case '{': case '|':
    case '}':
        return true;
    default:
        return false;
    }
}

} // namespace

QString UTF8_URLEncoding(const QString& text)
{
    if (text.isEmpty())
        return text;
    QString out;
    out.reserve(text.size() * 3);
    for (QChar c : text) {
        const unsigned unit = c.unicode();
        if (unit < 0x80)
            out += c;
        else
            appendUtf8Escapes(out, unit);
    }
    return out;
}

QString encodeKeyword(const QString& text)
{
    QString out;
    out.reserve(text.size() * 3);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const unsigned unit = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            // A character beyond the first plane (an emoji, a rare ideograph)
            // goes as its four UTF-8 bytes: its two halves escaped one by one
            // would reach the site as another text.
            const char32_t code = QChar::surrogateToUcs4(c, text[++i]);
            appendEscape(out, 0xF0 | (code >> 18));
            appendEscape(out, 0x80 | ((code >> 12) & 0x3F));
            appendEscape(out, 0x80 | ((code >> 6) & 0x3F));
            appendEscape(out, 0x80 | (code & 0x3F));
        } else if (unit >= 0x80) {
            appendUtf8Escapes(out, unit);
        } else if (isStructuralAscii(unit)) {
            appendEscape(out, unit);
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace lumorra
