#include "pages/video/online_video_handlers.h"

#include "pages/page_widgets.h"
#include "pages/video/qvod_film_source.h"
#include "pages/video/qvod_search_source.h"
#include "pages/video/torrent_tag_source.h"
#include "ui/message_box.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include <limits>

namespace lumorra {

namespace {

const char kInstanceName[] = "OnlineVideoHandlers";

// Twips of the original layout, 15 to a pixel at 96 dots per inch.
constexpr int kMenuOffsetX = 2900 / 15;
constexpr int kMenuOffsetY = 100 / 15;

// The highest index of the array.
constexpr int kLastButton = 15;

// Page numbers are 16 bits wide: the next page after the last stays there.
qint16 nextPage(qint16 page)
{
    return page < std::numeric_limits<qint16>::max() ? qint16(page + 1) : page;
}

} // namespace

QString OnlineVideoHandlers::agreementRequiredText()
{
    return QStringLiteral("请先阅读使用协议并严格遵守!");
}

QString OnlineVideoHandlers::firstPageText()
{
    return QStringLiteral("已经是第一页了!");
}

OnlineVideoHandlers::OnlineVideoHandlers(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QString::fromLatin1(kInstanceName));
    m_agreementBox = form1->findChild<QCheckBox*>(QStringLiteral("Check1"));
    m_qvodFilm = new QvodFilmSource(form1, this);
    m_qvodSearch = new QvodSearchSource(form1, this);
    m_torrentTag = new TorrentTagSource(form1, this);

    for (int i = 0; i <= kLastButton; ++i) {
        auto* b = form1->findChild<QPushButton*>(pageui::arrayName(QStringLiteral("Command53"), i));
        if (!b)
            continue;
        connect(b, &QPushButton::clicked, this, [this, i] { Command53_Click(i); });
        if (i == 6)
            m_otherFunctionsButton = b;
    }

    m_menu = new QMenu(form1);
    m_menu->setObjectName(QStringLiteral("otherFunctionsMenu"));
    QAction* forum = m_menu->addAction(QStringLiteral("获取论坛最新地址"));
    forum->setObjectName(QStringLiteral("forumAddressItem"));
    connect(forum, &QAction::triggered, this, &OnlineVideoHandlers::forumAddressClicked);
    m_menu->addSeparator();
    QAction* more = m_menu->addAction(QStringLiteral("其他功能等待添加"));
    more->setObjectName(QStringLiteral("moreFunctionsItem"));
}

OnlineVideoHandlers* OnlineVideoHandlers::of(QWidget* form1)
{
    return form1 ? form1->findChild<OnlineVideoHandlers*>(QString::fromLatin1(kInstanceName),
                                                          Qt::FindDirectChildrenOnly)
                 : nullptr;
}

void OnlineVideoHandlers::setPlayerButtonHandler(std::function<void(int)> handler)
{
    m_playerButtons = std::move(handler);
}

void OnlineVideoHandlers::setForumAddressHandler(std::function<void()> handler)
{
    m_forumAddress = std::move(handler);
}

bool OnlineVideoHandlers::agreementAccepted()
{
    if (m_agreementBox && m_agreementBox->isChecked())
        return true;
    showInfo(m_form1->window(), agreementRequiredText());
    return false;
}

void OnlineVideoHandlers::Command53_Click(int index)
{
    switch (index) {
    case 3:
        if (agreementAccepted())
            m_qvodFilm->fetchPage();
        return;
    case 4:
        if (!agreementAccepted())
            return;
        m_qvodFilm->setPageNumber(nextPage(m_qvodFilm->pageNumber()));
        Command53_Click(3);
        return;
    case 5:
        if (!agreementAccepted())
            return;
        if (m_qvodFilm->pageNumber() == 1) {
            showInfo(m_form1->window(), firstPageText());
            return;
        }
        m_qvodFilm->setPageNumber(qint16(m_qvodFilm->pageNumber() - 1));
        Command53_Click(3);
        return;
    case 6:
        popUpOtherFunctions();
        return;
    case 7:
        if (agreementAccepted())
            m_qvodSearch->fetchCategory();
        return;
    case 8:
        if (!agreementAccepted())
            return;
        m_qvodSearch->setPageNumber(nextPage(m_qvodSearch->pageNumber()));
        Command53_Click(7);
        return;
    case 9:
        if (!agreementAccepted())
            return;
        if (m_qvodSearch->pageNumber() == 1) {
            showInfo(m_form1->window(), firstPageText());
            return;
        }
        m_qvodSearch->setPageNumber(qint16(m_qvodSearch->pageNumber() - 1));
        Command53_Click(7);
        return;
    case 10:
        if (agreementAccepted())
            m_qvodSearch->keywordSearch();
        return;
    case 11:
        if (!agreementAccepted())
            return;
        [[fallthrough]];
    case 12:
    case 13:
    case 14:
        if (m_playerButtons)
            m_playerButtons(index);
        return;
    case 15:
        if (agreementAccepted())
            m_torrentTag->search();
        return;
    default:
        return;
    }
}

void OnlineVideoHandlers::popUpOtherFunctions()
{
    QPoint at(kMenuOffsetX, kMenuOffsetY);
    if (m_otherFunctionsButton)
        at = m_otherFunctionsButton->mapToGlobal(at);
    m_menu->popup(at);
}

void OnlineVideoHandlers::forumAddressClicked()
{
    if (!agreementAccepted())
        return;
    if (m_forumAddress)
        m_forumAddress();
}

OnlineVideoHandlers* installOnlineVideo(QWidget* form1)
{
    if (!form1)
        return nullptr;
    if (auto* existing = OnlineVideoHandlers::of(form1))
        return existing;
    return new OnlineVideoHandlers(form1);
}

} // namespace lumorra
