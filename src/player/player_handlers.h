#pragma once
// Everything that hands an address to the player control, and its buttons:
// the typed address Command53(11), pause/resume (12), stop (13), the
// download page (14), the QvodSearchSite pair Command4(0)/(1), the detail
// frame's Command48, the address lists List2 and List3 (click copies,
// double click plays) and the state poll Timer16 behind Label32.
#include <QObject>
#include <QString>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTimer;
class QWidget;

namespace lumorra {

class PlayerControl;
class QvodSearchSource;

class PlayerHandlers : public QObject {
    Q_OBJECT
public:
    PlayerHandlers(QWidget* form1, QvodSearchSource* qvodSearch);
    ~PlayerHandlers() override;

    static PlayerHandlers* of(QWidget* form1);

    // Command53(11 … 14); the caller has checked the agreement for 11.
    void playerButton(int index);
    void Command4_Click(int index);
    void Command48_Click();
    void List2_Click();
    void List2_DblClick();
    void List3_Click();
    void List3_DblClick();
    void Timer16_Timer();
    // An address taken from a page (a list, a resolved link), played as a
    // double click on List2 plays it: refused unless a stream or qvod link.
    void playPageAddress(const QString& address);
    // Label32 shows `state` when it is one of the player's states.
    void showPlayerState(int state);

    PlayerControl* player() const { return m_player; }

    static QString playerMissingText();     // the two-line presence message
    static QString downloadPageAddress();

signals:
    // An address was handed to the player and play was called.
    void playStarted(const QString& address);

private:
    void typedAddress();           // Command53(11)
    void togglePause();            // Command53(12)
    void stopPlayer();             // Command53(13)
    // The presence check: false (after its message) when the engine cannot play.
    bool playerPresent();
    // Addresses from pages (the lists, the detail box, the resolved address)
    // play only as streams and qvod links; a typed address plays whatever it
    // names, a local file too. True (after its status text) when refused.
    bool refusePageAddress(const QString& address);
    void startPolling();
    void playAddress(const QString& address);
    void listDoubleClick(QListWidget* list);
    void showPlaybackFailure(const QString& reason);

    QWidget* m_form1;
    QvodSearchSource* m_qvodSearch;
    PlayerControl* m_player = nullptr;
    QLabel* m_playerStateLabel = nullptr;         // Label32
    QTimer* m_statePollTimer = nullptr;           // Timer16
    QPushButton* m_pauseButton = nullptr;         // Command53(12)
    QLineEdit* m_qvodBox = nullptr;               // Text11
    QListWidget* m_filmResourceLinks = nullptr;   // List2
    QListWidget* m_filmListLinks = nullptr;       // List3
    QTabWidget* m_pages = nullptr;                // SSTab1
    QTabWidget* m_videoTabs = nullptr;            // SSTab3
    QWidget* m_hoverHighlight = nullptr;          // aicAlphaImage3
    bool m_polling = false;
    int m_releaseHook = -1;
};

} // namespace lumorra
