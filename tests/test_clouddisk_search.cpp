// The cloud-disk search through the main window's controls, against the
// sample-sites server: input checks, the exact request, rows and texts,
// pages handled in box order however they arrive, failing services, the
// not-found check, the search lifecycle, and the export.
#include "app/exit_flow.h"
#include "app/main_window_factory.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"
#include "net/url_encoding.h"
#include "net/site_config.h"
#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/clouddisk/cloud_disk_parse.h"
#include "pages/clouddisk/cloud_disk_search.h"
#include "file_bytes.h"
#include "modal_answerer.h"
#include "test_server.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>
#include <QHelpEvent>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;
using lumorra::testing::readFileBytes;
using lumorra::testing::TestServer;

namespace {

const char kSearchPath[] = "/clouddisk/s";

// The request a box makes for a keyword on a page.
std::string targetFor(int box, const QString& keyword, const QString& page = QStringLiteral("1"))
{
    return (QStringLiteral("/clouddisk/s?wd=site%3A") + clouddisk::serviceHost(box) + QStringLiteral("%20")
            + encodeKeyword(keyword) + QStringLiteral("&pn=") + page + QStringLiteral("&rn=50&ie=utf-8&rsv_page=1"))
        .toStdString();
}

// A result page with the given (title, address) records.
Answer resultPage(const QList<QPair<QString, QString>>& records, int delayMs = 0)
{
    QString html = QStringLiteral("<html><body><script>var r={\"query\":\"q\",\"data\":[");
    for (const auto& r : records)
        html += QStringLiteral("{\"title\":\"%1\",\"url\":\"%2\"},").arg(r.first, r.second);
    html += QStringLiteral("]};</script></body></html>");
    Answer a = Answer::html(html.toStdString());
    a.delayMs = delayMs;
    return a;
}

Answer dropped()
{
    Answer a;
    a.drop = true;
    return a;
}

} // namespace

class TestCloudDiskSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void inputChecksStopBeforeAnything();
    void oneBoxMakesOneExactRequest();
    void keywordStaysOneKeyword();
    void check3TicksAndUnticksAll();
    void threeRecordsGiveThreeRows();
    void pagesArrivingTogetherAreAllListed();
    void pagesAreListedInBoxOrder();
    void failingServiceDoesNotEndTheSearch();
    void allServicesFailing();
    void slowEngineDoesNotTimeOutQueuedServices();
    void nothingFound();
    void notFoundWaitsForTheWholeSearch();
    void laterSearchGetsNoEarlierPages();
    void memoryReleaseDuringASearch();
    void exportEmptyList();
    void exportWritesAndOverwrites();
    void demoSearchOverAllServices();
    void eachServiceReportedOnTheCaption();

private:
    ProgrammableSites& sites() { return TestServer::shared().sites(); }
    QCheckBox* box(int i) const
    {
        return m_window->findChild<QCheckBox*>(QStringLiteral("Check2(%1)").arg(i));
    }
    void tick(std::initializer_list<int> boxes)
    {
        for (int i : boxes)
            box(i)->setChecked(true);
    }
    // The ticked services whose search ended without a usable page.
    QList<int> failedServices() const
    {
        QList<int> out;
        for (const clouddisk::ServiceOutcome& o : m_search->serviceOutcomes())
            if (!o.pending && !o.failure.isEmpty())
                out << o.service;
        return out;
    }
    // Distinct requests made (the HTTP client may retry a dropped one).
    QSet<std::string> askedTargets() const
    {
        QSet<std::string> out;
        for (const LoggedRequest& r : searches())
            out.insert(r.target);
        return out;
    }
    std::vector<LoggedRequest> searches() const
    {
        return TestServer::shared().sites().requestsFor(kSearchPath);
    }
    QStringList column(int index) const
    {
        QStringList out;
        for (int r = 0; r < m_list->rowCount(); ++r)
            out << m_list->cellAt(m_list->topLevelItem(r), index);
        return out;
    }
    // Clicks Command1 and waits until the search has ended.
    void searchAndWait(const QString& keyword)
    {
        m_text1->setText(keyword);
        QSignalSpy ended(m_search, &CloudDiskSearch::searchEnded);
        QVERIFY(m_command1->isEnabled());
        m_command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 8000);
        QVERIFY(m_command1->isEnabled());
    }

    QTemporaryDir m_home;
    std::unique_ptr<QWidget> m_window;
    CloudDiskSearch* m_search = nullptr;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text3 = nullptr;
    QPushButton* m_command1 = nullptr;
    QCheckBox* m_check3 = nullptr;
    ResultList* m_list = nullptr;
    QGroupBox* m_frame5 = nullptr;
};

