// The player control and everything around it in the real main window: the
// presence check, the play paths with their tab switches, pause, stop and
// the state label while the sample clip plays, addresses the engine cannot
// play; the on-demand window, the live channels and the forum-address
// window, against the sample sites.
#include "app/exit_flow.h"
#include "app/main_window_factory.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "platform/open_address.h"
#include "player/forum_address_window.h"
#include "player/live_channels.h"
#include "player/on_demand_handlers.h"
#include "player/on_demand_window.h"
#include "ui/player_control.h"
#include "player/player_handlers.h"
#include "pages/video/online_video_handlers.h"
#include "pages/video/qvod_search_source.h"
#include "ui/silent_web_page.h"

#include "modal_answerer.h"
#include "sample_media.h"
#include "test_server.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrlQuery>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;
using lumorra::testing::TestServer;

namespace {

const QString kEnjoy = QStringLiteral("请您欣赏..");

// Answers the typed-address dialog: cancel, or confirm `text`.
void answerInput(QWidget* modal, bool confirm, const QString& text)
{
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    if (!dialog)
        return;
    QTimer::singleShot(0, dialog, [dialog, confirm, text] {
        dialog->setTextValue(text);
        confirm ? dialog->accept() : dialog->reject();
    });
}

} // namespace

class TestPlayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void presenceCheck();
    void typedAddress();
    void listDoubleClickPlaysClip();
    void pauseStopAndStateLabel();
    void unplayableAddressesEndReadably_data();
    void unplayableAddressesEndReadably();
    void pageAddressesPlayOnlyAsStreams_data();
    void pageAddressesPlayOnlyAsStreams();
    void resolvedAddressButtons();
    void onDemandFromMenus();
    void onDemandTab();
    void liveChannels();
    void forumAddressWindow();

private:
    template <typename T = QWidget>
    T* child(const QString& name) const { return m_window->findChild<T*>(name); }
    QPushButton* command53(int i) const { return child<QPushButton>(QStringLiteral("Command53(%1)").arg(i)); }
    QTabWidget* sstab(int n) const { return child<QTabWidget>(QStringLiteral("SSTab%1").arg(n)); }
    QLabel* label32() const { return child<QLabel>(QStringLiteral("Label32")); }
    QStringList targets(const char* role) const
    {
        QStringList out;
        const std::string prefix = SampleSites::prefixFor(role);
        for (const LoggedRequest& r : m_server->sites().requests())
            if (r.target.compare(0, prefix.size(), prefix) == 0)
                out << QString::fromStdString(r.target.substr(prefix.size()));
        return out;
    }
    void setAgreement(bool ticked)
    {
        const QSignalBlocker quiet(m_check1);
        m_check1->setChecked(ticked);
    }
    void closeOnDemandWindow()
    {
        if (OnDemandWindow* form8 = findOnDemandWindow(m_window))
            form8->reject();
    }

    QTemporaryDir m_home;
    QString m_clip;    // the sample clip as a local file
    QString m_clipUrl; // the same clip served over HTTP, as a page links it
    std::unique_ptr<TestServer> m_server;
    QWidget* m_window = nullptr;
    PlayerHandlers* m_handlers = nullptr;
    PlayerControl* m_player = nullptr;
    QCheckBox* m_check1 = nullptr;
    QStringList m_opened;
};

void TestPlayer::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("LUMORRA_HOME", m_home.path().toLocal8Bit());
    // As the program does at start: the media engine is GStreamer.
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    m_clip = m_home.filePath(QStringLiteral("clip.webm"));
    QFile clip(m_clip);
    QVERIFY(clip.open(QIODevice::WriteOnly));
    const std::string_view bytes = sampleClipBytes();
    QCOMPARE(clip.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
    clip.close();

    m_server = std::make_unique<TestServer>();
    SiteConfig::current().pointAllAt(m_server->baseUrl());
    m_clipUrl = m_server->roleUrl(QStringLiteral("OnDemandService")) + QStringLiteral("/clip/sample.webm");
    setOpenAddressHandler([this](const QString& a) { m_opened << a; });
    m_window = createMainWindow();
    m_handlers = PlayerHandlers::of(m_window);
    QVERIFY(m_handlers);
    m_player = m_handlers->player();
    QVERIFY(m_player);
    QCOMPARE(m_player->objectName(), QStringLiteral("QvodCtrl1"));
    m_check1 = child<QCheckBox>(QStringLiteral("Check1"));
    QVERIFY(m_check1);
    QTRY_VERIFY_WITH_TIMEOUT(sstab(1)->isEnabled(), 10000);
}

