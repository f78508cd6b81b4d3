#pragma once
// The column layout of the twenty result lists, ListView1 … ListView20, in
// one table. Sources write cells by key; the lists build their headers from
// here, so a column can move without touching any source.
#include <QString>
#include <QStringList>
#include <QVector>

namespace lumorra {

struct ColumnLayout {
    QString key;          // "xh", "mc", "dz", …; column 0 is always "xh"
    QString caption;      // header text
    int width96 = 0;      // width in pixels at 96 dpi; 0 = present but hidden
    bool centred = false; // header and cells centred
};

struct ListLayout {
    QString name;                 // "ListView1" … "ListView20"
    QVector<ColumnLayout> columns;  // in display order
    QString menu;                 // popup menu name, empty when the list has none
};

// Every list, ListView1 first.
const QVector<ListLayout>& columnTable();
// The entry of one list, nullptr for an unknown name.
const ListLayout* listLayout(const QString& listName);
// Position of `key` in the list's columns, -1 when absent.
int columnIndex(const ListLayout& layout, const QString& key);
// A width given at 96 dpi, scaled to a screen of `logicalDpi`.
int scaledColumnWidth(int width96, qreal logicalDpi);

} // namespace lumorra
