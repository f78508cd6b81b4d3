// The three Command2 searches in the real main window against the sample
// sites: keyword checks, the exact URLs fetched, the rows, the status line,
// the message boxes, and what the window shows when a page does not arrive.
#include "app/main_window_factory.h"
#include "ui/page_number_box.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "pages/torrent/torrent_search.h"
#include "sources/definitions/site_definitions.h"

#include "fetch_now.h"
#include "modal_answerer.h"
#include "test_server.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;
using lumorra::testing::TestServer;

namespace {

// Records the status line and one button's state every few milliseconds, so
// a test can see what the window showed while a handler waited for its page.
class Sampler : public QObject {
public:
    explicit Sampler(QPushButton* button) : m_button(button)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            samples << qMakePair(StatusLine::text(), m_button->isEnabled());
        });
        m_timer.start(10);
    }
    QList<QPair<QString, bool>> samples;

private:
    QPushButton* m_button;
    QTimer m_timer;
};

std::string indexPageWith(int magnets, int names)
{
    std::string page = "<table>";
    for (int i = 1; i <= names; ++i)
        page += "<tr><td class=\"name\">gap-" + std::to_string(i) + ".iso</td></tr>";
    for (int i = 1; i <= magnets; ++i)
        page += "<a href=\"magnet:?xt=urn:btih:gap" + std::to_string(i) + "\">m</a>";
    return page + "</table>";
}

} // namespace

class TestTorrentSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void keywordChecks();
    void torrentIndexPagesAndUrls();
    void torrentIndexNothingFound();
    void torrentIndexNewSearchIgnoresLastSearchState();
    void torrentIndexPendingCountStopsAt16Bits();
    void fetchFailuresReenableTheButton_data();
    void fetchFailuresReenableTheButton();
    void torrentRssFeed();
    void torrentRssNothingFound();
    void filmResourceSearch();
    void filmResourceNoResult();
    void memoryReleaseMidSearchStillEndsIt_data();
    void memoryReleaseMidSearchStillEndsIt();
    void aUsersDefinitionMovesTheNameCell();

private:
    QPushButton* command2(int i) const
    {
        return m_window->findChild<QPushButton*>(QStringLiteral("Command2(%1)").arg(i));
    }
    QLineEdit* edit(const char* name) const { return m_window->findChild<QLineEdit*>(QLatin1String(name)); }
    ResultList* list(const char* name) const { return findResultList(m_window, QLatin1String(name)); }
    // The raw targets fetched under one role since the last clearRequests().
    QStringList targets(const char* role) const
    {
        QStringList out;
        const std::string prefix = SampleSites::prefixFor(role);
        for (const LoggedRequest& r : m_server->sites().requests())
            if (r.target.compare(0, prefix.size(), prefix) == 0)
                out << QString::fromStdString(r.target);
        return out;
    }
    QString roleUrl(const char* role) const { return m_server->roleUrl(QLatin1String(role)); }
    // Clicks Command2(index) and waits until that search has ended.
    bool runSearch(int index)
    {
        QSignalSpy ended(m_searches, &TorrentSearches::searchEnded);
        command2(index)->click();
        return ended.wait(20000) && ended.first().first().toInt() == index;
    }

    QTemporaryDir m_home;
    std::unique_ptr<TestServer> m_server;
    QWidget* m_window = nullptr;
    TorrentSearches* m_searches = nullptr;
};

void TestTorrentSearch::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("LUMORRA_HOME", m_home.path().toLocal8Bit());
    m_server = std::make_unique<TestServer>();
    SiteConfig::current().pointAllAt(m_server->baseUrl());
    m_window = createMainWindow();
    m_searches = installTorrentSearches(m_window);
    QVERIFY(m_searches);
    QCOMPARE(installTorrentSearches(m_window), m_searches);   // once per window
    // The pages open once the version check has passed.
    QTRY_VERIFY_WITH_TIMEOUT(command2(0)->isEnabled(), 10000);
}

void TestTorrentSearch::cleanupTestCase()
{
    delete m_window;
    m_window = nullptr;
}

void TestTorrentSearch::init()
{
    m_server->sites().clearProgram();
    m_server->sites().clearRequests();
    PageFetcher::instance().setTimeoutSeconds(30);
}