void TestPlayer::cleanupTestCase()
{
    delete m_window;
    m_window = nullptr;
    setOpenAddressHandler(nullptr);
}

void TestPlayer::init()
{
    m_server->sites().clearProgram();
    m_server->sites().clearRequests();
    m_opened.clear();
    setAgreement(true);
    PlayerControl::setPresenceCheck(nullptr);
}

void TestPlayer::cleanup()
{
    closeOnDemandWindow();
    if (auto* form6 = findForumAddressWindow(m_window))
        form6->reject();
    m_handlers->playerButton(13);
}

void TestPlayer::presenceCheck()
{
    QVERIFY(m_player->isEnginePresent());   // this machine plays

    // No engine: the two-line message and nothing else.
    PlayerControl::setPresenceCheck([] { return false; });
    auto* text11 = child<QLineEdit>(QStringLiteral("Text11"));
    text11->setText(m_clipUrl);
    sstab(3)->setCurrentIndex(0);
    m_player->setAddress(QString());
    ModalAnswerer answerer;
    child<QPushButton>(QStringLiteral("Command48"))->click();
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("抱歉,程序检测您未启动快播播放器\r\n请手动启动或在软件设置中进行设置!")});
    QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Information});
    QCOMPARE(sstab(3)->currentIndex(), 0);
    QVERIFY(!child<QTimer>(QStringLiteral("Timer16"))->isActive());
    QCOMPARE(m_player->address(), QString());

    // The list double click asks first, before any tab moves.
    auto* list3 = child<QListWidget>(QStringLiteral("List3"));
    list3->clear();
    list3->addItem(m_clipUrl);
    list3->setCurrentRow(0);
    sstab(1)->setCurrentIndex(0);
    emit list3->itemDoubleClicked(list3->item(0));
    QCOMPARE(answerer.count(), 2);
    QCOMPARE(sstab(1)->currentIndex(), 0);

    // With the engine: the address goes to the player on tab 3, polled.
    PlayerControl::setPresenceCheck(nullptr);
    child<QPushButton>(QStringLiteral("Command48"))->click();
    QCOMPARE(answerer.count(), 2);
    QCOMPARE(sstab(3)->currentIndex(), 3);
    QVERIFY(child<QTimer>(QStringLiteral("Timer16"))->isActive());
    QCOMPARE(m_player->address(), m_clipUrl);

    // An empty Text11 does nothing at all.
    m_handlers->playerButton(13);
    sstab(3)->setCurrentIndex(0);
    text11->clear();
    child<QPushButton>(QStringLiteral("Command48"))->click();
    QCOMPARE(sstab(3)->currentIndex(), 0);
    QCOMPARE(answerer.count(), 2);
}

void TestPlayer::typedAddress()
{
    ModalAnswerer answerer;
    QStringList titles;
    bool confirm = false;
    QString typed;
    answerer.onDialog([&](QWidget* modal) {
        titles << modal->windowTitle();
        answerInput(modal, confirm, typed);
    });

    // Without the agreement the dialog never comes.
    setAgreement(false);
    command53(11)->click();
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("请先阅读使用协议并严格遵守!")});
    QVERIFY(titles.isEmpty());
    setAgreement(true);

    // Cancel is not an empty confirmation.
    answerer.clear();
    m_player->setAddress(QString());
    command53(11)->click();
    QCOMPARE(titles, QStringList{QStringLiteral("自定义文件播放")});
    QCOMPARE(StatusLine::text(), QStringLiteral("您已取消!"));
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("您已取消!")});

    confirm = true;
    command53(11)->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请输入文件播放地址!"));
    QCOMPARE(answerer.texts().last(), QStringLiteral("请输入文件播放地址!"));
    QCOMPARE(m_player->address(), QString());

    // A typed web address plays over HTTP.
    typed = m_server->roleUrl(QStringLiteral("OnDemandService")) + QStringLiteral("/clip/sample.webm");
    command53(11)->click();
    QCOMPARE(m_player->address(), typed);
    QVERIFY(child<QTimer>(QStringLiteral("Timer16"))->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(m_player->state(), int(PlayerControl::Playing), 10000);
    QCOMPARE(answerer.count(), 2);
}

