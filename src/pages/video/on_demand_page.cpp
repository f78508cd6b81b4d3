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
    m_addressBox = addCaptionedBox(address, QStringLiteral("请输入地址："), QStringLiteral("Text12"), this);
    m_pasteButton = button(QStringLiteral("Command56"), QStringLiteral("粘贴地址"), this);
    address->addWidget(m_pasteButton);
    m_playButton = button(QStringLiteral("Command43"), QStringLiteral("在线云点播"), this);
    address->addWidget(m_playButton);
    page->addLayout(address);

    m_hintPanel = new QLabel(this);
    m_hintPanel->setObjectName(QStringLiteral("Picture2"));
    m_hintPanel->setFrameShape(QFrame::StyledPanel);
    m_hintPanel->setAlignment(Qt::AlignCenter);
    m_hintPanel->setWordWrap(true);
    m_hintPanel->setText(QStringLiteral(
        "Tessaly云点播支持 ed2k 电驴链接、magnet 磁力链接及常见的视频文件地址。\n\n"
        "将地址粘贴到上面的地址框中，单击“在线云点播”即可边下边看。"));
    QFont larger = m_hintPanel->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.3);
    m_hintPanel->setFont(larger);
    page->addWidget(m_hintPanel, 1);
}

} // namespace lumorra
