#include "pages/video/online_video_page.h"

#include "lists/result_list.h"
#include "ui/player_control.h"
#include "pages/page_widgets.h"
#include "ui/silent_web_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace lumorra {

namespace {
const char16_t* const kTabCaptions[] = {
    u"视频资源①", u"视频资源②", u"视频资源③", u"在线播放", u"电视直播",
};

QString command53(int index)
{
    return pageui::arrayName(QStringLiteral("Command53"), index);
}

// A search tab's keyword caption and box followed by its "开始搜索" button
// Command53(searchButton), added to `row`; returns the box.
QLineEdit* addKeywordSearch(QHBoxLayout* row, const QString& boxName, int searchButton, QWidget* tab)
{
    QLineEdit* box = pageui::addCaptionedBox(row, QStringLiteral("请输入搜索关键字："), boxName, tab);
    row->addWidget(pageui::button(command53(searchButton), QStringLiteral("开始搜索"), tab));
    return box;
}

// A framed, fixed-size picture area for a poster.
QLabel* posterBox(const QString& name, QWidget* parent)
{
    auto* image = new QLabel(parent);
    image->setObjectName(name);
    image->setFrameShape(QFrame::StyledPanel);
    image->setAlignment(Qt::AlignCenter);
    image->setFixedSize(150, 200);
    image->setScaledContents(false);
    return image;
}
} // namespace

QString OnlineVideoPage::caption()
{
    return QStringLiteral("在线影视");
}

QString OnlineVideoPage::tabCaption(int index)
{
    if (index < 0 || index >= int(std::size(kTabCaptions)))
        return {};
    return QString::fromUtf16(kTabCaptions[index]);
}

OnlineVideoPage::OnlineVideoPage(QWidget* parent) : QWidget(parent)
{
    auto* page = pageui::pageColumn(this);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab3"));
    m_tabs->addTab(buildQvodFilmTab(), tabCaption(0));
    m_tabs->addTab(buildQvodSearchTab(), tabCaption(1));
    m_tabs->addTab(buildTorrentTagTab(), tabCaption(2));
    m_tabs->addTab(buildPlayerTab(), tabCaption(3));
    m_tabs->addTab(buildLiveTab(), tabCaption(4));
    page->addWidget(m_tabs, 1);

    auto* agreement = new QHBoxLayout;
    m_agreementBox = new QCheckBox(QStringLiteral("阅读并同意遵守使用协议"), this);
    m_agreementBox->setObjectName(QStringLiteral("Check1"));
    agreement->addWidget(m_agreementBox);
    agreement->addStretch(1);
    page->addLayout(agreement);
}

