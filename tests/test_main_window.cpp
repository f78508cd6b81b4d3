// The main window as a whole: start-up, the version gate, the announcement
// line, navigation, the status bar and the usage-agreement box. Every window
// is real; the vendor endpoint is the local sample server, answering what
// each case programs.
#include "app/application.h"
#include "app/exit_flow.h"
#include "app/main_window.h"
#include "quoted_texts.h"
#include "core/settings_store.h"
#include "app/settings_window.h"
#include "app/skins.h"
#include "app/sound_player.h"
#include "core/vendor_pages.h"
#include "modal_answerer.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "platform/open_address.h"
#include "test_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;
using lumorra::testing::TestServer;

namespace {

const std::string kVersionPath = "/vendor/version/gx.txt";
const std::string kNewsPath = "/vendor/data/gg.txt";

QString fiveNews()
{
    QString text;
    const char* colors[5] = {"red", " blue ", "green", "Red", "purple"};
    for (int i = 1; i <= 5; ++i) {
        text += QStringLiteral("title:新闻%1|url: http://news.example/%1.html |color:%2|\r\n")
                    .arg(i)
                    .arg(QLatin1String(colors[i - 1]));
    }
    return text;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    TestServer& server() { return TestServer::shared(); }
    ProgrammableSites& sites() { return server().sites(); }

    // A fresh program directory, a settings file with `settings` (key, value
    // pairs) when given, and a window built over them.
    std::unique_ptr<MainWindow> start(const QList<QPair<QString, QString>>& settings = {},
                                      bool show = false)
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("LUMORRA_HOME", m_home->path().toUtf8());
        for (const auto& kv : settings)
            SettingsStore().setValue(kv.first, kv.second);
        auto w = std::make_unique<MainWindow>();
        if (show) {
            w->show();
            if (!QTest::qWaitForWindowExposed(w.get()))
                qWarning("window not exposed");
        }
        return w;
    }

    static QWidget* child(MainWindow* w, const QString& name) { return w->findChild<QWidget*>(name); }
    static bool ready(MainWindow* w) { return w->pages()->isEnabled(); }

    std::unique_ptr<QTemporaryDir> m_home;
    QStringList m_opened;
    int m_ends = 0;

private slots:
    void initTestCase()
    {
        SiteConfig::current().pointAllAt(server().baseUrl());
        setOpenAddressHandler([this](const QString& a) { m_opened << a; });
        setProgramEndHook([this] { ++m_ends; });
    }
    void init()
    {
        sites().clearProgram();
        sites().clearRequests();
        SiteConfig::current().pointAllAt(server().baseUrl());
        m_opened.clear();
        m_ends = 0;
        // An ending shuts the fetcher; each case starts with it open.
        PageFetcher::instance().reopen();
    }
    void cleanupTestCase()
    {
        setOpenAddressHandler(nullptr);
    }

    // --- start-up -----------------------------------------------------------

    void startsLockedUntilTheVersionIsKnown()
    {
        sites().program(kVersionPath, Answer::text("V2.3"));
        auto w = start();
        // Before the check: everything the check unlocks is locked.
        QVERIFY(!w->pages()->isEnabled());
        QVERIFY(!child(w.get(), "Command6")->isEnabled());
        QVERIFY(!child(w.get(), "Check2(0)")->isEnabled());
        QVERIFY(!child(w.get(), "Check2(23)")->isEnabled());
        QVERIFY(!child(w.get(), "Command1")->isEnabled());
        QVERIFY(child(w.get(), "Picture1")->isVisibleTo(w->pages()->widget(0)));
        QCOMPARE(w->statusPanel(2)->text(), QStringLiteral("正在检测程序最新版本.."));
        QCOMPARE(w->statusPanel(5)->text(), QStringLiteral("当前版本：2.3.837"));
        QCOMPARE(w->statusPanel(4)->text(), QStringLiteral("网盘资源"));
        QVERIFY(w->timer("Timer9")->isActive());
        QVERIFY(!w->timer("Timer12")->isActive());
        QVERIFY(child(w.get(), "Command45")->isEnabled());

        QTRY_VERIFY_WITH_TIMEOUT(ready(w.get()), 8000);
        QCOMPARE(w->statusPanel(2)->text(), QStringLiteral("欢迎使用Tessaly旗下Brenn系列软件 .."));
        QVERIFY(child(w.get(), "Command6")->isEnabled());
        QVERIFY(child(w.get(), "Check2(5)")->isEnabled());
        QVERIFY(child(w.get(), "Command1")->isEnabled());
        QVERIFY(child(w.get(), "ListView1")->isEnabled());
        QVERIFY(!child(w.get(), "Picture1")->isVisibleTo(w->pages()->widget(0)));
        QVERIFY(w->timer("Timer12")->isActive());
        QVERIFY(!w->timer("Timer9")->isActive());
        QCOMPARE(m_ends, 0);
    }

