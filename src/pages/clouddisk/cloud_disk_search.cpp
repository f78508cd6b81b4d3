#include "pages/clouddisk/cloud_disk_search.h"

#include "ui/message_box.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "net/url_encoding.h"
#include "core/program_dir.h"
#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/clouddisk/cloud_disk_parse.h"
#include "sources/clouddisk/cloud_disk_query.h"
#include "pages/page_widgets.h"
#include "lists/list_export.h"
#include "text/memory_release.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHelpEvent>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QToolTip>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace lumorra {

namespace {
const char kObjectName[] = "CloudDiskSearch";

// Where a group box draws its caption, as its style lays it out.
QRect captionRect(const QGroupBox* box)
{
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable())
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    option.lineWidth = 1;
    option.midLineWidth = 0;
    if (box->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    QRect rect = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    if (box->isCheckable())
        rect |= box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, box);
    return rect;
}
} // namespace

CloudDiskSearch::CloudDiskSearch(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QString::fromLatin1(kObjectName));
    m_text1 = form1->findChild<QLineEdit*>(QStringLiteral("Text1"));
    m_text3 = form1->findChild<QLineEdit*>(QStringLiteral("Text3"));
    m_command1 = form1->findChild<QPushButton*>(QStringLiteral("Command1"));
    for (int i = 0; i < kServiceCount; ++i)
        m_check2[i] = form1->findChild<QCheckBox*>(pageui::arrayName(QStringLiteral("Check2"), i));
    m_listView1 = findResultList(form1, QStringLiteral("ListView1"));
    m_frame5 = form1->findChild<QGroupBox*>(QStringLiteral("Frame5"));
    m_timer17 = form1->findChild<QTimer*>(QStringLiteral("Timer17"));
    m_timer18 = form1->findChild<QTimer*>(QStringLiteral("Timer18"));

    if (m_text1) {
        connect(m_text1, &QLineEdit::textChanged, this, &CloudDiskSearch::Text1_Change);
        Text1_Change();
    }
    if (m_command1)
        connect(m_command1, &QPushButton::clicked, this, &CloudDiskSearch::Command1_Click);
    if (m_timer17)
        connect(m_timer17, &QTimer::timeout, this, &CloudDiskSearch::Timer17_Timer);
    if (m_timer18)
        connect(m_timer18, &QTimer::timeout, this, &CloudDiskSearch::Timer18_Timer);
    if (m_frame5)
        m_frame5->installEventFilter(this);

    QPointer<CloudDiskSearch> self(this);
    bindRowAction(form1, QStringLiteral("dcsj"), [self] {
        if (self)
            self->dcsj_Click();
    });
    m_releaseHook = addReleaseHook([this] { rearmTimers(); });
}

CloudDiskSearch::~CloudDiskSearch()
{
    removeReleaseHook(m_releaseHook);
}

void CloudDiskSearch::Text1_Change()
{
    // The structure-safe encoder: "C#" or "a&b" must stay one keyword.
    m_encodedKeyword = m_text1 ? encodeKeyword(m_text1->text()) : QString();
}

void CloudDiskSearch::Command1_Click()
{
    bool anyTicked = false;
    for (QCheckBox* box : m_check2)
        anyTicked = anyTicked || (box && box->isChecked());

    const QString keyword = m_text1 ? m_text1->text() : QString();
    const QString problem = clouddisk::inputProblem(keyword, anyTicked);
    if (!problem.isEmpty()) {
        StatusLine::set(problem);
        return;
    }

    dropRunningSearch();
    if (m_listView1)
        m_listView1->clearRows();
    if (m_command1)
        m_command1->setEnabled(false);
    StatusLine::set(clouddisk::searchingText(keyword));

    m_searching = true;
    m_answered = 0;
    m_failed = 0;
    m_failure.clear();
    const QString base = SiteConfig::current().base(QString::fromLatin1(role::CloudDiskSearch));
    const QString page = m_text3 ? m_text3->text() : QStringLiteral("1");

    // The ticked services are asked together, as many at a time as the
    // engine takes connections; their pages are taken in box order,
    // whatever order they arrive in.
    m_services.clear();
    m_outcomes.clear();
    QStringList urls;
    for (int i = 0; i < kServiceCount; ++i) {
        if (!m_check2[i] || !m_check2[i]->isChecked())
            continue;
        m_services << i;
        clouddisk::ServiceOutcome pending;
        pending.service = i;
        m_outcomes << pending;
        urls << clouddisk::searchUrl(base, clouddisk::serviceHost(i), m_encodedKeyword, page);
    }
    // A page that is in before its turn would be held whole while a slow
    // service before it answers: it is cut at once and only its rows wait.
    m_requests.startCutting<clouddisk::ServiceAnswer>(
        urls, FetchMode::WithIfModifiedSince, this,
        [services = m_services](
            int i, const FetchResult& r) { return clouddisk::cutServiceAnswer(services.value(i, -1), r); },
        [this](int i, clouddisk::ServiceAnswer answer) {
            if (i >= 0 && i < m_outcomes.size())
                m_outcomes[i] = answer.outcome;
            takePage(m_services.value(i, -1), std::move(answer));
        },
        [this] { finishIfDone(); });
}

