#pragma once
// The merged rows of a search over every source as a table model. It
// follows the search's signals: a batch of new rows is one insertion, a
// merged row that changed is one dataChanged, a new search one reset; the
// rows themselves are read from the search's results, never copied.
#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>

namespace lumorra {

class SearchEverywhere;
struct MergedRow;

class MergedResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, Name, Size, Date, Link, Detail, Sources, ColumnCount };
    // What the columns sort by: numbers, bytes and dates where text would
    // sort wrongly.
    static constexpr int kSortRole = Qt::UserRole + 1;

    explicit MergedResultsModel(SearchEverywhere* search, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const MergedRow& mergedRow(int row) const;
    // The row's link: the one resolved from its detail page, else its best.
    QString link(int row) const;
    // A link read from the row's detail page replaces the row's own.
    void setResolvedLink(int row, const QString& link);

private:
    void restart();
    void append(int first, int count);
    void change(const QList<int>& rows, bool namesChanged);
    // Sizes and dates are read once per row, not at every comparison of a sort.
    void readSortKeys(int first, int last);

    QPointer<SearchEverywhere> m_search;
    int m_shown = 0;                // rows of the results announced so far
    QHash<int, QString> m_resolved; // by row
    QList<qint64> m_sizeKeys;       // by row
    QList<qint64> m_dateKeys;
};

} // namespace lumorra
