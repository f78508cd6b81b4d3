#include "pages/torrent/magnet_search.h"

#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"
#include "pages/engine_binding.h"
#include "pages/page_widgets.h"
#include "sources/source_table.h"
#include "sources/torrent/magnet_search_engines.h"
#include "ui/message_box.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <limits>

namespace lumorra {

namespace {

constexpr int kSearchButton = 3;
constexpr int kNextButton = 4;
constexpr int kPreviousButton = 5;

} // namespace

QString MagnetSearch::noResultText()
{
    return magnetNoResultText();
}

QString MagnetSearch::doneText()
{
    return magnetDoneText();
}

MagnetSearch::MagnetSearch(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QStringLiteral("MagnetSearch"));
    auto button = [form1](int index) {
        return form1->findChild<QPushButton*>(pageui::arrayName(QStringLiteral("Command21"), index));
    };
    m_searchButton = button(kSearchButton);
    m_nextPageButton = button(kNextButton);
    m_previousPageButton = button(kPreviousButton);
    for (int index : {kSearchButton, kNextButton, kPreviousButton})
        if (QPushButton* b = button(index))
            connect(b, &QPushButton::clicked, this, [this, index] { Command21_Click(index); });
    m_keywordBox = form1->findChild<QLineEdit*>(QStringLiteral("Text21"));
    m_channelChoice = form1->findChild<QComboBox*>(QStringLiteral("Combo1"));
    ResultList* list = findResultList(form1, QStringLiteral("ListView19"));

    const Pacing pacing = windowPacing(form1);
    const char* ids[2] = {"magnet-a", "magnet-b"};
    for (int channel = 0; channel < 2; ++channel) {
        m_engines[channel] = qobject_cast<MagnetSearchEngine*>(
            findSourceEntry(SourceVerb::Search, QLatin1String(ids[channel]))->createEngine(pacing, this));
        // The search button is not held while a search runs.
        m_bindings[channel] = new EngineBinding(m_engines[channel], nullptr, list, this);
        m_bindings[channel]->setHoldPainting(true);
        connect(m_bindings[channel], &EngineBinding::ended, this, &MagnetSearch::ended);
    }
}

qint16 MagnetSearch::magnetHits() const
{
    for (const MagnetSearchEngine* e : m_engines)
        if (e->isRunning())
            return e->pendingHits();
    return 0;
}

bool MagnetSearch::isSearching() const
{
    return m_engines[0]->isRunning() || m_engines[1]->isRunning();
}

SourceEngine* MagnetSearch::engine(int channel) const
{
    return channel == 0 || channel == 1 ? m_engines[channel] : nullptr;
}

void MagnetSearch::Command21_Click(int index)
{
    switch (index) {
    case kSearchButton:
        search();
        break;
    case kNextButton:
        if (m_pageNumber < std::numeric_limits<qint16>::max())
            ++m_pageNumber;
        search();
        break;
    case kPreviousButton:
        if (m_pageNumber == 1) {
            showInfo(m_form1, QStringLiteral("已经是最上一页!"));
            return;
        }
        --m_pageNumber;
        search();
        break;
    default:
        break;
    }
}

void MagnetSearch::search()
{
    SourceRequest request;
    request.keyword = m_keywordBox ? m_keywordBox->text() : QString();
    request.page = QString::number(m_pageNumber);
    const int channel = m_channelChoice ? m_channelChoice->currentIndex() : 0;
    if (channel != 0 && channel != 1) {
        // No site behind the choice: nothing is asked for.
        if (const QString refusal = m_engines[0]->refusalOf(request); !refusal.isEmpty()) {
            StatusLine::set(refusal);
            return;
        }
        for (MagnetSearchEngine* e : m_engines)
            e->cancel();
        if (ResultList* list = m_bindings[0]->list())
            list->clearRows();
        const QString reason = failedPageText(FetchResult{});
        StatusLine::set(reason);
        emit failed(reason);
        emit searchEnded();
        return;
    }
    // Both channels fill ListView19: a search on one supersedes whatever
    // the other still had going.
    if (const QString refusal = m_engines[channel]->refusalOf(request); !refusal.isEmpty()) {
        StatusLine::set(refusal);
        return;
    }
    m_engines[1 - channel]->cancel();
    m_bindings[channel]->start(request);
}

void MagnetSearch::ended(const SourceOutcome& outcome)
{
    if (outcome.failed()) {
        emit failed(outcome.reason);
        emit searchEnded();
        return;
    }
    // A cut came to its end (the no-result page says why there was none).
    if (outcome.reason.isEmpty())
        enablePaging();
    emit searchEnded();
    if (outcome.reason == magnetNoResultText())
        showInfo(m_form1, magnetNoResultText());
}

void MagnetSearch::enablePaging()
{
    for (QPushButton* b : {m_nextPageButton, m_previousPageButton})
        if (b)
            b->setEnabled(true);
}

MagnetSearch* installMagnetSearch(QWidget* form1)
{
    if (!form1)
        return nullptr;
    if (auto* existing = form1->findChild<MagnetSearch*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new MagnetSearch(form1);
}

} // namespace lumorra