    void timerTable()
    {
        sites().program(kVersionPath, Answer::text("V2.3"));
        auto w = start();
        const QMap<int, int> intervals{
            {2, 10},    {3, 100},   {4, 1000},  {5, 100},  {6, 1000},  {7, 100},  {8, 1000},  {9, 1000},
            {10, 100},  {11, 10},   {12, 100},  {13, 100}, {14, 100},  {15, 100}, {16, 1000}, {17, 100},
            {18, 1000}, {19, 100},  {20, 100},  {21, 1000}, {23, 1000}, {24, 3000}, {25, 10},  {26, 100}};
        for (auto it = intervals.begin(); it != intervals.end(); ++it) {
            QTimer* t = w->timer(QStringLiteral("Timer%1").arg(it.key()));
            QVERIFY2(t, qPrintable(QStringLiteral("Timer%1 missing").arg(it.key())));
            QCOMPARE(t->interval(), it.value());
            QCOMPARE(t->isActive(), it.key() == 9);
        }
    }

    void startsWithoutSettingsFile()
    {
        auto w = start();
        QCOMPARE(lastSkinRequest(), m_home->path() + "/1.she");
        auto* check1 = w->findChild<QCheckBox*>("Check1");
        QVERIFY(check1);
        QVERIFY(!check1->isChecked());
        QVERIFY(!w->timer("Timer25")->isActive());
        QVERIFY(!w->exitFlags().stopPlayer);
        QVERIFY(!w->exitFlags().stopNetwork);
        auto* w2 = w->findChild<SoundPlayer*>("W2");
        QVERIFY(!w2 || w2->lastRequest().isEmpty());
        auto* w1 = w->findChild<SoundPlayer*>("W1");
        QVERIFY(w1);
        QCOMPARE(w1->lastRequest(), m_home->path() + "/brenn.mp3");
        QCOMPARE(w1->volume(), 100);
        // Nothing was written: the agreement box was not touched.
        QVERIFY(!QFile::exists(m_home->path() + "/qmtb.ini"));
    }

