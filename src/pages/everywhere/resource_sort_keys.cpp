#include "pages/everywhere/resource_sort_keys.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cmath>

namespace lumorra {

qint64 dateSortKey(const QString& text)
{
    static const QRegularExpression date(QStringLiteral(
        "(\\d{4})\\s*[-/.年]\\s*(\\d{1,2})\\s*[-/.月]\\s*(\\d{1,2})(?:\\D{1,3}(\\d{1,2})[:：](\\d{2}))?"));
    const QRegularExpressionMatch m = date.match(text);
    if (!m.hasMatch()) {
        // A feed's date: "Thu, 22 Feb 2024 18:20:00 +0000".
        const QDateTime feed = QDateTime::fromString(text.trimmed(), Qt::RFC2822Date);
        return feed.isValid() ? feed.toString(QStringLiteral("yyyyMMddHHmm")).toLongLong() : -1;
    }
    const auto field = [&m](int i) { return m.captured(i).toLongLong(); };
    return (((field(1) * 100 + field(2)) * 100 + field(3)) * 100 + field(4)) * 100 + field(5);
}

} // namespace lumorra
