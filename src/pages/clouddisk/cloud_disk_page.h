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

    QLineEdit* m_text1 = nullptr;
    PageNumberBox* m_pageBox = nullptr;
    QPushButton* m_command1 = nullptr;
    std::array<QCheckBox*, kServiceCount> m_check2{};
    QCheckBox* m_check3 = nullptr;
    QGroupBox* m_frame5 = nullptr;
    ResultList* m_listView1 = nullptr;
    QFrame* m_picture1 = nullptr;
};

} // namespace lumorra
