#pragma once
// The button array Command53 of the online-video page: one handler that
// dispatches on the button's index to the two Qvod video sites, the torrent
// tag search, the player buttons and the other-functions menu.
#include <QObject>
#include <QString>

#include <functional>

class QCheckBox;
class QMenu;
class QPushButton;
class QWidget;

namespace lumorra {

class QvodFilmSource;
class QvodSearchSource;
class TorrentTagSource;

class OnlineVideoHandlers : public QObject {
    Q_OBJECT
public:
    explicit OnlineVideoHandlers(QWidget* form1);

    // The instance installed on form1, or nullptr.
    static OnlineVideoHandlers* of(QWidget* form1);

    void Command53_Click(int index);

    // The player's buttons (11 … 14) and the forum-address item are served
    // by the player layer once it is installed.
    void setPlayerButtonHandler(std::function<void(int index)> handler);
    void setForumAddressHandler(std::function<void()> handler);

    QvodFilmSource* qvodFilm() const { return m_qvodFilm; }
    QvodSearchSource* qvodSearch() const { return m_qvodSearch; }
    TorrentTagSource* torrentTag() const { return m_torrentTag; }
    // The other-functions menu (popped up by Command53(6)).
    QMenu* otherFunctionsMenu() const { return m_menu; }

    static QString agreementRequiredText();   // "请先阅读使用协议并严格遵守!"
    static QString firstPageText();           // "已经是第一页了!"

private:
    // The usage-agreement precondition: false (after its message box) when
    // Check1 is not ticked.
    bool agreementAccepted();
    void popUpOtherFunctions();
    void forumAddressClicked();

    QWidget* m_form1;
    QCheckBox* m_agreementBox = nullptr;             // Check1
    QPushButton* m_otherFunctionsButton = nullptr;   // Command53(6)
    QMenu* m_menu = nullptr;
    QvodFilmSource* m_qvodFilm = nullptr;
    QvodSearchSource* m_qvodSearch = nullptr;
    TorrentTagSource* m_torrentTag = nullptr;
    std::function<void(int)> m_playerButtons;
    std::function<void()> m_forumAddress;
};

// Wires the page's buttons and sources under form1; calling it again on
// the same window returns the installed instance.
OnlineVideoHandlers* installOnlineVideo(QWidget* form1);

} // namespace lumorra
