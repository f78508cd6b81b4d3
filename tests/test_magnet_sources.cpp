// The magnet search, the Qvod links of a film and the torrent download in
// the real main window against the sample sites: URLs and paging, rows and
// their fields, the no-result boxes, every way a search can end, List2, and
// a torrent saved into a temporary download folder.
#include "app/exit_flow.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "pages/torrent/film_resource_detail.h"
#include "pages/torrent/magnet_search.h"
#include "pages/torrent/torrent_download.h"

#include "modal_answerer.h"
#include "program_window.h"
#include "test_server.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;
using lumorra::testing::ProgramWindow;
using lumorra::testing::TestServer;

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

const QString kSearching = QStringLiteral("正在搜索资源,请稍等..");

} // namespace

class TestMagnetSources : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void channelsUrlsAndPaging();
    void siteARowsAfterTheCut();
    void memoryReleaseBeforeTheCut();
    void noResultPages_data();
    void noResultPages();
    void siteBReadsEachDetailPage();
    void siteBSlowAndFailingDetailPages();
    void newSearchSupersedesTheLastOne();
    void searchFailuresEndPlainly_data();
    void searchFailuresEndPlainly();
    void qvodLinksOfAFilm();
    void torrentDownload();

private:
    QWidget* form() const { return m_window->get(); }
    QPushButton* command21(int i) const
    {
        return form()->findChild<QPushButton*>(QStringLiteral("Command21(%1)").arg(i));
    }
    ResultList* list(const char* name) const { return findResultList(form(), QLatin1String(name)); }
    // Raw targets (path and query) fetched under a role since init().
    QStringList targetsUnder(const char* role) const
    {
        const std::string prefix = SampleSites::prefixFor(role);
        QStringList out;
        for (const LoggedRequest& r : m_server->sites().requests())
            if (r.target.rfind(prefix, 0) == 0)
                out << qs(r.target.substr(prefix.size()));
        return out;
    }
    // Searches `keyword` on `channel` and waits for the search to end.
    bool searchAndWait(int channel, const QString& keyword, int button = 3);
    QString cell(int row, const char* key) const
    {
        ResultList* lv = list("ListView19");
        return lv->cell(lv->topLevelItem(row), QLatin1String(key));
    }

    TestServer* m_server = nullptr;
    std::unique_ptr<ProgramWindow> m_window;
    MagnetSearch* m_search = nullptr;
};

void TestMagnetSources::initTestCase()
{
    m_server = &TestServer::shared();
    m_window = std::make_unique<ProgramWindow>();
    QVERIFY(m_window->isValid());
    QVERIFY(m_window->waitUntilUnlocked());
    m_search = installMagnetSearch(form());
    QVERIFY(m_search);
    QCOMPARE(installMagnetSearch(form()), m_search);   // once per window
    QCOMPARE(form()->findChildren<MagnetSearch*>().size(), 1);
    // The window's cutting step of MagnetSiteA waits three seconds; the
    // tests need not.
    auto* timer24 = form()->findChild<QTimer*>(QStringLiteral("Timer24"));
    QVERIFY(timer24);
    QCOMPARE(timer24->interval(), 3000);
    timer24->setInterval(20);
}

void TestMagnetSources::init()
{
    m_server->sites().clearProgram();
    m_server->sites().clearRequests();
    PageFetcher::instance().setTimeoutSeconds(5);
    m_search->setMagnetPageNumber(1);
    StatusLine::set(QStringLiteral("-"));
}

void TestMagnetSources::cleanupTestCase()
{
    m_window.reset();
}

bool TestMagnetSources::searchAndWait(int channel, const QString& keyword, int button)
{
    form()->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(channel);
    form()->findChild<QLineEdit*>(QStringLiteral("Text21"))->setText(keyword);
    QSignalSpy ended(m_search, &MagnetSearch::searchEnded);
    command21(button)->click();
    return ended.wait(8000) && ended.count() == 1;
}