void TestTorrentSearch::keywordChecks()
{
    ResultList* lv2 = list("ListView2");
    lv2->clearRows();
    lv2->addRow(QStringLiteral("old"));
    edit("Text2")->clear();
    command2(0)->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请输入您要搜索的关键字.."));
    QCOMPARE(lv2->rowCount(), 1);
    QVERIFY(command2(0)->isEnabled());

    edit("Text8")->clear();
    command2(1)->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请输入您要搜索的关键字.."));

    // The hint of Text13 counts as no keyword.
    edit("Text13")->setText(QStringLiteral("请您输入关键字.."));
    command2(2)->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请输入关键字..."));
    edit("Text13")->clear();
    command2(2)->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请输入关键字..."));
    // Indices outside the array start nothing.
    StatusLine::set(QStringLiteral("unchanged"));
    m_searches->Command2_Click(3);
    m_searches->Command2_Click(-1);
    QCOMPARE(StatusLine::text(), QStringLiteral("unchanged"));
    QVERIFY(m_server->sites().requests().empty());

    // Blanks are a keyword: it is sent, escaped.
    edit("Text2")->setText(QStringLiteral(" "));
    edit("Text4")->setText(QStringLiteral("1"));
    QVERIFY(runSearch(0));
    QCOMPARE(targets("TorrentIndexSite"), QStringList{QStringLiteral("/torrent-index/search/%20/1")});
    QVERIFY(command2(0)->isEnabled());
}

void TestTorrentSearch::torrentIndexPagesAndUrls()
{
    ResultList* lv2 = list("ListView2");
    QLineEdit* text4 = edit("Text4");
    edit("Text2")->setText(QStringLiteral("ubuntu"));
    text4->setText(QStringLiteral("3"));
    QVERIFY(runSearch(0));
    QCOMPARE(targets("TorrentIndexSite"), QStringList{QStringLiteral("/torrent-index/search/ubuntu/3")});
    QCOMPARE(StatusLine::text(), QStringLiteral("搜索完毕.."));
    QVERIFY(command2(0)->isEnabled());
    QCOMPARE(lv2->rowCount(), 3);
    QTreeWidgetItem* first = lv2->topLevelItem(0);
    QCOMPARE(lv2->cell(first, QStringLiteral("xh")), QStringLiteral("1"));
    QCOMPARE(lv2->cell(lv2->topLevelItem(2), QStringLiteral("xh")), QStringLiteral("3"));
    QCOMPARE(lv2->cell(first, QStringLiteral("mc")), QStringLiteral("ubuntu-18.04.6-desktop-amd64.iso"));
    QCOMPARE(lv2->cell(first, QStringLiteral("dx")), QStringLiteral("2.37 GB"));
    QCOMPARE(lv2->cell(first, QStringLiteral("rq")), QStringLiteral("2021-09-17"));
    const QString magnet = lv2->cell(first, QStringLiteral("fhdz"));
    QVERIFY2(magnet.startsWith(QStringLiteral("magnet:?xt=urn:btih:")), qPrintable(magnet));
    const QString hash = magnet.mid(QStringLiteral("magnet:?xt=urn:btih:").size());
    QCOMPARE(lv2->cell(first, QStringLiteral("xzdz")), roleUrl("TorrentIndexSite") + QStringLiteral("/information/") + hash);

    // The page box: an unusable page becomes page 1, the bar writes its value.
    text4->setText(QStringLiteral("0"));
    QCOMPARE(text4->text(), QStringLiteral("1"));
    text4->setText(QStringLiteral("abc"));
    QCOMPARE(text4->text(), QStringLiteral("1"));
    auto* bar = m_window->findChild<QScrollBar*>(PageNumberBox::barName(1));
    QVERIFY(bar);
    bar->setValue(2);
    QCOMPARE(text4->text(), QStringLiteral("2"));
    m_server->sites().clearRequests();
    QVERIFY(runSearch(0));
    QCOMPARE(targets("TorrentIndexSite"), QStringList{QStringLiteral("/torrent-index/search/ubuntu/2")});
    QCOMPARE(lv2->rowCount(), 5);
    QCOMPARE(lv2->cell(lv2->topLevelItem(0), QStringLiteral("mc")), QStringLiteral("kubuntu-22.04.4-desktop-amd64.iso"));

    // A Chinese keyword goes out as its UTF-8 escapes.
    edit("Text2")->setText(QStringLiteral("电影"));
    text4->setText(QStringLiteral("1"));
    m_server->sites().clearRequests();
    QVERIFY(runSearch(0));
    QCOMPARE(targets("TorrentIndexSite"),
             QStringList{QStringLiteral("/torrent-index/search/%E7%94%B5%E5%BD%B1/1")});
    QCOMPARE(lv2->rowCount(), 4);
    QCOMPARE(lv2->cell(lv2->topLevelItem(0), QStringLiteral("mc")), QStringLiteral("流浪地球2.2023.HD1080P.国语中字.mp4"));
    QTRY_VERIFY(command2(0)->isEnabled());
}

