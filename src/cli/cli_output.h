#pragma once
// How the command line prints rows: a header line of column keys and one
// tab-separated line per row, or a JSON array of objects keyed by column
// key. Both are UTF-8.
#include "lists/list_row.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace lumorra::cli {

enum class OutputFormat { Table, Json };

// A cell for a tab-separated line: a backslash, tab, line feed or carriage
// return inside it is written as \\, \t, \n or \r, so a row is always one
// line of exactly as many fields as the header.
QString tableField(const QString& value);

// A JSON string literal (quotes included); non-ASCII stays as UTF-8 text.
QString jsonString(const QString& value);

// The whole output for `rows` under the columns `keys`, in `format`. A table
// without rows is its header line alone; JSON without rows is "[]".
QByteArray formatRows(const QStringList& keys, const QList<ListRow>& rows, OutputFormat format);

} // namespace lumorra::cli
