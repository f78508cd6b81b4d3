#include "player/player_handlers.h"

#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/address_check.h"
#include "ui/player_control.h"
#include "pages/page_widgets.h"
#include "sources/video/playback_parse.h"
#include "pages/video/qvod_search_source.h"
#include "pages/window_timer.h"
#include "platform/open_address.h"
#include "text/memory_release.h"
#include "ui/message_box.h"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>

namespace lumorra {

namespace {

const char kInstanceName[] = "PlayerHandlers";
constexpr int kOnlineVideoPage = 6;   // of SSTab1
constexpr int kPlayerTab = 3;         // of SSTab3

QString listText(QListWidget* list)
{
    QListWidgetItem* item = list ? list->currentItem() : nullptr;
    return item ? item->text() : QString();
}

} // namespace

QString PlayerHandlers::playerMissingText()
{
    return QStringLiteral("抱歉,程序检测您未启动快播播放器") + QStringLiteral("\r\n")
        + QStringLiteral("请手动启动或在软件设置中进行设置!");
}

QString PlayerHandlers::downloadPageAddress()
{
    // The player plays through the system's media framework; its download
    // page offers the framework and its codecs.
    return QStringLiteral("https://gstreamer.freedesktop.org/download/");
}

PlayerHandlers::PlayerHandlers(QWidget* form1, QvodSearchSource* qvodSearch)
    : QObject(form1), m_form1(form1), m_qvodSearch(qvodSearch)
{
    setObjectName(QString::fromLatin1(kInstanceName));
    m_player = form1->findChild<PlayerControl*>(QStringLiteral("QvodCtrl1"));
    m_playerStateLabel = form1->findChild<QLabel*>(QStringLiteral("Label32"));
    m_pauseButton = form1->findChild<QPushButton*>(pageui::arrayName(QStringLiteral("Command53"), 12));
    m_qvodBox = form1->findChild<QLineEdit*>(QStringLiteral("Text11"));
    m_filmResourceLinks = form1->findChild<QListWidget*>(QStringLiteral("List2"));
    m_filmListLinks = form1->findChild<QListWidget*>(QStringLiteral("List3"));
    m_pages = form1->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    m_videoTabs = form1->findChild<QTabWidget*>(QStringLiteral("SSTab3"));
    m_hoverHighlight = form1->findChild<QWidget*>(QStringLiteral("aicAlphaImage3"));
    m_statePollTimer = windowTimer(form1, this, QStringLiteral("Timer16"), 1000);
    connect(m_statePollTimer, &QTimer::timeout, this, &PlayerHandlers::Timer16_Timer);

    for (int i = 0; i < 2; ++i) {
        if (auto* b = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Command4"), i)))
            connect(b, &QAbstractButton::clicked, this, [this, i] { Command4_Click(i); });
    }
    if (auto* b = form1->findChild<QAbstractButton*>(QStringLiteral("Command48")))
        connect(b, &QAbstractButton::clicked, this, &PlayerHandlers::Command48_Click);
    if (m_filmResourceLinks) {
        connect(m_filmResourceLinks, &QListWidget::itemClicked, this, &PlayerHandlers::List2_Click);
        connect(m_filmResourceLinks, &QListWidget::itemDoubleClicked, this, &PlayerHandlers::List2_DblClick);
    }
    if (m_filmListLinks) {
        connect(m_filmListLinks, &QListWidget::itemClicked, this, &PlayerHandlers::List3_Click);
        connect(m_filmListLinks, &QListWidget::itemDoubleClicked, this, &PlayerHandlers::List3_DblClick);
    }
    if (m_player)
        connect(m_player, &PlayerControl::playbackFailed, this, &PlayerHandlers::showPlaybackFailure);

    // The memory release stops Timer16; a player being watched keeps its
    // state label.
    m_releaseHook = addReleaseHook([this] {
        if (m_polling)
            m_statePollTimer->start();
    });
}

PlayerHandlers::~PlayerHandlers()
{
    removeReleaseHook(m_releaseHook);
}

PlayerHandlers* PlayerHandlers::of(QWidget* form1)
{
    return form1 ? form1->findChild<PlayerHandlers*>(QString::fromLatin1(kInstanceName), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

bool PlayerHandlers::playerPresent()
{
    if (m_player && m_player->isEnginePresent())
        return true;
    showInfo(m_form1->window(), playerMissingText());
    return false;
}

void PlayerHandlers::startPolling()
{
    m_polling = true;
    if (!m_statePollTimer->isActive())
        m_statePollTimer->start();
}

void PlayerHandlers::playAddress(const QString& address)
{
    if (!m_player)
        return;
    m_player->setAddress(address);
    m_player->play();
    emit playStarted(address);
}

bool PlayerHandlers::refusePageAddress(const QString& address)
{
    // An empty address is no address of a page: it plays nothing, as before.
    if (address.trimmed().isEmpty() || isAllowedAddress(address, AddressUse::Play))
        return false;
    StatusLine::set(refusedAddressText(address));
    return true;
}

void PlayerHandlers::showPlaybackFailure(const QString& reason)
{
    StatusLine::set(QStringLiteral("播放失败(") + reason + QStringLiteral("),请检查播放地址.."));
}

// ---------------------------------------------------------------------------
// Command53(11 … 14)

void PlayerHandlers::playerButton(int index)
{
    switch (index) {
    case 11: typedAddress(); break;
    case 12: togglePause(); break;
    case 13: stopPlayer(); break;
    case 14: openAddress(downloadPageAddress()); break;
    default: break;
    }
}

void PlayerHandlers::typedAddress()
{
    QInputDialog dialog(m_form1->window());
    dialog.setObjectName(QStringLiteral("customAddressDialog"));
    dialog.setWindowTitle(QStringLiteral("自定义文件播放"));
    dialog.setLabelText(QStringLiteral("请输入文件播放地址,例如:qvod://开头"));
    dialog.setTextValue(QString());
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (dialog.exec() != QDialog::Accepted) {
        StatusLine::set(QStringLiteral("您已取消!"));
        showInfo(m_form1->window(), QStringLiteral("您已取消!"));
        return;
    }
    const QString address = dialog.textValue();
    if (address.isEmpty()) {
        StatusLine::set(QStringLiteral("请输入文件播放地址!"));
        showInfo(m_form1->window(), QStringLiteral("请输入文件播放地址!"));
        return;
    }
    if (!playerPresent())
        return;
    playAddress(address);
    startPolling();
}

void PlayerHandlers::togglePause()
{
    if (!m_pauseButton || !m_player)
        return;
    if (m_pauseButton->text() == QStringLiteral("播放")) {
        m_pauseButton->setText(QStringLiteral("暂停"));
        m_player->play();
    } else {
        m_pauseButton->setText(QStringLiteral("播放"));
        m_player->pause();
    }
}

void PlayerHandlers::stopPlayer()
{
    if (m_player)
        m_player->stop();
    m_polling = false;
    m_statePollTimer->stop();
}

// ---------------------------------------------------------------------------
// The QvodSearchSite pair and the detail frame

void PlayerHandlers::Command4_Click(int index)
{
    const QString address = m_qvodSearch ? m_qvodSearch->currentQvodAddress() : QString();
    if (index == 0) {
        copyText(address);
        StatusLine::set(QStringLiteral("文件地址已复制.."));
        return;
    }
    if (index != 1 || refusePageAddress(address) || !playerPresent())
        return;
    if (m_videoTabs)
        m_videoTabs->setCurrentIndex(kPlayerTab);
    startPolling();
    playAddress(address);
}

void PlayerHandlers::Command48_Click()
{
    const QString address = m_qvodBox ? m_qvodBox->text() : QString();
    if (address.isEmpty() || refusePageAddress(address) || !playerPresent())
        return;
    if (m_videoTabs)
        m_videoTabs->setCurrentIndex(kPlayerTab);
    startPolling();
    playAddress(address);
}

// ---------------------------------------------------------------------------
// The address lists

void PlayerHandlers::List2_Click()
{
    const QString text = listText(m_filmResourceLinks);
    if (text.isEmpty())
        return;
    copyText(text);
    StatusLine::set(QStringLiteral("种子地址已复制.."));
}

void PlayerHandlers::List3_Click()
{
    copyText(listText(m_filmListLinks));
    StatusLine::set(QStringLiteral("地址复制成功.."));
}

void PlayerHandlers::List2_DblClick()
{
    listDoubleClick(m_filmResourceLinks);
}

void PlayerHandlers::List3_DblClick()
{
    listDoubleClick(m_filmListLinks);
}

void PlayerHandlers::listDoubleClick(QListWidget* list)
{
    playPageAddress(listText(list));
}

void PlayerHandlers::playPageAddress(const QString& address)
{
    if (refusePageAddress(address) || !playerPresent())
        return;
    // To the player as a click on the online-video page's button would go
    // there: the highlight goes, the page marker follows the page.
    if (m_hoverHighlight)
        m_hoverHighlight->hide();
    if (m_pages)
        m_pages->setCurrentIndex(kOnlineVideoPage);
    if (m_videoTabs)
        m_videoTabs->setCurrentIndex(kPlayerTab);
    playAddress(address);
    startPolling();
}

// ---------------------------------------------------------------------------
// State poll

void PlayerHandlers::Timer16_Timer()
{
    if (m_player)
        showPlayerState(m_player->state());
}

void PlayerHandlers::showPlayerState(int state)
{
    const std::optional<QString> text = playerStateText(state);
    if (text && m_playerStateLabel)
        m_playerStateLabel->setText(QStringLiteral("播放器状态：") + *text);
}

} // namespace lumorra