void TestCloudDiskSearch::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("LUMORRA_HOME", m_home.path().toLocal8Bit());
    SiteConfig::current().pointAllAt(TestServer::shared().baseUrl());
    m_window.reset(createMainWindow());
    m_search = installCloudDiskSearch(m_window.get());
    QVERIFY(m_search);
    QCOMPARE(installCloudDiskSearch(m_window.get()), m_search);
    m_text1 = m_window->findChild<QLineEdit*>(QStringLiteral("Text1"));
    m_text3 = m_window->findChild<QLineEdit*>(QStringLiteral("Text3"));
    m_command1 = m_window->findChild<QPushButton*>(QStringLiteral("Command1"));
    m_check3 = m_window->findChild<QCheckBox*>(QStringLiteral("Check3"));
    m_list = findResultList(m_window.get(), QStringLiteral("ListView1"));
    m_frame5 = m_window->findChild<QGroupBox*>(QStringLiteral("Frame5"));
    QVERIFY(m_text1 && m_text3 && m_command1 && m_check3 && m_list && m_frame5);
    // The page opens once the version check has passed.
    QTRY_VERIFY_WITH_TIMEOUT(m_command1->isEnabled(), 8000);
}

void TestCloudDiskSearch::init()
{
    QTRY_VERIFY(!m_search->isSearching());
    sites().clearProgram();
    sites().clearRequests();
    m_check3->setChecked(false);
    for (int i = 0; i < clouddisk::kServiceCount; ++i)
        box(i)->setChecked(false);
    m_text3->setText(QStringLiteral("1"));
    m_list->clearRows();
}

void TestCloudDiskSearch::cleanupTestCase()
{
    m_window.reset();
}

void TestCloudDiskSearch::inputChecksStopBeforeAnything()
{
    QTreeWidgetItem* old = m_list->addRow(QStringLiteral("百度网盘"));
    m_list->setCell(old, QStringLiteral("mc"), QStringLiteral("earlier row"));

    m_text1->setText(QString());
    m_command1->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请输入要搜索的资源名称.."));   // even with no box ticked
    m_text1->setText(QStringLiteral("影"));
    m_command1->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请至少输入两位关键字.."));
    m_text1->setText(QStringLiteral("电影"));
    m_command1->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请选择至少一个网盘进行搜索.."));

    // Nothing was cleared, disabled or asked.
    QCOMPARE(m_list->rowCount(), 1);
    QCOMPARE(m_list->cell(m_list->topLevelItem(0), QStringLiteral("mc")), QStringLiteral("earlier row"));
    QVERIFY(m_command1->isEnabled());
    QVERIFY(!m_search->isSearching());
    QCOMPARE(PageFetcher::instance().pendingCount(), 0);
    QCOMPARE(searches().size(), size_t(0));
}

void TestCloudDiskSearch::oneBoxMakesOneExactRequest()
{
    sites().program(kSearchPath, resultPage({{QStringLiteral("x"), QStringLiteral("y")}}));
    tick({0});
    m_text3->setText(QStringLiteral("3"));
    m_text1->setText(QStringLiteral("电影"));
    QSignalSpy ended(m_search, &CloudDiskSearch::searchEnded);
    m_command1->click();
    QVERIFY(!m_command1->isEnabled());
    QCOMPARE(StatusLine::text(), QStringLiteral("正在为您搜索[电影]相关资源.."));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 5000);

    const auto requests = searches();
    QCOMPARE(requests.size(), size_t(1));
    QCOMPARE(requests[0].target, std::string("/clouddisk/s?wd=site%3Apan.baidu.com%20%E7%94%B5%E5%BD%B1"
                                             "&pn=3&rn=50&ie=utf-8&rsv_page=1"));
    QCOMPARE(requests[0].header("If-Modified-Since"), std::string("0"));
}

