// "提取种子": the first ed2k link of a row's detail page onto the clipboard,
// through the seven menu items of the eMule lists.
#include "lists/ed2k_extraction.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"

#include "form1_lists.h"
#include "test_server.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

using namespace lumorra;
using lumorra::testing::Form1Lists;
using lumorra::testing::TestServer;

namespace {

const QString kSentinel = QStringLiteral("clipboard before");

std::string detailPage(const std::string& anchors)
{
    return "<html><body><h1>资源</h1><ul>" + anchors + "</ul></body></html>";
}

} // namespace

class TestEd2kExtraction : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstLinkOfAPage();
    void pagesWithoutALink();
    void eachItemReadsItsOwnList();
    void linkCopiedCharacterForCharacter();
    void noSelectionLeavesTheClipboardAlone();
    void noLinkLeavesTheClipboardAloneAndSaysSo();

private:
    // One row in `listName` whose detail address is `address`, selected.
    void selectRow(const QString& listName, const QString& address, const QString& rowText = "1");
    // Runs `action` and waits until its page has been read.
    bool extracted(const std::function<void()>& action)
    {
        QSignalSpy read(Ed2kExtraction::of(m_form), &Ed2kExtraction::extracted);
        action();
        return read.wait(10000);
    }
    QString clipboard() const { return QApplication::clipboard()->text(); }

    TestServer* m_server = nullptr;
    Form1Lists* m_form = nullptr;
};

void TestEd2kExtraction::initTestCase()
{
    m_server = &TestServer::shared();
    PageFetcher::instance().setTimeoutSeconds(5);
}

void TestEd2kExtraction::init()
{
    m_form = new Form1Lists;
    installEd2kExtraction(m_form);   // before the menus exist: bindings wait
    installRowActions(m_form);
    m_server->sites().clearProgram();
    m_server->sites().clearRequests();
    QApplication::clipboard()->setText(kSentinel);
    StatusLine::set(QStringLiteral("-"));
}

void TestEd2kExtraction::cleanup()
{
    delete m_form;
    m_form = nullptr;
}

void TestEd2kExtraction::selectRow(const QString& listName, const QString& address, const QString& rowText)
{
    ResultList* list = findResultList(m_form, listName);
    QVERIFY(list);
    list->clearRows();
    QTreeWidgetItem* row = list->addRow(rowText);
    list->setCell(row, QStringLiteral("mc"), QStringLiteral("名称"));
    list->setCell(row, QStringLiteral("zzdz"), address);
    row->setSelected(true);
}

void TestEd2kExtraction::firstLinkOfAPage()
{
    QCOMPARE(firstEd2kLink(QStringLiteral("<a href=\"ed2k://|file|name.avi|1234|ABCD|/\">x</a>")),
             QStringLiteral("ed2k://|file|name.avi|1234|ABCD|/"));
    // Two anchors: the first one only.
    QCOMPARE(firstEd2kLink(QStringLiteral("<a href=\"ed2k://|file|一.avi|1|A|/\">一</a>"
                                          "<a href=\"ed2k://|file|二.avi|2|B|/\">二</a>")),
             QStringLiteral("ed2k://|file|一.avi|1|A|/"));
    // Nothing decoded: escapes and entities stay as the page writes them.
    QCOMPARE(firstEd2kLink(QStringLiteral("<a href=\"ed2k://|file|%E7%94%B5&amp;影 1.rmvb|9|C|h=D|/\">")),
             QStringLiteral("ed2k://|file|%E7%94%B5&amp;影 1.rmvb|9|C|h=D|/"));
    // A link written outside an anchor of that exact shape is not the link.
    QCOMPARE(firstEd2kLink(QStringLiteral("ed2k://|file|plain.avi|1|A|/ <a href=\"ed2k://|file|a.avi|1|A|/\">")),
             QStringLiteral("ed2k://|file|a.avi|1|A|/"));
}

void TestEd2kExtraction::pagesWithoutALink()
{
    QVERIFY(!firstEd2kLink(QString()));
    QVERIFY(!firstEd2kLink(QStringLiteral("<html><a href=\"magnet:?xt=1\">m</a></html>")));
    QVERIFY(!firstEd2kLink(QStringLiteral("<A HREF=\"ed2k://|file|x|1|A|/\">")));   // marker is case-sensitive
    QVERIFY(!firstEd2kLink(QStringLiteral("<a href=\"ed2k://\">empty</a>")));
    QVERIFY(!firstEd2kLink(QStringLiteral("<a href=\"ed2k://|file|cut off")));
}

void TestEd2kExtraction::eachItemReadsItsOwnList()
{
    const QList<QPair<QString, QString>> items = {
        {"kctqzz", "ListView6"},  {"yytqzz", "ListView7"},  {"tqzzrj", "ListView8"}, {"tqzzts", "ListView9"},
        {"tqzzjy", "ListView10"}, {"tqzzzh", "ListView11"}, {"tqdv", "ListView15"},
    };
    // Every list gets a row whose page names the list; only the item's own
    // list may be read.
    for (const auto& [item, listName] : items) {
        const std::string path = "/t/ed2k/" + listName.toStdString();
        m_server->sites().program(path, Answer::html(detailPage("<li><a href=\"ed2k://|file|" + listName.toStdString()
                                                                + ".avi|1|A|/\">f</a></li>")));
        selectRow(listName, m_server->url(QString::fromStdString(path)));
    }
    for (const auto& [item, listName] : items) {
        QAction* action = findRowAction(m_form, item);
        QVERIFY2(action, qPrintable(item));
        QApplication::clipboard()->setText(kSentinel);
        StatusLine::set(QStringLiteral("-"));
        QVERIFY(extracted([&] { action->trigger(); }));
        QCOMPARE(clipboard(), QStringLiteral("ed2k://|file|%1.avi|1|A|/").arg(listName));
        QCOMPARE(StatusLine::text(), QStringLiteral("种子地址已提取并自动复制到剪贴板!"));
    }
    QCOMPARE(ed2kCopiedText(), QStringLiteral("种子地址已提取并自动复制到剪贴板!"));
    // One fetch per click, every time.
    std::vector<LoggedRequest> sent = m_server->sites().requests();
    std::erase_if(sent, [](const LoggedRequest& r) { return r.path.rfind("/t/ed2k/", 0) != 0; });
    QCOMPARE(sent.size(), size_t(items.size()));
    // The cartoon menu has no such item.
    QVERIFY(!findRowAction(m_form, QStringLiteral("tqzzdm")));
}