void TestPlayer::listDoubleClickPlaysClip()
{
    auto* list3 = child<QListWidget>(QStringLiteral("List3"));
    list3->clear();
    list3->addItem(m_clipUrl);
    list3->setCurrentRow(0);
    sstab(1)->setCurrentIndex(0);
    sstab(3)->setCurrentIndex(1);
    label32()->setText(QStringLiteral("播放器状态：未播放"));

    emit list3->itemClicked(list3->item(0));
    QCOMPARE(QApplication::clipboard()->text(), m_clipUrl);
    QCOMPARE(StatusLine::text(), QStringLiteral("地址复制成功.."));

    emit list3->itemDoubleClicked(list3->item(0));
    QCOMPARE(sstab(1)->currentIndex(), 6);
    QCOMPARE(sstab(3)->currentIndex(), 3);
    QVERIFY(!child(QStringLiteral("aicAlphaImage3"))->isVisible());
    // The label follows the state once a second.
    QTRY_COMPARE_WITH_TIMEOUT(label32()->text(), QStringLiteral("播放器状态：正在播放中.."), 10000);

    // The memory release does not stop the label following the player.
    cdata(m_window);
    QVERIFY(child<QTimer>(QStringLiteral("Timer16"))->isActive());

    // List2 copies only a non-empty entry.
    auto* list2 = child<QListWidget>(QStringLiteral("List2"));
    list2->clear();
    list2->addItem(QString());
    list2->addItem(QStringLiteral("qvod://1|a|b.rmvb|"));
    StatusLine::set(QStringLiteral("unchanged"));
    list2->setCurrentRow(0);
    emit list2->itemClicked(list2->item(0));
    QCOMPARE(StatusLine::text(), QStringLiteral("unchanged"));
    list2->setCurrentRow(1);
    emit list2->itemClicked(list2->item(1));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("qvod://1|a|b.rmvb|"));
    QCOMPARE(StatusLine::text(), QStringLiteral("种子地址已复制.."));
}

void TestPlayer::pauseStopAndStateLabel()
{
    QPushButton* pause = command53(12);
    QCOMPARE(pause->text(), QStringLiteral("暂停"));
    m_player->setAddress(m_clip);
    m_player->play();
    QTRY_COMPARE_WITH_TIMEOUT(m_player->state(), int(PlayerControl::Playing), 10000);

    pause->click();
    QCOMPARE(pause->text(), QStringLiteral("播放"));
    QTRY_COMPARE(m_player->state(), int(PlayerControl::Paused));
    pause->click();
    QCOMPARE(pause->text(), QStringLiteral("暂停"));
    QTRY_COMPARE(m_player->state(), int(PlayerControl::Playing));

    // Known states are worded; any other number leaves the label alone.
    m_handlers->showPlayerState(3);
    QCOMPARE(label32()->text(), QStringLiteral("播放器状态：正在播放中.."));
    m_handlers->showPlayerState(12);
    QCOMPARE(label32()->text(), QStringLiteral("播放器状态：正在播放中.."));

    // Stop ends the poll; the label keeps its last text.
    m_handlers->Timer16_Timer();
    command53(13)->click();
    QCOMPARE(m_player->state(), int(PlayerControl::Stopped));
    QVERIFY(!child<QTimer>(QStringLiteral("Timer16"))->isActive());
    QCOMPARE(label32()->text(), QStringLiteral("播放器状态：正在播放中.."));

    command53(14)->click();
    QCOMPARE(m_opened, QStringList{PlayerHandlers::downloadPageAddress()});
}

void TestPlayer::unplayableAddressesEndReadably_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("qvod link") << QStringLiteral("qvod://123|ABCDEF|影片.rmvb|");
    QTest::newRow("dead host") << QStringLiteral("http://127.0.0.1:9/clip.webm");
    QTest::newRow("not a clip") << QString();   // the sample site's 404 page, filled in below
}

void TestPlayer::unplayableAddressesEndReadably()
{
    QFETCH(QString, address);
    if (address.isEmpty())
        address = m_server->roleUrl(QStringLiteral("OnDemandService")) + QStringLiteral("/clip/missing.webm");
    auto* text11 = child<QLineEdit>(QStringLiteral("Text11"));
    text11->setText(address);
    StatusLine::set(QString());
    QSignalSpy failed(m_player, &PlayerControl::playbackFailed);
    child<QPushButton>(QStringLiteral("Command48"))->click();
    QVERIFY(failed.wait(20000));
    QCOMPARE(m_player->state(), int(PlayerControl::Stopped));
    QVERIFY2(StatusLine::text().startsWith(QStringLiteral("播放失败(")), qPrintable(StatusLine::text()));
    m_handlers->Timer16_Timer();
    QCOMPARE(label32()->text(), QStringLiteral("播放器状态：已停止播放"));

    // The player is still usable afterwards.
    text11->setText(m_clipUrl);
    child<QPushButton>(QStringLiteral("Command48"))->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_player->state(), int(PlayerControl::Playing), 10000);
}

