#pragma once
// What a column of found resources sorts by (sizes: sizeInBytes()): sites
// write sizes and dates as text ("4.69 GB", "987 MB", "2013-5-1 12:30"), which sorts wrongly as text.
#include "text/size_bytes.h"

#include <QString>

namespace lumorra {

// A date with an optional time ("2013-05-01", "2013/5/1 8:05", "2013年5月1日")
// or a feed's date ("Thu, 22 Feb 2024 18:20:00 +0000") as one number
// yyyymmddhhmm; -1 when no date is readable.
qint64 dateSortKey(const QString& text);

} // namespace lumorra