void TestTorrentSearch::torrentIndexNothingFound()
{
    ModalAnswerer answerer;
    edit("Text2")->setText(QStringLiteral("没有这个"));
    edit("Text4")->setText(QStringLiteral("1"));
    command2(0)->click();
    // Counted, nothing to cut: the button waits for the no-result check.
    QCOMPARE(StatusLine::text(), QStringLiteral("正在进行搜索..."));
    QVERIFY(!command2(0)->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(StatusLine::text(), QStringLiteral("未找到相关资源.."), 3000);
    QVERIFY(command2(0)->isEnabled());
    QCOMPARE(list("ListView2")->rowCount(), 0);
    QCOMPARE(answerer.count(), 0);   // this source reports in the status line only
}

void TestTorrentSearch::torrentIndexNewSearchIgnoresLastSearchState()
{
    ResultList* lv2 = list("ListView2");
    edit("Text2")->setText(QStringLiteral("ubuntu"));
    edit("Text4")->setText(QStringLiteral("1"));
    command2(0)->click();
    QTRY_COMPARE(lv2->rowCount(), 5);
    QVERIFY(!lv2->cell(lv2->topLevelItem(1), QStringLiteral("mc")).isEmpty());

    // At once (the last search's no-result check still pending) a slow page
    // with two magnets and one name cell.
    Answer slow = Answer::html(indexPageWith(2, 1));
    slow.delayMs = 1300;
    m_server->sites().program("/torrent-index/search/gap/1", slow);
    edit("Text2")->setText(QStringLiteral("gap"));
    Sampler sampler(command2(0));
    QVERIFY(runSearch(0));
    // While the slow page loaded (1.3 s, sampled every 10 ms) nothing of
    // the last search's state showed.
    int waiting = 0;
    while (waiting < sampler.samples.size()
           && sampler.samples[waiting] == qMakePair(QStringLiteral("正在进行搜索..."), false))
        ++waiting;
    QVERIFY2(waiting > 20, qPrintable(QString::number(waiting)));
    QCOMPARE(StatusLine::text(), QStringLiteral("搜索完毕.."));
    QCOMPARE(lv2->rowCount(), 2);
    QCOMPARE(lv2->cell(lv2->topLevelItem(0), QStringLiteral("mc")), QStringLiteral("gap-1.iso"));
    // Neither the row above's name nor the last search's.
    QCOMPARE(lv2->cell(lv2->topLevelItem(1), QStringLiteral("mc")), QString());
    QCOMPARE(lv2->cell(lv2->topLevelItem(1), QStringLiteral("dx")), QString());
    QCOMPARE(lv2->cell(lv2->topLevelItem(1), QStringLiteral("xzdz")), QString());
    QCOMPARE(lv2->cell(lv2->topLevelItem(1), QStringLiteral("fhdz")), QStringLiteral("magnet:?xt=urn:btih:gap2"));
}

void TestTorrentSearch::torrentIndexPendingCountStopsAt16Bits()
{
    // More magnets than a 16-bit count holds: the count stops at its top
    // rather than wrapping negative and losing every row.
    std::string page;
    page.reserve(40000 * 12);
    for (int i = 0; i < 40000; ++i)
        page += "\"magnet:?x\" ";
    m_server->sites().program("/torrent-index/search/many/1", Answer::html(page));
    ResultList* lv2 = list("ListView2");
    edit("Text2")->setText(QStringLiteral("many"));
    edit("Text4")->setText(QStringLiteral("1"));
    QSignalSpy counted(m_searches, &TorrentSearches::pageCounted);
    command2(0)->click();
    QVERIFY(counted.wait(20000));
    QCOMPARE(m_searches->torrentIndexHits(), qint16(32767));
    QTRY_COMPARE_WITH_TIMEOUT(StatusLine::text(), QStringLiteral("搜索完毕.."), 20000);
    QCOMPARE(lv2->rowCount(), 32767);
    QCOMPARE(m_searches->torrentIndexHits(), qint16(0));
    QCOMPARE(lv2->cell(lv2->topLevelItem(32766), QStringLiteral("fhdz")), QStringLiteral("magnet:?x"));
    lv2->clearRows();
}

void TestTorrentSearch::fetchFailuresReenableTheButton_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("failure");   // "drop", "empty", "timeout"
    QTest::addColumn<QString>("expected");  // the whole status; empty: any failure text
    const QString empty = QStringLiteral("资源获取失败(页面没有内容),请稍后再试..");
    const QString late = QStringLiteral("资源获取失败(网络请求超时),请稍后再试..");
    QTest::newRow("index dropped") << 0 << "/torrent-index/search/down/1" << "drop" << QString();
    QTest::newRow("index empty page") << 0 << "/torrent-index/search/down/1" << "empty" << empty;
    QTest::newRow("index time-out") << 0 << "/torrent-index/search/down/1" << "timeout" << late;
    QTest::newRow("rss empty feed") << 1 << "/torrent-rss/rss/down/" << "empty" << empty;
    QTest::newRow("rss dropped") << 1 << "/torrent-rss/rss/down/" << "drop" << QString();
    QTest::newRow("film empty page") << 2 << "/film-resource/index.asp" << "empty" << empty;
    QTest::newRow("film time-out") << 2 << "/film-resource/index.asp" << "timeout" << late;
}

