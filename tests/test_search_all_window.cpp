// The search over every source as the window shows it: the box in the
// navigation bar, the rows streaming into a sortable table, one line per
// source, the row menu, and the site status window. The sites are the
// sample sites; one of them is made to fail where a case needs it.
#include "app/settings_window.h"
#include "net/site_config.h"
#include "pages/everywhere/search_all_window.h"
#include "pages/everywhere/site_status_window.h"
#include "platform/open_address.h"
#include "program_window.h"
#include "sources/definitions/site_definitions.h"
#include "sources/everywhere/search_everywhere.h"
#include "sources/everywhere/site_check.h"
#include "test_server.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

using namespace lumorra;
using lumorra::testing::ProgramWindow;
using lumorra::testing::TestServer;

namespace {

QString cell(const QAbstractItemModel* model, int row, int column)
{
    return model->index(row, column).data().toString();
}

QStringList column(const QAbstractItemModel* model, int col, int first = 0, int count = -1)
{
    QStringList out;
    const int end = count < 0 ? model->rowCount() : qMin(model->rowCount(), first + count);
    for (int row = first; row < end; ++row)
        out << cell(model, row, col);
    return out;
}

QStringList headers(const QAbstractItemModel* model)
{
    QStringList out;
    for (int c = 0; c < model->columnCount(); ++c)
        out << model->headerData(c, Qt::Horizontal).toString();
    return out;
}

// The first row whose cell in `col` is `text`, -1 when none.
int rowWith(const QAbstractItemModel* model, int col, const QString& text)
{
    for (int row = 0; row < model->rowCount(); ++row)
        if (cell(model, row, col) == text)
            return row;
    return -1;
}

// The line of the source `id` in the lines table (its 来源 cell names it first).
int sourceLine(const QAbstractItemModel* lines, const QString& id)
{
    for (int row = 0; row < lines->rowCount(); ++row)
        if (cell(lines, row, 0).section(u' ', 0, 0) == id)
            return row;
    return -1;
}

} // namespace

class SearchAllWindowTest : public QObject {
    Q_OBJECT

private:
    ProgrammableSites& sites() { return TestServer::shared().sites(); }

    // Types `keyword` into the navigation bar's box and presses Enter; the
    // results window it opens, or null.
    static SearchAllWindow* searchFromBar(ProgramWindow& w, const QString& keyword)
    {
        auto* box = w->findChild<QLineEdit*>(QStringLiteral("searchAllBox"));
        if (!box || !box->isVisible())
            return nullptr;
        box->setText(keyword);
        QTest::keyClick(box, Qt::Key_Return);
        return w->findChild<SearchAllWindow*>(QStringLiteral("searchAllWindow"));
    }

    static QTableView* table(QWidget* window, const char* name)
    {
        return window->findChild<QTableView*>(QString::fromLatin1(name));
    }

    static QString status(QWidget* window)
    {
        return window->findChild<QLabel*>(QStringLiteral("searchAllStatus"))->text();
    }

    static void selectRow(QTableView* view, int row)
    {
        view->selectionModel()->clearSelection();
        if (row >= 0)
            view->selectRow(row);
    }

    static void trigger(QWidget* window, const char* action)
    {
        window->findChild<QMenu*>(QStringLiteral("searchAllMenu"))
            ->findChild<QAction*>(QString::fromLatin1(action))
            ->trigger();
    }

private slots:
    void init()
    {
        sites().clearProgram();
        SiteConfig::current().pointAllAt(TestServer::shared().baseUrl());
    }
    void cleanup()
    {
        sites().clearProgram();
        setOpenAddressHandler(nullptr);
    }

    // The rows of every keyword source stream into one table that sorts by
    // any column; each source has its line, the failing one with its reason.
    void streamsEverySourceIntoOneSortableTable()
    {
        ProgramWindow w;
        QVERIFY(w.show());
        QVERIFY(w.waitUntilUnlocked());
        const std::string rss = SiteConfig::samplePrefix(QStringLiteral("TorrentRssSite")).toStdString();
        sites().programUnder(rss, [](const Answer&, const std::string&) {
            return Answer::html("<html><body>服务器错误</body></html>", 500);
        });

        // Nothing to search for: the window says so and nothing starts.
        SearchAllWindow* window = searchFromBar(w, QString());
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("全部搜索"));
        QCOMPARE(status(window), QStringLiteral("请输入要搜索的关键字"));
        QVERIFY(!window->everywhere()->isRunning());

        QTableView* results = table(window, "searchAllResults");
        QTableView* lines = table(window, "searchAllSources");
        QVERIFY(results && lines);
        QSignalSpy batches(results->model(), &QAbstractItemModel::rowsInserted);
        QSignalSpy finished(window->everywhere(), &SearchEverywhere::finished);
        QCOMPARE(searchFromBar(w, QStringLiteral("ubuntu")), window);
        QVERIFY(finished.wait(60000));

