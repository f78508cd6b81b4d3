#include "text/html_entities.h"

namespace lumorra {

namespace {

// The character a reference between '&' and ';' stands for, or 0.
char32_t referenced(QStringView name)
{
    if (name.startsWith(u'#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const QStringView digits = name.mid(hex ? 2 : 1);
        if (digits.isEmpty() || digits.size() > 8)
            return 0;
        const uint code = digits.toUInt(&ok, hex ? 16 : 10);
        // No NUL, no surrogate halves, nothing beyond Unicode.
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return 0;
        return char32_t(code);
    }
    static constexpr struct {
        const char16_t* name;
        char16_t value;
    } named[] = {{u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''},
                 {u"nbsp", u'\u00a0'}};
    for (const auto& n : named)
        if (name == QStringView(n.name))
            return n.value;
    return 0;
}

} // namespace

QString decodeHtmlEntities(const QString& text)
{
    qsizetype amp = text.indexOf(u'&');
    if (amp < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (amp >= 0) {
        // References are short; a lone '&' far from any ';' costs nothing.
        const qsizetype semi = text.indexOf(u';', amp + 1);
        const char32_t c = semi > amp + 1 && semi - amp <= 11 ? referenced(QStringView(text).mid(amp + 1, semi - amp - 1))
                                                              : 0;
        if (c) {
            out += QStringView(text).mid(from, amp - from);
            out += QString::fromUcs4(&c, 1);
            from = semi + 1;
        }
        amp = text.indexOf(u'&', c ? from : amp + 1);
    }
    out += QStringView(text).mid(from);
    return out;
}

} // namespace lumorra
