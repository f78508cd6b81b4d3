#pragma once
// Rows that the keyword searches put on top of a list rather than below.
#include "core/list_row.h"

#include <QList>
#include <QString>

class QTreeWidgetItem;

namespace lumorra {

class ResultList;

// A row added as ResultList::addRow adds it, but at position 1 (the top).
QTreeWidgetItem* addRowAtTop(ResultList* list, const QString& rowText);

// Rows put on top of the list as one block, the block's order kept: its
// first row becomes the list's first.
void addRowsAtTop(ResultList* list, const QList<ListRow>& rows);

} // namespace lumorra