        // Each batch of a source is inserted as it comes, not one reset.
        QVERIFY2(batches.count() > 1, qPrintable(QString::number(batches.count())));
        QCOMPARE(results->model()->rowCount(), 41);
        QCOMPARE(status(window), QStringLiteral("搜索完毕：共找到 41 条资源，1 个站点失败"));
        QCOMPARE(headers(results->model()),
            (QStringList{"序号", "名称", "大小", "日期", "链接", "详情页", "来源"}));
        QCOMPARE(headers(lines->model()), (QStringList{"来源", "状态", "结果数", "毫秒", "原因"}));

        const struct {
            const char* id;
            const char* state;
            int rows;
        } expected[] = {
            {"clouddisk", "有结果", 31},
            {"torrent", "有结果", 5},
            {"rss", "失败", 0},
            {"film", "无结果", 0},
            {"magnet-a", "有结果", 3},
            {"magnet-b", "有结果", 3},
            {"emule", "无结果", 0},
            {"emule-search", "无结果", 0},
        };
        QCOMPARE(lines->model()->rowCount(), int(std::size(expected)));
        for (const auto& e : expected) {
            const int line = sourceLine(lines->model(), QString::fromLatin1(e.id));
            QVERIFY2(line >= 0, e.id);
            QCOMPARE(cell(lines->model(), line, 1), QString::fromUtf8(e.state));
            QCOMPARE(cell(lines->model(), line, 2), QString::number(e.rows));
        }
        const int rssLine = sourceLine(lines->model(), QStringLiteral("rss"));
        QVERIFY2(cell(lines->model(), rssLine, 4).contains(QStringLiteral("500")),
            qPrintable(cell(lines->model(), rssLine, 4)));

        // A resource both magnet sites list is one row naming both.
        const int both = rowWith(results->model(), 1, QStringLiteral("ubuntu-22.04.4-desktop-amd64.iso"));
        QVERIFY(both >= 0);
        const int merged = rowWith(results->model(), 6, QStringLiteral("magnet-a,magnet-b"));
        QVERIFY(merged >= 0);
        QCOMPARE(cell(results->model(), merged, 4),
            QStringLiteral("magnet:?xt=urn:btih:40EBAB65768117974ABB0A8ADDC703FAA580B45B"));