void TestTorrentSearch::fetchFailuresReenableTheButton()
{
    QFETCH(int, index);
    QFETCH(QString, path);
    QFETCH(QString, failure);
    QFETCH(QString, expected);

    Answer a = Answer::html("");
    if (failure == QLatin1String("drop")) {
        a.drop = true;
    } else if (failure == QLatin1String("timeout")) {
        a = Answer::html("<td class=\"name\">late</td> magnet:?late");
        a.delayMs = 2500;
        PageFetcher::instance().setTimeoutSeconds(1);
    }
    m_server->sites().program(path.toStdString(), a);
    edit("Text2")->setText(QStringLiteral("down"));
    edit("Text4")->setText(QStringLiteral("1"));
    edit("Text8")->setText(QStringLiteral("down"));
    edit("Text13")->setText(QStringLiteral("down"));
    edit("Text14")->setText(QStringLiteral("1"));

    QSignalSpy failed(m_searches, &TorrentSearches::failed);
    QVERIFY(runSearch(index));
    QCOMPARE(failed.count(), 1);
    QVERIFY(command2(index)->isEnabled());
    const QString status = StatusLine::text();
    QCOMPARE(failed.first().at(1).toString(), status);
    if (!expected.isEmpty())
        QCOMPARE(status, expected);
    else
        QVERIFY2(status.startsWith(QStringLiteral("资源获取失败(")), qPrintable(status));
    // Nothing is left armed to change it later.
    for (const char* name : {"Timer3", "Timer4", "Timer5", "Timer6"})
        QVERIFY2(!m_window->findChild<QTimer*>(QLatin1String(name))->isActive(), name);
}

void TestTorrentSearch::torrentRssFeed()
{
    ModalAnswerer answerer;
    ResultList* lv4 = list("ListView4");
    edit("Text8")->setText(QStringLiteral("ubuntu"));
    QVERIFY(runSearch(1));   // to its last step, the outcome check
    QCOMPARE(targets("TorrentRssSite"), QStringList{QStringLiteral("/torrent-rss/rss/ubuntu/")});
    QCOMPARE(lv4->rowCount(), 4);
    QCOMPARE(StatusLine::text(), QStringLiteral("搜索完毕.."));
    QVERIFY(command2(1)->isEnabled());
    QTreeWidgetItem* first = lv4->topLevelItem(0);
    QCOMPARE(lv4->cell(first, QStringLiteral("xh")), QStringLiteral("1"));
    QCOMPARE(lv4->cell(first, QStringLiteral("mc")), QStringLiteral("Ubuntu 22.04.4 LTS Desktop amd64"));
    QCOMPARE(lv4->cell(first, QStringLiteral("dx")), QStringLiteral(" 4.69 GB"));
    QCOMPARE(lv4->cell(first, QStringLiteral("rq")), QStringLiteral("Thu, 22 Feb 2024 18:20:00 +0000"));
    const QString torrent = lv4->cell(first, QStringLiteral("zzdz"));
    QVERIFY2(torrent.startsWith(roleUrl("TorrentRssSite") + QStringLiteral("/torrent/")), qPrintable(torrent));
    QVERIFY(torrent.endsWith(QStringLiteral(".torrent")));

    // The outcome check found rows: no box.
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(StatusLine::text(), QStringLiteral("搜索完毕.."));
}

