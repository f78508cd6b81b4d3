#pragma once
// What a column of found resources sorts by: sites write sizes and dates as
// text ("4.69 GB", "987 MB", "2013-5-1 12:30"), which sorts wrongly as text.
#include <QString>

namespace lumorra {

// The size in bytes of "4.69 GB", "987MB", "1,024 KB", "12 B" (units up to
// TB, "iB" forms and a lone "G"/"M"/"K" too); -1 when no size is readable,
// so unknown sizes sort before every known one.
qint64 sizeInBytes(const QString& text);

// A date with an optional time ("2013-05-01", "2013/5/1 8:05", "2013年5月1日")
// or a feed's date ("Thu, 22 Feb 2024 18:20:00 +0000") as one number
// yyyymmddhhmm; -1 when no date is readable.
qint64 dateSortKey(const QString& text);

} // namespace lumorra
