#pragma once
// SSTab2 page 1, "BT资源": keyword search of the torrent RSS site into ListView4.
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumorra {

class ResultList;

class TorrentRssPage : public QWidget {
    Q_OBJECT
public:
    explicit TorrentRssPage(QWidget* parent = nullptr);

private:
    QLineEdit* m_keywordBox = nullptr;    // Text8
    QPushButton* m_search = nullptr;      // Command2(1)
    ResultList* m_resultList = nullptr;   // ListView4
};

} // namespace lumorra
