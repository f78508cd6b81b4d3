#include "pages/torrent/bt_sources.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "player/on_demand_window.h"
#include "pages/page_widgets.h"
#include "sources/torrent/bt_board_parse.h"
#include "sources/torrent/bt_film_parse.h"
#include "text/cut.h"
#include "ui/message_box.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <limits>

namespace lumorra {

namespace {

const char kInstanceName[] = "BtSources";

QString boardSite()
{
    return SiteConfig::current().base(QString::fromLatin1(role::BtBoardSite));
}

QString filmSite()
{
    return SiteConfig::current().base(QString::fromLatin1(role::EmuleIndexSite));
}

QString reasonOf(const FetchResult& result)
{
    return pageFailureText(result);
}

} // namespace

QString btEmptyListingText()
{
    return QStringLiteral("获取完毕 ...本页没有资源记录");
}

QString btFetchFailedText(const FetchResult& result)
{
    return QStringLiteral("资源获取失败(") + reasonOf(result) + QStringLiteral("),请稍后再试..");
}

QString btMagnetNotFoundText(const FetchResult& result)
{
    if (!result.hasPage())
        return QStringLiteral("磁力链接解析失败(") + reasonOf(result) + QStringLiteral("),请稍后再试..");
    return QStringLiteral("磁力链接解析失败(页面中没有磁力链接)..");
}

BtSources::BtSources(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QString::fromLatin1(kInstanceName));
    m_listView16 = findResultList(form1, QStringLiteral("ListView16"));
    m_listView18 = findResultList(form1, QStringLiteral("ListView18"));
    m_text6 = form1->findChild<QLineEdit*>(QStringLiteral("Text6"));
    m_text18 = form1->findChild<QLineEdit*>(QStringLiteral("Text18"));
    m_label38 = form1->findChild<QLabel*>(QStringLiteral("Label38"));
    if (m_label38)
        m_label38->setTextFormat(Qt::PlainText);

