#include "pages/torrent/torrent_search.h"

#include "lists/row_actions.h"
#include "pages/engine_binding.h"
#include "pages/page_widgets.h"
#include "pages/torrent/film_resource_page.h"
#include "sources/source_table.h"
#include "sources/torrent/torrent_search_engines.h"
#include "ui/message_box.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace lumorra {

TorrentSearches::TorrentSearches(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QStringLiteral("TorrentSearches"));
    const Pacing pacing = windowPacing(form1);
    auto engineOf = [&](const char* id) {
        return findSourceEntry(SourceVerb::Search, QLatin1String(id))->createEngine(pacing, this);
    };
    m_torrentIndex = qobject_cast<TorrentIndexEngine*>(engineOf("torrent"));
    m_torrentRss = qobject_cast<TorrentRssEngine*>(engineOf("rss"));
    m_filmResource = qobject_cast<FilmResourceEngine*>(engineOf("film"));

    SourceEngine* engines[3] = {m_torrentIndex, m_torrentRss, m_filmResource};
    const char* lists[3] = {"ListView2", "ListView4", "ListView13"};
    const char* keywordBoxes[3] = {"Text2", "Text8", "Text13"};
    const char* pageBoxes[3] = {"Text4", nullptr, "Text14"};
    for (int i = 0; i < 3; ++i) {
        auto* button = form1->findChild<QPushButton*>(pageui::arrayName(QStringLiteral("Command2"), i));
        m_bindings[i] = new EngineBinding(engines[i], button,
                                          findResultList(form1, QLatin1String(lists[i])), this);
        m_keywordBoxes[i] = form1->findChild<QLineEdit*>(QLatin1String(keywordBoxes[i]));
        if (pageBoxes[i])
            m_pageBoxes[i] = form1->findChild<QLineEdit*>(QLatin1String(pageBoxes[i]));
        if (button)
            connect(button, &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
        connect(m_bindings[i], &EngineBinding::ended, this,
                [this, i](const SourceOutcome& outcome) { ended(i, outcome); });
    }
    // The counted searches give their button back when their rows are cut.
    m_bindings[0]->setReleaseOnRows(true);
    m_bindings[0]->setHoldPainting(true);
    m_bindings[1]->setReleaseOnRows(true);
    connect(m_torrentIndex->steps(), &CountThenCut::hitsCounted, this, [this] { emit pageCounted(0); });
    connect(m_torrentRss->steps(), &CountThenCut::hitsCounted, this, [this] { emit pageCounted(1); });
}

bool TorrentSearches::isSearching(int index) const
{
    const SourceEngine* e = engine(index);
    return e && e->isRunning();
}

SourceEngine* TorrentSearches::engine(int index) const
{
    return index >= 0 && index < 3 ? m_bindings[index]->engine() : nullptr;
}

qint16 TorrentSearches::torrentIndexHits() const
{
    return m_torrentIndex->steps()->pending();
}

qint16 TorrentSearches::torrentRssHits() const
{
    return m_torrentRss->steps()->pending();
}

void TorrentSearches::Command2_Click(int index)
{
    if (index < 0 || index >= 3)
        return;
    SourceRequest request;
    if (m_keywordBoxes[index])
        request.keyword = m_keywordBoxes[index]->text();
    // The film box's hint is no keyword.
    if (index == 2 && request.keyword == FilmResourcePage::keywordHint())
        request.keyword.clear();
    if (m_pageBoxes[index])
        request.page = m_pageBoxes[index]->text();
    m_bindings[index]->start(request);
}

void TorrentSearches::ended(int index, const SourceOutcome& outcome)
{
    if (outcome.failed()) {
        emit searchEnded(index);
        emit failed(index, outcome.reason);
        return;
    }
    emit searchEnded(index);
    if (outcome.kind != SourceOutcome::Kind::NoRows)
        return;
    if (index == 1)
        showInfo(m_form1, QStringLiteral("未找到相关资源!"));
    else if (index == 2 && !outcome.reason.isEmpty())
        showInfo(m_form1, QStringLiteral("没有找到相关影片资源"));
}

TorrentSearches* installTorrentSearches(QWidget* form1)
{
    if (!form1)
        return nullptr;
    if (auto* existing = form1->findChild<TorrentSearches*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new TorrentSearches(form1);
}

} // namespace lumorra
