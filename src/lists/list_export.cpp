#include "lists/list_export.h"

#include "text/export_file.h"

#include <QAbstractItemModel>
#include <QTreeWidget>

namespace lumorra {

bool ExportListViewContent(const QAbstractItemModel* model, const QString& path)
{
    if (!model || path.isEmpty())
        return false;
    const int columns = model->columnCount();
    QList<QStringList> rows;
    rows.reserve(model->rowCount());
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        cells.reserve(columns);
        for (int c = 0; c < columns; ++c)
            cells << model->data(model->index(r, c), Qt::DisplayRole).toString();
        rows << cells;
    }
    return writeExportFile(rows, path);
}

bool ExportListViewContent(const QTreeWidget* list, const QString& path)
{
    return list ? ExportListViewContent(list->model(), path) : false;
}

} // namespace lumorra
