#include "pages/everywhere/site_check_model.h"

#include "sources/everywhere/site_check.h"

#include <QBrush>
#include <QColor>

namespace lumorra {

SiteCheckModel::SiteCheckModel(SiteCheck* check, QObject* parent)
    : QAbstractTableModel(parent),
      m_check(check)
{
    connect(check, &SiteCheck::started, this, [this] {
        beginResetModel();
        m_lines = int(m_check->lines().size());
        endResetModel();
    });
    connect(check, &SiteCheck::lineChanged, this, [this](int line) {
        if (line >= 0 && line < m_lines)
            emit dataChanged(index(line, 0), index(line, ColumnCount - 1));
    });
}

int SiteCheckModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_lines;
}

int SiteCheckModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SiteCheckModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_check || index.row() >= m_lines)
        return {};
    const SiteCheckLine& line = m_check->lines().at(index.row());
    // Rows and time mean something only for a site that was asked and answered.
    const bool ended = line.checked() && line.state != SiteCheckLine::State::Checking;
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case Role: return line.role;
        case Base: return line.base;
        case State: return siteCheckStateText(line.state);
        case Rows: return ended ? QVariant(line.rows) : QVariant();
        case Ms: return ended ? QVariant(line.ms) : QVariant();
        case Reason: return line.reason;
        }
    } else if (role == Qt::ForegroundRole && index.column() == State) {
        if (line.state == SiteCheckLine::State::Failed)
            return QBrush(QColor(0xd9, 0x30, 0x36));
        if (line.state == SiteCheckLine::State::Answered)
            return QBrush(QColor(0x2b, 0x9a, 0x45));
    } else if (role == Qt::TextAlignmentRole && index.column() >= State && index.column() <= Ms) {
        return int(Qt::AlignCenter);
    }
    return {};
}

QVariant SiteCheckModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const captions[ColumnCount] = {"站点", "地址", "状态", "结果数", "毫秒", "原因"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(captions[section]);
}

} // namespace lumorra
