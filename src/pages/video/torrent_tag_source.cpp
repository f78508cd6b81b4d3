#include "pages/video/torrent_tag_source.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "pages/engine_binding.h"
#include "pages/page_widgets.h"
#include "pages/video/list_top.h"
#include "sources/source_table.h"
#include "sources/video/video_engines.h"
#include "sources/video/video_texts.h"
#include "ui/message_box.h"

#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace lumorra {

TorrentTagSource::TorrentTagSource(QWidget* form1, QObject* parent) : QObject(parent), m_form1(form1)
{
    setObjectName(QStringLiteral("TorrentTagSource"));
    m_resultList = findResultList(form1, QStringLiteral("ListView20"));
    m_keywordBox = form1->findChild<QLineEdit*>(QStringLiteral("Text22"));
    m_infoHash = form1->findChild<QLineEdit*>(pageui::arrayName(QStringLiteral("Text23"), 0));
    m_magnet = form1->findChild<QLineEdit*>(pageui::arrayName(QStringLiteral("Text23"), 1));

    // Timer8 found once: every search's engine cuts on it.
    QPointer<QTimer> timer8 = form1->findChild<QTimer*>(QStringLiteral("Timer8"));
    m_searchPacing = Pacing::window([timer8](const QString& name) -> QTimer* {
        return name == QLatin1String("Timer8") ? timer8.data() : nullptr;
    });
    m_idleSearch = newSearch();
    m_detail = qobject_cast<TorrentTagResolveEngine*>(
        findSourceEntry(SourceVerb::Resolve, QStringLiteral("tag"))->createEngine(windowPacing(form1), this));
    connect(m_detail, &SourceEngine::status, this, [](const QString& text) { StatusLine::set(text); });
    connect(m_detail, &SourceEngine::rows, this, [this](const QList<ListRow>& rows) {
        if (rows.isEmpty())
            return;
        if (m_infoHash)
            m_infoHash->setText(rows.first().cell(QStringLiteral("tzm")));
        if (m_magnet)
            m_magnet->setText(rows.first().cell(QStringLiteral("dz")));
    });
    connect(m_detail, &SourceEngine::finished, this, &TorrentTagSource::detailEnded);
    if (m_resultList)
        connect(m_resultList, &ResultList::listDoubleClicked, this, &TorrentTagSource::ListView20_DblClick);
}

TorrentTagEngine* TorrentTagSource::newSearch()
{
    auto* engine = qobject_cast<TorrentTagEngine*>(
        findSourceEntry(SourceVerb::Search, QStringLiteral("tag"))->createEngine(m_searchPacing, this));
    connect(engine, &SourceEngine::status, this, [](const QString& text) { StatusLine::set(text); });
    // Each search's rows go on top of what the list holds, the list is
    // never cleared.
    connect(engine, &SourceEngine::rows, this, [this](const QList<ListRow>& rows) {
        if (m_resultList)
            addRowsAtTop(m_resultList, rows);
    });
    connect(engine, &SourceEngine::finished, this, &TorrentTagSource::searchFinished);
    return engine;
}

qint16 TorrentTagSource::pendingHits() const
{
    int hits = 0;
    for (const QPointer<TorrentTagEngine>& search : m_searches)
        if (search)
            hits += search->pending();
    return qint16(qMin(hits, 32767));
}

void TorrentTagSource::search()
{
    SourceRequest request;
    request.keyword = m_keywordBox ? m_keywordBox->text() : QString();
    if (const QString refusal = m_idleSearch->refusalOf(request); !refusal.isEmpty()) {
        StatusLine::set(refusal);
        return;
    }
    TorrentTagEngine* engine = std::exchange(m_idleSearch, newSearch());
    m_searches << engine;
    engine->start(request);
}

void TorrentTagSource::searchFinished(const SourceOutcome& outcome)
{
    if (auto* engine = qobject_cast<TorrentTagEngine*>(sender())) {
        m_searches.removeAll(engine);
        engine->deleteLater();
    }
    if (outcome.kind == SourceOutcome::Kind::Superseded || outcome.kind == SourceOutcome::Kind::Cancelled)
        return;
    // No page, or one without a torrent, is the same to the user: nothing
    // was found (the status says why no page came, when none did).
    if (outcome.failed())
        emit failed(outcome.reason);
    if (!outcome.hasRows())
        showInfo(m_form1->window(), QStringLiteral("抱歉!未找到任何资源!"));
    emit searchEnded();
}

void TorrentTagSource::ListView20_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_resultList);
    if (!row)
        return;
    SourceRequest request;
    request.address = m_resultList->cell(row, QStringLiteral("dz"));
    m_detail->start(request);
}

void TorrentTagSource::detailEnded(const SourceOutcome& outcome)
{
    if (outcome.kind == SourceOutcome::Kind::Superseded || outcome.kind == SourceOutcome::Kind::Cancelled)
        return;
    if (outcome.failed()) {
        emit failed(outcome.reason);
    } else if (!outcome.hasRows()) {
        showInfo(m_form1->window(), videoResourceGoneText());
    }
    emit detailResolved();
}

} // namespace lumorra