void CloudDiskSearch::takePage(int serviceIndex, clouddisk::ServiceAnswer answer)
{
    if (!answer.outcome.failure.isEmpty()) {
        // One unreachable service does not end the search; an error page or
        // an empty answer is no result page either.
        ++m_failed;
        m_failure = answer.outcome.failure;
    } else {
        ++m_answered;
        m_serviceName = clouddisk::serviceCaption(serviceIndex);
        hx8(std::move(answer.rows));
    }
    emit pageTaken(serviceIndex);
}

void CloudDiskSearch::hx8(QList<clouddisk::CloudDiskRow> rows)
{
    if (!rows.isEmpty()) {
        m_fetched.append(std::move(rows));
        if (m_timer17 && !m_timer17->isActive())
            m_timer17->start();
    }
    if (m_timer18 && !m_timer18->isActive())
        m_timer18->start();
}

void CloudDiskSearch::Timer17_Timer()
{
    if (m_timer17)
        m_timer17->stop();
    if (m_fetched.isEmpty() || !m_listView1)
        return;

    // Every page that came in since the last tick, in box order: none is
    // lost, however fast the pages arrive.
    const QList<QList<clouddisk::CloudDiskRow>> pages = std::exchange(m_fetched, {});
    m_listView1->setUpdatesEnabled(false);
    for (const QList<clouddisk::CloudDiskRow>& rows : pages) {
        for (const clouddisk::CloudDiskRow& row : rows) {
            m_listView1->addRow(clouddisk::listRow(row));
            m_diskKind = row.kind;
        }
    }
    m_listView1->setUpdatesEnabled(true);

    StatusLine::set(clouddisk::finishedText(m_diskKind));
    if (m_frame5)
        m_frame5->setTitle(clouddisk::frameCaption(m_listView1->rowCount()));
    finishIfDone();
}

void CloudDiskSearch::Timer18_Timer()
{
    if (!m_searching) {
        // Nothing of a finished search is left to report.
        if (m_timer18)
            m_timer18->stop();
        return;
    }
    if (!allHandled())
        return;   // the search is still running; look again a second later
    if (!m_listView1 || m_listView1->rowCount() == 0)
        StatusLine::set(clouddisk::notFoundText(m_serviceName));
    endSearch();
}

void CloudDiskSearch::finishIfDone()
{
    if (!m_searching || !allHandled())
        return;
    if (m_listView1 && m_listView1->rowCount() > 0) {
        endSearch();   // the last tick has already shown its status text
    } else if (m_answered == 0) {
        StatusLine::set(clouddisk::allFailedText(m_failure));
        endSearch();
    } else if (m_timer18 && !m_timer18->isActive()) {
        // Services answered with empty pages only: the not-found check still
        // has to report it.
        m_timer18->start();
    } else if (!m_timer18) {
        StatusLine::set(clouddisk::notFoundText(m_serviceName));
        endSearch();
    }
}

void CloudDiskSearch::rearmTimers()
{
    // Left stopped, a search whose last page is already in would never end:
    // its rows unlisted, Command1 disabled for good.
    if (!m_searching)
        return;
    if (m_timer17 && !m_fetched.isEmpty())
        m_timer17->start();
    if (m_timer18)
        m_timer18->start();
}

void CloudDiskSearch::endSearch()
{
    m_searching = false;
    if (m_timer17)
        m_timer17->stop();
    if (m_timer18)
        m_timer18->stop();
    if (m_command1)
        m_command1->setEnabled(true);
    emit searchEnded();
}

void CloudDiskSearch::dropRunningSearch()
{
    m_requests.cancel();
    m_fetched.clear();
    m_searching = false;
    if (m_timer17)
        m_timer17->stop();
    if (m_timer18)
        m_timer18->stop();
}

bool CloudDiskSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_frame5 || event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    // Only the caption answers: the list inside the frame keeps its own tips.
    auto* help = static_cast<QHelpEvent*>(event);
    const QRect caption = captionRect(m_frame5);
    const QString text = serviceStatusText();
    if (!text.isEmpty() && caption.contains(help->pos()))
        QToolTip::showText(help->globalPos(), text, m_frame5, caption);
    else
        QToolTip::hideText();
    return true;
}

QString CloudDiskSearch::exportPath()
{
    return programDir() + QStringLiteral("/网盘资源数据.txt");
}

void CloudDiskSearch::dcsj_Click()
{
    if (m_listView1 && ExportListViewContent(m_listView1, exportPath())) {
        StatusLine::set(QStringLiteral("成功导出网盘资源数据.."));
        showInfo(m_form1, QStringLiteral("成功导出网盘资源数据!"));
    } else {
        StatusLine::set(QStringLiteral("没有可导出的数据.."));
        showInfo(m_form1, QStringLiteral("没有可导出的数据!"));
    }
}

CloudDiskSearch* installCloudDiskSearch(QWidget* form1)
{
    if (!form1)
        return nullptr;
    if (auto* existing = form1->findChild<CloudDiskSearch*>(QString::fromLatin1(kObjectName),
                                                            Qt::FindDirectChildrenOnly))
        return existing;
    return new CloudDiskSearch(form1);
}

} // namespace lumorra
