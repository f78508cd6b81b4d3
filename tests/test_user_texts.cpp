// The fixed status and message texts the program produces through a
// function, each against the text as the user is meant to read it, copied
// character for character (full-width punctuation, blanks and line breaks
// included). The window tests compare what a window shows with literals
// too; this table catches a slip in a text the windows only show on paths
// they do not take.
#include "app/exit_flow.h"
#include "quoted_texts.h"
#include "app/settings_window.h"
#include "core/usage_agreement.h"
#include "app/version_gate.h"
#include "core/feedback_rules.h"
#include "lists/ed2k_extraction.h"
#include "lists/row_actions.h"
#include "player/on_demand_handlers.h"
#include "player/player_handlers.h"
#include "core/share_urls.h"
#include "sources/clouddisk/cloud_disk_parse.h"
#include "sources/clouddisk/cloud_disk_query.h"
#include "pages/torrent/film_resource_detail.h"
#include "pages/torrent/magnet_search.h"
#include "sources/torrent/magnet_search_parse.h"
#include "pages/torrent/torrent_download.h"
#include "pages/video/online_video_handlers.h"
#include "pages/video/qvod_film_source.h"
#include "sources/video/video_texts.h"
#include "ui/message_box.h"

#include <QtTest>

using namespace lumorra;

class TestUserTexts : public QObject {
    Q_OBJECT
private slots:
    void quotedTexts_data();
    void quotedTexts();
};

void TestUserTexts::quotedTexts_data()
{
    QTest::addColumn<QString>("produced");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QString& produced, const QString& expected) {
        QTest::newRow(name) << produced << expected;
    };

    row("message box title", messageBoxTitle(), QStringLiteral("Brenn系列软件"));
    row("selection guard", selectionGuardText(), QStringLiteral("请先查询再进行操作!"));
    row("ed2k copied", ed2kCopiedText(), QStringLiteral("种子地址已提取并自动复制到剪贴板!"));

    row("cloud disk searching", clouddisk::searchingText(QStringLiteral("电影")),
        QStringLiteral("正在为您搜索[电影]相关资源.."));
    row("cloud disk finished", clouddisk::finishedText(QStringLiteral("百度网盘")),
        QStringLiteral("百度网盘搜索完毕.."));
    row("cloud disk not found", clouddisk::notFoundText(QStringLiteral("百度网盘")),
        QStringLiteral("百度网盘未找到相关资源.."));

    row("magnet no result", MagnetSearch::noResultText(),
        QStringLiteral("抱歉!没有找到任何结果,请更换关键字重试"));
    row("magnet done", MagnetSearch::doneText(), QStringLiteral("资源搜索完毕.."));
    row("magnet site B size", magnetSiteBSizeText(), QStringLiteral("未知"));
    row("film resource done", FilmResourceDetail::doneText(), QStringLiteral("种子提取完毕.."));
    row("torrent download started", TorrentDownload::startedText(), QStringLiteral("开始下载..."));

    row("agreement required", agreementRequiredText(), QStringLiteral("请先阅读使用协议并严格遵守!"));
    row("agreement required, online video", OnlineVideoHandlers::agreementRequiredText(),
        QStringLiteral("请先阅读使用协议并严格遵守!"));
    row("first page", OnlineVideoHandlers::firstPageText(), QStringLiteral("已经是第一页了!"));
    row("qvod detail frame", QvodFilmSource::detailFrameCaption(), QStringLiteral("双击列表可解析种子地址"));
    row("resource gone", videoResourceGoneText(), QStringLiteral("抱歉!该资源已失效,请您获取其他资源"));
    row("player missing", PlayerHandlers::playerMissingText(),
        QStringLiteral("抱歉,程序检测您未启动快播播放器\r\n请手动启动或在软件设置中进行设置!"));
    row("on demand enjoy", OnDemandHandlers::enjoyText(), QStringLiteral("请您欣赏.."));

    row("welcome", VersionGate::welcomeText(), QStringLiteral("欢迎使用Tessaly旗下Brenn系列软件 .."));
    row("unavailable", VersionGate::unavailableText(), QStringLiteral("暂时无法使用!请您稍后再试!"));
    row("new version", VersionGate::newVersionText(QStringLiteral("V2.4")),
        QStringLiteral("发现最新版本![V2.4]\r\n \r\n确定后自动打开官方网站!"));
    row("announcement wait", VersionGate::announcementWaitText(), QStringLiteral("正在获取公告，请稍等.."));
    row("exit question", exitQuestionText(),
        QStringLiteral("感谢您对Avenel、对Brenn系列的软件的支持!\r "
                       "\r是否退出并到论坛可以下载更多Brenn系列原创免费软件?"));
    row("restart question", SettingsWindow::restartQuestion(),
        QStringLiteral("设置成功!需重启生效,现在为您重启软件?"));
    row("defaults question", SettingsWindow::defaultsQuestion(), QStringLiteral("确认要恢复默认设置?"));
    row("usage agreement", usageAgreementText(),
        lumorra::testing::usageAgreementLiteral());
    row("feedback limit", feedbackLimitMessage(),
        QStringLiteral(
            "您已反馈过两次!为了防止恶意邮件\r\n \r\n每次只可进行两次反馈,请您重新打开软件即可再次反馈!"));

    row("share title", shareTitle(), QStringLiteral("Lumorra官方网站 - Tessaly网络Lumorra神器"));
    row("share recommendation", recommendationText(QStringLiteral("http://x/p.html")),
        QStringLiteral(
            "我正在使用的一款神器!什么资源都可以搜索到!你也快来试试吧!免费下载地址是：http://x/p.html"));
    row("share copied", shareCopiedMessage(),
        QStringLiteral("分享内容已复制到剪贴板，打开您要分享的QQ好友，直接发送即可!"));
}

void TestUserTexts::quotedTexts()
{
    QFETCH(QString, produced);
    QFETCH(QString, expected);
    QCOMPARE(produced, expected);
}

QTEST_GUILESS_MAIN(TestUserTexts)
#include "test_user_texts.moc"
