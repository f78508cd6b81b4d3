#include "pages/video/qvod_search_source.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "pages/engine_binding.h"
#include "pages/page_widgets.h"
#include "pages/video/poster.h"
#include "sources/source_table.h"
#include "sources/video/video_engines.h"
#include "sources/video/video_texts.h"
#include "ui/load_picture.h"
#include "ui/message_box.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace lumorra {

QvodSearchSource::QvodSearchSource(QWidget* form1, QObject* parent) : QObject(parent), m_form1(form1)
{
    setObjectName(QStringLiteral("QvodSearchSource"));
    m_resultList = findResultList(form1, QStringLiteral("ListView14"));
    m_keywordBox = form1->findChild<QLineEdit*>(QStringLiteral("Text15"));
    m_poster = form1->findChild<QLabel*>(QStringLiteral("Image3"));
    m_searchButton = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Command53"), 10));

    const Pacing pacing = windowPacing(form1);
    m_category = qobject_cast<QvodCategoryEngine*>(
        findSourceEntry(SourceVerb::List, QStringLiteral("qvod-category"))->createEngine(pacing, this));
    m_search = qobject_cast<QvodSearchEngine*>(
        findSourceEntry(SourceVerb::Search, QStringLiteral("qvod"))->createEngine(pacing, this));
    m_detail = qobject_cast<QvodResolveEngine*>(
        findSourceEntry(SourceVerb::Resolve, QStringLiteral("qvod"))->createEngine(pacing, this));

    // The category buttons stay enabled; the search holds its button.
    m_categoryBinding = new EngineBinding(m_category, nullptr, m_resultList, this);
    m_searchBinding = new EngineBinding(m_search, m_searchButton, m_resultList, this);
    connect(m_categoryBinding, &EngineBinding::ended, this, &QvodSearchSource::categoryEnded);
    connect(m_searchBinding, &EngineBinding::ended, this, &QvodSearchSource::searchFinished);
    connect(m_detail, &SourceEngine::status, this, [](const QString& text) { StatusLine::set(text); });
    connect(m_detail, &SourceEngine::finished, this, &QvodSearchSource::detailEnded);
    if (m_resultList)
        connect(m_resultList, &ResultList::listDoubleClicked, this, &QvodSearchSource::ListView14_DblClick);
}

qint16 QvodSearchSource::categoryHits() const
{
    return m_category->pending();
}

int QvodSearchSource::pagesLeft() const
{
    return m_search->pagesLeft();
}

bool QvodSearchSource::isSearching() const
{
    return m_search->isRunning();
}

void QvodSearchSource::fetchCategory()
{
    // The list shows the latest request: a keyword search still collecting
    // its pages is dropped, and it has ended.
    if (m_search->isRunning()) {
        m_search->cancel();
        if (m_searchButton)
            m_searchButton->setEnabled(true);
        emit searchEnded();
    }
    SourceRequest request;
    request.page = QString::number(m_pageNumber);
    m_categoryBinding->start(request);
}

void QvodSearchSource::categoryEnded(const SourceOutcome& outcome)
{
    if (outcome.failed())
        emit failed(outcome.reason);
    emit listingLoaded();
}

void QvodSearchSource::keywordSearch()
{
    SourceRequest request;
    request.keyword = m_keywordBox ? m_keywordBox->text() : QString();
    if (!m_search->refusalOf(request).isEmpty()) {
        m_searchBinding->start(request);   // says why, changes nothing else
        return;
    }
    // A new search replaces a running one and any category listing.
    m_category->cancel();
    m_searchBinding->start(request);
}

void QvodSearchSource::searchFinished(const SourceOutcome& outcome)
{
    if (outcome.failed())
        emit failed(outcome.reason);
    else if (m_search->missedPages() > 0)
        // The list is short of the missed pages' rows: the user has to be told.
        emit failed(StatusLine::text());
    emit searchEnded();
}

void QvodSearchSource::ListView14_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_resultList);
    if (!row)
        return;
    ++m_detailRun;
    SourceRequest request;
    request.address = m_resultList->cell(row, QStringLiteral("dz"));
    m_detail->start(request);
}

void QvodSearchSource::detailEnded(const SourceOutcome& outcome)
{
    // A newer double click has the boxes now.
    if (outcome.kind == SourceOutcome::Kind::Superseded || outcome.kind == SourceOutcome::Kind::Cancelled)
        return;
    if (outcome.failed()) {
        emit failed(outcome.reason);
        emit detailResolved();
        return;
    }
    const QvodSearchDetail& detail = m_detail->searchDetail();
    if (!outcome.hasRows()) {
        showInfo(m_form1->window(), videoResourceGoneText());
        emit detailResolved();
        return;
    }
    LoadPicture(detail.posterUrl, this, [this, run = m_detailRun](const QImage& picture) {
        if (run == m_detailRun)
            showPosterImage(m_poster, picture);
    });
    m_currentQvodAddress = detail.address;
    emit detailResolved();
}

} // namespace lumorra