void TestCloudDiskSearch::keywordStaysOneKeyword()
{
    sites().program(kSearchPath, resultPage({{QStringLiteral("x"), QStringLiteral("y")}}));
    tick({19});
    m_text1->setText(QStringLiteral("a&b C#"));
    QCOMPARE(m_search->encodedKeyword(), QStringLiteral("a%26b%20C%23"));
    searchAndWait(QStringLiteral("a&b C#"));
    const auto requests = searches();
    QCOMPARE(requests.size(), size_t(1));
    QCOMPARE(requests[0].param("wd"), std::string("site:115.com a&b C#"));
    QCOMPARE(requests[0].param("pn"), std::string("1"));
    QCOMPARE(requests[0].param("rn"), std::string("50"));
}

void TestCloudDiskSearch::check3TicksAndUnticksAll()
{
    auto ticked = [this] {
        int n = 0;
        for (int i = 0; i < clouddisk::kServiceCount; ++i)
            n += box(i)->isChecked() ? 1 : 0;
        return n;
    };
    m_check3->click();
    QCOMPARE(ticked(), 24);
    box(3)->setChecked(false);
    m_check3->click();
    QCOMPARE(ticked(), 0);
    tick({2, 7});
    m_check3->click();
    QCOMPARE(ticked(), 24);
    m_check3->click();
    QCOMPARE(ticked(), 0);
}

void TestCloudDiskSearch::threeRecordsGiveThreeRows()
{
    sites().program(targetFor(0, QStringLiteral("电影")),
                    resultPage({{QStringLiteral("电影A_百度网盘"), QStringLiteral("http://pan.baidu.com/s/1a")},
                                {QStringLiteral("电影B - 1000eb"), QStringLiteral("http://www.1000eb.com/b")},
                                {QStringLiteral("电影C - 天空网盘"), QStringLiteral("http://pan.skycn.com/c")}}));
    tick({0});
    searchAndWait(QStringLiteral("电影"));
    QCOMPARE(column(0), QStringList({QStringLiteral("百度网盘"), QStringLiteral("千易网盘"), QStringLiteral("天空网盘")}));
    QCOMPARE(column(1), QStringList({QStringLiteral("电影A_百度网盘"), QStringLiteral("电影B - 1000eb"),
                                     QStringLiteral("电影C - 天空网盘")}));
    QCOMPARE(column(2), QStringList({QStringLiteral("http://pan.baidu.com/s/1a"), QStringLiteral("http://www.1000eb.com/b"),
                                     QStringLiteral("http://pan.skycn.com/c")}));
    QCOMPARE(m_frame5->title(), QStringLiteral("资源列表(当前共搜索到：3个资源)"));
    QCOMPARE(StatusLine::text(), QStringLiteral("天空网盘搜索完毕.."));
}

void TestCloudDiskSearch::pagesArrivingTogetherAreAllListed()
{
    // Both pages come in before one cutting tick.
    sites().program(targetFor(0, QStringLiteral("教程")),
                    resultPage({{QStringLiteral("a1_百度"), QStringLiteral("u1")}, {QStringLiteral("a2_百度"), QStringLiteral("u2")}}));
    sites().program(targetFor(1, QStringLiteral("教程")),
                    resultPage({{QStringLiteral("b1 华为"), QStringLiteral("u3")}}));
    tick({0, 1});
    searchAndWait(QStringLiteral("教程"));
    QCOMPARE(column(1), QStringList({QStringLiteral("a1_百度"), QStringLiteral("a2_百度"), QStringLiteral("b1 华为")}));
    QCOMPARE(column(2), QStringList({QStringLiteral("u1"), QStringLiteral("u2"), QStringLiteral("u3")}));
    QCOMPARE(m_frame5->title(), QStringLiteral("资源列表(当前共搜索到：3个资源)"));
}

