#pragma once
// SSTab2 page 5, "影视资源③": the BT film pages of the eMule index site in
// ListView16; a resolved film shows its name (Text6), date (Label38) and
// magnet link (Text18), which Commandz3(4) plays on demand.
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lumorra {

class ResultList;

class BtFilmPage : public QWidget {
    Q_OBJECT
public:
    explicit BtFilmPage(QWidget* parent = nullptr);

private:
    ResultList* m_btFilms = nullptr;         // ListView16
    QLineEdit* m_filmNameBox = nullptr;      // Text6
    QLabel* m_updatedLabel = nullptr;        // Label38
    QLineEdit* m_magnetBox = nullptr;        // Text18
    QPushButton* m_playOnDemand = nullptr;   // Commandz3(4)
};

} // namespace lumorra