void TestPlayer::pageAddressesPlayOnlyAsStreams_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("address"); // "CLIP": the sample clip as a local file
    QTest::newRow("List2 file url") << "List2"
                                    << "file://CLIP";
    QTest::newRow("List3 bare path") << "List3"
                                     << "CLIP";
    QTest::newRow("Text11 file url") << "Text11"
                                     << "file://CLIP";
    QTest::newRow("List3 device") << "List3"
                                  << "v4l2:///dev/video0";
}

void TestPlayer::pageAddressesPlayOnlyAsStreams()
{
    QFETCH(QString, path);
    QFETCH(QString, address);
    address.replace(QStringLiteral("CLIP"), m_clip);
    m_player->setAddress(QString());
    sstab(3)->setCurrentIndex(1);
    QSignalSpy started(m_handlers, &PlayerHandlers::playStarted);
    ModalAnswerer answerer;
    if (path == u"Text11") {
        child<QLineEdit>(QStringLiteral("Text11"))->setText(address);
        child<QPushButton>(QStringLiteral("Command48"))->click();
    } else {
        auto* list = child<QListWidget>(path);
        list->clear();
        list->addItem(address);
        list->setCurrentRow(0);
        emit list->itemDoubleClicked(list->item(0));
    }
    QCOMPARE(started.count(), 0);
    QCOMPARE(m_player->address(), QString());
    QCOMPARE(sstab(3)->currentIndex(), 1);
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(StatusLine::text(), QStringLiteral("已拒绝打开该地址（不支持的地址类型）：") + address);

    // Typed by the user, the same address plays.
    answerer.onDialog([&](QWidget* modal) { answerInput(modal, true, address); });
    command53(11)->click();
    QCOMPARE(started.count(), 1);
    QCOMPARE(m_player->address(), address);
    if (!address.startsWith(u"v4l2:"))
        QTRY_COMPARE_WITH_TIMEOUT(m_player->state(), int(PlayerControl::Playing), 10000);
}

void TestPlayer::resolvedAddressButtons()
{
    // Command4 works on the address the Qvod search site's detail resolved.
    QvodSearchSource* search = OnlineVideoHandlers::of(m_window)->qvodSearch();
    child<QLineEdit>(QStringLiteral("Text15"))->setText(QStringLiteral("功夫"));
    QSignalSpy ended(search, &QvodSearchSource::searchEnded);
    command53(10)->click();
    QVERIFY(ended.wait(10000));
    auto* lv14 = findResultList(m_window, QStringLiteral("ListView14"));
    lv14->setCurrentItem(lv14->topLevelItem(0));
    QSignalSpy resolved(search, &QvodSearchSource::detailResolved);
    emit lv14->listDoubleClicked();
    QVERIFY(resolved.wait(10000));
    const QString address = search->currentQvodAddress();
    QVERIFY(address.startsWith(QStringLiteral("qvod://")));

    child<QPushButton>(QStringLiteral("Command4(0)"))->click();
    QCOMPARE(QApplication::clipboard()->text(), address);
    QCOMPARE(StatusLine::text(), QStringLiteral("文件地址已复制.."));

    sstab(3)->setCurrentIndex(1);
    QSignalSpy started(m_handlers, &PlayerHandlers::playStarted);
    QSignalSpy failed(m_player, &PlayerControl::playbackFailed);
    child<QPushButton>(QStringLiteral("Command4(1)"))->click();
    QCOMPARE(started.count(), 1);
    QCOMPARE(started.first().first().toString(), address);
    QCOMPARE(sstab(3)->currentIndex(), 3);
    QVERIFY(child<QTimer>(QStringLiteral("Timer16"))->isActive());
    // The sample site's Qvod links are not for this engine.
    QVERIFY(failed.wait(20000));
}

