#pragma once
// Page 0 of SSTab1, "网盘资源": keyword, page number, the 24 service boxes
// and the result list ListView1.
#include <QWidget>
#include <array>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace lumorra {

class PageNumberBox;
class ResultList;

class CloudDiskPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kServiceCount = 24;

    explicit CloudDiskPage(QWidget* parent = nullptr);

private:
    // "全选": every service box follows the tick of Check3.
    void Check3_Click();

    QLineEdit* m_keywordBox = nullptr;   // Text1
    PageNumberBox* m_pageBox = nullptr;
    QPushButton* m_searchButton = nullptr;                    // Command1
    std::array<QCheckBox*, kServiceCount> m_serviceBoxes{};   // Check2(0 … 23)
    QCheckBox* m_selectAllBox = nullptr;                      // Check3
    QGroupBox* m_resultFrame = nullptr;                       // Frame5
    ResultList* m_resultList = nullptr;                       // ListView1
    QFrame* m_versionCheckOverlay = nullptr;                  // Picture1
};

} // namespace lumorra