void TestCloudDiskSearch::pagesAreListedInBoxOrder()
{
    // The first box answers last; its rows still come first, and a title
    // that matches no rule takes its own box's kind.
    sites().program(targetFor(15, QStringLiteral("教程")),
                    resultPage({{QStringLiteral("first, no rule"), QStringLiteral("u1")}}, 400));
    sites().program(targetFor(18, QStringLiteral("教程")),
                    resultPage({{QStringLiteral("second | vdisk"), QStringLiteral("u2")}}));
    sites().program(targetFor(21, QStringLiteral("教程")),
                    resultPage({{QStringLiteral("third RayFile"), QStringLiteral("u3")}}));
    tick({15, 18, 21});
    m_text1->setText(QStringLiteral("教程"));
    QSignalSpy ended(m_search, &CloudDiskSearch::searchEnded);
    m_command1->click();
    // The later boxes' pages are in, but wait for the first box.
    QTRY_COMPARE(PageFetcher::instance().pendingCount(), 1);
    QCOMPARE(m_list->rowCount(), 0);
    QVERIFY(!m_command1->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 5000);
    QCOMPARE(column(1), QStringList({QStringLiteral("first, no rule"), QStringLiteral("second | vdisk"),
                                     QStringLiteral("third RayFile")}));
    QCOMPARE(column(0), QStringList({QStringLiteral("GXP网盘"), QStringLiteral("Vdisk网盘"), QStringLiteral("RayFile")}));
}

void TestCloudDiskSearch::slowEngineDoesNotTimeOutQueuedServices()
{
    // Each answer takes 400 ms and a request may take 1 s: 24 services go
    // out a few at a time, so the last ones would exceed the time-out if it
    // ran from when they were queued rather than sent.
    const int timeout = PageFetcher::instance().timeoutSeconds();
    PageFetcher::instance().setTimeoutSeconds(1);
    const auto restore = qScopeGuard([timeout] { PageFetcher::instance().setTimeoutSeconds(timeout); });
    for (int i = 0; i < clouddisk::kServiceCount; ++i)
        sites().program(targetFor(i, QStringLiteral("教程")),
                        resultPage({{QStringLiteral("r%1 百度").arg(i), QStringLiteral("u%1").arg(i)}}, 400));
    m_check3->setChecked(true);   // 全选
    searchAndWait(QStringLiteral("教程"));
    QCOMPARE(m_list->rowCount(), clouddisk::kServiceCount);
    QCOMPARE(column(2).first(), QStringLiteral("u0"));
    QCOMPARE(column(2).last(), QStringLiteral("u23"));
}

void TestCloudDiskSearch::failingServiceDoesNotEndTheSearch()
{
    sites().program(targetFor(0, QStringLiteral("电影")), resultPage({{QStringLiteral("a 百度"), QStringLiteral("u1")}}));
    sites().program(targetFor(1, QStringLiteral("电影")), dropped());
    sites().program(targetFor(2, QStringLiteral("电影")), resultPage({{QStringLiteral("c 迅雷快传"), QStringLiteral("u3")}}, 100));
    tick({0, 1, 2});
    searchAndWait(QStringLiteral("电影"));
    // A dropped connection may fail in the client before the server has
    // logged the request, so the program's own account is what counts.
    QCOMPARE(failedServices(), QList<int>({1}));
    QCOMPARE(column(1), QStringList({QStringLiteral("a 百度"), QStringLiteral("c 迅雷快传")}));
    QCOMPARE(StatusLine::text(), QStringLiteral("迅雷快传搜索完毕.."));
}

void TestCloudDiskSearch::allServicesFailing()
{
    sites().program(kSearchPath, dropped());
    tick({4, 9, 23});
    searchAndWait(QStringLiteral("电影"));
    QCOMPARE(failedServices(), QList<int>({4, 9, 23}));
    for (const std::string& target : askedTargets())
        QVERIFY(target == targetFor(4, QStringLiteral("电影")) || target == targetFor(9, QStringLiteral("电影"))
                || target == targetFor(23, QStringLiteral("电影")));
    QCOMPARE(m_list->rowCount(), 0);
    QCOMPARE(StatusLine::text(),
        QStringLiteral("搜索失败(无法连接到服务器)，未能从搜索服务获取结果，请检查网络后重试.."));
}

