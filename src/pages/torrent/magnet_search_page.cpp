#include "pages/torrent/magnet_search_page.h"

#include "lists/result_list.h"
#include "pages/page_widgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

namespace {
constexpr int kPlaceholderChannel = 2;
}

MagnetSearchPage::MagnetSearchPage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = pageColumn(this);

    auto* query = new QHBoxLayout;
    m_magnetKeywordBox = addCaptionedBox(query, QStringLiteral("请输入资源关键字："), QStringLiteral("Text21"), this);
    query->addSpacing(16);
    query->addWidget(label(QStringLiteral("搜索渠道："), this));
    m_channelChoice = new QComboBox(this);
    m_channelChoice->setObjectName(QStringLiteral("Combo1"));
    m_channelChoice->addItems({QStringLiteral("搜索渠道①"), QStringLiteral("搜索渠道②"),
                        QStringLiteral("即将添加更多渠道")});
    m_channelChoice->setCurrentIndex(0);
    query->addWidget(m_channelChoice);
    query->addSpacing(16);

    const QString array = QStringLiteral("Command21");
    m_search = button(arrayName(array, 3), QStringLiteral("开始搜索"), this);
    m_next = button(arrayName(array, 4), QStringLiteral("下一页"), this);
    m_previous = button(arrayName(array, 5), QStringLiteral("上一页"), this);
    // Paging makes sense only after a first search.
    m_next->setEnabled(false);
    m_previous->setEnabled(false);
    query->addWidget(m_search);
    query->addWidget(m_next);
    query->addWidget(m_previous);
    page->addLayout(query);

    m_magnetList = new ResultList(QStringLiteral("ListView19"), this);
    page->addWidget(m_magnetList, 1);

    connect(m_channelChoice, &QComboBox::currentIndexChanged, this, [this] { Combo1_Click(); });
}

void MagnetSearchPage::Combo1_Click()
{
    if (m_channelChoice->currentIndex() == kPlaceholderChannel)
        m_channelChoice->setCurrentIndex(0);
}

} // namespace lumorra
