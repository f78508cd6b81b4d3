#include "pages/everywhere/source_history_model.h"

#include "pages/everywhere/source_runs_model.h"
#include "sources/everywhere/search_everywhere.h"
#include "sources/everywhere/source_history.h"
#include "sources/source_table.h"

namespace lumorra {

namespace {

// The words of a source's line in the search over every source.
QString outcomeText(const SourceOutcome& outcome)
{
    switch (outcome.kind) {
    case SourceOutcome::Kind::Rows: return sourceRunStateText(SourceRun::State::Rows);
    case SourceOutcome::Kind::NoRows: return sourceRunStateText(SourceRun::State::None);
    default: return sourceRunStateText(SourceRun::State::Failed);
    }
}

} // namespace

SourceHistoryModel::SourceHistoryModel(QObject* parent) : QAbstractTableModel(parent)
{
    connect(&SourceHistory::instance(), &SourceHistory::recorded, this, [this](const SourceEntry* source) {
        const int line = int(source - sourceTable().constData());
        if (line >= 0 && line < rowCount())
            emit dataChanged(index(line, 0), index(line, ColumnCount - 1));
    });
}

QString SourceHistoryModel::notRunText()
{
    return QStringLiteral("未运行");
}

int SourceHistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(sourceTable().size());
}

int SourceHistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SourceHistoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SourceEntry& source = sourceTable().at(index.row());
    const SourceRecord* record = SourceHistory::instance().last(&source);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        if (index.column() == Source)
            return sourceCaption(source);
        if (!record)
            return index.column() == Result ? QVariant(notRunText()) : QVariant();
        const SourceOutcome& o = record->outcome;
        switch (index.column()) {
        case Result: return outcomeText(o);
        case Rows: return o.rowCount;
        case Ms: return o.elapsedMs;
        case At: return record->at.toString(QStringLiteral("HH:mm:ss"));
        case Reason:
            return o.address.isEmpty() || !o.failed() ? o.reason
                                                      : o.reason + QStringLiteral(" (") + o.address + u')';
        }
    } else if (role == Qt::TextAlignmentRole && index.column() >= Result && index.column() <= At) {
        return int(Qt::AlignCenter);
    }
    return {};
}

QVariant SourceHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const captions[ColumnCount] = {"来源", "结果", "行数", "毫秒", "时间", "原因"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(captions[section]);
}

} // namespace lumorra