void TestPlayer::onDemandFromMenus()
{
    const QString base = m_server->roleUrl(QStringLiteral("OnDemandService"));

    // The magnet list: the row's magnet link, unescaped.
    auto* lv19 = findResultList(m_window, QStringLiteral("ListView19"));
    lv19->clearRows();
    QTreeWidgetItem* row = lv19->addRow(QStringLiteral("1"));
    lv19->setCell(row, QStringLiteral("cl"), QStringLiteral("magnet:?xt=urn:btih:abc"));
    lv19->setCurrentItem(row);
    StatusLine::set(QStringLiteral("before"));
    findRowAction(m_window, QStringLiteral("ydydbf"))->trigger();
    OnDemandWindow* form8 = findOnDemandWindow(m_window);
    QVERIFY(form8);
    QVERIFY(form8->isVisible());
    QCOMPARE(form8->windowTitle(), QStringLiteral("Tessaly云端播放"));
    QCOMPARE(form8->windowModality(), Qt::ApplicationModal);
    QCOMPARE(form8->browser()->url().toString(), base + QStringLiteral("/api.php?ed=1&url=magnet:?xt=urn:btih:abc"));
    QTRY_VERIFY_WITH_TIMEOUT(targets("OnDemandService").contains(QStringLiteral("/api.php?ed=1&url=magnet:?xt=urn:btih:abc")),
                             10000);
    QCOMPARE(StatusLine::text(), QStringLiteral("before"));   // not while it is open
    form8->reject();
    QCOMPARE(StatusLine::text(), kEnjoy);

    // The film list: the first ed2k link of the row's page.
    auto* lv6 = findResultList(m_window, QStringLiteral("ListView6"));
    auto* handlers = m_window->findChild<OnDemandHandlers*>();
    QVERIFY(handlers);
    m_server->sites().program("/t/film.html", Answer::html("<p><a href=\"ed2k://|file|a.avi|7|H1|/\">a</a>"
                                                           "<a href=\"ed2k://|file|b.avi|8|H2|/\">b</a></p>"));
    m_server->sites().program("/t/nolink.html", Answer::html("<p>暂无下载地址</p>"));
    lv6->clearRows();
    row = lv6->addRow(QStringLiteral("1"));
    lv6->setCell(row, QStringLiteral("zzdz"), m_server->url(QStringLiteral("/t/film.html")));
    lv6->setCurrentItem(row);
    QSignalSpy read(handlers, &OnDemandHandlers::filmPageRead);
    findRowAction(m_window, QStringLiteral("jdydbf"))->trigger();
    QCOMPARE(StatusLine::text(), QStringLiteral("正在进行Tessaly云点播.."));
    QVERIFY(read.wait(10000));
    QVERIFY(form8->isVisible());
    // The browser writes "|" as %7C on the wire; the link itself is the first one.
    const QUrl shown = form8->browser()->url();
    QCOMPARE(shown.toString(QUrl::RemoveQuery), base + QStringLiteral("/api.php"));
    QCOMPARE(QUrlQuery(shown).queryItemValue(QStringLiteral("url"), QUrl::FullyDecoded),
             QStringLiteral("ed2k://|file|a.avi|7|H1|/"));
    form8->reject();
    QCOMPARE(StatusLine::text(), kEnjoy);

    // A page without an ed2k link opens nothing and says so.
    lv6->setCell(row, QStringLiteral("zzdz"), m_server->url(QStringLiteral("/t/nolink.html")));
    findRowAction(m_window, QStringLiteral("jdydbf"))->trigger();
    QVERIFY(read.wait(10000));
    QVERIFY(!form8->isVisible());
    QCOMPARE(StatusLine::text(), QStringLiteral("该资源页面中没有找到ed2k链接,无法云点播.."));

    // No row chosen: the guard.
    lv19->clearRows();
    findRowAction(m_window, QStringLiteral("ydydbf"))->trigger();
    QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));
    QVERIFY(!form8->isVisible());
}

void TestPlayer::onDemandTab()
{
    auto* text12 = child<QLineEdit>(QStringLiteral("Text12"));
    text12->clear();
    closeOnDemandWindow();
    child<QPushButton>(QStringLiteral("Command43"))->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请输入视频地址"));
    OnDemandWindow* form8 = findOnDemandWindow(m_window);
    QVERIFY(!form8 || !form8->isVisible());

    text12->setText(QStringLiteral("old"));
    QApplication::clipboard()->setText(QStringLiteral("http://v.test/a b.mp4"));
    child<QPushButton>(QStringLiteral("Command56"))->click();
    QCOMPARE(text12->text(), QStringLiteral("http://v.test/a b.mp4"));

    StatusLine::set(QStringLiteral("before"));
    child<QPushButton>(QStringLiteral("Command43"))->click();
    form8 = findOnDemandWindow(m_window);
    QVERIFY(form8 && form8->isVisible());
    QCOMPARE(form8->browser()->url().toString(QUrl::FullyDecoded),
             m_server->roleUrl(QStringLiteral("OnDemandService")) + QStringLiteral("/api.php?ed=1&url=http://v.test/a b.mp4"));
    form8->reject();
    QCOMPARE(StatusLine::text(), QStringLiteral("before"));
}

