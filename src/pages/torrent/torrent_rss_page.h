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
    QLineEdit* m_text8 = nullptr;
    QPushButton* m_search = nullptr;     // Command2(1)
    ResultList* m_listView4 = nullptr;
};

} // namespace lumorra
