#pragma once
// SSTab2 page 9, "Tessaly云点播": plays a typed or pasted address (Text12)
// through the cloud on-demand service.
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lumorra {

class OnDemandPage : public QWidget {
    Q_OBJECT
public:
    explicit OnDemandPage(QWidget* parent = nullptr);

private:
    QLineEdit* m_text12 = nullptr;
    QPushButton* m_command43 = nullptr;
    QPushButton* m_command56 = nullptr;
    QLabel* m_picture2 = nullptr;
};

} // namespace lumorra