    void skinChosenAtStart_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("file");
        QTest::newRow("8") << "8" << 9;
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("3") << "3" << 4;
        QTest::newRow("9") << "9" << 1;
        QTest::newRow("-1") << "-1" << 1;
        QTest::newRow("letters") << "abc" << 1;
        QTest::newRow("half") << "2.5" << 1;
        QTest::newRow("whole with point") << "4.0" << 5;
        QTest::newRow("leading number") << "6x" << 7;
    }
    void skinChosenAtStart()
    {
        QFETCH(QString, value);
        QFETCH(int, file);
        QCOMPARE(skinFileFor(value), QStringLiteral("%1/%2.she").arg(QString::fromUtf8(qgetenv("LUMORRA_HOME"))).arg(file));
    }

    void startUpAttachesTheSkinFile()
    {
        QTemporaryDir dir;
        qputenv("LUMORRA_HOME", dir.path().toUtf8());
        for (int i = 1; i <= 9; ++i) {
            QFile f(dir.path() + QStringLiteral("/%1.she").arg(i));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral("/* skin %1 */ QPushButton { color: #00000%1; }").arg(i).toUtf8());
        }
        SettingsStore().setValue(QStringLiteral("软件皮肤"), QStringLiteral("8"));
        MainWindow w;
        QVERIFY(qApp->styleSheet().startsWith(QStringLiteral("/* skin 9 */")));
        QCOMPARE(attachedSkin(), dir.path() + "/9.she");

        // A missing skin file leaves the look in force.
        QFile::remove(dir.path() + "/1.she");
        SettingsStore().setValue(QStringLiteral("软件皮肤"), QStringLiteral("abc"));
        MainWindow w2;
        QCOMPARE(lastSkinRequest(), dir.path() + "/1.she");
        QVERIFY(qApp->styleSheet().startsWith(QStringLiteral("/* skin 9 */")));
        qApp->setStyleSheet(QString());
    }

    void switchesAtStart()
    {
        auto w = start({{QStringLiteral("屏蔽快播广告"), QStringLiteral("不是很想")},
                        {QStringLiteral("关闭快播"), QStringLiteral("否")},
                        {QStringLiteral("关闭协议"), QStringLiteral("1")}});
        QVERIFY(w->timer("Timer25")->isActive());
        QVERIFY(!w->exitFlags().stopPlayer);
        QVERIFY(!w->exitFlags().stopNetwork);
        w->timer("Timer25")->stop();

        auto w2 = start({{QStringLiteral("关闭快播"), QStringLiteral("是")},
                         {QStringLiteral("关闭协议"), QStringLiteral("就是")},
                         {QStringLiteral("屏蔽快播广告"), QString()}});
        QVERIFY(w2->exitFlags().stopPlayer);
        QVERIFY(w2->exitFlags().stopNetwork);
        QVERIFY(!w2->timer("Timer25")->isActive());
    }

    void fixedListsAndLabels()
    {
        auto w = start();
        auto* list1 = w->findChild<QListWidget*>("List1");
        QVERIFY(list1);
        QCOMPARE(list1->count(), 10);
        QCOMPARE(list1->item(2)->text(), QStringLiteral("同步跟播"));
        QCOMPARE(list1->item(9)->text(), QStringLiteral("VIP免费频道"));
        auto* combo1 = w->pages()->widget(1)->findChild<QComboBox*>("Combo1");
        QVERIFY(combo1);
        QCOMPARE(combo1->count(), 3);
        QCOMPARE(combo1->currentIndex(), 0);
        auto* subject = w->findChild<QComboBox*>("subject");
        QVERIFY(subject);
        QCOMPARE(subject->count(), 11);
        QCOMPARE(subject->itemText(2), QString(17, u'-'));
        QCOMPARE(subject->itemText(10), QStringLiteral("广告/合作/代理咨询"));
        QCOMPARE(w->findChild<QLabel*>("Label18")->text(), QStringLiteral("版本号：2.3.837"));
        QVERIFY(w->findChild<QLabel*>("Label31")->text().startsWith(QStringLiteral("最后更新：")));
        QVERIFY(w->findChild<QLabel*>("Label31")->text().size() > 6);
        QCOMPARE(w->windowTitle(), QStringLiteral("Lumorra 2014【正式版】 - 搜你所想"));

        auto* browser = w->findChild<QWebEngineView*>("WebBrowser1");
        QVERIFY(browser);
        QCOMPARE(browser->url().toString(), SiteConfig::current().base(role::LiveChannelHost) + "/tb/tvpage.swf");
    }

    void linkColumnsStayHidden()
    {
        auto w = start();
        const QList<QPair<QString, int>> hidden{{"ListView3", 2}, {"ListView14", 4}, {"ListView2", 4},
                                                {"ListView2", 5}, {"ListView4", 4},  {"ListView13", 4}};
        for (const auto& h : hidden) {
            auto* list = w->findChild<QTreeWidget*>(h.first);
            QVERIFY2(list, qPrintable(h.first));
            QCOMPARE(list->columnWidth(h.second), 0);
        }
        for (int i = 1; i <= 19; ++i) {
            auto* list = w->findChild<QTreeWidget*>(QStringLiteral("ListView%1").arg(i));
            QVERIFY(list);
            for (int c = 0; c < list->columnCount(); ++c)
                QCOMPARE(list->header()->sectionResizeMode(c), QHeaderView::Fixed);
            QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        }
    }

    // --- version gate -------------------------------------------------------

    void newerVersionEnds_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("V2.4") << QByteArray("V2.4");
        QTest::newRow("trailing line break") << QByteArray("V2.3\r\n");
        QTest::newRow("lower case") << QByteArray("v2.3");
    }
    void newerVersionEnds()
    {
        QFETCH(QByteArray, file);
        sites().program(kVersionPath, Answer::text(file.toStdString()));
        ModalAnswerer answerer;
        auto w = start();
        QTRY_COMPARE_WITH_TIMEOUT(m_ends, 1, 8000);
        const QString fetched = QString::fromUtf8(file);
        QCOMPARE(answerer.texts(),
                 QStringList{QStringLiteral("发现最新版本![") + fetched + QStringLiteral("]\r\n \r\n确定后自动打开官方网站!")});
        QCOMPARE(answerer.titles(), QStringList{QStringLiteral("Brenn系列软件")});
        QCOMPARE(m_opened, QStringList{makerHomePageAddress()});
        QCOMPARE(w->statusPanel(2)->text(), QStringLiteral("欢迎使用Tessaly旗下Brenn系列软件 .."));
        QVERIFY(!ready(w.get()));
    }

    void unusableEndpointEnds_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("status");
        QTest::newRow("empty file") << false << 200;
        QTest::newRow("refused") << true << 0;
        // An error page names no version, however it reads.
        QTest::newRow("404 page") << false << 404;
        QTest::newRow("500 page") << false << 500;
    }
    void unusableEndpointEnds()
    {
        QFETCH(bool, refused);
        QFETCH(int, status);
        if (status >= 400) {
            sites().program(kVersionPath, Answer::html("<html><body>V2.3 Not Found</body></html>", status));
        } else if (refused) {
            // A port that was free a moment ago: nobody answers there.
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            const quint16 port = probe.serverPort();
            probe.close();
            SiteConfig::current().setBase(role::VendorEndpoint, QStringLiteral("http://127.0.0.1:%1").arg(port));
        }
        else {
            sites().program(kVersionPath, Answer::text(""));
        }
        ModalAnswerer answerer;
        auto w = start();
        QTRY_COMPARE_WITH_TIMEOUT(m_ends, 1, 8000);
        QCOMPARE(answerer.texts(), QStringList{QStringLiteral("暂时无法使用!请您稍后再试!")});
        QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Warning});
        QVERIFY(m_opened.isEmpty());
        QVERIFY(!ready(w.get()));
        QCOMPARE(w->statusPanel(2)->text(), QStringLiteral("正在检测程序最新版本.."));
    }

    void slowVersionFileIsFetchedOnce()
    {
        Answer slow = Answer::text("V2.3");
        slow.delayMs = 2600;   // more than two ticks of Timer9
        sites().program(kVersionPath, slow);
        auto w = start();
        QTRY_VERIFY_WITH_TIMEOUT(ready(w.get()), 10000);
        // The check switched its timer off at its first tick: no second one.
        QVERIFY(!w->timer("Timer9")->isActive());
        QCOMPARE(int(sites().requestsFor(kVersionPath).size()), 1);
    }

    // The user may ask to close while the version fetch still waits: the exit
    // question runs inside that wait. Cancel lets the check finish; an ending
    // answer ends the program, and the late version answer changes nothing.
    void closeWhileTheVersionFetchWaits_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << QByteArray("V2.3");
        QTest::newRow("Yes, newer version arrives late") << int(QMessageBox::Yes) << QByteArray("V2.4");
        QTest::newRow("No, current version arrives late") << int(QMessageBox::No) << QByteArray("V2.3");
        QTest::newRow("No, empty file arrives late") << int(QMessageBox::No) << QByteArray("");
    }
    void closeWhileTheVersionFetchWaits()
    {
        QFETCH(int, answer);
        QFETCH(QByteArray, file);
        Answer slow = Answer::text(file.toStdString());
        slow.delayMs = 2000;
        sites().program(kVersionPath, slow);
        ModalAnswerer answerer;
        answerer.queue(QMessageBox::StandardButton(answer));
        auto w = start({}, true);

        // Events reach the window only from inside the fetch's wait once the
        // request is out, so the close request is made from a timer there.
        bool asked = false;
        bool closed = false;
        QString statusWhenAsked;
        QTimer closer;
        closer.setInterval(50);
        connect(&closer, &QTimer::timeout, this, [&] {
            if (asked || sites().requestsFor(kVersionPath).empty())
                return;
            asked = true;
            statusWhenAsked = w->statusPanel(2)->text();
            closed = w->close();
        });
        closer.start();
        QTRY_VERIFY_WITH_TIMEOUT(asked, 8000);
        QCOMPARE(statusWhenAsked, QStringLiteral("正在检测程序最新版本.."));
        QCOMPARE(answerer.texts(),
            QStringList{QStringLiteral("感谢您对Avenel、对Brenn系列的软件的支持!\r \r"
                                       "是否退出并到论坛可以下载更多Brenn系列原创免费软件?")});

        if (answer == QMessageBox::Cancel) {
            QVERIFY(!closed);
            QTRY_VERIFY_WITH_TIMEOUT(ready(w.get()), 8000);
            QVERIFY(w->isVisible());
            QVERIFY(w->timer("Timer12")->isActive());
            QCOMPARE(w->statusPanel(2)->text(), QStringLiteral("欢迎使用Tessaly旗下Brenn系列软件 .."));
            QCOMPARE(m_ends, 0);
            QCOMPARE(answerer.count(), 1);
            return;
        }

        QVERIFY(closed);
        QCOMPARE(m_ends, 1);
        // The late answer can reach nothing: its request was dropped unheard.
        QVERIFY(PageFetcher::instance().isShuttingDown());
        QCOMPARE(PageFetcher::instance().pendingCount(), 0);
        QCOMPARE(int(sites().requestsFor(kVersionPath).size()), 1);
        QCOMPARE(m_ends, 1);
        QCOMPARE(answerer.count(), 1);
        QVERIFY(!ready(w.get()));
        QVERIFY(!w->timer("Timer12")->isActive());
        QCOMPARE(w->statusPanel(2)->text(), QStringLiteral("正在检测程序最新版本.."));
        QCOMPARE(m_opened, answer == QMessageBox::Yes ? QStringList{forumPageAddress()} : QStringList{});
    }

    // The settings window, too, can be opened during that wait; a Save that
    // restarts ends this instance, and the late answer must then stay unused.
    void restartFromSettingsWhileTheVersionFetchWaits()
    {
        Answer slow = Answer::text("V2.4");
        slow.delayMs = 2000;
        sites().program(kVersionPath, slow);
        int restarts = 0;
        SettingsWindow::setRestartHook([&restarts] { ++restarts; });
        ModalAnswerer answerer;
        answerer.queue(QMessageBox::Yes);   // the restart question
        answerer.onDialog([](QWidget* dialog) {
            QPointer<QWidget> form9(dialog);
            QTimer::singleShot(0, dialog, [form9] {
                if (form9)
                    form9->findChild<QPushButton*>("Command1")->click();
            });
        });
        auto w = start();

        bool opened = false;
        QTimer opener;
        opener.setInterval(50);
        connect(&opener, &QTimer::timeout, this, [&] {
            if (opened || sites().requestsFor(kVersionPath).empty())
                return;
            opened = true;
            w->Command45_Click();
        });
        opener.start();
        QTRY_VERIFY_WITH_TIMEOUT(opened, 8000);
        QTRY_COMPARE_WITH_TIMEOUT(restarts, 1, 8000);
        QCOMPARE(PageFetcher::instance().pendingCount(), 0);
        SettingsWindow::setRestartHook(nullptr);

        QCOMPARE(answerer.dialogs(), QStringList{QStringLiteral("Form9")});
        QCOMPARE(answerer.texts(), QStringList{QStringLiteral("设置成功!需重启生效,现在为您重启软件?")});
        QCOMPARE(restarts, 1);
        QCOMPARE(m_ends, 1);
        QVERIFY(m_opened.isEmpty());
        QVERIFY(!ready(w.get()));
    }

    // --- announcements ------------------------------------------------------

    void announcementsRotate()
    {
        sites().program(kVersionPath, Answer::text("V2.3"));
        sites().program(kNewsPath, Answer::text(fiveNews().toStdString()));
        ModalAnswerer answerer;
        auto w = start();
        auto* label17 = w->findChild<QLabel*>("Label17");
        QCOMPARE(label17->text(), QStringLiteral("公告加载中"));

        QTRY_COMPARE_WITH_TIMEOUT(label17->text(), QStringLiteral("新闻1"), 8000);
        QCOMPARE(label17->toolTip(), QStringLiteral("新闻1"));
        QCOMPARE(w->timer("Timer12")->interval(), 10000);
        label17->ensurePolished();
        QCOMPARE(label17->palette().color(QPalette::WindowText), QColor(255, 0, 0));

        QTest::mouseClick(label17, Qt::LeftButton);
        QCOMPARE(m_opened, QStringList{QStringLiteral("http://news.example/1.html")});
        QCOMPARE(answerer.count(), 0);

        // The next ticks, without waiting ten seconds each.
        const QColor expected[5] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 255, 0), Qt::black, Qt::black};
        for (int n = 2; n <= 6; ++n) {
            w->Timer12_Timer();
            const int shown = (n - 1) % 5 + 1;
            QCOMPARE(w->announcementNumber(), shown);
            QCOMPARE(label17->text(), QStringLiteral("新闻%1").arg(shown));
            label17->ensurePolished();
            QCOMPARE(label17->palette().color(QPalette::WindowText), expected[shown - 1]);
        }
        // Only the one fetch: the file stays once it has text.
        QCOMPARE(int(sites().requestsFor(kNewsPath).size()), 1);
    }

    void emptyAnnouncementFileIsFetchedAgain()
    {
        sites().program(kVersionPath, Answer::text("V2.3"));
        sites().program(kNewsPath, Answer::text(""));
        ModalAnswerer answerer;
        auto w = start();
        QTRY_VERIFY_WITH_TIMEOUT(sites().requestsFor(kNewsPath).size() >= 3, 8000);
        auto* label17 = w->findChild<QLabel*>("Label17");
        QCOMPARE(label17->text(), QStringLiteral("公告加载中"));

        QTest::mouseClick(label17, Qt::LeftButton);
        QTRY_COMPARE(answerer.texts(), QStringList{QStringLiteral("正在获取公告，请稍等..")});
        QVERIFY(m_opened.isEmpty());

        // Two announcements only: the line goes round those two.
        sites().program(kNewsPath, Answer::text("title:甲|url:http://a/|color:blue|title:乙|url:http://b/|color:x|"));
        QTRY_COMPARE_WITH_TIMEOUT(label17->text(), QStringLiteral("甲"), 5000);
        w->Timer12_Timer();
        QCOMPARE(label17->text(), QStringLiteral("乙"));
        w->Timer12_Timer();
        QCOMPARE(label17->text(), QStringLiteral("甲"));
        QCOMPARE(w->announcementUrl(), QStringLiteral("http://a/"));
    }

    void announcementErrorPagesAndForeignLinks()
    {
        // A 404 page is no announcement file: it is asked for again, as when
        // the fetch fails, and never shown.
        sites().program(kVersionPath, Answer::text("V2.3"));
        sites().program(kNewsPath, Answer::html("<html>title:错误页|url:http://x/|</html>", 404));
        ModalAnswerer answerer;
        auto w = start();
        QTRY_VERIFY_WITH_TIMEOUT(sites().requestsFor(kNewsPath).size() >= 3, 8000);
        auto* label17 = w->findChild<QLabel*>("Label17");
        QCOMPARE(label17->text(), QStringLiteral("公告加载中"));

        // Links from the network open only as web pages; markup shows as text.
        sites().program(kNewsPath, Answer::text("title:<b>粗</b>|url:file:///etc/passwd|color:red|"
                                                "title:二|url:javascript:alert(1)|color:red|"
                                                "title:三|url: https://ok.example/3 |color:red|"));
        QTRY_COMPARE_WITH_TIMEOUT(label17->text(), QStringLiteral("<b>粗</b>"), 5000);
        QCOMPARE(label17->textFormat(), Qt::PlainText);
        QTest::mouseClick(label17, Qt::LeftButton);
        w->Timer12_Timer();
        QTest::mouseClick(label17, Qt::LeftButton);
        w->Timer12_Timer();
        QTest::mouseClick(label17, Qt::LeftButton);
        QCOMPARE(m_opened, QStringList{QStringLiteral("https://ok.example/3")});
        QCOMPARE(answerer.count(), 0);
    }

    void statusLineShowsKeywordsAsText()
    {
        auto w = start();
        StatusLine::set(QStringLiteral("正在为您搜索[<b>x</b>]相关资源.."));
        for (int panel = 1; panel <= 6; ++panel)
            QCOMPARE(w->statusPanel(panel)->textFormat(), Qt::PlainText);
    }

    void restartPassesOnTheUsersOwnOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("none") << QStringList{} << QStringList{};
        QTest::newRow("user options kept")
            << QStringList{"--sites", "/a/sites.ini", "--demo"} << QStringList{"--sites", "/a/sites.ini", "--demo"};
        QTest::newRow("run-once options dropped")
            << QStringList{"--demo", "--screenshot", "/tmp/s.png", "--screenshot-pages", "/tmp/p", "--quit-after", "12"}
            << QStringList{"--demo"};
        QTest::newRow("inline values and single dash")
            << QStringList{"-quit-after=3", "--screenshot=/x.png", "--sites=/b.ini"} << QStringList{"--sites=/b.ini"};
    }
    void restartPassesOnTheUsersOwnOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, kept);
        QCOMPARE(restartArguments(arguments), kept);
    }

    // --- navigation and status bar -----------------------------------------

    void navigationSwitchesPages()
    {
        sites().program(kVersionPath, Answer::text("V2.3"));
        auto w = start({}, true);
        auto* highlight = child(w.get(), "aicAlphaImage3");
        auto* marker = child(w.get(), "aicAlphaImage4");
        auto* button5 = child(w.get(), "aicAlphaImage2(5)");
        QVERIFY(highlight && marker && button5);

        // Locked window: hovering offers nothing.
        QTest::mouseMove(button5, QPoint(20, 20));
        QVERIFY(!highlight->isVisible());

        QTRY_VERIFY_WITH_TIMEOUT(ready(w.get()), 8000);
        QTest::mouseMove(button5, QPoint(24, 22));
        QTRY_VERIFY(highlight->isVisible());
        QCOMPARE(highlight->pos(), button5->pos() - QPoint(0, 10));
        QCOMPARE(w->hoverIndexText(), QStringLiteral("5"));

        QTest::mouseClick(highlight, Qt::LeftButton, {}, QPoint(10, 30));
        QCOMPARE(w->pages()->currentIndex(), 5);
        QVERIFY(!highlight->isVisible());
        QVERIFY(marker->isVisible());
        QCOMPARE(marker->pos(), button5->pos() - QPoint(0, 10));
        QCOMPARE(w->statusPanel(4)->text(), QStringLiteral("综合资源"));

        // Moving on to the bar's background hides the highlight again.
        auto* button2 = child(w.get(), "aicAlphaImage2(2)");
        QTest::mouseMove(button2, QPoint(30, 20));
        QTRY_VERIFY(highlight->isVisible());
        QCOMPARE(w->hoverIndexText(), QStringLiteral("2"));
        QTest::mouseMove(child(w.get(), "Picture4"), QPoint(5, 95));
        QTRY_VERIFY(!highlight->isVisible());
        QCOMPARE(w->pages()->currentIndex(), 5);
    }

    void pageCaptionsInPanel4()
    {
        auto w = start();
        w->pages()->setCurrentIndex(3);
        QCOMPARE(w->statusPanel(4)->text(), QStringLiteral("书籍资源"));
        w->pages()->setCurrentIndex(7);
        QCOMPARE(w->statusPanel(4)->text(), QStringLiteral("关于程序"));
        for (int n = 2; n <= 5; ++n) {
            auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("SSTab%1").arg(n));
            QVERIFY2(tabs, qPrintable(QStringLiteral("SSTab%1").arg(n)));
            tabs->setCurrentIndex(tabs->count() - 1);
            QCOMPARE(w->statusPanel(4)->text(), tabs->tabText(tabs->count() - 1));
            tabs->setCurrentIndex(0);
            QCOMPARE(w->statusPanel(4)->text(), tabs->tabText(0));
        }
        QCOMPARE(w->findChild<QTabWidget*>("SSTab2")->tabText(1), QStringLiteral("BT资源"));
    }

    // Panel 4 names whatever page is on show, the longest sub-page caption
    // included, without cutting it off, even in the smallest window.
    void statusPanelsFitTheSmallestWindow()
    {
        // With the shipped skin: its font decides the widths.
        QTemporaryDir home;
        qputenv("LUMORRA_HOME", home.path().toUtf8());
        QVERIFY(QFile::copy(QFINDTESTDATA("../skins/1.she"), home.path() + "/1.she"));
        auto w = std::make_unique<MainWindow>();
        QVERIFY(!qApp->styleSheet().isEmpty());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->resize(w->minimumSize());
        QList<QTabWidget*> tabs{w->pages()};
        for (int n = 2; n <= 5; ++n)
            tabs << w->findChild<QTabWidget*>(QStringLiteral("SSTab%1").arg(n));
        for (QTabWidget* t : tabs) {
            for (int i = 0; i < t->count(); ++i) {
                t->setCurrentIndex(i);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                QCoreApplication::processEvents();
                for (int panel = 1; panel <= 6; ++panel) {
                    QLabel* label = w->statusPanel(panel);
                    const int needed = label->fontMetrics().horizontalAdvance(label->text());
                    QVERIFY2(label->contentsRect().width() >= needed,
                             qPrintable(QStringLiteral("panel %1 cuts \"%2\"").arg(panel).arg(label->text())));
                }
            }
        }
        w.reset();
        qApp->setStyleSheet(QString());
    }

    void panelAndLogoClicks()
    {
        auto w = start({}, true);
        QTest::mouseClick(w->statusPanel(6), Qt::LeftButton);
        QCOMPARE(m_opened, QStringList{makerHomePageAddress()});
        QTest::mouseClick(child(w.get(), "Image1"), Qt::LeftButton);
        QCOMPARE(m_opened.size(), 2);
        QCOMPARE(m_opened.last(), makerHomePageAddress());
        QTest::mouseClick(w->statusPanel(1), Qt::LeftButton);
        QTest::mouseClick(w->statusPanel(4), Qt::LeftButton);
        QCOMPARE(m_opened.size(), 2);

        QVERIFY(!w->findChild<QWebEngineView*>("WebBrowser3"));
        QTest::mouseClick(w->statusPanel(3), Qt::LeftButton);
        auto* browser3 = w->findChild<QWebEngineView*>("WebBrowser3");
        QVERIFY(browser3);
        QVERIFY(!browser3->isVisible());
        QCOMPARE(browser3->url().toString(), chatGroupPageAddress());
        QCOMPARE(m_opened.size(), 2);

        // The about page's maker links: home page, then the forum.
        QTRY_VERIFY_WITH_TIMEOUT(ready(w.get()), 8000);
        w->pages()->setCurrentIndex(7);
        QTest::mouseClick(child(w.get(), "Label21"), Qt::LeftButton);
        QTest::mouseClick(child(w.get(), "Label22"), Qt::LeftButton);
        QTest::mouseClick(child(w.get(), "Label37(3)"), Qt::LeftButton);
        QTest::mouseClick(child(w.get(), "Label37(4)"), Qt::LeftButton);
        QCOMPARE(m_opened.mid(2), (QStringList{makerHomePageAddress(), forumPageAddress(), forumPageAddress(),
                                               chatGroupPageAddress()}));
    }

    void buttonsOfTheWindow()
    {
        ModalAnswerer answerer;
        auto w = start();
        qobject_cast<QPushButton*>(child(w.get(), "Command45"))->click();
        QCOMPARE(answerer.dialogs(), QStringList{QStringLiteral("Form9")});
        QVERIFY(!w->findChild<QDialog*>("Form9"));

        w->Command6_Click();
        QCOMPARE(answerer.texts(), QStringList{QStringLiteral("内存释放完毕!")});
        QVERIFY(!w->timer("Timer9")->isActive());
    }

    void closeAsksFirst()
    {
        ModalAnswerer answerer;
        auto w = start({}, true);
        answerer.queue(QMessageBox::Cancel);
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(m_ends, 0);
        QCOMPARE(answerer.count(), 1);

        answerer.queue(QMessageBox::No);
        QVERIFY(w->close());
        QCOMPARE(m_ends, 1);
    }

    // --- usage agreement ------------------------------------------------------

    void agreementBox()
    {
        ModalAnswerer answerer;
        auto w = start();
        auto* check1 = w->findChild<QCheckBox*>("Check1");
        const QString key = QStringLiteral("阅读协议");
        QTRY_VERIFY_WITH_TIMEOUT(ready(w.get()), 8000);

        // Key absent: the tick is written without a question, so is the untick.
        check1->click();
        QVERIFY(check1->isChecked());
        QCOMPARE(SettingsStore().value(key), QStringLiteral("是"));
        check1->click();
        QCOMPARE(SettingsStore().value(key), QStringLiteral("否"));
        QCOMPARE(answerer.count(), 0);

        // 否 stored: ticking shows the agreement; No takes the tick back.
        answerer.queue(QMessageBox::No);
        check1->click();
        QCOMPARE(answerer.texts(),
            QStringList{lumorra::testing::usageAgreementLiteral()});
        QVERIFY(!check1->isChecked());
        QCOMPARE(SettingsStore().value(key), QStringLiteral("否"));

        // Yes keeps the tick and stores 是.
        answerer.queue(QMessageBox::Yes);
        check1->click();
        QVERIFY(check1->isChecked());
        QCOMPARE(SettingsStore().value(key), QStringLiteral("是"));
        QCOMPARE(answerer.count(), 2);

        // Unticking while the value holds 否: no question, nothing written.
        SettingsStore().setValue(key, QStringLiteral("否认"));
        check1->click();
        QVERIFY(!check1->isChecked());
        QCOMPARE(SettingsStore().value(key), QStringLiteral("否认"));
        QCOMPARE(answerer.count(), 2);

        const QStringList lines = MainWindow::agreementText().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 10);
        QVERIFY(lines[1].isEmpty() && lines[8].isEmpty());
        QCOMPARE(lines.last(), QStringLiteral("是否能保证遵守？"));
    }

    void agreementAtStart()
    {
        ModalAnswerer answerer;
        auto w = start({{QStringLiteral("阅读协议"), QStringLiteral("是")}});
        QVERIFY(w->findChild<QCheckBox*>("Check1")->isChecked());
        QCOMPARE(answerer.count(), 0);

        // A value holding both marks: the tick at start asks first.
        answerer.queue(QMessageBox::No);
        auto w2 = start({{QStringLiteral("阅读协议"), QStringLiteral("是否")}});
        QCOMPARE(answerer.count(), 1);
        QVERIFY(!w2->findChild<QCheckBox*>("Check1")->isChecked());
        QCOMPARE(SettingsStore().value(QStringLiteral("阅读协议")), QStringLiteral("否"));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_window.moc"
