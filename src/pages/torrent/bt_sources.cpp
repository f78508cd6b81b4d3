#include "pages/torrent/bt_sources.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "pages/engine_binding.h"
#include "pages/page_widgets.h"
#include "sources/source_table.h"
#include "sources/torrent/bt_board_parse.h"
#include "sources/torrent/bt_engines.h"
#include "ui/message_box.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <limits>

namespace lumorra {

namespace {

const char kInstanceName[] = "BtSources";

} // namespace

BtSources::BtSources(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QString::fromLatin1(kInstanceName));
    m_btFilms = findResultList(form1, QStringLiteral("ListView16"));
    m_boardPosts = findResultList(form1, QStringLiteral("ListView18"));
    m_filmNameBox = form1->findChild<QLineEdit*>(QStringLiteral("Text6"));
    m_magnetBox = form1->findChild<QLineEdit*>(QStringLiteral("Text18"));
    m_updatedLabel = form1->findChild<QLabel*>(QStringLiteral("Label38"));
    if (m_updatedLabel)
        m_updatedLabel->setTextFormat(Qt::PlainText);

    const Pacing pacing = windowPacing(form1);
    m_board = qobject_cast<BtBoardEngine*>(
        findSourceEntry(SourceVerb::List, QStringLiteral("bt-board"))->createEngine(pacing, this));
    m_films = qobject_cast<BtFilmsEngine*>(
        findSourceEntry(SourceVerb::List, QStringLiteral("bt-films"))->createEngine(pacing, this));
    m_magnet = qobject_cast<BtMagnetEngine*>(
        findSourceEntry(SourceVerb::Resolve, QStringLiteral("bt"))->createEngine(pacing, this));

    // The buttons are not held while a page is on the way.
    m_boardBinding = new EngineBinding(m_board, nullptr, m_boardPosts, this);
    m_filmsBinding = new EngineBinding(m_films, nullptr, m_btFilms, this);
    connect(m_boardBinding, &EngineBinding::ended, this, [this](const SourceOutcome& outcome) {
        if (outcome.failed())
            emit failed(outcome.reason);
        emit boardEnded();
    });
    connect(m_filmsBinding, &EngineBinding::ended, this, [this](const SourceOutcome& outcome) {
        if (outcome.failed())
            emit failed(outcome.reason);
        emit filmsEnded();
    });
    connect(m_magnet, &SourceEngine::status, this, [](const QString& text) { StatusLine::set(text); });
    connect(m_magnet, &SourceEngine::finished, this, &BtSources::magnetResolved);

    for (int i : {0, 1, 2}) {
        if (auto* b = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Command3"), i)))
            connect(b, &QAbstractButton::clicked, this, [this, i] { Command3_Click(i); });
    }
    for (int i : {0, 1, 2, 4}) {
        if (auto* b = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Commandz3"), i)))
            connect(b, &QAbstractButton::clicked, this, [this, i] { Commandz3_Click(i); });
    }
    if (m_btFilms)
        connect(m_btFilms, &ResultList::listDoubleClicked, this, &BtSources::ListView16_DblClick);
    if (m_magnetBox)
        connect(m_magnetBox, &QLineEdit::textChanged, this, &BtSources::Text18_Change);
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
        ++m_boardNumber;
        loadBoard();
        break;
    case 2:
        if (m_boardNumber == kBtBoardFirst) {
            showInfo(m_form1->window(), QStringLiteral("已经是最上一页!"));
            return;
        }
        --m_boardNumber;
        loadBoard();
        break;
    default:
        break;
    }
}

void BtSources::loadBoard()
{
    // The board's number may move on while its page is on the way; the
    // latest click's page is the one listed.
    SourceRequest request;
    request.page = QString::number(m_boardNumber);
    m_boardBinding->start(request);
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
        if (!m_magnetBox || m_magnetBox->text().isEmpty()) {
            StatusLine::set(QStringLiteral("请先进行解析!"));
            return;
        }
        emit playRequested(m_magnetBox->text());
        break;
    default:
        break;
    }
}

void BtSources::loadBtFilms()
{
    SourceRequest request;
    request.page = QString::number(m_btFilmPage);
    m_filmsBinding->start(request);
}

// ---------------------------------------------------------------------------
// Magnet link of a BT film

void BtSources::ListView16_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_btFilms);
    if (!row)
        return;
    m_resolvingName = m_btFilms->cellAt(row, 1);
    SourceRequest request;
    request.address = m_btFilms->cellAt(row, 2);
    m_magnet->start(request);
}

void BtSources::magnetResolved(const SourceOutcome& outcome)
{
    using Kind = SourceOutcome::Kind;
    if (outcome.kind == Kind::Superseded || outcome.kind == Kind::Cancelled)
        return;
    if (outcome.failed()) {
        emit failed(outcome.reason);
        emit magnetEnded(false);
        return;
    }
    const BtFilmMagnet& magnet = m_magnet->lastMagnet();
    if (m_updatedLabel)
        m_updatedLabel->setText(QStringLiteral("更新日期：") + magnet.updated);
    if (m_magnetBox)
        m_magnetBox->setText(magnet.link);   // Text18_Change reports it
    if (m_filmNameBox)
        m_filmNameBox->setText(m_resolvingName);
    // Said again: the same link as before changes nothing in Text18, and
    // a page without a link must not read as resolved.
    StatusLine::set(outcome.hasRows() ? btMagnetResolvedText() : outcome.reason);
    emit magnetEnded(outcome.hasRows());
}

void BtSources::Text18_Change()
{
    StatusLine::set(btMagnetResolvedText());
}

void installBtSources(QWidget* form1)
{
    if (!form1 || BtSources::of(form1))
        return;
    new BtSources(form1);
}

} // namespace lumorra