void TestMagnetSources::channelsUrlsAndPaging()
{
    auto* combo = form()->findChild<QComboBox*>(QStringLiteral("Combo1"));
    QCOMPARE(combo->currentIndex(), 0);
    // The placeholder channel snaps back to the first.
    combo->setCurrentIndex(2);
    QCOMPARE(combo->currentIndex(), 0);

    auto* text21 = form()->findChild<QLineEdit*>(QStringLiteral("Text21"));
    text21->clear();
    command21(3)->click();
    QCOMPARE(StatusLine::text(), QStringLiteral("请输入关键字.."));

    // Paging works from the first completed cut on.
    QVERIFY(!command21(4)->isEnabled());
    QVERIFY(!command21(5)->isEnabled());
    {
        ModalAnswerer answerer;
        m_search->Command21_Click(5);
        QCOMPARE(answerer.texts(), QStringList{QStringLiteral("已经是最上一页!")});
        QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Information});
    }
    QCOMPARE(m_search->magnetPageNumber(), qint16(1));
    QVERIFY(targetsUnder(role::MagnetSiteA).isEmpty());
    QVERIFY(targetsUnder(role::MagnetSiteB).isEmpty());

    // Second channel, then "下一页" and "上一页": back on the same page.
    QVERIFY(searchAndWait(1, QStringLiteral("ubuntu")));
    QVERIFY(searchAndWait(1, QStringLiteral("ubuntu"), 4));
    QVERIFY(searchAndWait(1, QStringLiteral("ubuntu"), 5));
    {
        ModalAnswerer answerer;   // "没有找到任何结果"
        QVERIFY(searchAndWait(0, QStringLiteral("电影"), 3));
    }
    const QStringList pages = targetsUnder(role::MagnetSiteB).filter(QStringLiteral("/search/"));
    QCOMPARE(pages, (QStringList{QStringLiteral("/search/ubuntu?page=1"), QStringLiteral("/search/ubuntu?page=2"),
                                 QStringLiteral("/search/ubuntu?page=1")}));
    QCOMPARE(targetsUnder(role::MagnetSiteA), QStringList{QStringLiteral("/?s=%E7%94%B5%E5%BD%B1&p=1")});

    // The page number is 16 bits wide: "下一页" at the top stays there.
    m_search->setMagnetPageNumber(32767);
    m_server->sites().clearRequests();
    ModalAnswerer answerer;   // no such page: "没有找到任何结果"
    QVERIFY(searchAndWait(0, QStringLiteral("ubuntu"), 4));
    QCOMPARE(m_search->magnetPageNumber(), qint16(32767));
    QCOMPARE(targetsUnder(role::MagnetSiteA), QStringList{QStringLiteral("/?s=ubuntu&p=32767")});
}

void TestMagnetSources::siteARowsAfterTheCut()
{
    QVERIFY(searchAndWait(0, QStringLiteral("ubuntu")));
    QCOMPARE(StatusLine::text(), QStringLiteral("资源搜索完毕.."));
    QVERIFY(command21(4)->isEnabled());
    QVERIFY(command21(5)->isEnabled());
    ResultList* lv = list("ListView19");
    QCOMPARE(lv->rowCount(), 3);
    QCOMPARE(cell(0, "xh"), QStringLiteral("1"));
    QCOMPARE(cell(2, "xh"), QStringLiteral("3"));
    QCOMPARE(cell(0, "mc"), QStringLiteral("ubuntu-22.04.4-desktop-amd64.iso"));
    QCOMPARE(cell(0, "dx"), QStringLiteral("4.69 GB"));
    QCOMPARE(cell(0, "fb"), QStringLiteral("2024-02-22"));
    // Display name and trackers cut off at the first "&".
    QVERIFY2(QRegularExpression(QStringLiteral("^magnet:\\?xt=urn:btih:[0-9A-F]{40}$")).match(cell(0, "cl")).hasMatch(),
             qPrintable(cell(0, "cl")));

    // Page 2: the second hit's link has no "&" and is kept whole.
    QVERIFY(searchAndWait(0, QStringLiteral("ubuntu"), 4));
    QCOMPARE(lv->rowCount(), 2);
    QCOMPARE(cell(1, "mc"), QStringLiteral("xubuntu-22.04.4-desktop-amd64.iso"));
    QVERIFY2(QRegularExpression(QStringLiteral("^magnet:\\?xt=urn:btih:[0-9A-F]{40}$")).match(cell(1, "cl")).hasMatch(),
             qPrintable(cell(1, "cl")));
}

void TestMagnetSources::memoryReleaseBeforeTheCut()
{
    // "释放内存" stops Timer24 while a counted page waits for its cut: the
    // page stays and the cut still comes.
    auto* timer24 = form()->findChild<QTimer*>(QStringLiteral("Timer24"));
    timer24->setInterval(60000);
    form()->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(0);
    form()->findChild<QLineEdit*>(QStringLiteral("Text21"))->setText(QStringLiteral("ubuntu"));
    QSignalSpy ended(m_search, &MagnetSearch::searchEnded);
    command21(3)->click();
    QTRY_COMPARE(m_search->magnetHits(), qint16(3));
    cdata(form());
    timer24->setInterval(20);
    QVERIFY(ended.wait(5000));
    QCOMPARE(list("ListView19")->rowCount(), 3);
    QCOMPARE(StatusLine::text(), QStringLiteral("资源搜索完毕.."));
}

