#include "cli/cli_output.h"

namespace lumorra::cli {

namespace {

// C0, DEL and C1: the characters a terminal may act on instead of showing.
bool isControl(char16_t u)
{
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

} // namespace

QString tableField(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        default:
            if (isControl(c.unicode()))
                out += QStringLiteral("\\x%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString stderrText(const QString& line)
{
    return tableField(line);
}

QString jsonString(const QString& value)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'"': out += QLatin1String("\\\""); break;
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        default:
            // Other controls, DEL and C1 among them (JSON itself asks only
            // for C0, but the output goes to terminals), and the two
            // separators JavaScript reads as line ends.
            if (isControl(u) || u == 0x2028 || u == 0x2029)
                out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

QByteArray formatRows(const QStringList& keys, const QList<ListRow>& rows, OutputFormat format)
{
    QString out;
    if (format == OutputFormat::Json) {
        if (rows.isEmpty())
            return QByteArrayLiteral("[]\n");
        out += QLatin1String("[\n");
        for (qsizetype r = 0; r < rows.size(); ++r) {
            out += QLatin1String("  {");
            for (qsizetype k = 0; k < keys.size(); ++k) {
                if (k)
                    out += QLatin1String(", ");
                out += jsonString(keys[k]) + QLatin1String(": ") + jsonString(rows[r].cell(keys[k]));
            }
            out += r + 1 < rows.size() ? QLatin1String("},\n") : QLatin1String("}\n");
        }
        out += QLatin1String("]\n");
        return out.toUtf8();
    }
    out += keys.join(u'\t') + u'\n';
    for (const ListRow& row : rows) {
        for (qsizetype k = 0; k < keys.size(); ++k) {
            if (k)
                out += u'\t';
            out += tableField(row.cell(keys[k]));
        }
        out += u'\n';
    }
    return out.toUtf8();
}

void writeText(std::FILE* to, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}

void writeText(std::FILE* to, const QString& text)
{
    writeText(to, text.toUtf8());
}

} // namespace lumorra::cli
