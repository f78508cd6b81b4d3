#include "lists/result_list.h"

#include "core/column_table.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace lumorra {

ResultList::ResultList(const QString& name, QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(name);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setContextMenuPolicy(Qt::NoContextMenu);

    const ListLayout* layout = listLayout(name);
    QStringList captions;
    if (layout) {
        for (const ColumnLayout& c : layout->columns)
            captions << c.caption;
    } else {
        captions << QString();
    }
    setColumnCount(captions.size());
    setHeaderLabels(captions);

    QHeaderView* h = header();
    // Widths are part of the design: a width-0 column keeps a link the user
    // must not see, so neither dragging nor auto-sizing may reveal it.
    h->setStretchLastSection(false);
    h->setSectionsMovable(false);
    h->setSectionsClickable(false);
    h->setSortIndicatorShown(false);
    h->setMinimumSectionSize(0);
    h->setSectionResizeMode(QHeaderView::Fixed);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (layout) {
        const qreal dpi = logicalDpiX();
        for (int i = 0; i < layout->columns.size(); ++i) {
            const ColumnLayout& c = layout->columns[i];
            if (c.centred)
                headerItem()->setTextAlignment(i, Qt::AlignCenter);
            if (c.width96 == 0) {
                setColumnHidden(i, true);
            } else {
                setColumnWidth(i, scaledColumnWidth(c.width96, dpi));
            }
        }
    }
}

QTreeWidgetItem* ResultList::addRow(const QString& rowText)
{
    auto* item = new QTreeWidgetItem(QStringList{rowText});
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (const ListLayout* layout = listLayout(objectName())) {
        for (int i = 0; i < layout->columns.size(); ++i)
            if (layout->columns[i].centred)
                item->setTextAlignment(i, Qt::AlignCenter);
    }
    addTopLevelItem(item);
    return item;
}

QTreeWidgetItem* ResultList::addRow(const ListRow& row)
{
    QTreeWidgetItem* item = addRow(row.text);
    for (const auto& [key, value] : row.cells)
        setCell(item, key, value);
    return item;
}

void ResultList::setCell(QTreeWidgetItem* row, const QString& key, const QString& value)
{
    if (!row)
        return;
    const int col = columnOf(key);
    if (col < 0)
        return;
    row->setText(col, value);
}

QString ResultList::cell(const QTreeWidgetItem* row, const QString& key) const
{
    const int col = columnOf(key);
    return col < 0 ? QString() : cellAt(row, col);
}

QString ResultList::cellAt(const QTreeWidgetItem* row, int index) const
{
    if (!row || index < 0 || index >= columnCount())
        return QString();
    return row->text(index);
}

int ResultList::columnOf(const QString& key) const
{
    const ListLayout* layout = listLayout(objectName());
    return layout ? columnIndex(*layout, key) : -1;
}

QTreeWidgetItem* ResultList::selectedRow() const
{
    const QList<QTreeWidgetItem*> sel = selectedItems();
    return sel.isEmpty() ? nullptr : sel.first();
}

void ResultList::clearRows()
{
    clear();
}

void ResultList::mousePressEvent(QMouseEvent* event)
{
    // The press selects first, so a menu that pops up acts on the row under
    // the pointer, as the user expects.
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton)
        emit rightClicked(event->globalPosition().toPoint());
}

void ResultList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit listDoubleClicked();
}

} // namespace lumorra