void TestMagnetSources::noResultPages_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("keyword");
    QTest::newRow("A: 没有找到任何结果") << 0 << QStringLiteral("nothing");
    QTest::newRow("A: 0 个结果") << 0 << QStringLiteral("zero");
    QTest::newRow("B: 0 个结果") << 1 << QStringLiteral("nothing");
}

void TestMagnetSources::noResultPages()
{
    QFETCH(int, channel);
    QFETCH(QString, keyword);
    list("ListView19")->addRow(QStringLiteral("old"));
    ModalAnswerer answerer;
    QVERIFY(searchAndWait(channel, keyword));
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("抱歉!没有找到任何结果,请更换关键字重试")});
    QCOMPARE(answerer.titles(), QStringList{QStringLiteral("Brenn系列软件")});
    QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Information});
    QCOMPARE(StatusLine::text(), QStringLiteral("抱歉!没有找到任何结果,请更换关键字重试"));
    QCOMPARE(list("ListView19")->rowCount(), 0);
}

void TestMagnetSources::siteBReadsEachDetailPage()
{
    QVERIFY(searchAndWait(1, QStringLiteral("ubuntu")));
    QCOMPARE(StatusLine::text(), QStringLiteral("资源搜索完毕.."));
    QCOMPARE(targetsUnder(role::MagnetSiteB).filter(QStringLiteral("/detail/")).size(), 3);
    QCOMPARE(list("ListView19")->rowCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(cell(i, "xh"), QString::number(i + 1));
        QCOMPARE(cell(i, "dx"), QStringLiteral("未知"));
        // MagnetSiteB links keep their display name.
        QVERIFY2(cell(i, "cl").startsWith(QStringLiteral("magnet:?xt=urn:btih:")) && cell(i, "cl").contains(u'&'),
                 qPrintable(cell(i, "cl")));
    }
    QCOMPARE(cell(0, "mc"), QStringLiteral("ubuntu-22.04.4-desktop-amd64.iso"));
    // A name wholly inside a font element comes out as its text.
    QCOMPARE(cell(1, "mc"), QStringLiteral("ubuntu"));
    QCOMPARE(cell(1, "fb"), QStringLiteral("2024-01-09"));
    QVERIFY(cell(1, "cl").endsWith(QStringLiteral("&dn=ubuntu")));
}

void TestMagnetSources::siteBSlowAndFailingDetailPages()
{
    // Hit 2's page is slow, hit 3's connection drops: the rows still come in
    // hit order, the failed one without a link, and the search ends.
    QVERIFY(searchAndWait(1, QStringLiteral("linux")));
    QCOMPARE(StatusLine::text(), QStringLiteral("资源搜索完毕.."));
    QCOMPARE(list("ListView19")->rowCount(), 3);
    QCOMPARE(cell(0, "mc"), QStringLiteral("linux-6.8.tar.xz"));
    QCOMPARE(cell(1, "mc"), QStringLiteral("linux-mint-21.3.iso"));
    QCOMPARE(cell(2, "mc"), QStringLiteral("archlinux-2024.03.01.iso"));
    QVERIFY(cell(0, "cl").endsWith(QStringLiteral("&dn=linux-6.8.tar.xz")));
    QVERIFY(cell(1, "cl").endsWith(QStringLiteral("&dn=linux-mint-21.3.iso")));
    QCOMPARE(cell(2, "cl"), QString());
    QCOMPARE(cell(2, "fb"), QStringLiteral("2024-03-01"));
}

void TestMagnetSources::newSearchSupersedesTheLastOne()
{
    // While MagnetSiteB waits for its slow detail page, a MagnetSiteA search
    // starts: only its rows are listed, and the old search adds none later.
    auto* combo = form()->findChild<QComboBox*>(QStringLiteral("Combo1"));
    auto* text21 = form()->findChild<QLineEdit*>(QStringLiteral("Text21"));
    combo->setCurrentIndex(1);
    text21->setText(QStringLiteral("linux"));
    command21(3)->click();
    QTRY_VERIFY(!targetsUnder(role::MagnetSiteB).filter(QStringLiteral("/detail/")).isEmpty());
    QVERIFY(searchAndWait(0, QStringLiteral("ubuntu")));
    QSignalSpy ended(m_search, &MagnetSearch::searchEnded);
    QVERIFY(!ended.wait(2000));   // the slow page (1.5 s) is dropped unheard
    QCOMPARE(list("ListView19")->rowCount(), 3);
    QCOMPARE(cell(0, "mc"), QStringLiteral("ubuntu-22.04.4-desktop-amd64.iso"));
    QCOMPARE(cell(0, "dx"), QStringLiteral("4.69 GB"));
}