void TestTorrentSearch::torrentRssNothingFound()
{
    ModalAnswerer answerer;
    edit("Text8")->setText(QStringLiteral("没有这个"));
    command2(1)->click();
    QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 1, 3000);
    QCOMPARE(answerer.lastText(), QStringLiteral("未找到相关资源!"));
    QCOMPARE(answerer.titles().first(), QStringLiteral("Brenn系列软件"));
    QCOMPARE(answerer.icons().first(), QMessageBox::Information);
    QCOMPARE(StatusLine::text(), QStringLiteral("未找到相关资源.."));
    QVERIFY(command2(1)->isEnabled());
    QCOMPARE(list("ListView4")->rowCount(), 0);
    // One box, not one per tick: the check is off once it has reported.
    QVERIFY(!m_window->findChild<QTimer*>(QStringLiteral("Timer6"))->isActive());
    QCOMPARE(answerer.count(), 1);
}

void TestTorrentSearch::filmResourceSearch()
{
    ModalAnswerer answerer;
    ResultList* lv13 = list("ListView13");
    auto* list2 = m_window->findChild<QListWidget*>(QStringLiteral("List2"));
    QVERIFY(list2);
    list2->clear();
    list2->addItem(QStringLiteral("qvod://kept|x|a.rmvb|"));

    // The site announces 45 films: page 2 lists the 15 after the first 30.
    edit("Text13")->setText(QStringLiteral("电影"));
    edit("Text14")->setText(QStringLiteral("2"));
    QVERIFY(runSearch(2));
    QCOMPARE(targets("FilmResourceSite"),
             QStringList{QStringLiteral("/film-resource/index.asp?keyword=%E7%94%B5%E5%BD%B1&page=2")});
    QCOMPARE(StatusLine::text(), QStringLiteral("搜索完毕.."));
    QVERIFY(command2(2)->isEnabled());
    QCOMPARE(lv13->rowCount(), 15);
    QStringList titles;
    for (int i = 0; i < lv13->rowCount(); ++i)
        titles << lv13->cell(lv13->topLevelItem(i), QStringLiteral("mc"));
    QCOMPARE(titles.removeDuplicates(), 0);

    edit("Text14")->setText(QStringLiteral("1"));
    QVERIFY(runSearch(2));
    QCOMPARE(lv13->rowCount(), 30);
    QCOMPARE(lv13->cell(lv13->topLevelItem(29), QStringLiteral("xh")), QStringLiteral("30"));

    // While the page loads: the full-width comma, the button disabled.
    Answer slow = Answer::html("共有 1 部<a href=\"detail.asp?ID=5\" title=\"慢\">慢</a><td class=\"l6 \">d</td>");
    slow.delayMs = 400;
    m_server->sites().program("/film-resource/index.asp?keyword=%E6%85%A2&page=1", slow);
    edit("Text13")->setText(QStringLiteral("慢"));
    {
        Sampler sampler(command2(2));
        QVERIFY(runSearch(2));
        QVERIFY(!sampler.samples.isEmpty());
        QCOMPARE(sampler.samples.first().first, QStringLiteral("正在搜索资源，请稍等.."));
        QVERIFY(!sampler.samples.first().second);
    }
    QCOMPARE(lv13->rowCount(), 1);
    QCOMPARE(lv13->cell(lv13->topLevelItem(0), QStringLiteral("bz")), QString());

    edit("Text13")->setText(QStringLiteral("星际"));
    QVERIFY(runSearch(2));
    QCOMPARE(lv13->rowCount(), 3);
    QTreeWidgetItem* first = lv13->topLevelItem(0);
    QCOMPARE(lv13->cell(first, QStringLiteral("mc")), QStringLiteral("星际穿越"));
    QCOMPARE(lv13->cell(first, QStringLiteral("zzdz")), roleUrl("FilmResourceSite") + QStringLiteral("/detail.asp?ID=901 "));
    QCOMPARE(lv13->cell(first, QStringLiteral("gx")), QStringLiteral("2024-02-18"));
    QCOMPARE(lv13->cell(first, QStringLiteral("bz")), QStringLiteral("美国"));
    // The detail address, trailing blank and all, reaches the film's page.
    const QString detail = lumorra::testing::fetchNow(lv13->cell(first, QStringLiteral("zzdz"))).text;
    QVERIFY(detail.contains(QStringLiteral("qvod://")));
    QVERIFY(detail.contains(QStringLiteral("星际穿越")));

    QCOMPARE(answerer.count(), 0);
    QCOMPARE(list2->count(), 1);   // resolving films is not this search's business
}