        // Sizes sort by bytes (an unknown size last when descending), numbers
        // as numbers.
        results->horizontalHeader()->setSortIndicator(2, Qt::DescendingOrder);
        QCOMPARE(column(results->model(), 2, 0, 9),
            (QStringList{
                "5.71 GB", "5.05 GB", "5.05 GB", "4.69 GB", "4.69 GB", "4.05 GB", "2.04 GB", "1.45 GB", ""}));
        results->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
        QCOMPARE(column(results->model(), 0, 0, 3), (QStringList{"41", "40", "39"}));
    }

    // The row menu: the selection guard, copying a link, opening a detail
    // page, resolving one into its link.
    void rowMenuActsOnTheSelectedRow()
    {
        ProgramWindow w;
        QVERIFY(w.show());
        QVERIFY(w.waitUntilUnlocked());
        QStringList opened;
        setOpenAddressHandler([&opened](const QString& a) { opened << a; });

        SearchAllWindow* window = searchFromBar(w, QStringLiteral("电影"));
        QVERIFY(window);
        QSignalSpy finished(window->everywhere(), &SearchEverywhere::finished);
        QVERIFY(finished.wait(60000));
        QTableView* results = table(window, "searchAllResults");
        QVERIFY(results->model()->rowCount() > 0);

        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        selectRow(results, -1);
        for (const char* action : {"copyName", "copyLink", "openDetail", "resolveRow", "playRow"}) {
            window->findChild<QLabel*>(QStringLiteral("searchAllStatus"))->clear();
            trigger(window, action);
            QVERIFY2(status(window) == QStringLiteral("请先查询再进行操作!"), action);
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QVERIFY(opened.isEmpty());

        // An eMule row: its link is its detail page until that is resolved.
        const int emule = rowWith(results->model(), 1, QStringLiteral("山河故人 第11辑"));
        QVERIFY(emule >= 0);
        QCOMPARE(cell(results->model(), emule, 6), QStringLiteral("emule"));
        selectRow(results, emule);
        const QString detail = TestServer::shared().url(QStringLiteral("/emule-index/movie/101.html"));
        trigger(window, "copyLink");
        QCOMPARE(QGuiApplication::clipboard()->text(), detail);
        trigger(window, "openDetail");
        QCOMPARE(opened, QStringList{detail});

        trigger(window, "resolveRow");
        QTRY_VERIFY_WITH_TIMEOUT(status(window).startsWith(QStringLiteral("链接已解析并复制：")), 20000);
        const QString link = QStringLiteral(
            "ed2k://|file|山河故人 "
            "第11辑.国语中字.rmvb|846200933|901CED44FA852ECDEEF9BD0602D02175|h=571282C5EFCB87E6B3B8|/");
        QCOMPARE(QGuiApplication::clipboard()->text(), link);
        QCOMPARE(status(window), QStringLiteral("链接已解析并复制：") + link);
        QCOMPARE(cell(results->model(), emule, 4), link);
    }

    // The site status: every role of sites.ini with its state, and every
    // source with its last outcome; opened from the about page and from the
    // settings window.
    void siteStatusListsEveryRole()
    {
        // A user's definition file that was refused is named there too.
        QTemporaryDir folder;
        QFile broken(folder.filePath(QStringLiteral("magnet-a.yaml")));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("scheme: magnet-a\nrecord: [\n") > 0);
        broken.close();
        SiteDefinitions::current().load(folder.path());
        const auto shippedAgain = qScopeGuard([] { SiteDefinitions::current().loadShipped(); });

        ProgramWindow w;
        QVERIFY(w.show());
        QVERIFY(w.waitUntilUnlocked());
        auto* link = w->findChild<QLabel*>(QStringLiteral("siteStatusLink"));
        QVERIFY(link);
        QTest::mouseClick(link, Qt::LeftButton);
        auto* window = w->findChild<SiteStatusWindow*>(QStringLiteral("siteStatusWindow"));
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("站点状态"));
        auto* problems = window->findChild<QLabel*>(QStringLiteral("siteDefinitionProblems"));
        QVERIFY(problems && problems->isVisible());
        QVERIFY2(problems->text().startsWith(QStringLiteral("以下站点定义文件有误，已改用内置定义：\nmagnet-a.yaml:3: ")),
                 qPrintable(problems->text()));
        QSignalSpy checked(window->check(), &SiteCheck::finished);
        QVERIFY(checked.wait(60000));

        const QAbstractItemModel* lines = table(window, "siteCheckTable")->model();
        QCOMPARE(headers(lines), (QStringList{"站点", "地址", "状态", "结果数", "毫秒", "原因"}));
        const QStringList states{"正常", "无结果", "失败", "未检查"};
        QCOMPARE(column(lines, 0), SiteConfig::roles());
        for (int row = 0; row < lines->rowCount(); ++row)
            QVERIFY2(states.contains(cell(lines, row, 2)), qPrintable(cell(lines, row, 0)));
        QCOMPARE(
            cell(lines, rowWith(lines, 0, QStringLiteral("TorrentIndexSite")), 2), QStringLiteral("正常"));
        // The online-video sites wait for the usage agreement.
        QCOMPARE(
            cell(lines, rowWith(lines, 0, QStringLiteral("QvodSearchSite")), 2), QStringLiteral("未检查"));

        const QAbstractItemModel* history = table(window, "sourceHistoryTable")->model();
        QCOMPARE(headers(history), (QStringList{"来源", "结果", "行数", "毫秒", "时间", "原因"}));
        QCOMPARE(cell(history, sourceLine(history, QStringLiteral("torrent")), 1), QStringLiteral("有结果"));
        QCOMPARE(cell(history, sourceLine(history, QStringLiteral("qvod")), 1), QStringLiteral("未运行"));

        // A site that fails now shows so on the next check.
        const std::string torrent
            = SiteConfig::samplePrefix(QStringLiteral("TorrentIndexSite")).toStdString();
        sites().programUnder(
            torrent, [](const Answer&, const std::string&) { return Answer::html("", 500); });
        window->findChild<QPushButton*>(QStringLiteral("recheckButton"))->click();
        QVERIFY(checked.wait(60000));
        QCOMPARE(
            cell(lines, rowWith(lines, 0, QStringLiteral("TorrentIndexSite")), 2), QStringLiteral("失败"));
        QCOMPARE(cell(history, sourceLine(history, QStringLiteral("torrent")), 1), QStringLiteral("失败"));

        SettingsWindow settings(w.get());
        settings.findChild<QPushButton*>(QStringLiteral("siteStatusButton"))->click();
        auto* fromSettings = settings.findChild<SiteStatusWindow*>(QStringLiteral("siteStatusWindow"));
        QVERIFY(fromSettings);
        QVERIFY(fromSettings->isVisible());
    }
};

QTEST_MAIN(SearchAllWindowTest)
#include "test_search_all_window.moc"
