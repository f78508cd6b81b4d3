#include "core/settings_store.h"

#include "core/program_dir.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>


namespace lumorra {

namespace {

// The ANSI read returns at most this many bytes: a 255-byte buffer less the
// terminator.
constexpr qsizetype kMaxValueBytes = 254;

const char kAnsiCodec[] = "GB18030";

bool isBlank(QChar c)
{
    switch (c.unicode()) {
    case ' ': case '\t': case '\r': case '\n': case '\v': case '\f':
    case 0x1a:   // a DOS end-of-file mark counts as blank too
        return true;
    default:
        return false;
    }
}

QStringView trimmedView(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

QChar asciiLower(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') ? QChar(char16_t(u - 'A' + 'a')) : c;
}

// Only ASCII letters fold, as in the platform's profile functions; Chinese
// names compare exactly.
bool equalsIgnoringAsciiCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

bool hasUtf8Bom(const QByteArray& bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF");
}

QString decodeFileEncoding(const QByteArray& bytes)
{
    // A file written by hand in an editor of today is UTF-8, with or without
    // a mark. The program's own GB18030 files never pass as UTF-8: their
    // section name "信息设置" (D0 C5 …) is not valid UTF-8, even where
    // their first bytes happen to read as a mark (a name starting "锘").
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(QByteArrayView(bytes).sliced(hasUtf8Bom(bytes) ? 3 : 0));
    if (!utf8.hasError())
        return asUtf8;
    QStringDecoder decoder(kAnsiCodec);
    return decoder.decode(bytes);
}

// The file's text with every line ending as one '\n'. The writer's INI
// library ends a line at a lone CR too; reading it the same way keeps what
// is written and what is read back the same entry.
QString decodeFileBytes(const QByteArray& bytes)
{
    QString text = decodeFileEncoding(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// Cuts `s` to at most `maxBytes` bytes of its ANSI form, at a character
// boundary: a double-byte (or four-byte) character that does not fit whole
// is dropped, never split.
QString cutToAnsiBytes(const QString& s, qsizetype maxBytes)
{
    // Every character takes at most four bytes, so a short text always fits.
    if (s.size() * 4 <= maxBytes)
        return s;
    QStringEncoder encoder(kAnsiCodec);
    const QByteArray bytes = encoder.encode(s);
    if (bytes.size() <= maxBytes)
        return s;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        qsizetype len = 1;
        if (lead >= 0x81 && lead <= 0xFE && pos + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[pos + 1]);
            len = (trail >= 0x30 && trail <= 0x39) ? 4 : 2;
        }
        if (pos + len > maxBytes)
            break;
        pos += len;
    }
    QStringDecoder decoder(kAnsiCodec);
    return decoder.decode(bytes.left(pos));
}

QString defaultResult(const QString& def)
{
    // The platform drops trailing blanks of the default.
    qsizetype e = def.size();
    while (e > 0 && def[e - 1] == u' ')
        --e;
    return cutToAnsiBytes(def.left(e), kMaxValueBytes);
}

QString stripEnclosingQuotes(QStringView v)
{
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.mid(1, v.size() - 2).toString();
    return v.toString();
}

bool hasLineBreak(const QString& s)
{
    return s.contains(u'\n') || s.contains(u'\r');
}

// The name of a section header line ("[name]", blanks trimmed), or a null
// view when the line is no header. Reader and writer share this rule, so a
// value written is the value read back.
QStringView sectionNameOf(QStringView trimmedLine)
{
    if (trimmedLine.isEmpty() || trimmedLine.front() != u'[')
        return {};
    const qsizetype close = trimmedLine.lastIndexOf(u']');
    if (close <= 0)
        return {};
    const QStringView name = trimmedView(trimmedLine.mid(1, close - 1));
    return name.isNull() ? QStringView(u"") : name;
}

// The key name of an entry line (the text before '=', or the whole line for
// a bare key), or a null view for a comment.
QStringView keyNameOf(QStringView trimmedLine)
{
    if (trimmedLine.front() == u';')
        return {};
    const qsizetype eq = trimmedLine.indexOf(u'=');
    const QStringView name = trimmedView(eq < 0 ? trimmedLine : trimmedLine.left(eq));
    return name.isNull() ? QStringView(u"") : name;
}

} // namespace

QString GetFromINI(const QString& section, const QString& key,
                   const QString& def, const QString& path)
{
    const QStringView wantSection = trimmedView(section);
    const QStringView wantKey = trimmedView(key);
    // The platform answers an empty key name with an empty text.
    if (wantKey.isEmpty())
        return QString();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultResult(def);
    const QString text = decodeFileBytes(file.readAll());

    bool inSection = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = trimmedView(line);
        if (line.isEmpty())
            continue;
        const QStringView sectionName = sectionNameOf(line);
        if (!sectionName.isNull()) {
            // Only the first section of that name is searched.
            if (inSection)
                break;
            inSection = equalsIgnoringAsciiCase(sectionName, wantSection);
            continue;
        }
        if (!inSection)
            continue;
        const QStringView name = keyNameOf(line);
        if (name.isNull() || !equalsIgnoringAsciiCase(name, wantKey))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)   // a bare key has no value: the default answers
            break;
        const QString value = stripEnclosingQuotes(trimmedView(line.mid(eq + 1)));
        return cutToAnsiBytes(value, kMaxValueBytes);
    }
    return defaultResult(def);
}

