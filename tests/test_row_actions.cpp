// The popup menus of the result lists and the copy/open row actions.
#include "app/exit_flow.h"
#include "core/column_table.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "platform/open_address.h"

#include "form1_lists.h"
#include "program_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace lumorra;
using lumorra::testing::Form1Lists;

namespace {

// What a family item takes from its row: list, column key, copy or open,
// status text. Written from the lists' keys, independently of the positions
// the actions use.
struct Expect {
    const char* item;
    int list;
    const char* key;
    bool open;
    const char* status;
};

const QList<Expect>& families()
{
    static const QList<Expect> e = {
        {"fz", 1, "dz", false, "链接地址已复制!"},
        {"dk", 1, "dz", true, ""},
        {"fhxz", 2, "xzdz", false, "下载地址已复制!"},
        {"fhbf", 2, "fhdz", false, "磁力链接已复制!"},
        {"fzbtdz", 4, "zzdz", false, "种子已复制!"},
        {"kcfzdz", 6, "zzdz", false, "地址已复制!"},
        {"ckdklj", 6, "zzdz", true, ""},
        {"yydzfz", 7, "zzdz", false, "地址已复制!"},
        {"yydklj", 7, "zzdz", true, ""},
        {"fzdzrj", 8, "zzdz", false, "地址已复制!"},
        {"dkljrj", 8, "zzdz", true, ""},
        {"fzdzts", 9, "zzdz", false, "地址已复制!"},
        {"dkljts", 9, "zzdz", true, ""},
        {"fzdzjy", 10, "zzdz", false, "地址已复制!"},
        {"dlljjy", 10, "zzdz", true, ""},
        {"fzdzzh", 11, "zzdz", false, "地址已复制!"},
        {"dkljzh", 11, "zzdz", true, ""},
        {"fzdzdm", 12, "zzdz", false, "地址已复制!"},
        {"dkljdm", 12, "zzdz", true, ""},
        {"dvfz", 15, "zzdz", false, "地址已复制!"},
        {"dkdv", 15, "zzdz", true, ""},
        {"ybfz", 19, "cl", false, "磁力链接已复制!"},
    };
    return e;
}

// What fillRow() writes into a list's cell: a web address that says which
// list and key it is.
QString cellValue(const QString& list, const QString& key)
{
    return QStringLiteral("http://%1.test/%2").arg(list, key);
}

// Fills one row whose every cell says which list and key it is.
QTreeWidgetItem* fillRow(ResultList* list, const QString& rowText = QStringLiteral("1"))
{
    QTreeWidgetItem* row = list->addRow(rowText);
    for (const ColumnLayout& c : listLayout(list->objectName())->columns)
        if (c.key != QLatin1String("xh"))
            list->setCell(row, c.key, cellValue(list->objectName(), c.key));
    return row;
}

// A point on the row's text, inside the list however narrow it is.
QPoint rowPoint(ResultList* list, QTreeWidgetItem* row)
{
    const QRect r = list->visualItemRect(row);
    return {r.left() + 10, r.center().y()};
}

// Runs `action` and, meanwhile, records the popup menu that comes up and
// closes it.
QString popupDuring(const std::function<void()>& action, QStringList* itemsSeen = nullptr)
{
    QString seen;
    auto look = [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            seen = menu->objectName();
            if (itemsSeen)
                for (QAction* a : menu->actions())
                    *itemsSeen << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
            menu->close();
        }
    };
    // A menu run modally is seen from inside its own loop; one that pops up
    // without blocking is up when the action returns.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, look);
    poll.start();
    action();
    poll.stop();
    look();
    if (auto* left = QApplication::activePopupWidget())
        left->close();
    return seen;
}

// Selects, in every tab control above `w`, the page that holds it.
void bringForward(QWidget* w)
{
    for (QWidget* p = w; p && p->parentWidget(); p = p->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(p->parentWidget());
        if (auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr)
            tabs->setCurrentWidget(p);
    }
}

} // namespace

