#pragma once
// The two ways the program reads a number out of a text a user typed or a
// setting holds. Both share one grammar: blanks (space, tab) skipped, an
// optional sign, ASCII digits with at most one decimal point (at least one
// digit in all), then an optional exponent "e"/"E" with an optional sign that
// counts only when a digit follows it.
#include <QString>
#include <QtGlobal>

#include <limits>

namespace lumorra {

// Pending-hit counters are 16-bit: hits added past the top are dropped and
// the count stays at 32767 instead of wrapping negative and losing them all.
inline qint16 addPendingHits(qint16 pending, int hits)
{
    return qint16(qMin<qint64>(qint64(pending) + qMax(hits, 0), std::numeric_limits<qint16>::max()));
}

// The number a text starts with; what follows it is ignored, and a text that
// does not start with a number is worth 0 ("abc" -> 0, " 2.5" -> 2.5,
// "-1" -> -1, "3x" -> 3, "1e" -> 1, "1e3x" -> 1000). A number too large for a
// double is worth 0 as well.
double leadingNumber(const QString& text);

// Whether the whole text is one number, blanks allowed around it: "7", " 7 ",
// "2.5", ".5", "5.", "-3", "1e3" are numbers; "", " ", "abc", "1,000",
// "0x10", "1.2.3", "1e" are not.
bool isNumericText(const QString& text);

} // namespace lumorra
