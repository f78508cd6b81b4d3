#pragma once
// One row of a result list as plain data: its row text (column 0, key "xh")
// and its cells by column key, in the order the source writes them. The
// window's lists and the command line take a source's rows in this one
// shape, so each source says in one place which field goes into which
// column.
#include <QList>
#include <QString>

#include <utility>

namespace lumorra {

struct ListRow {
    QString text;                                 // column 0, key "xh"
    QList<std::pair<QString, QString>> cells;     // key, value

    ListRow() = default;
    explicit ListRow(QString rowText) : text(std::move(rowText)) {}
    // Writes a cell (a second write of a key replaces the first).
    ListRow& set(const QString& key, const QString& value);
    // The cell of `key`; "xh" gives the row text; empty when absent.
    QString cell(const QString& key) const;
};

// The row text of the i-th row (from 1) of the numbered lists.
inline QString rowNumber(int i)
{
    return QString::number(i);
}

// Rows listed in cut order, numbered 1 … n. `Row` is a source's row type
// with its listRow(number, row).
template <typename Row>
QList<ListRow> numberedInOrder(const QList<Row>& rowsInCutOrder, int firstNumber = 1)
{
    QList<ListRow> out;
    out.reserve(rowsInCutOrder.size());
    for (qsizetype i = 0; i < rowsInCutOrder.size(); ++i)
        out.append(listRow(int(i) + firstNumber, rowsInCutOrder.at(i)));
    return out;
}

// Rows that a source puts on top of its list one by one, numbered so the
// list reads 1 … n from the top: top to bottom, the last row cut comes
// first. `Row` is a source's row type with its listRow(number, row).
template <typename Row>
QList<ListRow> numberedFromTheTop(const QList<Row>& rowsInCutOrder)
{
    QList<ListRow> out;
    out.reserve(rowsInCutOrder.size());
    for (qsizetype i = rowsInCutOrder.size() - 1, number = 1; i >= 0; --i, ++number)
        out.append(listRow(int(number), rowsInCutOrder.at(i)));
    return out;
}

} // namespace lumorra