    for (int i : {0, 1, 2}) {
        if (auto* b = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Command3"), i)))
            connect(b, &QAbstractButton::clicked, this, [this, i] { Command3_Click(i); });
    }
    for (int i : {0, 1, 2, 4}) {
        if (auto* b = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Commandz3"), i)))
            connect(b, &QAbstractButton::clicked, this, [this, i] { Commandz3_Click(i); });
    }
    if (m_listView16)
        connect(m_listView16, &ResultList::listDoubleClicked, this, &BtSources::ListView16_DblClick);
    if (m_text18)
        connect(m_text18, &QLineEdit::textChanged, this, &BtSources::Text18_Change);
}

BtSources* BtSources::of(QWidget* form1)
{
    return form1 ? form1->findChild<BtSources*>(QString::fromLatin1(kInstanceName), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

void BtSources::setBoardNumber(int board)
{
    m_boardNumber = qint16(qBound(kBtBoardFirst, board, kBtBoardLast));
}

void BtSources::setBtFilmPageNumber(int page)
{
    m_btFilmPage = qint16(qBound(1, page, int(std::numeric_limits<qint16>::max())));
}

void BtSources::reportFailure(const FetchResult& result)
{
    const QString reason = btFetchFailedText(result);
    StatusLine::set(reason);
    emit failed(reason);
}

// ---------------------------------------------------------------------------
// BtBoardSite

void BtSources::Command3_Click(int index)
{
    switch (index) {
    case 0:
        loadBoard();
        break;
    case 1:
        if (m_boardNumber == kBtBoardLast) {
            showInfo(m_form1->window(), QStringLiteral("已经是最后一页!"));
            return;
        }
        if (m_listView18)
            m_listView18->clearRows();
        ++m_boardNumber;
        loadBoard();
        break;
    case 2:
        if (m_boardNumber == kBtBoardFirst) {
            showInfo(m_form1->window(), QStringLiteral("已经是最上一页!"));
            return;
        }
        if (m_listView18)
            m_listView18->clearRows();
        --m_boardNumber;
        loadBoard();
        break;
    default:
        break;
    }
}

void BtSources::loadBoard()
{
    StatusLine::set(QStringLiteral("正在获取资源 ..."));
    if (m_listView18)
        m_listView18->clearRows();
    // The board's number may move on while its page is on the way; the
    // latest click's page is the one listed.
    m_boardFetch.get(btBoardUrl(boardSite(), m_boardNumber), FetchMode::Plain, this,
                     [this](const FetchResult& result) {
        if (!result.hasPage())
            reportFailure(result);
        else
            getys(result.text);
        emit boardEnded();
    });
}

void BtSources::getys(const QString& boardPage)
{
    const QList<BtBoardPost> posts = cutBoardPosts(CutPage(boardPage), boardSite());
    if (m_listView18) {
        m_listView18->clearRows();
        for (int i = 0; i < posts.size(); ++i)
            m_listView18->addRow(listRow(i + 1, posts.at(i)));
    }
    StatusLine::set(posts.isEmpty() ? btEmptyListingText() : QStringLiteral("获取完毕 ..."));
}

// ---------------------------------------------------------------------------
// EmuleIndexSite BT films

void BtSources::Commandz3_Click(int index)
{
    switch (index) {
    case 0:
        loadBtFilms();
        break;
    case 1:
        if (m_btFilmPage < std::numeric_limits<qint16>::max())
            ++m_btFilmPage;
        loadBtFilms();
        break;
    case 2:
        if (m_btFilmPage == 1) {
            showInfo(m_form1->window(), QStringLiteral("已经是最上一页!"));
            return;
        }
        --m_btFilmPage;
        loadBtFilms();
        break;
    case 4:
        if (!m_text18 || m_text18->text().isEmpty()) {
            StatusLine::set(QStringLiteral("请先进行解析!"));
            return;
        }
        playOnDemand(m_form1, m_text18->text());
        break;
    default:
        break;
    }
}

void BtSources::loadBtFilms()
{
    if (m_listView16)
        m_listView16->clearRows();
    StatusLine::set(QStringLiteral("正在获取电影资源.."));
    const QString base = filmSite();
    m_filmFetch.get(btFilmPageUrl(base, m_btFilmPage), FetchMode::WithIfModifiedSince, this,
                    [this, base](const FetchResult& result) {
        if (!result.hasPage()) {
            reportFailure(result);
            emit filmsEnded();
            return;
        }
        const QList<BtFilm> films = cutBtFilms(CutPage(result.text), base);
        if (m_listView16) {
            m_listView16->clearRows();
            for (int i = 0; i < films.size(); ++i)
                m_listView16->addRow(listRow(i + 1, films.at(i)));
        }
        StatusLine::set(films.isEmpty() ? btEmptyListingText() : QStringLiteral("资源获取完毕.."));
        emit filmsEnded();
    });
}

// ---------------------------------------------------------------------------
// Magnet link of a BT film

void BtSources::ListView16_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_listView16);
    if (!row)
        return;
    StatusLine::set(QStringLiteral("正在解析..请稍等.."));
    // The name belongs to the row double-clicked now, whatever the list
    // holds when the page arrives.
    const QString name = m_listView16->cellAt(row, 1);
    m_magnetFetch.get(m_listView16->cellAt(row, 2), FetchMode::WithIfModifiedSince, this,
                      [this, name](const FetchResult& result) {
        if (!result.hasPage()) {
            const QString reason = btMagnetNotFoundText(result);
            StatusLine::set(reason);
            emit failed(reason);
            emit magnetEnded(false);
            return;
        }
        const BtFilmMagnet magnet = cutBtFilmMagnet(result.text);
        if (m_label38)
            m_label38->setText(QStringLiteral("更新日期：") + magnet.updated);
        if (m_text18)
            m_text18->setText(magnet.link);   // Text18_Change reports it
        if (m_text6)
            m_text6->setText(name);
        // Said again: the same link as before changes nothing in Text18, and
        // a page without a link must not read as resolved.
        StatusLine::set(magnet.link.isEmpty() ? btMagnetNotFoundText(result) : QStringLiteral("磁力链接已解析!"));
        emit magnetEnded(!magnet.link.isEmpty());
    });
}

void BtSources::Text18_Change()
{
    StatusLine::set(QStringLiteral("磁力链接已解析!"));
}

void installBtSources(QWidget* form1)
{
    if (!form1 || BtSources::of(form1))
        return;
    new BtSources(form1);
}

} // namespace lumorra
