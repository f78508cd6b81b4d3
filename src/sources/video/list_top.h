#pragma once
// Rows that the keyword searches put on top of a list rather than below.
#include <QString>

class QTreeWidgetItem;

namespace lumorra {

class ResultList;

// A row added as ResultList::addRow adds it, but at position 1 (the top).
QTreeWidgetItem* addRowAtTop(ResultList* list, const QString& rowText);

} // namespace lumorra
