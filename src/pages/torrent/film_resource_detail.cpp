#include "pages/torrent/film_resource_detail.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "pages/engine_binding.h"
#include "sources/source_table.h"
#include "sources/video/video_engines.h"
#include "sources/video/video_texts.h"

#include <QListWidget>
#include <QWidget>

namespace lumorra {

namespace {
// The detail address of a ListView13 row ("影视地址").
constexpr int kDetailCell = 4;
}

QString FilmResourceDetail::doneText()
{
    return filmResourceLinksDoneText();
}

QString FilmResourceDetail::failureText(FetchError error)
{
    return filmResourceLinksFailedText(error);
}

QString FilmResourceDetail::failureText(const FetchResult& result)
{
    return filmResourceLinksFailedText(result);
}

FilmResourceDetail::FilmResourceDetail(QWidget* form1) : QObject(form1)
{
    setObjectName(QStringLiteral("FilmResourceDetail"));
    m_resultList = findResultList(form1, QStringLiteral("ListView13"));
    m_linkList = form1->findChild<QListWidget*>(QStringLiteral("List2"));
    m_links = qobject_cast<QvodResolveEngine*>(
        findSourceEntry(SourceVerb::Resolve, QStringLiteral("qvod"))->createEngine(windowPacing(form1), this));
    connect(m_links, &SourceEngine::status, this, [](const QString& text) { StatusLine::set(text); });
    connect(m_links, &SourceEngine::rows, this, [this](const QList<ListRow>& rows) {
        if (!m_linkList)
            return;
        for (const ListRow& row : rows)
            m_linkList->addItem(row.cell(QStringLiteral("dz")));
    });
    connect(m_links, &SourceEngine::finished, this, &FilmResourceDetail::ended);
    if (m_resultList)
        connect(m_resultList, &ResultList::listDoubleClicked, this, &FilmResourceDetail::ListView13_DblClick);
}

qint16 FilmResourceDetail::qvodLinkHits() const
{
    return m_links->qvodLinkHits();
}

void FilmResourceDetail::ListView13_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_resultList);
    if (!row)
        return;
    if (m_linkList)
        m_linkList->clear();
    SourceRequest request;
    request.address = m_resultList->cellAt(row, kDetailCell);
    m_links->start(request);
}

void FilmResourceDetail::ended(const SourceOutcome& outcome)
{
    if (outcome.kind == SourceOutcome::Kind::Superseded || outcome.kind == SourceOutcome::Kind::Cancelled)
        return;
    // Also when the page holds no link: the step has ended and List2 says
    // what it found.
    emit resolved(!outcome.failed());
}

FilmResourceDetail* installFilmResourceDetail(QWidget* form1)
{
    if (!form1)
        return nullptr;
    if (auto* existing = form1->findChild<FilmResourceDetail*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new FilmResourceDetail(form1);
}

} // namespace lumorra