void TestCloudDiskSearch::nothingFound()
{
    // The built-in engine has no records for an unknown keyword.
    tick({0, 3});
    searchAndWait(QStringLiteral("zzqx-nothing"));
    QCOMPARE(m_list->rowCount(), 0);
    QCOMPARE(StatusLine::text(), QStringLiteral("QQ旋风未找到相关资源.."));
}

void TestCloudDiskSearch::notFoundWaitsForTheWholeSearch()
{
    // Box 0 answers at once with nothing; box 1's rows come after the
    // not-found check's first tick.
    sites().program(targetFor(1, QStringLiteral("无此资源")),
                    resultPage({{QStringLiteral("late 华为"), QStringLiteral("u1")}}, 1800));
    tick({0, 1});
    m_text1->setText(QStringLiteral("无此资源"));
    QSignalSpy ended(m_search, &CloudDiskSearch::searchEnded);
    QSignalSpy notFoundCheck(m_window->findChild<QTimer*>(QStringLiteral("Timer18")), &QTimer::timeout);
    m_command1->click();
    QVERIFY(notFoundCheck.wait(5000));
    QCOMPARE(ended.count(), 0);
    QCOMPARE(StatusLine::text(), QStringLiteral("正在为您搜索[无此资源]相关资源.."));
    QVERIFY(!m_command1->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 5000);
    QCOMPARE(column(1), QStringList({QStringLiteral("late 华为")}));
    QCOMPARE(StatusLine::text(), QStringLiteral("华为网盘搜索完毕.."));
    // Nothing is left to report later on either.
    QVERIFY(!m_window->findChild<QTimer*>(QStringLiteral("Timer18"))->isActive());
    QVERIFY(!m_window->findChild<QTimer*>(QStringLiteral("Timer17"))->isActive());
    QVERIFY(m_command1->isEnabled());
}

void TestCloudDiskSearch::laterSearchGetsNoEarlierPages()
{
    sites().program(targetFor(0, QStringLiteral("旧的")),
                    resultPage({{QStringLiteral("old 百度"), QStringLiteral("u-old")}}, 500));
    sites().program(targetFor(0, QStringLiteral("新的")),
                    resultPage({{QStringLiteral("new 百度"), QStringLiteral("u-new")}}));
    tick({0});
    m_text1->setText(QStringLiteral("旧的"));
    m_command1->click();
    QVERIFY(m_search->isSearching());
    // The button is disabled for the whole search: a click does nothing.
    QVERIFY(!m_command1->isEnabled());
    m_command1->click();
    QTRY_COMPARE(searches().size(), size_t(1));

    // A new search started anyway (the handler itself) replaces the first.
    m_text1->setText(QStringLiteral("新的"));
    QSignalSpy ended(m_search, &CloudDiskSearch::searchEnded);
    m_search->Command1_Click();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 5000);
    QCOMPARE(column(1), QStringList({QStringLiteral("new 百度")}));
    // The first search's request was dropped: no page of it can come later.
    QTRY_COMPARE(PageFetcher::instance().pendingCount(), 0);
    QCOMPARE(column(1), QStringList({QStringLiteral("new 百度")}));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(StatusLine::text(), QStringLiteral("百度网盘搜索完毕.."));
}

void TestCloudDiskSearch::memoryReleaseDuringASearch()
{
    // The release switches every parse timer off. Both pages are in (no
    // records: only the not-found check is left) when it runs; the search
    // must still report and give the button back.
    tick({0, 3});
    m_text1->setText(QStringLiteral("zzqx-nothing"));
    QSignalSpy ended(m_search, &CloudDiskSearch::searchEnded);
    QSignalSpy taken(m_search, &CloudDiskSearch::pageTaken);
    m_command1->click();
    QTRY_COMPARE(taken.count(), 2);
    QCOMPARE(searches().size(), size_t(2));
    QCOMPARE(ended.count(), 0);
    cdata(m_window.get());
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 3000);
    QVERIFY(m_command1->isEnabled());
    QCOMPARE(StatusLine::text(), QStringLiteral("QQ旋风未找到相关资源.."));

    // Between searches the release leaves the timers off.
    cdata(m_window.get());
    QVERIFY(!m_window->findChild<QTimer*>(QStringLiteral("Timer17"))->isActive());
    QVERIFY(!m_window->findChild<QTimer*>(QStringLiteral("Timer18"))->isActive());
}