void TestEd2kExtraction::linkCopiedCharacterForCharacter()
{
    // A GBK page with a Chinese name, percent escapes and an entity, and a
    // second link after it.
    const std::string anchors =
        "<li><a href=\"ed2k://|file|卧虎藏龙.%E5%9B%BD%E8%AF%AD.Tom&amp;Jerry.rmvb|178257930|182D8EEE|h=92DF|/\">一</a></li>"
        "<li><a href=\"ed2k://|file|second.rmvb|1|B|/\">二</a></li>";
    m_server->sites().program("/t/ed2k/gbk", Answer::bytes(encodeText(detailPage(anchors), "GBK"),
                                                           "text/html; charset=gbk"));
    selectRow(QStringLiteral("ListView15"), m_server->url("/t/ed2k/gbk"));
    QVERIFY(extracted([&] { tqdv_Click(m_form); }));
    QCOMPARE(clipboard(),
             QStringLiteral("ed2k://|file|卧虎藏龙.%E5%9B%BD%E8%AF%AD.Tom&amp;Jerry.rmvb|178257930|182D8EEE|h=92DF|/"));

    // The sample index site's own detail pages: the first of two links.
    const QString index = m_server->roleUrl(QStringLiteral("EmuleIndexSite"));
    selectRow(QStringLiteral("ListView6"), index + "/movie/10.html");
    QVERIFY(extracted([&] { kctqzz_Click(m_form); }));
    QVERIFY2(clipboard().startsWith(QStringLiteral("ed2k://|file|%E5%8D%A7")), qPrintable(clipboard()));
    QVERIFY(clipboard().endsWith(QStringLiteral("|/")));
    QVERIFY(!clipboard().contains(QStringLiteral("高清版")));
}

void TestEd2kExtraction::noSelectionLeavesTheClipboardAlone()
{
    const QString address = m_server->url("/t/ed2k/never");
    // An empty list, a list with a row but none selected, a selected row
    // without row text.
    findResultList(m_form, QStringLiteral("ListView7"))->clearRows();
    yytqzz_Click(m_form);
    QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));

    ResultList* books = findResultList(m_form, QStringLiteral("ListView9"));
    books->addRow(QStringLiteral("1"));
    books->setCell(books->topLevelItem(0), QStringLiteral("zzdz"), address);
    StatusLine::set(QStringLiteral("-"));
    findRowAction(m_form, QStringLiteral("tqzzts"))->trigger();
    QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));

    selectRow(QStringLiteral("ListView11"), address, QString());
    StatusLine::set(QStringLiteral("-"));
    tqzzzh_Click(m_form);
    QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));

    QCOMPARE(clipboard(), kSentinel);
    QVERIFY(m_server->sites().requests().empty());
}

void TestEd2kExtraction::noLinkLeavesTheClipboardAloneAndSaysSo()
{
    Answer drop;
    drop.drop = true;
    m_server->sites().program("/t/ed2k/none", Answer::html(detailPage("<li>该资源已下架。</li>")));
    m_server->sites().program("/t/ed2k/blank", Answer::html(""));
    m_server->sites().program("/t/ed2k/bare", Answer::html(detailPage("<a href=\"ed2k://\">?</a>")));
    m_server->sites().program("/t/ed2k/drop", drop);

    for (const char* path : {"/t/ed2k/none", "/t/ed2k/blank", "/t/ed2k/bare", "/t/ed2k/drop"}) {
        selectRow(QStringLiteral("ListView8"), m_server->url(QLatin1String(path)));
        StatusLine::set(QStringLiteral("-"));
        QVERIFY(extracted([&] { tqzzrj_Click(m_form); }));
        QCOMPARE(clipboard(), kSentinel);
        QVERIFY2(StatusLine::text().startsWith(QStringLiteral("没有找到ed2k链接")), qPrintable(StatusLine::text()));
        QVERIFY(StatusLine::text() != QStringLiteral("种子地址已提取并自动复制到剪贴板!"));
    }
    // A failed fetch names its reason.
    QCOMPARE(StatusLine::text(), QStringLiteral("没有找到ed2k链接(无法连接到服务器),种子地址提取失败!"));

    // An empty address cell: nothing to fetch, nothing found.
    m_server->sites().clearRequests();
    selectRow(QStringLiteral("ListView10"), QString());
    tqzzjy_Click(m_form);
    QCOMPARE(clipboard(), kSentinel);
    QCOMPARE(StatusLine::text(), QStringLiteral("没有找到ed2k链接,种子地址提取失败!"));
    QVERIFY(m_server->sites().requests().empty());
}

QTEST_MAIN(TestEd2kExtraction)
#include "test_ed2k_extraction.moc"
