#include "pages/everywhere/search_all_window.h"

#include "core/usage_agreement.h"
#include "lists/row_actions.h"
#include "net/address_check.h"
#include "pages/everywhere/merged_results_model.h"
#include "pages/everywhere/row_resolve.h"
#include "pages/everywhere/source_runs_model.h"
#include "sources/everywhere/search_everywhere.h"
#include "sources/source_table.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace lumorra {

namespace {

QTableView* plainTable(const QString& name, QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideRight);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Thousands of rows: every row as high as the font, never measured.
    QHeaderView* rows = view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

void setWidths(QTableView* view, std::initializer_list<int> widths)
{
    int column = 0;
    for (int w : widths) {
        if (w > 0)
            view->setColumnWidth(column, w);
        ++column;
    }
}

} // namespace

SearchAllWindow::SearchAllWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("searchAllWindow"));
    // The skins give the window its background, as they give the dialogs theirs.
    setAttribute(Qt::WA_StyledBackground);
    setWindowTitle(QStringLiteral("全部搜索"));

    m_search = new SearchEverywhere(this);
    m_results = new MergedResultsModel(m_search, this);
    m_sources = new SourceRunsModel(m_search, this);
    m_resolve = new RowResolve(this);

    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_results);
    m_sorted->setSortRole(MergedResultsModel::kSortRole);
    m_sorted->setSortLocaleAware(true);

    // --- keyword row ---
    m_keywordBox = new QLineEdit(this);
    m_keywordBox->setObjectName(QStringLiteral("searchAllKeyword"));
    m_keywordBox->setPlaceholderText(QStringLiteral("一次搜索全部站点"));
    m_keywordBox->setClearButtonEnabled(true);
    auto* again = new QPushButton(QStringLiteral("搜索"), this);
    again->setObjectName(QStringLiteral("searchAllAgain"));
    again->setMinimumWidth(84);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("searchAllStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(new QLabel(QStringLiteral("关键字："), this));
    top->addWidget(m_keywordBox);
    top->addWidget(again);
    top->addSpacing(12);
    top->addWidget(m_status, 1);
    connect(m_keywordBox, &QLineEdit::returnPressed, this, [this] { search(m_keywordBox->text()); });
    connect(again, &QPushButton::clicked, this, [this] { search(m_keywordBox->text()); });

    // --- the merged rows ---
    m_resultsView = plainTable(QStringLiteral("searchAllResults"), this);
    m_resultsView->setModel(m_sorted);
    // No column is sorted until the user picks one: rows stay as they came.
    m_resultsView->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_resultsView->setSortingEnabled(true);
    m_resultsView->setContextMenuPolicy(Qt::CustomContextMenu);
    // The name takes what the other columns leave.
    setWidths(m_resultsView, {56, 0, 80, 100, 220, 170, 130});
    m_resultsView->horizontalHeader()->setStretchLastSection(false);
    m_resultsView->horizontalHeader()->setSectionResizeMode(MergedResultsModel::Name, QHeaderView::Stretch);
    connect(m_resultsView, &QWidget::customContextMenuRequested, this, &SearchAllWindow::showMenu);

    // --- one line per source ---
    m_sourcesView = plainTable(QStringLiteral("searchAllSources"), this);
    m_sourcesView->setModel(m_sources);
    setWidths(m_sourcesView, {330, 70, 70, 70});

    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    split->addWidget(m_resultsView);
    split->addWidget(m_sourcesView);
    split->setStretchFactor(0, 1);
    // Room for the lines of the keyword sources, the rows take the rest.
    split->setSizes({460, 230});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addLayout(top);
    layout->addWidget(split, 1);

    buildMenu();

    connect(m_search, &SearchEverywhere::started, this, [this] {
        // The rows of the last search go: so does a resolve of one of them.
        m_resolve->cancel();
        updateStatus();
    });
    connect(m_search, &SearchEverywhere::rowsAdded, this, &SearchAllWindow::updateStatus);
    connect(m_search, &SearchEverywhere::sourceChanged, this, &SearchAllWindow::updateStatus);
    connect(m_search, &SearchEverywhere::finished, this, &SearchAllWindow::updateStatus);
    connect(m_resolve, &RowResolve::resolved, this, [this](int row, const QString& link) {
        m_results->setResolvedLink(row, link);
        copyText(link);
        say(QStringLiteral("链接已解析并复制：") + link);
    });
    connect(m_resolve, &RowResolve::failed, this,
        [this](int, const QString& reason) { say(QStringLiteral("解析失败：") + reason); });

    resize(1040, 760);
}

SearchAllWindow::~SearchAllWindow() = default;

