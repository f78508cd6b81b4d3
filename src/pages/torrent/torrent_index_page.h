#pragma once
// SSTab2 page 0, "番号资源": keyword search of the torrent index site into
// ListView2, one result page at a time (page box Text4 / HScroll1(1)).
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumorra {

class PageNumberBox;
class ResultList;

class TorrentIndexPage : public QWidget {
    Q_OBJECT
public:
    explicit TorrentIndexPage(QWidget* parent = nullptr);

private:
    QLineEdit* m_keywordBox = nullptr;   // Text2
    PageNumberBox* m_pageBox = nullptr;
    QPushButton* m_search = nullptr;      // Command2(0)
    ResultList* m_resultList = nullptr;   // ListView2
};

} // namespace lumorra