void TestMagnetSources::searchFailuresEndPlainly_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<bool>("drop");
    QTest::addColumn<QString>("body");
    QTest::newRow("A: empty page") << 0 << false << QString();
    QTest::newRow("B: empty page") << 1 << false << QString();
    QTest::newRow("A: connection dropped") << 0 << true << QString();
    QTest::newRow("A: neither no-result text nor hits") << 0 << false << QStringLiteral("<p>维护中</p>");
    QTest::newRow("B: neither no-result text nor hits") << 1 << false << QStringLiteral("<p>维护中</p>");
}

void TestMagnetSources::searchFailuresEndPlainly()
{
    QFETCH(int, channel);
    QFETCH(bool, drop);
    QFETCH(QString, body);
    Answer answer = Answer::html(body.toStdString());
    answer.drop = drop;
    m_server->sites().program(channel == 0 ? "/magnet-a/" : "/magnet-b/search/broken", answer);
    QSignalSpy failed(m_search, &MagnetSearch::failed);
    ModalAnswerer answerer;
    QVERIFY(searchAndWait(channel, QStringLiteral("broken")));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), StatusLine::text());
    QVERIFY(StatusLine::text() != kSearching);
    QVERIFY(!StatusLine::text().isEmpty());
    QCOMPARE(answerer.count(), 0);
    QVERIFY(command21(3)->isEnabled());
    QCOMPARE(list("ListView19")->rowCount(), 0);
}

void TestMagnetSources::qvodLinksOfAFilm()
{
    auto* detail = form()->findChild<FilmResourceDetail*>();
    QVERIFY(detail);
    ResultList* lv13 = list("ListView13");
    auto* list2 = form()->findChild<QListWidget*>(QStringLiteral("List2"));
    QVERIFY(list2);

    lv13->clearRows();
    emit lv13->listDoubleClicked();
    QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));

    // Rows as the film search lists them: the detail address ends in a blank.
    const QString site = m_server->roleUrl(QString::fromLatin1(role::FilmResourceSite));
    QTreeWidgetItem* film = lv13->addRow(QStringLiteral("1"));
    lv13->setCell(film, QStringLiteral("mc"), QStringLiteral("星际穿越"));
    lv13->setCell(film, QStringLiteral("zzdz"), site + QStringLiteral("/detail.asp?ID=901 "));
    QTreeWidgetItem* gone = lv13->addRow(QStringLiteral("2"));
    lv13->setCell(gone, QStringLiteral("zzdz"), site + QStringLiteral("/gone"));

    list2->addItem(QStringLiteral("old"));
    QSignalSpy resolved(detail, &FilmResourceDetail::resolved);
    lv13->setCurrentItem(film);
    emit lv13->listDoubleClicked();
    QCOMPARE(StatusLine::text(), QStringLiteral("正在提取种子.."));
    QCOMPARE(list2->count(), 0);
    QVERIFY(resolved.wait(5000));
    QCOMPARE(resolved.at(0).at(0).toBool(), true);
    QCOMPARE(StatusLine::text(), QStringLiteral("种子提取完毕.."));
    // Two parts, the first in an href and repeated at the foot: two entries,
    // each once, in page order, and no bare "qvod://".
    QStringList entries;
    for (int i = 0; i < list2->count(); ++i)
        entries << list2->item(i)->text();
    QCOMPARE(entries.size(), 2);
    QVERIFY2(entries[0].startsWith(QStringLiteral("qvod://700009011|")) && entries[0].endsWith(QStringLiteral("星际穿越_1.rmvb|")),
             qPrintable(entries.join(u'\n')));
    QVERIFY2(entries[1].startsWith(QStringLiteral("qvod://700009012|")) && entries[1].endsWith(QStringLiteral("星际穿越_2.rmvb|")),
             qPrintable(entries.join(u'\n')));

    // A detail page that does not come: a plain failure, List2 emptied.
    m_server->sites().program("/film-resource/gone", Answer::html(""));
    lv13->setCurrentItem(gone);
    emit lv13->listDoubleClicked();
    QVERIFY(resolved.wait(5000));
    QCOMPARE(resolved.at(1).at(0).toBool(), false);
    QCOMPARE(StatusLine::text(), QStringLiteral("种子提取失败：未获取到页面内容，请稍后重试.."));
    QCOMPARE(list2->count(), 0);
}

