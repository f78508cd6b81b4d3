#include "net/address_check.h"

#include <QUrl>

#include <initializer_list>

namespace lumorra {

namespace {

// Schemes that name a server: without a host they point nowhere, or at
// something local ("http:/etc/passwd" to some openers).
bool needsHost(QStringView scheme)
{
    for (QStringView s : {u"http", u"https", u"ftp", u"rtsp", u"mms"})
        if (scheme == s)
            return true;
    return false;
}

bool schemeAllowed(QStringView scheme, AddressUse use)
{
    auto oneOf = [scheme](std::initializer_list<QStringView> schemes) {
        for (QStringView s : schemes)
            if (scheme == s)
                return true;
        return false;
    };
    switch (use) {
    case AddressUse::WebPage: return oneOf({u"http", u"https"});
    case AddressUse::Transfer: return oneOf({u"http", u"https", u"ftp"});
    case AddressUse::Open: return oneOf({u"http", u"https", u"ftp", u"ed2k", u"magnet", u"thunder", u"qvod"});
    case AddressUse::Play: return oneOf({u"http", u"https", u"ftp", u"rtsp", u"mms", u"qvod"});
    }
    return false;
}

// The scheme as RFC 3986 writes it (a letter, then letters, digits, "+", "-"
// and "."), lower-cased; empty when the text does not start with one. A
// drive letter ("C:\…") reads as a one-letter scheme and is refused with the
// other unknown ones.
QString schemeOf(QStringView address)
{
    const qsizetype colon = address.indexOf(u':');
    if (colon <= 0)
        return {};
    const QStringView scheme = address.left(colon);
    for (qsizetype i = 0; i < scheme.size(); ++i) {
        const char16_t c = scheme[i].unicode();
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        const bool other = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
        if (!letter && (i == 0 || !other))
            return {};
    }
    return scheme.toString().toLower();
}

} // namespace

bool isAllowedAddress(const QString& address, AddressUse use)
{
    const QString trimmed = address.trimmed();
    // A line break or an escape inside a link is no part of any link; the
    // download programs' links go to the opener as raw text.
    for (QChar c : trimmed)
        if (c.category() == QChar::Other_Control)
            return false;
    const QString scheme = schemeOf(trimmed);
    if (scheme.isEmpty() || !schemeAllowed(scheme, use))
        return false;
    if (!needsHost(scheme))
        return true; // the download programs' links are no URLs to Qt ("ed2k://|file|…|/")
    // An announcement line is written by hand for a browser: only a
    // well-formed address. Addresses cut from pages often carry blanks or
    // Chinese characters in their path, which the browser escapes itself.
    const QUrl url(trimmed, use == AddressUse::WebPage ? QUrl::StrictMode : QUrl::TolerantMode);
    return url.isValid() && !url.host().isEmpty();
}

QString refusedAddressText(const QString& address)
{
    constexpr qsizetype kShownLength = 120;
    QString shown = address.trimmed();
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    if (shown.size() > kShownLength) {
        qsizetype cut = kShownLength;
        if (shown.at(cut - 1).isHighSurrogate())
            --cut;
        shown = shown.left(cut) + u'…';
    }
    return QStringLiteral("已拒绝打开该地址（不支持的地址类型）：") + shown;
}

} // namespace lumorra