QWidget* OnlineVideoPage::buildQvodFilmTab()
{
    using namespace pageui;
    auto* tab = new QWidget;
    auto* layout = pageColumn(tab);

    QHBoxLayout* paging = addPagingRow(layout, QStringLiteral("Command53"), 3, tab);
    paging->addWidget(button(command53(6), QStringLiteral("其他功能"), tab));

    // The list with the poster of the chosen film beside it …
    auto* body = new QHBoxLayout;
    m_qvodFilmList = new ResultList(QStringLiteral("ListView3"), tab);
    body->addWidget(m_qvodFilmList, 1);
    m_qvodFilmPoster = posterBox(QStringLiteral("Image2"), tab);
    body->addWidget(m_qvodFilmPoster, 0, Qt::AlignTop);
    layout->addLayout(body, 1);

    // … and its four play addresses below, two to a line.
    auto* detail = frame(QStringLiteral("双击列表可解析种子地址"), tab);
    detail->setObjectName(QStringLiteral("Frame1(19)"));
    auto* grid = new QGridLayout(detail);
    grid->setHorizontalSpacing(8);
    m_thunderBox = lineEdit(QStringLiteral("Text7"), detail);
    m_qqBox = lineEdit(QStringLiteral("Text9"), detail);
    m_baiduBox = lineEdit(QStringLiteral("Text10"), detail);
    m_qvodBox = lineEdit(QStringLiteral("Text11"), detail);
    grid->addWidget(label(QStringLiteral("迅雷资源："), detail), 0, 0);
    grid->addWidget(m_thunderBox, 0, 1);
    grid->addWidget(label(QStringLiteral("QQ影音资源："), detail), 0, 2);
    grid->addWidget(m_qqBox, 0, 3);
    grid->addWidget(label(QStringLiteral("百度影音资源："), detail), 1, 0);
    grid->addWidget(m_baiduBox, 1, 1);
    grid->addWidget(label(QStringLiteral("快播QVOD资源："), detail), 1, 2);
    grid->addWidget(m_qvodBox, 1, 3);
    grid->addWidget(button(QStringLiteral("Command48"), QStringLiteral("在线播放"), detail), 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addWidget(detail);
    return tab;
}

QWidget* OnlineVideoPage::buildQvodSearchTab()
{
    using namespace pageui;
    auto* tab = new QWidget;
    auto* layout = pageColumn(tab);

    auto* query = new QHBoxLayout;
    m_qvodKeywordBox = addKeywordSearch(query, QStringLiteral("Text15"), 10, tab);
    query->addSpacing(24);
    addButtonArray(query, QStringLiteral("Command53"), 7, pagingCaptions(), tab);
    layout->addLayout(query);

    auto* body = new QHBoxLayout;
    m_qvodSearchList = new ResultList(QStringLiteral("ListView14"), tab);
    body->addWidget(m_qvodSearchList, 1);

    auto* side = new QVBoxLayout;
    m_qvodSearchPoster = posterBox(QStringLiteral("Image3"), tab);
    side->addWidget(m_qvodSearchPoster);
    side->addWidget(button(arrayName(QStringLiteral("Command4"), 0), QStringLiteral("复制地址"), tab));
    side->addWidget(button(arrayName(QStringLiteral("Command4"), 1), QStringLiteral("在线播放"), tab));
    side->addStretch(1);
    body->addLayout(side);
    layout->addLayout(body, 1);
    return tab;
}

QWidget* OnlineVideoPage::buildTorrentTagTab()
{
    using namespace pageui;
    auto* tab = new QWidget;
    auto* layout = pageColumn(tab);

    auto* query = new QHBoxLayout;
    m_torrentTagKeywordBox = addKeywordSearch(query, QStringLiteral("Text22"), 15, tab);
    query->addSpacing(16);
    query->addWidget(label(QStringLiteral("本功能最多暂时仅支持获取30条资源"), tab));
    layout->addLayout(query);

    m_torrentTagList = new ResultList(QStringLiteral("ListView20"), tab);
    layout->addWidget(m_torrentTagList, 1);

    auto* links = frame(QStringLiteral("种子信息"), tab);
    auto* form = new QFormLayout(links);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_infoHash = lineEdit(arrayName(QStringLiteral("Text23"), 0), links);
    m_magnet = lineEdit(arrayName(QStringLiteral("Text23"), 1), links);
    form->addRow(QStringLiteral("种子哈希值："), m_infoHash);
    form->addRow(QStringLiteral("磁力链接："), m_magnet);
    layout->addWidget(links);
    return tab;
}

QWidget* OnlineVideoPage::buildPlayerTab()
{
    using namespace pageui;
    auto* tab = new QWidget;
    auto* layout = pageColumn(tab);

    m_player = new PlayerControl(tab);
    layout->addWidget(m_player, 1);

    auto* bottom = new QHBoxLayout;
    auto* controls = frame(QStringLiteral("播放控制"), tab);
    auto* controlsLayout = new QVBoxLayout(controls);
    m_playerStateLabel = label(QStringLiteral("播放器状态：未播放"), controls);
    m_playerStateLabel->setObjectName(QStringLiteral("Label32"));
    controlsLayout->addWidget(m_playerStateLabel);
    auto* buttons = new QHBoxLayout;
    addButtonArray(buttons, QStringLiteral("Command53"), 11,
                   {QStringLiteral("输入地址进行播放"), QStringLiteral("暂停"), QStringLiteral("停止")},
                   controls);
    buttons->addStretch(1);
    controlsLayout->addLayout(buttons);
    bottom->addWidget(controls, 2);

    auto* notes = frame(QStringLiteral("播放说明"), tab);
    auto* notesLayout = new QHBoxLayout(notes);
    auto* explanation = label(
        QStringLiteral("在线播放使用快播播放控件，是否随本软件启动快播请在“软件设置”中选择；"
                       "播放器自带的广告本软件不做屏蔽；未安装快播播放器时播放区域无法播放。"),
        notes);
    explanation->setWordWrap(true);
    notesLayout->addWidget(explanation, 1);
    notesLayout->addWidget(button(command53(14), QStringLiteral("下载快播"), notes), 0,
                           Qt::AlignVCenter);
    bottom->addWidget(notes, 3);
    layout->addLayout(bottom);
    return tab;
}

QWidget* OnlineVideoPage::buildLiveTab()
{
    using namespace pageui;
    auto* tab = new QWidget;
    auto* layout = new QHBoxLayout(tab);
    tidy(layout, true);

    auto* channels = frame(QStringLiteral("频道列表[双击播放]"), tab);
    channels->setFixedWidth(180);
    auto* channelsLayout = new QVBoxLayout(channels);
    m_channelList = new QListWidget(channels);
    m_channelList->setObjectName(QStringLiteral("List1"));
    m_channelList->addItems({QStringLiteral("抢先看"), QStringLiteral("电视剧"), QStringLiteral("同步跟播"),
                             QStringLiteral("综艺频道"), QStringLiteral("动漫频道"), QStringLiteral("音乐频道"),
                             QStringLiteral("在线视频"), QStringLiteral("搞笑频道"), QStringLiteral("小品频道"),
                             QStringLiteral("VIP免费频道")});
    channelsLayout->addWidget(m_channelList);
    layout->addWidget(channels);

    m_liveBrowser = new QWebEngineView(tab);
    m_liveBrowser->setObjectName(QStringLiteral("WebBrowser1"));
    // The channels are third-party pages: their dialogs stay silent.
    m_liveBrowser->setPage(new SilentWebPage(m_liveBrowser));
    m_liveBrowser->setContextMenuPolicy(Qt::NoContextMenu);
    layout->addWidget(m_liveBrowser, 1);
    return tab;
}

} // namespace lumorra
