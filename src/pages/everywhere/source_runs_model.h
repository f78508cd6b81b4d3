#pragma once
// One line per source of a search over every source: the source, its state,
// its rows, its time and why it failed or found nothing. Follows the search.
#include <QAbstractTableModel>
#include <QPointer>

namespace lumorra {

class SearchEverywhere;
struct SourceEntry;

// "torrent  torrent index (TorrentIndexSite)": a source as its lines name it.
QString sourceCaption(const SourceEntry& source);

class SourceRunsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Source, State, Rows, Ms, Reason, ColumnCount };

    explicit SourceRunsModel(SearchEverywhere* search, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QPointer<SearchEverywhere> m_search;
    int m_lines = 0;
};

} // namespace lumorra
