#pragma once
// SSTab1 page 5, "综合资源": the tab control SSTab4 with the data category
// listing and the two eMule keyword searches.
#include <QWidget>

class QTabWidget;

namespace lumorra {

class EmuleDataPage : public QWidget {
    Q_OBJECT
public:
    explicit EmuleDataPage(QWidget* parent = nullptr);

private:
    QTabWidget* m_tabs = nullptr;   // SSTab4
};

} // namespace lumorra
