#include "sources/video/list_top.h"

#include "lists/result_list.h"

namespace lumorra {

QTreeWidgetItem* addRowAtTop(ResultList* list, const QString& rowText)
{
    QTreeWidgetItem* row = list->addRow(rowText);
    list->takeTopLevelItem(list->indexOfTopLevelItem(row));
    list->insertTopLevelItem(0, row);
    return row;
}

} // namespace lumorra
