#include "text/rfc822_date.h"

#include <QLocale>
#include <QRegularExpression>


namespace lumorra {

QDateTime siteDateTime(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    // An RFC 822 date, as feeds write it.
    static const QRegularExpression rfc(QStringLiteral(
        R"(^(?:[A-Za-z]{3},\s*)?(\d{1,2})\s+([A-Za-z]{3})\s+(\d{4})\s+(\d{1,2}):(\d{2})(?::(\d{2}))?\s*(?:([+-])(\d{2})(\d{2})|GMT|UT|UTC|Z)?$)"));
    if (const QRegularExpressionMatch m = rfc.match(t); m.hasMatch()) {
        static const QStringList months{"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
        const int month = int(months.indexOf(m.captured(2).toLower())) + 1;
        const QDate date(m.captured(3).toInt(), month, m.captured(1).toInt());
        const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (month < 1 || !date.isValid() || !time.isValid())
            return {};
        int offset = 0;
        if (!m.captured(7).isEmpty())
            offset = (m.captured(7) == QLatin1String("-") ? -1 : 1)
                * (m.captured(8).toInt() * 3600 + m.captured(9).toInt() * 60);
        return QDateTime(date, time, Qt::OffsetFromUTC, offset);
    }
    // A numeric date, with or without a time.
    static const QRegularExpression numeric(QStringLiteral(
        R"(^(\d{4})[-/.](\d{1,2})[-/.](\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2}))?)?$)"));
    if (const QRegularExpressionMatch m = numeric.match(t); m.hasMatch()) {
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (!date.isValid() || !time.isValid())
            return {};
        return QDateTime(date, time, Qt::UTC);
    }
    return {};
}

QString rfc822Date(const QDateTime& when)
{
    if (!when.isValid())
        return {};
    const int offset = when.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return QLocale::c().toString(when, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss "))
        + (offset < 0 ? u'-' : u'+')
        + QStringLiteral("%1%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace lumorra