void TestCloudDiskSearch::exportEmptyList()
{
    QAction* dcsj = findRowAction(m_window.get(), QStringLiteral("dcsj"));
    QVERIFY(dcsj);
    QFile::remove(CloudDiskSearch::exportPath());
    ModalAnswerer answerer;
    dcsj->trigger();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.lastText(), QStringLiteral("没有可导出的数据!"));
    QCOMPARE(answerer.titles().first(), QStringLiteral("Brenn系列软件"));
    QCOMPARE(answerer.icons().first(), QMessageBox::Information);
    QCOMPARE(StatusLine::text(), QStringLiteral("没有可导出的数据.."));
    QVERIFY(!QFile::exists(CloudDiskSearch::exportPath()));

    // An earlier export is left as it was.
    QFile earlier(CloudDiskSearch::exportPath());
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("kept\r\n");
    earlier.close();
    answerer.clear();
    dcsj->trigger();
    QCOMPARE(answerer.lastText(), QStringLiteral("没有可导出的数据!"));
    QCOMPARE(readFileBytes(CloudDiskSearch::exportPath()), QByteArray("kept\r\n"));
    QFile::remove(CloudDiskSearch::exportPath());
}

void TestCloudDiskSearch::exportWritesAndOverwrites()
{
    QAction* dcsj = findRowAction(m_window.get(), QStringLiteral("dcsj"));
    QVERIFY(dcsj);
    const QString path = CloudDiskSearch::exportPath();
    QCOMPARE(path, m_home.path() + QStringLiteral("/网盘资源数据.txt"));

    auto add = [this](const QString& kind, const QString& name, const QString& address) {
        QTreeWidgetItem* row = m_list->addRow(kind);
        m_list->setCell(row, QStringLiteral("mc"), name);
        m_list->setCell(row, QStringLiteral("dz"), address);
    };
    add(QStringLiteral("百度网盘"), QStringLiteral("电影合集"), QStringLiteral("http://pan.baidu.com/s/1a"));
    add(QStringLiteral("RayFile"), QStringLiteral("a b"), QStringLiteral("http://www.rayfile.com/f"));
    ModalAnswerer answerer;
    dcsj->trigger();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.lastText(), QStringLiteral("成功导出网盘资源数据!"));
    QCOMPARE(answerer.titles().first(), QStringLiteral("Brenn系列软件"));
    QCOMPARE(answerer.icons().first(), QMessageBox::Information);
    QCOMPARE(StatusLine::text(), QStringLiteral("成功导出网盘资源数据.."));
    QStringEncoder gb("GB18030");
    const QByteArray expected = gb.encode(QStringLiteral("百度网盘   电影合集   http://pan.baidu.com/s/1a\r\n"
                                                         "RayFile    a b   http://www.rayfile.com/f\r\n"));
    QCOMPARE(readFileBytes(path), expected);
    QCOMPARE(expected.left(8), QByteArray("\xB0\xD9\xB6\xC8\xCD\xF8\xC5\xCC"));   // 百度网盘 in GBK

    // A second export replaces the file with the current list.
    m_list->clearRows();
    add(QStringLiteral("天空网盘"), QStringLiteral("x"), QStringLiteral("y"));
    answerer.clear();
    dcsj->trigger();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(readFileBytes(path), gb.encode(QStringLiteral("天空网盘   x   y\r\n")));
}

