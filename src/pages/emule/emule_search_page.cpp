#include "pages/emule/emule_search_page.h"

#include "ui/page_number_box.h"
#include "lists/result_list.h"
#include "pages/page_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

EmuleSearchPage::EmuleSearchPage(Site site, QWidget* parent)
    : QWidget(parent), m_site(site)
{
    using namespace pageui;
    const bool index = site == Site::IndexSite;
    auto* page = pageColumn(this);

    auto* query = new QHBoxLayout;
    m_keyword = addCaptionedBox(query, QStringLiteral("请输入资源关键字："),
                                index ? QStringLiteral("Text16") : QStringLiteral("Text19"), this);
    query->addSpacing(16);
    m_pageBox = new PageNumberBox(index ? 3 : 4, this);
    query->addWidget(m_pageBox);
    query->addSpacing(16);
    m_search = button(arrayName(QStringLiteral("Command27"), index ? 12 : 13),
                      QStringLiteral("获取资源"), this);
    query->addWidget(m_search);
    page->addLayout(query);

    m_list = new ResultList(index ? QStringLiteral("ListView15") : QStringLiteral("ListView17"), this);
    page->addWidget(m_list, 1);
}

} // namespace lumorra
