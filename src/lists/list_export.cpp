#include "lists/list_export.h"

#include "text/fixed_length.h"

#include <QAbstractItemModel>
#include <QSaveFile>
#include <QStringEncoder>
#include <QTreeWidget>

namespace lumorra {

bool ExportListViewContent(const QAbstractItemModel* model, const QString& path)
{
    if (!model || path.isEmpty())
        return false;
    const int rows = model->rowCount();
    if (rows <= 0)
        return false;
    const int columns = model->columnCount();

    QStringEncoder encoder("GB18030");
    if (!encoder.isValid())
        return false;

    QSaveFile file(path);
    // Never fall back to writing the target in place: a failure must not
    // leave a half-written export behind.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;

    QString line;
    for (int r = 0; r < rows; ++r) {
        line.clear();
        for (int c = 0; c < columns; ++c) {
            const QString cell = model->data(model->index(r, c), Qt::DisplayRole).toString();
            line += c == 0 ? SetStringFixedLength(cell, 8) : cell;
            if (c + 1 < columns)
                line += QLatin1String("   ");
        }
        line += QLatin1String("\r\n");
        const QByteArray bytes = encoder.encode(line);
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

bool ExportListViewContent(const QTreeWidget* list, const QString& path)
{
    return list ? ExportListViewContent(list->model(), path) : false;
}

} // namespace lumorra
