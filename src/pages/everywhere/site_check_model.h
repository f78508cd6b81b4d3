#pragma once
// The lines of a check of every site as a table: role, address, state,
// rows, milliseconds and reason. Follows the check.
#include <QAbstractTableModel>
#include <QPointer>

namespace lumorra {

class SiteCheck;

class SiteCheckModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Role, Base, State, Rows, Ms, Reason, ColumnCount };

    explicit SiteCheckModel(SiteCheck* check, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QPointer<SiteCheck> m_check;
    int m_lines = 0;
};

} // namespace lumorra