class TestRowActions : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menusHaveTheirItemsInOrder();
    void rightButtonPopsUpTheMenuEvenOnAnEmptyList();
    void otherButtonsAndMenulessListsPopUpNothing();
    void everyItemIsGuardedWithoutSelection();
    void emptyRowTextCountsAsNoSelection();
    void eachItemTakesItsCell();
    void emptyAddressIsStillHandedOver();
    void openItemsOpenOnlyWebAndDownloadLinks_data();
    void openItemsOpenOnlyWebAndDownloadLinks();
    void copyInformationIsTwoLines();
    void itemChosenFromThePopupActsOnTheClickedRow();
    void listView17DoubleClickOpensTheHiddenAddress();
    void unboundItemsDoNothingUntilBound();
    void desktopOpenerGetsTheAddressUnchanged();
    // Last: the real window attaches a skin to the whole application.
    void mainWindowMenusBelongToTheirLists();

private:
    Form1Lists* m_form = nullptr;
    QStringList m_opened;
};

void TestRowActions::init()
{
    m_form = new Form1Lists;
    installRowActions(m_form);
    installRowActions(m_form);   // a second call must not double anything
    m_opened.clear();
    setOpenAddressHandler([this](const QString& a) { m_opened << a; });
    QApplication::clipboard()->setText(QStringLiteral("sentinel"));
    StatusLine::set(QStringLiteral("before"));
}

void TestRowActions::cleanup()
{
    setOpenAddressHandler(nullptr);
    delete m_form;
    m_form = nullptr;
}

void TestRowActions::menusHaveTheirItemsInOrder()
{
    const QList<QStringList> expected = {
        {"menu", "程序菜单", "fzxx 复制信息|-|fz 复制链接|-|dk 打开链接|-|dcsj 导出数据"},
        {"fhcd", "番号菜单", "fhxz 复制种子地址|-|fhbf 复制磁力链接"},
        {"btcd", "BT菜单", "fzbtdz 复制种子地址|-|dkbtxz 下载视频种子"},
        {"filmmenu", "电影资源", QStringLiteral("fzysdz22 复制影视地址|-|%1 解析影视种子").arg(kParseFilmItem)},
        {"jdkc", "经典库存", "kcfzdz 复制地址|-|ckdklj 打开链接|-|kctqzz 提取种子|-|jdydbf 云端播放"},
        {"yymenu", "音乐资源", "yydzfz 复制地址|-|yydklj 打开链接|-|yytqzz 提取种子"},
        {"dmmenu", "动漫菜单", "fzdzdm 复制地址|-|dkljdm 打开链接"},
        {"rjmenu", "软件菜单", "fzdzrj 复制地址|-|dkljrj 打开链接|-|tqzzrj 提取种子"},
        {"tsmenu", "图书菜单", "fzdzts 复制地址|-|dkljts 打开链接|-|tqzzts 提取种子"},
        {"jymenu", "教育菜单", "fzdzjy 复制地址|-|dlljjy 打开链接|-|tqzzjy 提取种子"},
        {"zhmenu", "综合菜单", "fzdzzh 复制地址|-|dkljzh 打开链接|-|tqzzzh 提取种子"},
        {"dvzycd", "电驴资源", "dvfz 复制地址|-|dkdv 打开链接|-|tqdv 提取种子"},
        {"ydbmenu", "云点播", "ybfz 复制磁力链接|-|ydydbf 在线云端播放"},
    };
    QCOMPARE(m_form->findChildren<QMenu*>().size(), expected.size());
    for (const QStringList& m : expected) {
        QMenu* menu = findRowMenu(m_form, m[0]);
        QVERIFY2(menu, qPrintable(m[0]));
        QCOMPARE(menu->title(), m[1]);
        QStringList items;
        for (QAction* a : menu->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + ' ' + a->text());
        QCOMPARE(items.join('|'), m[2]);
    }
}

