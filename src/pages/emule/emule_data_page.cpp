#include "pages/emule/emule_data_page.h"

#include "pages/emule/emule_category_page.h"
#include "pages/emule/emule_search_page.h"
#include "pages/page_widgets.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace lumorra {

EmuleDataPage::EmuleDataPage(QWidget* parent) : QWidget(parent)
{
    auto* page = pageui::pageColumn(this);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab4"));
    m_tabs->addTab(new EmuleCategoryPage(EmuleCategoryPage::Category::Data),
                     QStringLiteral("综合资源①"));
    m_tabs->addTab(new EmuleSearchPage(EmuleSearchPage::Site::IndexSite),
                     QStringLiteral("综合资源②"));
    m_tabs->addTab(new EmuleSearchPage(EmuleSearchPage::Site::SearchSite),
                     QStringLiteral("综合资源③"));
    page->addWidget(m_tabs);
}

} // namespace lumorra
