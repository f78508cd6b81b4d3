#include "pages/film/film_list_page.h"

#include "lists/result_list.h"
#include "pages/page_widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

namespace lumorra {

namespace {
const char16_t* const kCategories[] = {
    u"综合最新电影", u"国内最新电影", u"欧美最新电影", u"华语电视剧", u"日韩电视剧", u"动漫资源",
};
constexpr int kCategoryCount = int(std::size(kCategories));
} // namespace

QString FilmListPage::categoryCaption(int index)
{
    if (index < 0 || index >= kCategoryCount)
        return {};
    return QString::fromUtf16(kCategories[index]);
}

FilmListPage::FilmListPage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = pageColumn(this);

    auto* categories = new QHBoxLayout;
    QStringList captions;
    for (int i = 0; i < kCategoryCount; ++i)
        captions << categoryCaption(i);
    addButtonArray(categories, QStringLiteral("Command14"), 0, captions, this);
    categories->addStretch(1);
    page->addLayout(categories);

    m_filmList = new ResultList(QStringLiteral("ListView5"), this);
    page->addWidget(m_filmList, 1);

    m_linkList = addAddressBox(page, QStringLiteral("文件地址（单击列表可复制文件地址 | 双击可进行在线播放）"),
                            QStringLiteral("List3"), this);
}

} // namespace lumorra