void TestRowActions::rightButtonPopsUpTheMenuEvenOnAnEmptyList()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    const QMap<int, QString> menuOf = {{1, "menu"},    {2, "fhcd"},    {4, "btcd"},
                                       {5, "filmmenu"}, {6, "jdkc"},   {7, "yymenu"},
                                       {8, "rjmenu"},  {9, "tsmenu"},  {10, "jymenu"},
                                       {11, "zhmenu"}, {12, "dmmenu"}, {15, "dvzycd"},
                                       {19, "ydbmenu"}};
    for (auto it = menuOf.begin(); it != menuOf.end(); ++it) {
        ResultList* list = m_form->list(it.key());
        QCOMPARE(list->rowCount(), 0);
        const QString seen = popupDuring([&] {
            QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        });
        QCOMPARE(seen, it.value());
    }
    // The copy items of the popped-up menu then answer with the guard.
    QStringList items;
    popupDuring([&] {
        QTest::mouseClick(m_form->list(12)->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    }, &items);
    QCOMPARE(items, QStringList({"fzdzdm", "-", "dkljdm"}));
}

void TestRowActions::otherButtonsAndMenulessListsPopUpNothing()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    fillRow(m_form->list(1));
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::MiddleButton}) {
        const QString seen = popupDuring([&] {
            QTest::mouseClick(m_form->list(1)->viewport(), b, {}, QPoint(5, 5));
        });
        QCOMPARE(seen, QString());
    }
    for (int i : {3, 13, 14, 16, 17, 18, 20}) {
        const QString seen = popupDuring([&] {
            QTest::mouseClick(m_form->list(i)->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        });
        QCOMPARE(seen, QString());
    }
}

void TestRowActions::everyItemIsGuardedWithoutSelection()
{
    QStringList items;
    for (const Expect& e : families())
        items << QString::fromLatin1(e.item);
    items << QStringLiteral("fzxx");
    // Empty lists first, then lists with rows but nothing selected.
    for (int round = 0; round < 2; ++round) {
        if (round == 1)
            for (int i = 1; i <= 20; ++i)
                fillRow(m_form->list(i));
        for (const QString& item : items) {
            StatusLine::set(QStringLiteral("before"));
            QAction* a = findRowAction(m_form, item);
            QVERIFY2(a, qPrintable(item));
            a->trigger();
            QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));
            QCOMPARE(m_form->status->text(), QStringLiteral("请先查询再进行操作!"));
        }
    }
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("sentinel"));
    QVERIFY(m_opened.isEmpty());

    // The double click of ListView17 is guarded the same way.
    StatusLine::set(QStringLiteral("before"));
    emit m_form->list(17)->listDoubleClicked();
    QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));
    QVERIFY(m_opened.isEmpty());
}

void TestRowActions::emptyRowTextCountsAsNoSelection()
{
    ResultList* lv12 = m_form->list(12);
    QTreeWidgetItem* row = fillRow(lv12, QString());
    lv12->setCurrentItem(row);
    QCOMPARE(lv12->selectedRow(), row);
    findRowAction(m_form, QStringLiteral("fzdzdm"))->trigger();
    QCOMPARE(StatusLine::text(), QStringLiteral("请先查询再进行操作!"));
    findRowAction(m_form, QStringLiteral("dkljdm"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("sentinel"));
    QVERIFY(m_opened.isEmpty());
}

void TestRowActions::eachItemTakesItsCell()
{
    for (int i = 1; i <= 20; ++i) {
        ResultList* list = m_form->list(i);
        fillRow(list, QStringLiteral("1"));
        list->setCurrentItem(fillRow(list, QStringLiteral("2")));
        fillRow(list, QStringLiteral("3"));
    }
    for (const Expect& e : families()) {
        const QString expected
            = cellValue(QStringLiteral("ListView%1").arg(e.list), QString::fromLatin1(e.key));
        QApplication::clipboard()->setText(QStringLiteral("sentinel"));
        StatusLine::set(QStringLiteral("before"));
        m_opened.clear();
        findRowAction(m_form, QString::fromLatin1(e.item))->trigger();
        if (e.open) {
            QCOMPARE(m_opened, QStringList{expected});
            QCOMPARE(StatusLine::text(), QStringLiteral("before"));   // opening reports nothing
            QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("sentinel"));
        } else {
            QCOMPARE(QApplication::clipboard()->text(), expected);
            QCOMPARE(StatusLine::text(), QString::fromUtf8(e.status));
            QVERIFY(m_opened.isEmpty());
        }
    }
}

