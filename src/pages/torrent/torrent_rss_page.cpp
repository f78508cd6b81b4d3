#include "pages/torrent/torrent_rss_page.h"

#include "lists/result_list.h"
#include "pages/page_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

TorrentRssPage::TorrentRssPage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = pageColumn(this);

    auto* query = new QHBoxLayout;
    m_keywordBox = addCaptionedBox(query, QStringLiteral("请输入资源关键字："), QStringLiteral("Text8"), this);
    query->addSpacing(16);
    m_search = button(arrayName(QStringLiteral("Command2"), 1), QStringLiteral("开始搜索"), this);
    query->addWidget(m_search);
    page->addLayout(query);

    m_resultList = new ResultList(QStringLiteral("ListView4"), this);
    page->addWidget(m_resultList, 1);
}

} // namespace lumorra
