#include "pages/video/on_demand_page.h"

#include "pages/page_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

OnDemandPage::OnDemandPage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = pageColumn(this);

    auto* address = new QHBoxLayout;
    m_text12 = addCaptionedBox(address, QStringLiteral("请输入地址："), QStringLiteral("Text12"), this);
    m_command56 = button(QStringLiteral("Command56"), QStringLiteral("粘贴地址"), this);
    address->addWidget(m_command56);
    m_command43 = button(QStringLiteral("Command43"), QStringLiteral("在线云点播"), this);
    address->addWidget(m_command43);
    page->addLayout(address);

    m_picture2 = new QLabel(this);
    m_picture2->setObjectName(QStringLiteral("Picture2"));
    m_picture2->setFrameShape(QFrame::StyledPanel);
    m_picture2->setAlignment(Qt::AlignCenter);
    m_picture2->setWordWrap(true);
    m_picture2->setText(QStringLiteral(
        "Tessaly云点播支持 ed2k 电驴链接、magnet 磁力链接及常见的视频文件地址。\n\n"
        "将地址粘贴到上面的地址框中，单击“在线云点播”即可边下边看。"));
    QFont larger = m_picture2->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.3);
    m_picture2->setFont(larger);
    page->addWidget(m_picture2, 1);
}

} // namespace lumorra
