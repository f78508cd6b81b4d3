#include "pages/clouddisk/cloud_disk_page.h"

#include "ui/page_number_box.h"
#include "lists/result_list.h"
#include "pages/page_widgets.h"
#include "sources/clouddisk/cloud_disk_hosts.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

namespace {
constexpr int kBoxesPerRow = 8;
} // namespace

CloudDiskPage::CloudDiskPage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = pageColumn(this);

    // Keyword, page number and the search button on one line.
    auto* query = new QHBoxLayout;
    m_keywordBox = addCaptionedBox(query, QStringLiteral("请输入关键字："), QStringLiteral("Text1"), this);
    m_keywordBox->setMinimumWidth(200);
    query->addSpacing(16);
    m_pageBox = new PageNumberBox(0, this);
    query->addWidget(m_pageBox);
    query->addSpacing(16);
    m_searchButton = button(QStringLiteral("Command1"), QStringLiteral("搜索"), this);
    query->addWidget(m_searchButton);
    page->addLayout(query);

    // The service boxes, three rows of eight, with "全选" beside them.
    auto* kinds = frame(QStringLiteral("网盘种类(支持多选)"), this);
    auto* kindsRow = new QHBoxLayout(kinds);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    for (int i = 0; i < kServiceCount; ++i) {
        auto* box = new QCheckBox(clouddisk::serviceCaption(i), kinds);
        box->setObjectName(arrayName(QStringLiteral("Check2"), i));
        m_serviceBoxes[i] = box;
        grid->addWidget(box, i / kBoxesPerRow, i % kBoxesPerRow);
    }
    kindsRow->addLayout(grid, 1);
    auto* divider = new QFrame(kinds);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    kindsRow->addWidget(divider);
    m_selectAllBox = new QCheckBox(QStringLiteral("全选"), kinds);
    m_selectAllBox->setObjectName(QStringLiteral("Check3"));
    kindsRow->addWidget(m_selectAllBox);
    page->addWidget(kinds);

    // The result list; until the version check is done the overlay covers it.
    m_resultFrame = frame(QStringLiteral("资源列表"), this);
    m_resultFrame->setObjectName(QStringLiteral("Frame5"));
    auto* stack = new QGridLayout(m_resultFrame);
    m_resultList = new ResultList(QStringLiteral("ListView1"), m_resultFrame);
    stack->addWidget(m_resultList, 0, 0);

    m_versionCheckOverlay = new QFrame(m_resultFrame);
    m_versionCheckOverlay->setObjectName(QStringLiteral("Picture1"));
    m_versionCheckOverlay->setFrameShape(QFrame::StyledPanel);
    m_versionCheckOverlay->setAutoFillBackground(true);
    auto* overlay = new QVBoxLayout(m_versionCheckOverlay);
    auto* label10 = new QLabel(QStringLiteral("正在检测程序最新版本.."), m_versionCheckOverlay);
    label10->setObjectName(QStringLiteral("Label10"));
    label10->setAlignment(Qt::AlignCenter);
    QFont big = label10->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    label10->setFont(big);
    overlay->addWidget(label10);
    // Same cell as the list, added last: it lies on top of it.
    stack->addWidget(m_versionCheckOverlay, 0, 0);
    page->addWidget(m_resultFrame, 1);

    connect(m_selectAllBox, &QCheckBox::toggled, this, [this] { Check3_Click(); });
}

void CloudDiskPage::Check3_Click()
{
    const bool on = m_selectAllBox->isChecked();
    for (QCheckBox* box : m_serviceBoxes)
        box->setChecked(on);
}

} // namespace lumorra
