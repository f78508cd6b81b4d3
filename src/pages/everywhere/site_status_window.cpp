#include "pages/everywhere/site_status_window.h"

#include "core/usage_agreement.h"
#include "pages/everywhere/site_check_model.h"
#include "pages/everywhere/source_history_model.h"
#include "sources/definitions/site_definitions.h"
#include "sources/everywhere/site_check.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace lumorra {

namespace {

QTableView* statusTable(
    const QString& name, QAbstractItemModel* model, std::initializer_list<int> widths, QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setHighlightSections(false);
    int column = 0;
    for (int w : widths)
        view->setColumnWidth(column++, w);
    return view;
}

QGroupBox* framed(const QString& caption, QWidget* content, QWidget* parent)
{
    auto* box = new QGroupBox(caption, parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(content);
    content->setParent(box);
    return box;
}

} // namespace

SiteStatusWindow::SiteStatusWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("siteStatusWindow"));
    // The skins give the window its background, as they give the dialogs theirs.
    setAttribute(Qt::WA_StyledBackground);
    setWindowTitle(QStringLiteral("站点状态"));

    m_check = new SiteCheck(this);
    auto* checkModel = new SiteCheckModel(m_check, this);
    auto* historyModel = new SourceHistoryModel(this);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("siteStatusSummary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_recheckButton = new QPushButton(QStringLiteral("重新检查"), this);
    m_recheckButton->setObjectName(QStringLiteral("recheckButton"));
    m_recheckButton->setMinimumWidth(96);
    connect(m_recheckButton, &QPushButton::clicked, this, &SiteStatusWindow::recheck);
    auto* top = new QHBoxLayout;
    top->addWidget(m_summary, 1);
    top->addWidget(m_recheckButton);

    QTableView* sites
        = statusTable(QStringLiteral("siteCheckTable"), checkModel, {140, 250, 64, 64, 64}, this);
    QTableView* sources
        = statusTable(QStringLiteral("sourceHistoryTable"), historyModel, {330, 64, 64, 64, 72}, this);

    // Definition files of the user's folder that were refused: the site
    // runs on its shipped definition, and the user should know why a fix
    // did not take.
    auto* definitions = new QLabel(this);
    definitions->setObjectName(QStringLiteral("siteDefinitionProblems"));
    definitions->setTextFormat(Qt::PlainText);
    definitions->setWordWrap(true);
    definitions->setStyleSheet(QStringLiteral("color: #c0392b;"));
    QStringList problems;
    for (const DefinitionProblem& p : SiteDefinitions::current().problems())
        problems << p.text();
    definitions->setText(QStringLiteral("以下站点定义文件有误，已改用内置定义：\n") + problems.join(u'\n'));
    definitions->setVisible(!problems.isEmpty());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addLayout(top);
    layout->addWidget(definitions);
    layout->addWidget(framed(QStringLiteral("各站点"), sites, this), 1);
    layout->addWidget(framed(QStringLiteral("各来源最近一次的结果"), sources, this), 1);

    connect(m_check, &SiteCheck::started, this, &SiteStatusWindow::updateSummary);
    connect(m_check, &SiteCheck::lineChanged, this, &SiteStatusWindow::updateSummary);
    connect(m_check, &SiteCheck::finished, this, &SiteStatusWindow::updateSummary);

    resize(900, 680);
}

void SiteStatusWindow::recheck()
{
    m_check->start(agreementAccepted());
}

QString SiteStatusWindow::checkingText()
{
    return QStringLiteral("正在检查全部站点..");
}

QString SiteStatusWindow::checkedText(int answered, int failed)
{
    return QStringLiteral("检查完毕：%1 个站点正常，%2 个站点失败").arg(answered).arg(failed);
}

void SiteStatusWindow::updateSummary()
{
    m_recheckButton->setEnabled(!m_check->isRunning());
    if (m_check->isRunning()) {
        m_summary->setText(checkingText());
        return;
    }
    int answered = 0;
    int failed = 0;
    for (const SiteCheckLine& line : m_check->lines()) {
        answered += line.state == SiteCheckLine::State::Answered;
        failed += line.state == SiteCheckLine::State::Failed;
    }
    m_summary->setText(checkedText(answered, failed));
}

SiteStatusWindow* showSiteStatusWindow(QWidget* owner)
{
    auto* window
        = owner ? owner->findChild<SiteStatusWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window)
        window = new SiteStatusWindow(owner);
    if (!window->isVisible())
        window->recheck();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace lumorra