void SearchAllWindow::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("searchAllMenu"));
    struct Item {
        const char* name;
        const char* caption;
        void (SearchAllWindow::*handler)();
    };
    static const Item items[] = {
        {"copyName", "复制名称", &SearchAllWindow::copyName},
        {"copyLink", "复制链接", &SearchAllWindow::copyLink},
        {"openDetail", "打开详情页", &SearchAllWindow::openDetail},
        {"resolveRow", "解析链接", &SearchAllWindow::resolveRow},
        {"playRow", "播放", &SearchAllWindow::playRow},
    };
    for (const Item& item : items) {
        QAction* action = m_menu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, this, item.handler);
        if (item.handler == &SearchAllWindow::playRow)
            m_playAction = action;
    }
}

void SearchAllWindow::showMenu(const QPoint& pos)
{
    // Play is offered for the links the player plays; without a row the
    // item stays, so that choosing it says what is missing.
    const QModelIndex current = m_resultsView->selectionModel()->currentIndex();
    const bool selected = m_resultsView->selectionModel()->hasSelection() && current.isValid();
    m_playAction->setEnabled(!selected || playable(m_sorted->mapToSource(current).row()));
    m_menu->popup(m_resultsView->viewport()->mapToGlobal(pos));
}

void SearchAllWindow::search(const QString& keyword)
{
    if (m_keywordBox->text() != keyword)
        m_keywordBox->setText(keyword);
    if (const QString refusal = SearchEverywhere::refusalOf(keyword); !refusal.isEmpty()) {
        say(refusal);
        return;
    }
    m_search->start(keyword, SearchEverywhere::keywordSources(agreementAccepted()));
}

QString SearchAllWindow::searchingText(const QString& keyword, int ended, int sources, int rows)
{
    return QStringLiteral("正在搜索[%1]：%2/%3 个站点已完成，共找到 %4 条资源..")
        .arg(keyword)
        .arg(ended)
        .arg(sources)
        .arg(rows);
}

QString SearchAllWindow::finishedText(int rows, int failedSources)
{
    return QStringLiteral("搜索完毕：共找到 %1 条资源，%2 个站点失败").arg(rows).arg(failedSources);
}

void SearchAllWindow::updateStatus()
{
    const int rows = m_search->results().size();
    const int failed = m_search->countIn(SourceRun::State::Failed);
    if (m_search->isRunning()) {
        const int sources = int(m_search->sourceRuns().size());
        const int ended = sources - m_search->countIn(SourceRun::State::Searching);
        say(searchingText(m_search->keyword(), ended, sources, rows));
    } else {
        say(finishedText(rows, failed));
    }
}

void SearchAllWindow::say(const QString& text)
{
    m_status->setText(text);
    m_status->setToolTip(text);
}

int SearchAllWindow::guardedRow()
{
    const QModelIndexList selected = m_resultsView->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        say(selectionGuardText());
        return -1;
    }
    return m_sorted->mapToSource(selected.first()).row();
}

bool SearchAllWindow::playable(int row) const
{
    return row >= 0 && isAllowedAddress(m_results->link(row), AddressUse::Play);
}

void SearchAllWindow::copyName()
{
    const int row = guardedRow();
    if (row < 0)
        return;
    copyText(m_results->mergedRow(row).resource.name);
    say(QStringLiteral("名称已复制.."));
}

void SearchAllWindow::copyLink()
{
    const int row = guardedRow();
    if (row < 0)
        return;
    const QString link = m_results->link(row);
    if (link.isEmpty()) {
        say(QStringLiteral("该资源没有链接"));
        return;
    }
    copyText(link);
    say(QStringLiteral("链接已复制.."));
}

void SearchAllWindow::openDetail()
{
    const int row = guardedRow();
    if (row < 0)
        return;
    const QString detail = m_results->mergedRow(row).resource.detail;
    if (detail.isEmpty())
        say(RowResolve::noDetailText());
    else if (!openPageAddress(detail))
        say(refusedAddressText(detail));
    else
        say(QStringLiteral("正在打开详情页.."));
}

void SearchAllWindow::resolveRow()
{
    const int row = guardedRow();
    if (row < 0)
        return;
    QString refusal;
    if (m_resolve->start(m_results->mergedRow(row), row, &refusal))
        say(QStringLiteral("正在解析详情页.."));
    else
        say(refusal);
}

void SearchAllWindow::playRow()
{
    const int row = guardedRow();
    if (row < 0)
        return;
    if (!playable(row)) {
        say(QStringLiteral("该链接不能直接播放"));
        return;
    }
    say(QStringLiteral("正在播放：") + m_results->link(row));
    emit playRequested(m_results->link(row));
}

void SearchAllWindow::closeEvent(QCloseEvent* event)
{
    // Nobody watches a closed window: its sites need not be asked further.
    m_search->cancel();
    m_resolve->cancel();
    QWidget::closeEvent(event);
}

} // namespace lumorra
