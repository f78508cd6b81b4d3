#pragma once
// Writing a result list to a text file (the cloud-disk export).
#include <QString>

class QAbstractItemModel;
class QTreeWidget;

namespace lumorra {

// Writes every top-level row of `model` as one line: all columns in model
// order (hidden ones included), the first padded to 8 bytes with
// SetStringFixedLength, the others as they are, joined by three blanks,
// each line ended by CR LF. The file is GB18030 (GBK bytes for GBK text;
// nothing becomes "?"). Cells are written whole, however long.
//
// Returns false – and leaves no file behind and an existing file untouched –
// when the list has no rows or the file cannot be written completely. The
// text goes to a temporary file beside `path` that replaces `path` only once
// it is complete.
bool ExportListViewContent(const QAbstractItemModel* model, const QString& path);
bool ExportListViewContent(const QTreeWidget* list, const QString& path);

} // namespace lumorra
