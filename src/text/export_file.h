#pragma once
// The export file's text: the cloud-disk export of the window and of the
// command line write the same bytes.
#include <QList>
#include <QString>
#include <QStringList>

namespace lumorra {

// Writes one line per row: all cells in order, the first padded to 8 bytes
// with SetStringFixedLength, the others as they are, joined by three blanks,
// each line ended by CR LF. The file is GB18030 (GBK bytes for GBK text;
// nothing becomes "?"). Cells are written whole, however long.
//
// Returns false – and leaves no file behind and an existing file untouched –
// when there are no rows or the file cannot be written completely. The text
// goes to a temporary file beside `path` that replaces `path` only once it
// is complete.
bool writeExportFile(const QList<QStringList>& rows, const QString& path);

} // namespace lumorra
