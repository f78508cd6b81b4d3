#pragma once
// How the command line prints rows: a header line of column keys and one
// tab-separated line per row, or a JSON array of objects keyed by column
// key. Both are UTF-8.
#include "core/list_row.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace lumorra::cli {

enum class OutputFormat { Table, Json };

// A cell for a tab-separated line: a backslash, tab, line feed or carriage
// return inside it is written as \\, \t, \n or \r, so a row is always one
// line of exactly as many fields as the header. Every other control
// character (C0, DEL, C1 U+0080–U+009F) is written \xNN with two lower-case
// hex digits: a page's text cannot send escape sequences to a terminal.
QString tableField(const QString& value);

// A line for stderr, escaped as a table field: the addresses and names it
// reports come from pages too.
QString stderrText(const QString& line);

// A JSON string literal (quotes included); non-ASCII stays as UTF-8 text,
// except the controls (C0, DEL, C1) and the two line separators JavaScript
// reads as line ends, which are written \uNNNN (lower-case hex).
QString jsonString(const QString& value);

// The whole output for `rows` under the columns `keys`, in `format`. A table
// without rows is its header line alone; JSON without rows is "[]".
QByteArray formatRows(const QStringList& keys, const QList<ListRow>& rows, OutputFormat format);

// `text` as UTF-8 on `to`, flushed at once (a line on stderr arrives while
// the work goes on).
void writeText(std::FILE* to, const QString& text);
void writeText(std::FILE* to, const QByteArray& bytes);

} // namespace lumorra::cli
