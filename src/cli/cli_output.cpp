#include "cli/cli_output.h"

namespace lumorra::cli {

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
        default: out += c;
        }
    }
    return out;
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
            // Other controls, and the two separators JavaScript reads as line ends.
            if (u < 0x20 || u == 0x2028 || u == 0x2029)
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

} // namespace lumorra::cli
