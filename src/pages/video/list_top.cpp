#include "pages/video/list_top.h"

#include "lists/result_list.h"

namespace lumorra {

QTreeWidgetItem* addRowAtTop(ResultList* list, const QString& rowText)
{
    QTreeWidgetItem* row = list->addRow(rowText);
    list->takeTopLevelItem(list->indexOfTopLevelItem(row));
    list->insertTopLevelItem(0, row);
    return row;
}

void addRowsAtTop(ResultList* list, const QList<ListRow>& rows)
{
    for (qsizetype i = rows.size() - 1; i >= 0; --i) {
        QTreeWidgetItem* row = addRowAtTop(list, rows.at(i).text);
        for (const auto& [key, value] : rows.at(i).cells)
            list->setCell(row, key, value);
    }
}

} // namespace lumorra
