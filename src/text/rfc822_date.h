#pragma once
// Dates as feeds want them (RFC 822, English names: "Thu, 22 Feb 2024
// 00:00:00 +0000") from the dates sites write: "2024-02-22", "2024/2/22",
// "2024-02-22 18:20[:00]", or an RFC 822 date already.
#include <QDateTime>
#include <QString>

namespace lumorra {

// The moment `text` names: a date without a time is midnight UTC, a time
// without a zone UTC. Invalid when it names none.
QDateTime siteDateTime(const QString& text);

// "Thu, 22 Feb 2024 18:20:00 +0000" (the zone as `when` has it).
QString rfc822Date(const QDateTime& when);

} // namespace lumorra
