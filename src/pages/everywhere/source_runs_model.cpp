#include "pages/everywhere/source_runs_model.h"

#include "sources/everywhere/search_everywhere.h"
#include "sources/source_table.h"

#include <QBrush>
#include <QColor>

namespace lumorra {

QString sourceCaption(const SourceEntry& source)
{
    return source.caption.isEmpty() ? source.id : source.id + QStringLiteral("  ") + source.caption;
}

SourceRunsModel::SourceRunsModel(SearchEverywhere* search, QObject* parent)
    : QAbstractTableModel(parent),
      m_search(search)
{
    connect(search, &SearchEverywhere::started, this, [this] {
        beginResetModel();
        m_lines = int(m_search->sourceRuns().size());
        endResetModel();
    });
    connect(search, &SearchEverywhere::sourceChanged, this, [this](int line) {
        if (line >= 0 && line < m_lines)
            emit dataChanged(index(line, 0), index(line, ColumnCount - 1));
    });
}

int SourceRunsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_lines;
}

int SourceRunsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SourceRunsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_search || index.row() >= m_lines)
        return {};
    const SourceRun& run = m_search->sourceRuns().at(index.row());
    const bool searching = run.state == SourceRun::State::Searching;
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case Source: return run.source ? sourceCaption(*run.source) : QString();
        case State: return sourceRunStateText(run.state);
        case Rows: return run.rows;
        // The time is known once the source has ended.
        case Ms: return searching ? QVariant() : QVariant(run.ms);
        case Reason: {
            QStringList parts;
            if (!run.reason.isEmpty())
                parts << run.reason;
            parts << run.problems;
            return parts.join(QStringLiteral("；"));
        }
        }
    } else if (role == Qt::ForegroundRole && index.column() == State) {
        if (run.state == SourceRun::State::Failed)
            return QBrush(QColor(0xd9, 0x30, 0x36));
        if (run.state == SourceRun::State::Rows)
            return QBrush(QColor(0x2b, 0x9a, 0x45));
    } else if (role == Qt::TextAlignmentRole && index.column() != Source && index.column() != Reason) {
        return int(Qt::AlignCenter);
    }
    return {};
}

QVariant SourceRunsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const captions[ColumnCount] = {"来源", "状态", "结果数", "毫秒", "原因"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(captions[section]);
}

} // namespace lumorra
