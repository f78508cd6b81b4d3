#include "sources/torrent/torrent_rss_page.h"

#include "lists/result_list.h"
#include "sources/page_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

TorrentRssPage::TorrentRssPage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = new QVBoxLayout(this);
    tidy(page, true);

    auto* query = new QHBoxLayout;
    query->addWidget(label(QStringLiteral("请输入资源关键字："), this));
    m_text8 = lineEdit(QStringLiteral("Text8"), this);
    query->addWidget(m_text8, 1);
    query->addSpacing(16);
    m_search = button(arrayName(QStringLiteral("Command2"), 1), QStringLiteral("开始搜索"), this);
    query->addWidget(m_search);
    page->addLayout(query);

    m_listView4 = new ResultList(QStringLiteral("ListView4"), this);
    page->addWidget(m_listView4, 1);
}

} // namespace lumorra
