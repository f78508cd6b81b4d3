#pragma once
// SSTab5 page 1, "资源②（支持自定义搜索）": magnet search on the site chosen
// in Combo1, paged with Command21(4)/(5), results in ListView19.
#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumorra {

class ResultList;

class MagnetSearchPage : public QWidget {
    Q_OBJECT
public:
    explicit MagnetSearchPage(QWidget* parent = nullptr);

private:
    // The placeholder entry is not a channel: choosing it goes back to the first.
    void Combo1_Click();

    QLineEdit* m_magnetKeywordBox = nullptr;   // Text21
    QComboBox* m_channelChoice = nullptr;      // Combo1
    QPushButton* m_search = nullptr;           // Command21(3)
    QPushButton* m_next = nullptr;             // Command21(4)
    QPushButton* m_previous = nullptr;         // Command21(5)
    ResultList* m_magnetList = nullptr;        // ListView19
};

} // namespace lumorra