void TestPlayer::liveChannels()
{
    auto* list1 = child<QListWidget>(QStringLiteral("List1"));
    QCOMPARE(list1->count(), 10);
    QWebEngineView* browser = sstab(3)->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"));
    QVERIFY(browser);
    auto* live = m_window->findChild<LiveChannels*>();
    QVERIFY(live);
    QSignalSpy checked(live, &LiveChannels::livePageChecked);
    // A channel page's dialogs stay silent, and its unknown-scheme links go nowhere.
    QVERIFY(qobject_cast<SilentWebPage*>(browser->page()));
    QCOMPARE(
        browser->page()->settings()->unknownUrlSchemePolicy(), QWebEngineSettings::DisallowUnknownUrlSchemes);

    list1->setCurrentRow(9);
    emit list1->itemDoubleClicked(list1->item(9));
    QCOMPARE(browser->url().toString(), m_server->roleUrl(QStringLiteral("LiveChannelHost")) + QStringLiteral("/vip/1.swf"));
    QTRY_VERIFY_WITH_TIMEOUT(!checked.isEmpty() && !checked.last().first().toBool(), 20000);

    // The provider's portal page is checked and the program carries on.
    checked.clear();
    browser->setUrl(QUrl(m_server->roleUrl(QStringLiteral("LiveChannelHost")) + QStringLiteral("/zhibo.html")));
    QTRY_VERIFY_WITH_TIMEOUT(!checked.isEmpty() && checked.last().first().toBool(), 20000);
    QVERIFY(!browser->isHidden());
    list1->setCurrentRow(2);
    emit list1->itemDoubleClicked(list1->item(2));
    QVERIFY(browser->url().toString().endsWith(QStringLiteral("/tb/tvpage.swf")));
}

void TestPlayer::forumAddressWindow()
{
    QAction* item = OnlineVideoHandlers::of(m_window)->otherFunctionsMenu()->findChild<QAction*>(
        QStringLiteral("forumAddressItem"));
    QVERIFY(item);
    item->trigger();
    ForumAddressWindow* form6 = findForumAddressWindow(m_window);
    QVERIFY(form6 && form6->isVisible());
    QCOMPARE(form6->windowModality(), Qt::ApplicationModal);
    QSignalSpy loaded(form6, &ForumAddressWindow::addressesLoaded);
    form6->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QVERIFY(loaded.wait(10000));
    QCOMPARE(form6->addressBox(2)->text(), QStringLiteral("http://203.0.113.12:8080/"));
    QCOMPARE(form6->addressBox(7)->text(), QStringLiteral("http://203.0.113.17:8080/"));
    QCOMPARE(targets("ForumAddressPage"), QStringList{QStringLiteral("/url.html")});

    // Three links: the second and third, the other boxes empty.
    const QString forum = m_server->roleUrl(QStringLiteral("ForumAddressPage"));
    SiteConfig::current().setBase(QStringLiteral("ForumAddressPage"), forum + QStringLiteral("/short"));
    form6->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QVERIFY(loaded.wait(10000));
    QCOMPARE(form6->addressBox(2)->text(), QStringLiteral("http://203.0.113.12:8080/"));
    QCOMPARE(form6->addressBox(3)->text(), QStringLiteral("http://203.0.113.13:8080/"));
    for (int i = 4; i <= 7; ++i)
        QCOMPARE(form6->addressBox(i)->text(), QString());

    // A page that does not arrive says so in the window.
    Answer drop;
    drop.drop = true;
    m_server->sites().program("/forum/short/url.html", drop);
    form6->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QVERIFY(loaded.wait(10000));
    QCOMPARE(form6->findChild<QLabel*>(QStringLiteral("forumStatusLabel"))->text(),
             QStringLiteral("获取失败(无法连接到服务器),请稍后再试.."));
    SiteConfig::current().setBase(QStringLiteral("ForumAddressPage"), forum);

    // Without the agreement the window does not open.
    form6->reject();
    setAgreement(false);
    ModalAnswerer answerer;
    item->trigger();
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("请先阅读使用协议并严格遵守!")});
    QVERIFY(!form6->isVisible());
}

QTEST_MAIN(TestPlayer)
#include "test_player.moc"
