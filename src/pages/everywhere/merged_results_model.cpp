#include "pages/everywhere/merged_results_model.h"

#include "pages/everywhere/resource_sort_keys.h"
#include "sources/everywhere/search_everywhere.h"

namespace lumorra {

MergedResultsModel::MergedResultsModel(SearchEverywhere* search, QObject* parent)
    : QAbstractTableModel(parent),
      m_search(search)
{
    connect(search, &SearchEverywhere::started, this, &MergedResultsModel::restart);
    connect(search, &SearchEverywhere::rowsAdded, this, &MergedResultsModel::append);
    connect(search, &SearchEverywhere::rowsChanged, this, &MergedResultsModel::change);
}

void MergedResultsModel::restart()
{
    beginResetModel();
    m_shown = 0;
    m_resolved.clear();
    m_sizeKeys.clear();
    m_dateKeys.clear();
    endResetModel();
}

void MergedResultsModel::append(int first, int count)
{
    const int last = first + count - 1;
    if (count <= 0 || last < m_shown)
        return;
    readSortKeys(m_shown, last);
    beginInsertRows(QModelIndex(), m_shown, last);
    m_shown = last + 1;
    endInsertRows();
}

void MergedResultsModel::readSortKeys(int first, int last)
{
    if (m_sizeKeys.size() <= last) {
        m_sizeKeys.resize(last + 1);
        m_dateKeys.resize(last + 1);
    }
    for (int row = first; row <= last; ++row) {
        const FoundResource& r = mergedRow(row).resource;
        m_sizeKeys[row] = sizeInBytes(r.size);
        m_dateKeys[row] = dateSortKey(r.date);
    }
}

void MergedResultsModel::change(const QList<int>& rows, bool namesChanged)
{
    // The rows come ascending: each run of neighbours is one signal.
    for (int i = 0; i < rows.size();) {
        int j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        if (rows[i] < m_shown) {
            // A merged row may have got the size or date it lacked.
            readSortKeys(rows[i], qMin(rows[j], m_shown - 1));
            // Left out, the name keeps a view sorted by it from re-sorting
            // every row that only got another source.
            emit dataChanged(index(rows[i], namesChanged ? Name : Size),
                             index(qMin(rows[j], m_shown - 1), ColumnCount - 1));
        }
        i = j + 1;
    }
}

int MergedResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int MergedResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const MergedRow& MergedResultsModel::mergedRow(int row) const
{
    return m_search->results().at(row);
}

QString MergedResultsModel::link(int row) const
{
    const auto it = m_resolved.constFind(row);
    return it != m_resolved.constEnd() ? *it : mergedRow(row).resource.link;
}

void MergedResultsModel::setResolvedLink(int row, const QString& link)
{
    if (row < 0 || row >= m_shown)
        return;
    m_resolved.insert(row, link);
    emit dataChanged(index(row, Link), index(row, Link));
}

QVariant MergedResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_search || index.row() >= m_shown)
        return {};
    const MergedRow& row = mergedRow(index.row());
    const FoundResource& r = row.resource;
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case Number: return index.row() + 1;
        case Name: return r.name;
        case Size: return r.size;
        case Date: return r.date;
        case Link: return link(index.row());
        case Detail: return r.detail;
        case Sources: return row.sourceIds();
        }
    } else if (role == kSortRole) {
        switch (index.column()) {
        case Number: return index.row() + 1;
        case Size: return m_sizeKeys.at(index.row());
        case Date: return m_dateKeys.at(index.row());
        default: return data(index, Qt::DisplayRole);
        }
    } else if (role == Qt::TextAlignmentRole) {
        if (index.column() == Number || index.column() == Size || index.column() == Date)
            return int(Qt::AlignCenter);
    }
    return {};
}

QVariant MergedResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const captions[ColumnCount]
        = {"序号", "名称", "大小", "日期", "链接", "详情页", "来源"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(captions[section]);
}

} // namespace lumorra