void TestTorrentSearch::filmResourceNoResult()
{
    ModalAnswerer answerer;
    ResultList* lv13 = list("ListView13");
    lv13->addRow(QStringLiteral("old"));
    edit("Text13")->setText(QStringLiteral("ubuntu"));
    edit("Text14")->setText(QStringLiteral("1"));
    QVERIFY(runSearch(2));
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.lastText(), QStringLiteral("没有找到相关影片资源"));
    QCOMPARE(answerer.titles().first(), QStringLiteral("Brenn系列软件"));
    QCOMPARE(answerer.icons().first(), QMessageBox::Information);
    QCOMPARE(StatusLine::text(), QStringLiteral("没有找到相关影片资源.."));
    QVERIFY(command2(2)->isEnabled());
    QCOMPARE(lv13->rowCount(), 0);
}

void TestTorrentSearch::memoryReleaseMidSearchStillEndsIt_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("rows");
    QTest::newRow("torrent index") << 0 << 5;
    QTest::newRow("torrent rss") << 1 << 4;
}

void TestTorrentSearch::memoryReleaseMidSearchStillEndsIt()
{
    // "释放内存" between the page's arrival and its cutting tick: the search
    // must still list its rows and give its button back.
    QFETCH(int, index);
    QFETCH(int, rows);
    ModalAnswerer answerer;
    edit("Text2")->setText(QStringLiteral("ubuntu"));
    edit("Text4")->setText(QStringLiteral("1"));
    edit("Text8")->setText(QStringLiteral("ubuntu"));
    connect(m_searches, &TorrentSearches::pageCounted, this, [this](int) {
        m_window->findChild<QPushButton*>(QStringLiteral("Command6"))->click();
    }, Qt::SingleShotConnection);
    QVERIFY(runSearch(index));
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("内存释放完毕!")});
    QCOMPARE(list(index == 0 ? "ListView2" : "ListView4")->rowCount(), rows);
    QVERIFY(command2(index)->isEnabled());
    QCOMPARE(StatusLine::text(), QStringLiteral("搜索完毕.."));
}

// The site moved its names into another cell: a definition file in the
// user's folder says where, and the window's list follows without a build.
void TestTorrentSearch::aUsersDefinitionMovesTheNameCell()
{
    QString text = QString::fromUtf8(SiteDefinitions::shippedFile(QStringLiteral("torrent-index")));
    const QString nameCell = QStringLiteral("    - piece: '<td class=\"name\">'");
    QVERIFY(text.contains(nameCell));
    text.replace(nameCell, QStringLiteral("    - piece: '<td class=\"date\">'"));
    const QString folder = SiteDefinitions::userFolder(m_home.path());
    QVERIFY(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/torrent-index.yaml"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0);
    file.close();
    SiteDefinitions::current().load(folder);
    QVERIFY(SiteDefinitions::current().problems().isEmpty());

    ResultList* lv2 = list("ListView2");
    edit("Text2")->setText(QStringLiteral("ubuntu"));
    edit("Text4")->setText(QStringLiteral("3"));
    QVERIFY(runSearch(0));
    QCOMPARE(lv2->rowCount(), 3);
    QCOMPARE(lv2->cell(lv2->topLevelItem(0), QStringLiteral("mc")), QStringLiteral("2021-09-17"));
    QCOMPARE(lv2->cell(lv2->topLevelItem(0), QStringLiteral("dx")), QStringLiteral("2.37 GB"));

    QVERIFY(file.remove());
    SiteDefinitions::current().load(folder);
    QVERIFY(runSearch(0));
    QCOMPARE(lv2->cell(lv2->topLevelItem(0), QStringLiteral("mc")), QStringLiteral("ubuntu-18.04.6-desktop-amd64.iso"));
}

QTEST_MAIN(TestTorrentSearch)
#include "test_torrent_search.moc"