bool WriteToINI(const QString& section, const QString& key,
                const QString& value, const QString& path)
{
    const QString sec = trimmedView(section).toString();
    const QString k = trimmedView(key).toString();
    // Anything that would change the file's line structure, or a key that
    // would read back as a section or comment, is refused rather than
    // written as something else.
    if (sec.isEmpty() || k.isEmpty() || hasLineBreak(section) || hasLineBreak(key)
        || hasLineBreak(value) || sec.contains(u']') || k.contains(u'=')
        || k.front() == u'[' || k.front() == u';' || k.front() == u'#')
        return false;

    QByteArray old;
    const QFileInfo info(path);
    if (info.exists()) {
        if (!info.isFile() || !info.isWritable())
            return false;
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            return false;   // never replace a file we could not read
        old = in.readAll();
        if (in.error() != QFileDevice::NoError)
            return false;
    }

    // The entry is put where GetFromINI will look for it: in the first
    // section of that name, in place of the first line of that key; every
    // other line stays as it was.
    QStringList lines = decodeFileBytes(old).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();   // the file's final line break
    qsizetype sectionLine = -1;   // the header of the section to write in
    qsizetype lastEntry = -1;     // its last non-blank line
    qsizetype keyLine = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringView line = trimmedView(lines[i]);
        if (line.isEmpty())
            continue;
        const QStringView sectionName = sectionNameOf(line);
        if (!sectionName.isNull()) {
            if (sectionLine >= 0)
                break;
            if (equalsIgnoringAsciiCase(sectionName, sec))
                sectionLine = lastEntry = i;
            continue;
        }
        if (sectionLine < 0)
            continue;
        lastEntry = i;
        const QStringView name = keyNameOf(line);
        if (!name.isNull() && equalsIgnoringAsciiCase(name, k)) {
            keyLine = i;
            break;
        }
    }
    if (keyLine >= 0) {
        // The key keeps the spelling it has in the file.
        const QString& line = lines[keyLine];
        const qsizetype eq = line.indexOf(u'=');
        lines[keyLine] = (eq < 0 ? trimmedView(line).toString() : line.left(eq)) + u'=' + value;
    } else if (sectionLine >= 0) {
        lines.insert(lastEntry + 1, k + u'=' + value);
    } else {
        if (!lines.isEmpty() && !trimmedView(lines.last()).isEmpty())
            lines << QString();
        lines << u'[' + sec + u']' << k + u'=' + value;
    }
    const QString newText = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");

    QStringEncoder encoder(kAnsiCodec);
    const QByteArray bytes = encoder.encode(newText);
    if (encoder.hasError())
        return false;

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

bool isOn(const QString& value)
{
    return value.contains(u'是');
}

QString SettingsStore::section()
{
    return QStringLiteral("信息设置");
}

QString SettingsStore::defaultPath()
{
    return programDir() + QStringLiteral("/qmtb.ini");
}

QString SettingsStore::path() const
{
    return m_path.isEmpty() ? defaultPath() : m_path;
}

QString SettingsStore::value(const QString& key, const QString& def) const
{
    return GetFromINI(section(), key, def, path());
}

bool SettingsStore::setValue(const QString& key, const QString& value) const
{
    return WriteToINI(section(), key, value, path());
}

bool SettingsStore::isOn(const QString& key) const
{
    return lumorra::isOn(value(key));
}

} // namespace lumorra
