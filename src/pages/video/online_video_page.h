#pragma once
// SSTab1 page 6, the online-video page: the tab control SSTab3 with the two
// Qvod video sites, the torrent tag search, the player and the live
// channels, and below it the usage-agreement box Check1.
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QWebEngineView;

namespace lumorra {

class PlayerControl;
class ResultList;

class OnlineVideoPage : public QWidget {
    Q_OBJECT
public:
    explicit OnlineVideoPage(QWidget* parent = nullptr);

    static QString caption();                 // caption of the page itself
    static QString tabCaption(int index);     // captions of SSTab3's five tabs

private:
    QWidget* buildQvodFilmTab();
    QWidget* buildQvodSearchTab();
    QWidget* buildTorrentTagTab();
    QWidget* buildPlayerTab();
    QWidget* buildLiveTab();

    QTabWidget* m_sstab3 = nullptr;
    QCheckBox* m_check1 = nullptr;

    ResultList* m_listView3 = nullptr;
    QLabel* m_image2 = nullptr;
    QLineEdit* m_text7 = nullptr;
    QLineEdit* m_text9 = nullptr;
    QLineEdit* m_text10 = nullptr;
    QLineEdit* m_text11 = nullptr;

    ResultList* m_listView14 = nullptr;
    QLineEdit* m_text15 = nullptr;
    QLabel* m_image3 = nullptr;

    ResultList* m_listView20 = nullptr;
    QLineEdit* m_text22 = nullptr;
    QLineEdit* m_infoHash = nullptr;     // Text23(0)
    QLineEdit* m_magnet = nullptr;       // Text23(1)

    PlayerControl* m_qvodCtrl1 = nullptr;
    QLabel* m_label32 = nullptr;

    QListWidget* m_list1 = nullptr;
    QWebEngineView* m_webBrowser1 = nullptr;
};

} // namespace lumorra
