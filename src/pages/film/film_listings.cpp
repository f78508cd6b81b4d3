#include "pages/film/film_listings.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "pages/engine_binding.h"
#include "pages/page_widgets.h"
#include "sources/source_table.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QPointer>
#include <QWidget>

#include <utility>

namespace lumorra {

namespace {

const char kInstanceName[] = "FilmListings";

// The table rows of the six categories, in button order.
const char* const kListingIds[kFilmCategoryCount] = {"films-latest",     "films-chinese",        "films-western",
                                                      "films-chinese-tv", "films-japan-korea-tv", "films-anime"};

} // namespace

FilmListings::FilmListings(QWidget* form1) : QObject(form1)
{
    setObjectName(QString::fromLatin1(kInstanceName));
    m_filmList = findResultList(form1, QStringLiteral("ListView5"));
    m_linkBox = form1->findChild<QListWidget*>(QStringLiteral("List3"));
    const Pacing pacing = windowPacing(form1);

    for (int i = 0; i < kFilmCategoryCount; ++i) {
        SourceEngine* engine =
            findSourceEntry(SourceVerb::List, QLatin1String(kListingIds[i]))->createEngine(pacing, this);
        m_listings[size_t(i)] = engine;
        // The list is replaced only when a page came, so the binding has
        // none: the rows are held until the end.
        auto* binding = new EngineBinding(engine, nullptr, nullptr, this);
        m_listingBindings[size_t(i)] = binding;
        connect(engine, &SourceEngine::rows, this, [this](const QList<ListRow>& rows) { m_listedRows += rows; });
        connect(binding, &EngineBinding::ended, this,
                [this, i](const SourceOutcome& outcome) { listingEnded(i, outcome); });
        if (auto* b = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Command14"), i)))
            connect(b, &QAbstractButton::clicked, this, [this, i] { Command14_Click(i); });
    }

    m_filmLink = findSourceEntry(SourceVerb::Resolve, QStringLiteral("film"))->createEngine(pacing, this);
    auto* linkBinding = new EngineBinding(m_filmLink, nullptr, nullptr, this);
    connect(m_filmLink, &SourceEngine::rows, this, [this](const QList<ListRow>& rows) {
        if (!rows.isEmpty())
            m_resolvedLink = rows.first().cell(QStringLiteral("dz"));
    });
    connect(linkBinding, &EngineBinding::ended, this, &FilmListings::filmLinkDone);

    if (m_filmList)
        connect(m_filmList, &ResultList::listDoubleClicked, this, &FilmListings::ListView5_DblClick);
    const QPointer<FilmListings> self(this);
    bindRowAction(form1, QString::fromLatin1(kParseFilmItem), [self] {
        if (self)
            self->jxyszz_Click();
    });
}

FilmListings* FilmListings::of(QWidget* form1)
{
    return form1 ? form1->findChild<FilmListings*>(QString::fromLatin1(kInstanceName), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

SourceEngine* FilmListings::listingEngine(int index) const
{
    return index >= 0 && index < kFilmCategoryCount ? m_listings[size_t(index)] : nullptr;
}

void FilmListings::Command14_Click(int index)
{
    if (index < 0 || index >= kFilmCategoryCount)
        return;
    // The listing shows the latest category clicked: one still loading
    // never reaches the list.
    for (SourceEngine* engine : m_listings)
        engine->cancel();
    m_listedRows.clear();
    SourceRequest request;
    request.variant = index;
    m_listingBindings[size_t(index)]->start(request);
}

void FilmListings::listingEnded(int index, const SourceOutcome& outcome)
{
    const QList<ListRow> rows = std::exchange(m_listedRows, {});
    if (outcome.failed()) {
        // Nothing came back: the rows of the last listing stay.
        emit failed(outcome.reason);
    } else if (m_filmList) {
        m_filmList->clearRows();
        for (const ListRow& row : rows)
            m_filmList->addRow(row);
    }
    emit listingLoaded(index);
}

void FilmListings::ListView5_DblClick()
{
    resolveFilmLink(true);
}

void FilmListings::jxyszz_Click()
{
    resolveFilmLink(false);
}

void FilmListings::resolveFilmLink(bool replaceLinks)
{
    QTreeWidgetItem* row = guardedSelection(m_filmList);
    if (!row)
        return;
    m_replaceLinks = replaceLinks;
    m_resolvedLink.clear();
    SourceRequest request;
    request.address = m_filmList->cellAt(row, 2);
    m_filmLink->start(request);
}

void FilmListings::filmLinkDone(const SourceOutcome& outcome)
{
    if (!outcome.hasRows()) {
        // The engine has put the reason on the status line.
        emit failed(outcome.reason);
        emit filmLinkEnded(false);
        return;
    }
    if (m_linkBox) {
        if (m_replaceLinks)
            m_linkBox->clear();
        m_linkBox->addItem(m_resolvedLink);
    }
    emit filmLinkEnded(true);
}

void installFilmListings(QWidget* form1)
{
    if (!form1 || FilmListings::of(form1))
        return;
    new FilmListings(form1);
}

} // namespace lumorra
