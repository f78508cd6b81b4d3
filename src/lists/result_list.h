#pragma once
// A report-style result list (ListView1 … ListView20): columns come from the
// one column table (lists/column_table.h), cells are written by column key.
#include "core/list_row.h"

#include <QTreeWidget>
#include <QString>

namespace lumorra {

class ResultList : public QTreeWidget {
    Q_OBJECT
public:
    // `name` is the list's objectName, e.g. "ListView1"; the columns are
    // taken from the column table entry of that name.
    explicit ResultList(const QString& name, QWidget* parent = nullptr);

    // Appends a row whose text (column 0, key xh) is `rowText`.
    QTreeWidgetItem* addRow(const QString& rowText);
    // Appends a row with its text and every cell it carries.
    QTreeWidgetItem* addRow(const ListRow& row);
    // Writes `value` into the cell of the column keyed `key`; an unknown key
    // is ignored.
    void setCell(QTreeWidgetItem* row, const QString& key, const QString& value);
    QString cell(const QTreeWidgetItem* row, const QString& key) const;
    // Sub-item text by position (0 = row text), "" when out of range.
    QString cellAt(const QTreeWidgetItem* row, int index) const;
    int columnOf(const QString& key) const;   // -1 when the list has no such key
    int rowCount() const { return topLevelItemCount(); }
    // The selected row, or nullptr when the list is empty or nothing is selected.
    QTreeWidgetItem* selectedRow() const;
    void clearRows();

signals:
    // Right button pressed anywhere on the list (also when it is empty).
    void rightClicked(const QPoint& globalPos);
    // Left double click anywhere on the list's rows area, on a row or not;
    // handlers read selectedRow() through the selection guard.
    void listDoubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace lumorra
