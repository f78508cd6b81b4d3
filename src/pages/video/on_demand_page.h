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
    QLineEdit* m_addressBox = nullptr;      // Text12
    QPushButton* m_playButton = nullptr;    // Command43
    QPushButton* m_pasteButton = nullptr;   // Command56
    QLabel* m_hintPanel = nullptr;          // Picture2
};

} // namespace lumorra
