#include "pages/clouddisk/cloud_disk_search.h"

#include "core/program_dir.h"
#include "lists/list_export.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/url_encoding.h"
#include "pages/engine_binding.h"
#include "pages/page_widgets.h"
#include "sources/clouddisk/cloud_disk_parse.h"
#include "sources/source_table.h"
#include "ui/message_box.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHelpEvent>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QToolTip>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

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
    m_keywordBox = form1->findChild<QLineEdit*>(QStringLiteral("Text1"));
    m_pageBox = form1->findChild<QLineEdit*>(QStringLiteral("Text3"));
    m_searchButton = form1->findChild<QPushButton*>(QStringLiteral("Command1"));
    for (int i = 0; i < kServiceCount; ++i)
        m_serviceBoxes[size_t(i)] = form1->findChild<QCheckBox*>(pageui::arrayName(QStringLiteral("Check2"), i));
    m_resultList = findResultList(form1, QStringLiteral("ListView1"));
    m_resultFrame = form1->findChild<QGroupBox*>(QStringLiteral("Frame5"));

    m_engine = qobject_cast<CloudDiskEngine*>(findSourceEntry(SourceVerb::Search, QStringLiteral("clouddisk"))
                                                  ->createEngine(windowPacing(form1), this));
    m_binding = new EngineBinding(m_engine, m_searchButton, m_resultList, this);
    m_binding->setHoldPainting(true);
    // After the binding has listed a cut's rows: the caption counts them.
    connect(m_engine, &SourceEngine::rows, this, [this] {
        if (m_resultFrame && m_resultList)
            m_resultFrame->setTitle(clouddisk::frameCaption(m_resultList->rowCount()));
    });
    connect(m_engine, &CloudDiskEngine::serviceTaken, this, &CloudDiskSearch::pageTaken);
    connect(m_binding, &EngineBinding::ended, this, [this] { emit searchEnded(); });

    if (m_keywordBox) {
        connect(m_keywordBox, &QLineEdit::textChanged, this, &CloudDiskSearch::Text1_Change);
        Text1_Change();
    }
    if (m_searchButton)
        connect(m_searchButton, &QPushButton::clicked, this, &CloudDiskSearch::Command1_Click);
    if (m_resultFrame)
        m_resultFrame->installEventFilter(this);

    QPointer<CloudDiskSearch> self(this);
    bindRowAction(form1, QStringLiteral("dcsj"), [self] {
        if (self)
            self->dcsj_Click();
    });
}

bool CloudDiskSearch::isSearching() const
{
    return m_engine->isRunning();
}

void CloudDiskSearch::Text1_Change()
{
    // The structure-safe encoder: "C#" or "a&b" must stay one keyword.
    m_encodedKeyword = m_keywordBox ? encodeKeyword(m_keywordBox->text()) : QString();
}

void CloudDiskSearch::Command1_Click()
{
    SourceRequest request;
    request.keyword = m_keywordBox ? m_keywordBox->text() : QString();
    request.page = m_pageBox ? m_pageBox->text() : QStringLiteral("1");
    for (int i = 0; i < kServiceCount; ++i)
        if (m_serviceBoxes[size_t(i)] && m_serviceBoxes[size_t(i)]->isChecked())
            request.services << i;
    // A refused search only says why: the list keeps its rows.
    m_binding->start(request);
}

bool CloudDiskSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_resultFrame || event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    // Only the caption answers: the list inside the frame keeps its own tips.
    auto* help = static_cast<QHelpEvent*>(event);
    const QRect caption = captionRect(m_resultFrame);
    const QString text = serviceStatusText();
    if (!text.isEmpty() && caption.contains(help->pos()))
        QToolTip::showText(help->globalPos(), text, m_resultFrame, caption);
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
    if (m_resultList && ExportListViewContent(m_resultList, exportPath())) {
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
