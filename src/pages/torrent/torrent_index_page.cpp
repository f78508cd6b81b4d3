#include "pages/torrent/torrent_index_page.h"

#include "ui/page_number_box.h"
#include "lists/result_list.h"
#include "pages/page_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

TorrentIndexPage::TorrentIndexPage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = pageColumn(this);

    auto* query = new QHBoxLayout;
    m_keywordBox = addCaptionedBox(query, QStringLiteral("请输入资源关键字："), QStringLiteral("Text2"), this);
    query->addSpacing(16);
    m_pageBox = new PageNumberBox(1, this);
    query->addWidget(m_pageBox);
    query->addSpacing(16);
    m_search = button(arrayName(QStringLiteral("Command2"), 0), QStringLiteral("开始搜索"), this);
    query->addWidget(m_search);
    page->addLayout(query);

    m_resultList = new ResultList(QStringLiteral("ListView2"), this);
    page->addWidget(m_resultList, 1);
}

} // namespace lumorra
