#include "sources/everywhere/found_resource.h"

#include "sources/source_table.h"
#include "text/html_entities.h"

#include <algorithm>

namespace lumorra {

namespace {

bool startsWithNoCase(const QString& s, QLatin1StringView prefix)
{
    return s.startsWith(prefix, Qt::CaseInsensitive);
}

bool isWebAddress(const QString& s)
{
    return startsWithNoCase(s, QLatin1StringView("http://")) || startsWithNoCase(s, QLatin1StringView("https://"))
        || startsWithNoCase(s, QLatin1StringView("ftp://"));
}

LinkKind kindOf(const QString& value, const SourceEntry& source)
{
    if (startsWithNoCase(value, QLatin1StringView("magnet:?")))
        return LinkKind::Magnet;
    if (startsWithNoCase(value, QLatin1StringView("ed2k://")))
        return LinkKind::Ed2k;
    if (startsWithNoCase(value, QLatin1StringView("qvod://")))
        return LinkKind::Qvod;
    if (!isWebAddress(value))
        return LinkKind::None;
    // A feed's one address is the torrent itself; elsewhere only a
    // ".torrent" file is one (the torrent index's "种子地址" is its page).
    const QString path = value.section(u'?', 0, 0);
    if (source.linksTo(LinksToTorrent) || path.endsWith(QLatin1String(".torrent"), Qt::CaseInsensitive))
        return LinkKind::Torrent;
    return LinkKind::Page;
}

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isBase32(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'2' && c <= u'7');
}

bool isAlnum(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// 32 base32 characters (RFC 4648, any case) as 40 lower-case hex digits.
QString base32ToHex(QStringView run)
{
    QByteArray bytes;
    quint64 buffer = 0;
    int bits = 0;
    for (QChar c : run) {
        const char16_t u = c.toUpper().unicode();
        const int v = u >= u'A' && u <= u'Z' ? u - u'A' : u - u'2' + 26;
        buffer = (buffer << 5) | quint64(v);
        bits += 5;
        if (bits >= 8) {
            bits -= 8;
            bytes.append(char((buffer >> bits) & 0xFF));
        }
    }
    return QString::fromLatin1(bytes.toHex());
}

// A run of letters and digits standing on its own that is a hash.
QString hashRun(QStringView run)
{
    if (run.size() == 40 && std::all_of(run.begin(), run.end(), isHex))
        return run.toString().toLower();
    if (run.size() == 32 && std::all_of(run.begin(), run.end(), isBase32))
        return base32ToHex(run);
    return {};
}

// The address with its scheme and host in lower case; a link that names
// no host (qvod://…) only its scheme.
QString normalisedAddress(const QString& address)
{
    const qsizetype schemeEnd = address.indexOf(QLatin1String("://"));
    if (schemeEnd < 0)
        return address;
    if (!isWebAddress(address))
        return address.left(schemeEnd).toLower() + address.mid(schemeEnd);
    qsizetype hostEnd = address.indexOf(u'/', schemeEnd + 3);
    if (hostEnd < 0)
        hostEnd = address.size();
    for (QChar stop : {u'?', u'#'}) {
        const qsizetype at = address.indexOf(stop, schemeEnd + 3);
        if (at >= 0 && at < hostEnd)
            hostEnd = at;
    }
    return address.left(hostEnd).toLower() + address.mid(hostEnd);
}

} // namespace

QString infoHashIn(const QString& address)
{
    if (address.isEmpty())
        return {};
    if (startsWithNoCase(address, QLatin1StringView("magnet:?"))) {
        static const QLatin1StringView btih("urn:btih:");
        const qsizetype at = address.indexOf(btih, 0, Qt::CaseInsensitive);
        if (at < 0)
            return {};
        const qsizetype from = at + btih.size();
        qsizetype end = from;
        while (end < address.size() && isAlnum(address[end]))
            ++end;
        return hashRun(QStringView(address).mid(from, end - from));
    }
    if (startsWithNoCase(address, QLatin1StringView("ed2k://")))
        return {};
    // Torrent and detail addresses: the first run in the path or query
    // that is a hash (a host name is never read as one).
    const qsizetype schemeEnd = address.indexOf(QLatin1String("://"));
    qsizetype i = schemeEnd < 0 ? 0 : address.indexOf(u'/', schemeEnd + 3);
    if (i < 0)
        return {};
    while (i < address.size()) {
        if (!isAlnum(address[i])) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < address.size() && isAlnum(address[end]))
            ++end;
        const QString hash = hashRun(QStringView(address).mid(i, end - i));
        if (!hash.isEmpty())
            return hash;
        i = end;
    }
    return {};
}

QString ed2kHashOf(const QString& link)
{
    // ed2k://|file|name|size|hash|/
    if (!startsWithNoCase(link, QLatin1StringView("ed2k://|file|")))
        return {};
    const QString hash = link.section(u'|', 4, 4).trimmed();
    if (hash.size() != 32 || !std::all_of(hash.begin(), hash.end(), isHex))
        return {};
    return hash.toLower();
}

FoundResource foundResource(const SourceEntry& source, const ListRow& row)
{
    FoundResource r;
    r.name = row.cell(QStringLiteral("mc")).trimmed();
    r.size = row.cell(QStringLiteral("dx")).trimmed();
    for (const char* key : {"rq", "fb", "gx"}) {
        r.date = row.cell(QLatin1String(key)).trimmed();
        if (!r.date.isEmpty())
            break;
    }
    for (const auto& [key, raw] : row.cells) {
        if (key == QLatin1String("mc") || key == QLatin1String("dx"))
            continue;
        const QString value = decodeHtmlEntities(raw.trimmed());
        const LinkKind kind = kindOf(value, source);
        if (kind == LinkKind::None)
            continue;
        if (kind == LinkKind::Page && r.detail.isEmpty())
            r.detail = value;
        if (kind == LinkKind::Torrent && r.torrent.isEmpty())
            r.torrent = value;
        if (int(kind) < int(r.linkKind)) {
            r.link = value;
            r.linkKind = kind;
        }
    }
    return r;
}

QString resourceKey(const FoundResource& r)
{
    for (const QString* address : {&r.link, &r.torrent, &r.detail}) {
        const QString hash = infoHashIn(*address);
        if (!hash.isEmpty())
            return QStringLiteral("btih:") + hash;
    }
    const QString ed2k = ed2kHashOf(r.link);
    if (!ed2k.isEmpty())
        return QStringLiteral("ed2k:") + ed2k;
    if (!r.link.isEmpty())
        return normalisedAddress(r.link);
    return {};
}

} // namespace lumorra
