#pragma once
// Every source of the table with its last outcome since the program
// started, whoever ran it: result, rows, milliseconds, when, and why it
// failed; "未运行" for a source that has not run. Follows the history.
#include <QAbstractTableModel>

namespace lumorra {

class SourceHistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Source, Result, Rows, Ms, At, Reason, ColumnCount };

    explicit SourceHistoryModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString notRunText(); // "未运行"
};

} // namespace lumorra