void TestCloudDiskSearch::demoSearchOverAllServices()
{
    // The built-in engine's demo keyword over all 24 services.
    m_check3->click();
    searchAndWait(QStringLiteral("电影"));
    QCOMPARE(searches().size(), size_t(24));

    const int rows = m_list->rowCount();
    QVERIFY2(rows >= 30, qPrintable(QString::number(rows)));
    QCOMPARE(m_frame5->title(), clouddisk::frameCaption(rows));
    // Every row has a kind, and the rows come grouped in box order.
    const QStringList kinds = column(0);
    int lastBox = -1;
    QSet<QString> distinct;
    for (const QString& kind : kinds) {
        int boxOfKind = -1;
        for (int i = 0; i < clouddisk::kServiceCount; ++i)
            if (clouddisk::serviceKind(i) == kind)
                boxOfKind = i;
        QVERIFY2(boxOfKind >= 0, qPrintable(kind));
        QVERIFY2(boxOfKind >= lastBox, qPrintable(kind));
        lastBox = boxOfKind;
        distinct.insert(kind);
    }
    QVERIFY(distinct.size() >= 10);
    QCOMPARE(kinds.first(), QStringLiteral("百度网盘"));
    // The lower-case vdisk title is listed under the service it was found on.
    const QStringList titles = column(1);
    const qsizetype lower = titles.indexOf(QRegularExpression(QStringLiteral(".*\\| vdisk .*")));
    QVERIFY(lower >= 0);
    QCOMPARE(kinds[lower], QStringLiteral("Vdisk网盘"));
    for (const QString& address : column(2))
        QVERIFY2(address.startsWith(QStringLiteral("http://")), qPrintable(address));
    QCOMPARE(StatusLine::text(), kinds.last() + QStringLiteral("搜索完毕.."));
}

void TestCloudDiskSearch::eachServiceReportedOnTheCaption()
{
    // Box 0 answers with its shares, box 1 never answers, box 2 answers an
    // error page.
    sites().program(targetFor(1, QStringLiteral("电影")), dropped());
    sites().program(targetFor(2, QStringLiteral("电影")), Answer::html("<html>busy</html>", 503));
    tick({0, 1, 2});
    searchAndWait(QStringLiteral("电影"));
    // The status line says what it always says.
    QCOMPARE(StatusLine::text(), QStringLiteral("百度网盘搜索完毕.."));

    const QList<clouddisk::ServiceOutcome> outcomes = m_search->serviceOutcomes();
    QCOMPARE(outcomes.size(), 3);
    QCOMPARE(outcomes[0].service, 0);
    QCOMPARE(outcomes[0].rows, m_list->rowCount());
    QVERIFY(outcomes[0].failure.isEmpty());
    QCOMPARE(outcomes[1].service, 1);
    QVERIFY(!outcomes[1].failure.isEmpty());
    QCOMPARE(outcomes[2].rows, 0);
    QCOMPARE(outcomes[2].failure, QStringLiteral("服务器返回 HTTP 503"));
    for (const clouddisk::ServiceOutcome& o : outcomes)
        QVERIFY(!o.pending && o.elapsedMs >= 0);

    const QString table = m_search->serviceStatusText();
    for (int box : {0, 1, 2})
        QVERIFY2(table.contains(clouddisk::serviceCaption(box)), qPrintable(table));
    QVERIFY(table.contains(outcomes[1].failure) && table.contains(outcomes[2].failure));

    // The caption shows it as its tooltip; the list inside the frame does not.
    m_window->resize(1280, 800);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto ask = [this](const QPoint& at) {
        QHelpEvent help(QEvent::ToolTip, at, m_frame5->mapToGlobal(at));
        QCoreApplication::sendEvent(m_frame5, &help);
    };
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    ask(m_frame5->mapFromGlobal(m_list->mapToGlobal(m_list->rect().center())));
    QVERIFY(!QToolTip::isVisible());
    bool shown = false;
    const int y = m_frame5->fontMetrics().height() / 2;
    for (int x = 0; x < m_frame5->width() / 2 && !shown; x += 4) {
        ask(QPoint(x, y));
        shown = QToolTip::isVisible() && QToolTip::text() == table;
    }
    QVERIFY2(shown, "no tooltip on Frame5's caption");
    QToolTip::hideText();
    m_window->hide();
}

QTEST_MAIN(TestCloudDiskSearch)
#include "test_clouddisk_search.moc"
