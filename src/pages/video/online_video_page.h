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

    QTabWidget* m_tabs = nullptr;          // SSTab3
    QCheckBox* m_agreementBox = nullptr;   // Check1

    ResultList* m_qvodFilmList = nullptr;   // ListView3
    QLabel* m_qvodFilmPoster = nullptr;     // Image2
    QLineEdit* m_thunderBox = nullptr;      // Text7
    QLineEdit* m_qqBox = nullptr;           // Text9
    QLineEdit* m_baiduBox = nullptr;        // Text10
    QLineEdit* m_qvodBox = nullptr;         // Text11

    ResultList* m_qvodSearchList = nullptr;   // ListView14
    QLineEdit* m_qvodKeywordBox = nullptr;    // Text15
    QLabel* m_qvodSearchPoster = nullptr;     // Image3

    ResultList* m_torrentTagList = nullptr;        // ListView20
    QLineEdit* m_torrentTagKeywordBox = nullptr;   // Text22
    QLineEdit* m_infoHash = nullptr;               // Text23(0)
    QLineEdit* m_magnet = nullptr;                 // Text23(1)

    PlayerControl* m_player = nullptr;      // QvodCtrl1
    QLabel* m_playerStateLabel = nullptr;   // Label32

    QListWidget* m_channelList = nullptr;      // List1
    QWebEngineView* m_liveBrowser = nullptr;   // WebBrowser1
};

} // namespace lumorra