void TestMagnetSources::torrentDownload()
{
    auto* download = form()->findChild<TorrentDownload*>();
    QVERIFY(download);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString downloads = folder.filePath(QStringLiteral("下载"));   // made on first use
    download->setDownloadFolder(downloads);
    download->setOfferWaitMs(1000);

    ResultList* lv4 = list("ListView4");
    lv4->clearRows();
    QAction* item = findRowAction(form(), QStringLiteral("dkbtxz"));
    QVERIFY(item);
    item->trigger();
    QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));
    QVERIFY(!form()->findChild<QWebEngineView*>(QStringLiteral("WebBrowser2")));

    const QString hash = QStringLiteral("0123456789abcdef0123456789abcdef01234567");
    const QString rss = m_server->roleUrl(QString::fromLatin1(role::TorrentRssSite));
    const QString address = rss + QStringLiteral("/torrent/") + hash + QStringLiteral(".torrent");
    auto rowFor = [&](const QString& zzdz) {
        lv4->clearRows();
        QTreeWidgetItem* row = lv4->addRow(QStringLiteral("1"));
        lv4->setCell(row, QStringLiteral("mc"), QStringLiteral("Ubuntu"));
        lv4->setCell(row, QStringLiteral("zzdz"), zzdz);
        lv4->setCurrentItem(row);
    };
    QSignalSpy ended(download, &TorrentDownload::downloadEnded);

    // A file of that name is already there: it stays, the torrent gets a free name.
    QVERIFY(QDir().mkpath(downloads));
    const QString taken = QDir(downloads).filePath(hash + QStringLiteral(".torrent"));
    {
        QFile f(taken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("mine");
    }
    rowFor(address);
    item->trigger();
    QCOMPARE(StatusLine::text(), QStringLiteral("开始下载..."));
    QVERIFY(ended.wait(20000));
    QCOMPARE(ended.at(0).at(0).toBool(), true);
    const QString saved = ended.at(0).at(1).toString();
    QCOMPARE(saved, QDir(downloads).filePath(hash + QStringLiteral("(1).torrent")));
    QVERIFY2(StatusLine::text().contains(QDir::toNativeSeparators(saved)), qPrintable(StatusLine::text()));
    QFile got(saved);
    QVERIFY(got.open(QIODevice::ReadOnly));
    QVERIFY(got.readAll().startsWith("d8:announce"));
    QFile mine(taken);
    QVERIFY(mine.open(QIODevice::ReadOnly));
    QCOMPARE(mine.readAll(), QByteArray("mine"));
    QCOMPARE(form()->findChildren<QWebEngineView*>(QStringLiteral("WebBrowser2")).size(), 1);
    // Nothing of the address stays loaded in the hidden browser after an ending.
    QWebEngineView* browser2 = form()->findChild<QWebEngineView*>(QStringLiteral("WebBrowser2"));
    const QUrl blank(QStringLiteral("about:blank"));
    QTRY_COMPARE(browser2->url(), blank);

    // Addresses that offer no torrent end with a failure that says so.
    const QStringList failing = {rss + QStringLiteral("/no-such-page"), QStringLiteral("http://127.0.0.1:1/x.torrent")};
    for (const QString& bad : failing) {
        ended.clear();
        rowFor(bad);
        item->trigger();
        QVERIFY(ended.wait(20000));
        QCOMPARE(ended.at(0).at(0).toBool(), false);
        QVERIFY2(StatusLine::text().startsWith(QStringLiteral("种子下载失败：")), qPrintable(StatusLine::text()));
        QTRY_COMPARE(browser2->url(), blank);
    }

    // Any other scheme is refused without loading anything.
    for (const QString& refused : {QStringLiteral("file:///etc/passwd"), QStringLiteral("javascript:alert(1)"),
                                   QStringLiteral("data:text/html,x")}) {
        ended.clear();
        rowFor(refused);
        item->trigger();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toBool(), false);
        QVERIFY2(StatusLine::text().startsWith(QStringLiteral("种子下载失败：")), qPrintable(StatusLine::text()));
    }
    QCOMPARE(QDir(downloads).entryList(QDir::Files).size(), 2);
}

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestMagnetSources test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_magnet_sources.moc"
