#include "app/pages.h"

#include "app/about_page.h"
#include "pages/clouddisk/cloud_disk_page.h"
#include "pages/emule/emule_category_page.h"
#include "pages/emule/emule_data_page.h"
#include "pages/film/film_list_page.h"
#include "pages/page_widgets.h"
#include "pages/torrent/bt_board_page.h"
#include "pages/torrent/bt_film_page.h"
#include "pages/torrent/film_resource_page.h"
#include "pages/torrent/magnet_search_page.h"
#include "pages/torrent/torrent_index_page.h"
#include "pages/torrent/torrent_rss_page.h"
#include "pages/video/on_demand_page.h"
#include "pages/video/online_video_page.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace lumorra {

namespace {

using Category = EmuleCategoryPage::Category;

// A page that is nothing but one nested tab control.
QWidget* tabPage(QTabWidget* tabs, QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    pageui::tidy(layout, true);
    layout->addWidget(tabs);
    return page;
}

// "云点播资源": the film category listing and the magnet search.
QWidget* onDemandResources()
{
    auto* sstab5 = new QTabWidget;
    sstab5->setObjectName(QStringLiteral("SSTab5"));
    sstab5->addTab(new EmuleCategoryPage(Category::Films), QStringLiteral("资源①"));
    sstab5->addTab(new MagnetSearchPage, QStringLiteral("资源②（支持自定义搜索）"));
    return tabPage(sstab5, nullptr);
}

// Page 1, "影音资源": SSTab2 with its ten pages.
QWidget* mediaPage(QWidget* parent)
{
    auto* sstab2 = new QTabWidget;
    sstab2->setObjectName(QStringLiteral("SSTab2"));
    sstab2->addTab(new TorrentIndexPage, QStringLiteral("番号资源"));
    sstab2->addTab(new TorrentRssPage, QStringLiteral("BT资源"));
    sstab2->addTab(onDemandResources(), QStringLiteral("云点播资源"));
    sstab2->addTab(new FilmResourcePage, QStringLiteral("影视资源①"));
    sstab2->addTab(new FilmListPage, QStringLiteral("影视资源②"));
    sstab2->addTab(new BtFilmPage, QStringLiteral("影视资源③"));
    sstab2->addTab(new BtBoardPage, QStringLiteral("影视资源④"));
    sstab2->addTab(new EmuleCategoryPage(Category::Music), QStringLiteral("音乐资源"));
    sstab2->addTab(new EmuleCategoryPage(Category::Cartoons), QStringLiteral("动漫资源"));
    sstab2->addTab(new OnDemandPage, QStringLiteral("Tessaly云点播"));
    return tabPage(sstab2, parent);
}

} // namespace

QString mainPageCaption(int index)
{
    switch (index) {
    case 0: return QStringLiteral("网盘资源");
    case 1: return QStringLiteral("影音资源");
    case 2: return QStringLiteral("软件资源");
    case 3: return QStringLiteral("书籍资源");
    case 4: return QStringLiteral("教育资源");
    case 5: return QStringLiteral("综合资源");
    case 6: return OnlineVideoPage::caption();
    case 7: return QStringLiteral("关于程序");
    default: return {};
    }
}

QWidget* createMainPage(int index, QWidget* parent)
{
    switch (index) {
    case 0: return new CloudDiskPage(parent);
    case 1: return mediaPage(parent);
    case 2: return new EmuleCategoryPage(Category::Software, parent);
    case 3: return new EmuleCategoryPage(Category::Books, parent);
    case 4: return new EmuleCategoryPage(Category::Education, parent);
    case 5: return new EmuleDataPage(parent);
    case 6: return new OnlineVideoPage(parent);
    case 7: return new AboutPage(parent);
    default: return nullptr;
    }
}

} // namespace lumorra