void TestRowActions::emptyAddressIsStillHandedOver()
{
    ResultList* lv6 = m_form->list(6);
    QTreeWidgetItem* row = lv6->addRow(QStringLiteral("1"));
    lv6->setCell(row, QStringLiteral("mc"), QStringLiteral("名称"));
    lv6->setCurrentItem(row);

    findRowAction(m_form, QStringLiteral("ckdklj"))->trigger();
    QCOMPARE(m_opened, QStringList{QString()});

    findRowAction(m_form, QStringLiteral("kcfzdz"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QString());
    QCOMPARE(StatusLine::text(), QStringLiteral("地址已复制!"));
}

void TestRowActions::openItemsOpenOnlyWebAndDownloadLinks_data()
{
    QTest::addColumn<QString>("item"); // empty: the double click of ListView17
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QString>("status");
    auto row = [](const char* name, const char* item, int list, const char* key, const QString& address,
                   const QStringList& opened, const QString& status) {
        QTest::newRow(name) << QString::fromLatin1(item) << list << QString::fromLatin1(key) << address
                            << opened << status;
    };
    const QString refused = QStringLiteral("已拒绝打开该地址（不支持的地址类型）：");
    const QString file = QStringLiteral("file:///etc/passwd");
    row("dk file url", "dk", 1, "dz", file, {}, refused + file);
    row("dk bare path", "dk", 1, "dz", QStringLiteral("/etc/passwd"), {},
        refused + QStringLiteral("/etc/passwd"));
    row("dk network share", "dk", 1, "dz", QStringLiteral("smb://host/share"), {},
        refused + QStringLiteral("smb://host/share"));
    row("dkdv script", "dkdv", 15, "zzdz", QStringLiteral("javascript:alert(1)"), {},
        refused + QStringLiteral("javascript:alert(1)"));
    row("ListView17 file url", "", 17, "dz", file, {}, refused + file);
    row("dk blanks around a web address", "dk", 1, "dz", QStringLiteral(" http://pan.example/s/1 "),
        {QStringLiteral("http://pan.example/s/1")}, QStringLiteral("before"));
    row("dkljdm magnet", "dkljdm", 12, "zzdz", QStringLiteral("magnet:?xt=urn:btih:abc"),
        {QStringLiteral("magnet:?xt=urn:btih:abc")}, QStringLiteral("before"));
}

void TestRowActions::openItemsOpenOnlyWebAndDownloadLinks()
{
    QFETCH(QString, item);
    QFETCH(int, list);
    QFETCH(QString, key);
    QFETCH(QString, address);
    QFETCH(QStringList, opened);
    QFETCH(QString, status);
    ResultList* lv = m_form->list(list);
    QTreeWidgetItem* row = lv->addRow(QStringLiteral("1"));
    lv->setCell(row, key, address);
    lv->setCurrentItem(row);
    if (item.isEmpty())
        emit lv->listDoubleClicked();
    else
        findRowAction(m_form, item)->trigger();
    QCOMPARE(m_opened, opened);
    QCOMPARE(StatusLine::text(), status);
    QCOMPARE(m_form->status->text(), status);
}

void TestRowActions::copyInformationIsTwoLines()
{
    ResultList* lv1 = m_form->list(1);
    QTreeWidgetItem* row = lv1->addRow(QStringLiteral("百度网盘"));
    lv1->setCell(row, QStringLiteral("mc"), QStringLiteral("教程 合集"));
    lv1->setCell(row, QStringLiteral("dz"), QStringLiteral("http://pan.example/s/1"));
    lv1->setCurrentItem(row);
    findRowAction(m_form, QStringLiteral("fzxx"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(),
             QString::fromUtf8("名称：教程 合集\r\n链接地址：http://pan.example/s/1"));
    QCOMPARE(StatusLine::text(), QStringLiteral("信息已复制!"));
    QCOMPARE(QApplication::clipboard()->text().count(QStringLiteral("\r\n")), 1);
}

void TestRowActions::itemChosenFromThePopupActsOnTheClickedRow()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    ResultList* lv19 = m_form->list(19);
    fillRow(lv19, QStringLiteral("1"));
    QTreeWidgetItem* second = lv19->addRow(QStringLiteral("2"));
    lv19->setCell(second, QStringLiteral("cl"), QStringLiteral("magnet:?xt=urn:btih:abc"));

    QString menuName;
    QTimer::singleShot(30, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menuName = menu->objectName();
            for (QAction* a : menu->actions())
                if (a->objectName() == QLatin1String("ybfz"))
                    a->trigger();
            menu->close();
        }
    });
    QTest::mouseClick(lv19->viewport(), Qt::RightButton, {}, rowPoint(lv19, second));
    QTRY_COMPARE(menuName, QStringLiteral("ydbmenu"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("magnet:?xt=urn:btih:abc"));
    QCOMPARE(StatusLine::text(), QStringLiteral("磁力链接已复制!"));
}

