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
    m_text1 = addCaptionedBox(query, QStringLiteral("请输入关键字："), QStringLiteral("Text1"), this);
    m_text1->setMinimumWidth(200);
    query->addSpacing(16);
    m_pageBox = new PageNumberBox(0, this);
    query->addWidget(m_pageBox);
    query->addSpacing(16);
    m_command1 = button(QStringLiteral("Command1"), QStringLiteral("搜索"), this);
    query->addWidget(m_command1);
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
        m_check2[i] = box;
        grid->addWidget(box, i / kBoxesPerRow, i % kBoxesPerRow);
    }
    kindsRow->addLayout(grid, 1);
    auto* divider = new QFrame(kinds);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    kindsRow->addWidget(divider);
    m_check3 = new QCheckBox(QStringLiteral("全选"), kinds);
    m_check3->setObjectName(QStringLiteral("Check3"));
    kindsRow->addWidget(m_check3);
    page->addWidget(kinds);

    // The result list; until the version check is done the overlay covers it.
    m_frame5 = frame(QStringLiteral("资源列表"), this);
    m_frame5->setObjectName(QStringLiteral("Frame5"));
    auto* stack = new QGridLayout(m_frame5);
    m_listView1 = new ResultList(QStringLiteral("ListView1"), m_frame5);
    stack->addWidget(m_listView1, 0, 0);

    m_picture1 = new QFrame(m_frame5);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setFrameShape(QFrame::StyledPanel);
    m_picture1->setAutoFillBackground(true);
    auto* overlay = new QVBoxLayout(m_picture1);
    auto* label10 = new QLabel(QStringLiteral("正在检测程序最新版本.."), m_picture1);
    label10->setObjectName(QStringLiteral("Label10"));
    label10->setAlignment(Qt::AlignCenter);
    QFont big = label10->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    label10->setFont(big);
    overlay->addWidget(label10);
    // Same cell as the list, added last: it lies on top of it.
    stack->addWidget(m_picture1, 0, 0);
    page->addWidget(m_frame5, 1);

    connect(m_check3, &QCheckBox::toggled, this, [this] { Check3_Click(); });
}

void CloudDiskPage::Check3_Click()
{
    const bool on = m_check3->isChecked();
    for (QCheckBox* box : m_check2)
        box->setChecked(on);
}

} // namespace lumorra
