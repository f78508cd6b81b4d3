#include "pages/emule/emule_category_page.h"

#include "lists/result_list.h"
#include "pages/page_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumorra {

QString EmuleCategoryPage::buttonArray(Category category)
{
    switch (category) {
    case Category::Films: return QStringLiteral("Command21");
    case Category::Music: return QStringLiteral("Command26");
    case Category::Cartoons: return QStringLiteral("Command41");
    case Category::Software:
    case Category::Books:
    case Category::Education:
    case Category::Data: return QStringLiteral("Command27");
    }
    return {};
}

int EmuleCategoryPage::firstButton(Category category)
{
    // Command27 carries four categories, three buttons each.
    switch (category) {
    case Category::Books: return 3;
    case Category::Education: return 6;
    case Category::Data: return 9;
    default: return 0;
    }
}

QString EmuleCategoryPage::listName(Category category)
{
    switch (category) {
    case Category::Films: return QStringLiteral("ListView6");
    case Category::Music: return QStringLiteral("ListView7");
    case Category::Software: return QStringLiteral("ListView8");
    case Category::Books: return QStringLiteral("ListView9");
    case Category::Education: return QStringLiteral("ListView10");
    case Category::Data: return QStringLiteral("ListView11");
    case Category::Cartoons: return QStringLiteral("ListView12");
    }
    return {};
}

namespace {
// What the list's right-click menu offers, so the user finds it.
QString menuHint(EmuleCategoryPage::Category category)
{
    switch (category) {
    case EmuleCategoryPage::Category::Films:
        return QStringLiteral("提示：右键单击列表可复制地址、打开链接、提取种子或云端播放");
    case EmuleCategoryPage::Category::Cartoons:
        return QStringLiteral("提示：右键单击列表可复制地址或打开链接");
    default:
        return QStringLiteral("提示：右键单击列表可复制地址、打开链接或提取种子");
    }
}
} // namespace

EmuleCategoryPage::EmuleCategoryPage(Category category, QWidget* parent)
    : QWidget(parent), m_category(category)
{
    using namespace pageui;
    auto* page = pageColumn(this);

    QHBoxLayout* paging = addPagingRow(page, buttonArray(category), firstButton(category), this);
    auto* hint = label(menuHint(category), this);
    hint->setEnabled(false);   // drawn in the muted colour of the skin
    paging->addWidget(hint);

    m_list = new ResultList(listName(category), this);
    page->addWidget(m_list, 1);
}

} // namespace lumorra