void TestRowActions::listView17DoubleClickOpensTheHiddenAddress()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    ResultList* lv17 = m_form->list(17);
    QTreeWidgetItem* row = lv17->addRow(QStringLiteral("1"));
    lv17->setCell(row, QStringLiteral("mc"), QStringLiteral("http://name.example/not-this"));
    lv17->setCell(row, QStringLiteral("fl"), QStringLiteral("电影"));
    lv17->setCell(row, QStringLiteral("dz"), QStringLiteral("ed2k://|file|a.avi|1|ABC|/"));
    QVERIFY(lv17->isColumnHidden(3));
    const QPoint at = rowPoint(lv17, row);
    QTest::mouseClick(lv17->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(lv17->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(m_opened, QStringList{QStringLiteral("ed2k://|file|a.avi|1|ABC|/")});
    QCOMPARE(StatusLine::text(), QStringLiteral("before"));

    // A right double click opens nothing.
    m_opened.clear();
    QTest::mouseDClick(lv17->viewport(), Qt::RightButton, {}, at);
    QVERIFY(m_opened.isEmpty());
}

void TestRowActions::unboundItemsDoNothingUntilBound()
{
    for (int i = 1; i <= 20; ++i)
        m_form->list(i)->setCurrentItem(fillRow(m_form->list(i)));
    const QStringList later = {"dcsj", "dkbtxz", kParseFilmItem, "kctqzz", "jdydbf", "yytqzz",
                               "tqzzrj", "tqzzts", "tqzzjy", "tqzzzh", "tqdv", "ydydbf",
                               "fzysdz22"};
    for (const QString& item : later) {
        QAction* a = findRowAction(m_form, item);
        QVERIFY2(a, qPrintable(item));
        a->trigger();
        QCOMPARE(StatusLine::text(), QStringLiteral("before"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("sentinel"));
        QVERIFY(m_opened.isEmpty());
    }

    QStringList calls;
    bindRowAction(m_form, QStringLiteral("kctqzz"), [&] { calls << "first"; });
    bindRowAction(m_form, QStringLiteral("kctqzz"), [&] { calls << "second"; });
    bindRowAction(m_form, QStringLiteral("ydydbf"), [&] { calls << "ydydbf"; });
    findRowAction(m_form, QStringLiteral("kctqzz"))->trigger();
    findRowAction(m_form, QStringLiteral("ydydbf"))->trigger();
    findRowAction(m_form, QStringLiteral("yytqzz"))->trigger();
    QCOMPARE(calls, QStringList({"second", "ydydbf"}));
    bindRowAction(m_form, QStringLiteral("kctqzz"), nullptr);
    findRowAction(m_form, QStringLiteral("kctqzz"))->trigger();
    QCOMPARE(calls.size(), 2);

    // A binding made before the menus exist holds once they are installed.
    Form1Lists other;
    bool exported = false;
    bindRowAction(&other, QStringLiteral("dcsj"), [&] { exported = true; });
    installRowActions(&other);
    findRowAction(&other, QStringLiteral("dcsj"))->trigger();
    QVERIFY(exported);
    QCOMPARE(calls.size(), 2);   // bindings belong to their own window
}

void TestRowActions::desktopOpenerGetsTheAddressUnchanged()
{
    // The desktop's opener is replaced by a script that writes down what it
    // was given, one address a line.
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QString log = bin.filePath(QStringLiteral("opened.txt"));
    QFile script(bin.filePath(QStringLiteral("xdg-open")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n").arg(log).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    const QByteArray oldBrowser = qgetenv("BROWSER");
    qputenv("PATH", bin.path().toLocal8Bit() + ':' + oldPath);
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
    setOpenAddressHandler(nullptr);

    auto lines = [&] {
        QFile f(log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)
                                           : QStringList();
    };
    // One at a time, so the log keeps their order.
    const QStringList addresses = {QStringLiteral("ed2k://|file|a.avi|1|ABC|/"),
                                   QStringLiteral("http://pan.example/s/1?x=1&y=2"),
                                   QStringLiteral("qvod://123|ABC|a.rmvb|")};
    for (int i = 0; i < addresses.size(); ++i) {
        openAddress(addresses[i]);
        QTRY_COMPARE_WITH_TIMEOUT(lines().size(), i + 1, 10000);
    }
    // Nothing to open: no launch. The address opened after it is the next
    // line, with nothing before it.
    openAddress(QString());
    const QString after = QStringLiteral("http://after.example/");
    openAddress(after);
    QTRY_COMPARE_WITH_TIMEOUT(lines().size(), addresses.size() + 1, 10000);
    qputenv("PATH", oldPath);
    if (!oldBrowser.isEmpty())
        qputenv("BROWSER", oldBrowser);
    QCOMPARE(lines(), addresses + QStringList{after});
}

void TestRowActions::mainWindowMenusBelongToTheirLists()
{
    int ends = 0;
    setProgramEndHook([&] { ++ends; });
    lumorra::testing::ProgramWindow w;
    QVERIFY(w.isValid());
    QVERIFY(w.show());
    QVERIFY(w.waitUntilUnlocked());

    const QMap<int, QString> menuOf = {{1, "menu"},    {2, "fhcd"},    {4, "btcd"},
                                       {5, "filmmenu"}, {6, "jdkc"},   {7, "yymenu"},
                                       {8, "rjmenu"},  {9, "tsmenu"},  {10, "jymenu"},
                                       {11, "zhmenu"}, {12, "dmmenu"}, {15, "dvzycd"},
                                       {19, "ydbmenu"}};
    // Each menu exists once, whichever feature installed its items first.
    for (const QString& m : menuOf)
        QCOMPARE(w->findChildren<QMenu*>(m).size(), 1);

    for (int i = 1; i <= 20; ++i) {
        ResultList* list = findResultList(w.get(), QStringLiteral("ListView%1").arg(i));
        QVERIFY2(list, qPrintable(QStringLiteral("ListView%1").arg(i)));
        bringForward(list);
        QTRY_VERIFY(list->isVisible() && list->isEnabled());
        const QString seen = popupDuring([&] {
            QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        });
        QVERIFY2(seen == menuOf.value(i), qPrintable(list->objectName() + " -> " + seen));
        QVERIFY(popupDuring([&] {
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
                }).isEmpty());
    }

    // An item chosen from the real window's popup acts on that window's list
    // and reports in its status bar.
    ResultList* lv15 = findResultList(w.get(), QStringLiteral("ListView15"));
    bringForward(lv15);
    QTreeWidgetItem* row = fillRow(lv15);
    QTimer::singleShot(30, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                if (a->objectName() == QLatin1String("dvfz"))
                    a->trigger();
            menu->close();
        }
    });
    QTest::mouseClick(lv15->viewport(), Qt::RightButton, {}, rowPoint(lv15, row));
    QTRY_COMPARE(QApplication::clipboard()->text(), QStringLiteral("http://ListView15.test/zzdz"));
    auto* panel2 = w->findChild<QLabel*>(QStringLiteral("S1Panel2"));
    QVERIFY(panel2);
    QCOMPARE(panel2->text(), QStringLiteral("地址已复制!"));
    QCOMPARE(ends, 0);
    w.destroy();
    setProgramEndHook(nullptr);
}

QTEST_MAIN(TestRowActions)
#include "test_row_actions.moc"
