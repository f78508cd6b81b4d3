// The twenty result lists: their columns, keyed cells, the locked headers,
// row order, the right button, and the status line.
#include "app/exit_flow.h"
#include "core/column_table.h"
#include "lists/result_list.h"
#include "lists/status_line.h"
#include "platform/open_address.h"
#include "program_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace lumorra;

namespace {

QStringList keysOf(const QString& list)
{
    QStringList keys;
    if (const ListLayout* s = listLayout(list))
        for (const ColumnLayout& c : s->columns)
            keys << c.key;
    return keys;
}

void sendMouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent ev(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                   Qt::NoModifier);
    QApplication::sendEvent(w, &ev);
}

// Presses on the divider at the right edge of `section`, drags it `dx`
// pixels and lets go, as a user resizing a column would.
void dragDivider(QHeaderView* h, int section, int dx)
{
    const int x = h->sectionViewportPosition(section) + h->sectionSize(section) - 1;
    const int y = h->height() / 2;
    QWidget* vp = h->viewport();
    sendMouse(vp, QEvent::MouseMove, {x, y}, Qt::NoButton, Qt::NoButton);
    sendMouse(vp, QEvent::MouseButtonPress, {x, y}, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 5; ++step)
        sendMouse(vp, QEvent::MouseMove, {x + dx * step / 5, y}, Qt::NoButton, Qt::LeftButton);
    sendMouse(vp, QEvent::MouseButtonRelease, {x + dx, y}, Qt::LeftButton, Qt::NoButton);
}

void doubleClickDivider(QHeaderView* h, int section)
{
    const int x = h->sectionViewportPosition(section) + h->sectionSize(section) - 1;
    const int y = h->height() / 2;
    QWidget* vp = h->viewport();
    sendMouse(vp, QEvent::MouseButtonPress, {x, y}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(vp, QEvent::MouseButtonRelease, {x, y}, Qt::LeftButton, Qt::NoButton);
    sendMouse(vp, QEvent::MouseButtonDblClick, {x, y}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(vp, QEvent::MouseButtonRelease, {x, y}, Qt::LeftButton, Qt::NoButton);
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

// Drags and double-clicks every visible divider of `list`; false (with the
// reason in `why`) when a width or a hidden column changed.
bool survivesResizing(ResultList* list, QString* why)
{
    QHeaderView* h = list->header();
    QList<int> widths;
    QList<bool> hidden;
    for (int c = 0; c < list->columnCount(); ++c) {
        widths << list->columnWidth(c);
        hidden << list->isColumnHidden(c);
    }
    list->addRow(QStringLiteral("a very long row text that would widen the column"));
    for (int c = 0; c < list->columnCount(); ++c) {
        if (hidden[c])
            continue;
        dragDivider(h, c, 60);
        dragDivider(h, c, -30);
        doubleClickDivider(h, c);
    }
    list->clearRows();
    for (int c = 0; c < list->columnCount(); ++c) {
        if (list->columnWidth(c) != widths[c] || list->isColumnHidden(c) != hidden[c]) {
            *why = QStringLiteral("%1 column %2: width %3 -> %4, hidden %5 -> %6")
                       .arg(list->objectName()).arg(c).arg(widths[c]).arg(list->columnWidth(c))
                       .arg(hidden[c]).arg(list->isColumnHidden(c));
            return false;
        }
    }
    return true;
}

} // namespace

class TestResultLists : public QObject {
    Q_OBJECT
private slots:
    void everyListHasItsColumns();
    void hiddenColumnsAreTheAddressColumns();
    void widthsFollowTheScreen();
    void cellsAreWrittenByKey();
    void selectedRowAndClear();
    void columnsCannotBeResized();
    void rowsKeepTheirOrder();
    void rowsCannotBeRenamed();
    void onlyTheRightButtonAsksForTheMenu();
    void statusLineIsReplaced();
    // Last: the real window attaches a skin to the whole application.
    void mainWindowListsRefuseResizing();
};

void TestResultLists::everyListHasItsColumns()
{
    QCOMPARE(columnTable().size(), 20);
    for (int i = 1; i <= 20; ++i) {
        const QString name = QStringLiteral("ListView%1").arg(i);
        ResultList list(name);
        QCOMPARE(list.objectName(), name);
        const ListLayout* layout = listLayout(name);
        QVERIFY2(layout, qPrintable(name));
        QCOMPARE(list.columnCount(), layout->columns.size());
        QCOMPARE(list.columnOf(QStringLiteral("xh")), 0);
        for (int c = 0; c < layout->columns.size(); ++c)
            QCOMPARE(list.headerItem()->text(c), layout->columns[c].caption);
    }

    // The row actions read cells by position; these positions must hold.
    QCOMPARE(keysOf("ListView1"), QStringList({"xh", "mc", "dz"}));
    QCOMPARE(keysOf("ListView2"), QStringList({"xh", "mc", "dx", "rq", "xzdz", "fhdz"}));
    QCOMPARE(keysOf("ListView4"), QStringList({"xh", "mc", "dx", "rq", "zzdz"}));
    QCOMPARE(keysOf("ListView13"), QStringList({"xh", "mc", "gx", "bz", "zzdz"}));
    QCOMPARE(keysOf("ListView14"), QStringList({"xh", "mc", "lmfl", "dqfl", "dz"}));
    QCOMPARE(keysOf("ListView17"), QStringList({"xh", "mc", "fl", "dz"}));
    QCOMPARE(keysOf("ListView18"), QStringList({"xh", "mc", "dz", "dx", "fl"}));
    QCOMPARE(keysOf("ListView19"), QStringList({"xh", "mc", "fb", "dx", "cl"}));
    QCOMPARE(keysOf("ListView20"), QStringList({"xh", "mc", "dx", "dz"}));
    const QStringList emuleAddressCaptions = {"电影地址", "音乐地址", "软件地址", "书籍地址",
                                              "资源地址", "资源地址", "动漫地址"};
    for (int i = 6; i <= 12; ++i) {
        const QString name = QStringLiteral("ListView%1").arg(i);
        QCOMPARE(keysOf(name), QStringList({"xh", "mc", "bz", "zzdz"}));
        QCOMPARE(listLayout(name)->columns[3].caption, emuleAddressCaptions[i - 6]);
    }
    QCOMPARE(keysOf("ListView15"), QStringList({"xh", "mc", "bz", "zzdz"}));

    QCOMPARE(listLayout("ListView1")->columns[0].caption, QStringLiteral("网盘类型"));
    QCOMPARE(listLayout("ListView13")->columns[3].caption, QStringLiteral("地区分类"));
    QCOMPARE(listLayout("ListView17")->columns[1].caption,
             QStringLiteral("名称(双击列表打开下载地址)"));
    QVERIFY(listLayout("ListView21") == nullptr);

    // Centred columns: the region of ListView13 and the category of ListView17.
    ResultList lv13(QStringLiteral("ListView13"));
    QTreeWidgetItem* row = lv13.addRow(QStringLiteral("1"));
    QCOMPARE(Qt::Alignment(row->textAlignment(3)) & Qt::AlignHCenter, Qt::AlignHCenter);
    QVERIFY(!(Qt::Alignment(row->textAlignment(1)) & Qt::AlignHCenter));
    QCOMPARE(Qt::Alignment(lv13.headerItem()->textAlignment(3)) & Qt::AlignHCenter,
             Qt::AlignHCenter);
    ResultList lv17(QStringLiteral("ListView17"));
    QCOMPARE(Qt::Alignment(lv17.addRow("1")->textAlignment(2)) & Qt::AlignHCenter,
             Qt::AlignHCenter);
}

void TestResultLists::hiddenColumnsAreTheAddressColumns()
{
    // List → hidden column positions (from 0). The start-up hiding of the
    // address columns of ListView2, 3, 4, 13 and 14 is part of the layout.
    const QMap<QString, QList<int>> hidden = {
        {"ListView2", {4, 5}}, {"ListView3", {2}},  {"ListView4", {4}},  {"ListView13", {4}},
        {"ListView14", {4}},   {"ListView16", {2}}, {"ListView17", {3}}, {"ListView18", {2}},
        {"ListView20", {3}},
    };
    for (int i = 1; i <= 20; ++i) {
        const QString name = QStringLiteral("ListView%1").arg(i);
        ResultList list(name);
        const QList<int> expected = hidden.value(name);
        for (int c = 0; c < list.columnCount(); ++c) {
            QCOMPARE(list.isColumnHidden(c), expected.contains(c));
            QCOMPARE(listLayout(name)->columns[c].width96 == 0, expected.contains(c));
        }
        // A hidden column is still a column: its cells are written and read.
        for (int c : expected) {
            QTreeWidgetItem* row = list.addRow(QStringLiteral("1"));
            list.setCell(row, listLayout(name)->columns[c].key, QStringLiteral("http://x/%1").arg(c));
            QCOMPARE(list.cellAt(row, c), QStringLiteral("http://x/%1").arg(c));
        }
    }
}

void TestResultLists::widthsFollowTheScreen()
{
    QCOMPARE(scaledColumnWidth(47, 96), 47);
    QCOMPARE(scaledColumnWidth(47, 144), 71);     // 70.5 rounds up
    QCOMPARE(scaledColumnWidth(333, 120), 416);   // 416.25
    QCOMPARE(scaledColumnWidth(0, 144), 0);
    QCOMPARE(scaledColumnWidth(47, 0), 47);       // unknown dpi: as designed

    ResultList list(QStringLiteral("ListView1"));
    const qreal dpi = list.logicalDpiX();
    QCOMPARE(list.columnWidth(0), scaledColumnWidth(133, dpi));
    QCOMPARE(list.columnWidth(1), scaledColumnWidth(333, dpi));
    QCOMPARE(list.columnWidth(2), scaledColumnWidth(453, dpi));
}

void TestResultLists::cellsAreWrittenByKey()
{
    ResultList list(QStringLiteral("ListView2"));
    QTreeWidgetItem* row = list.addRow(QStringLiteral("7"));
    list.setCell(row, QStringLiteral("fhdz"), QStringLiteral("magnet:?xt=urn:btih:abc"));
    list.setCell(row, QStringLiteral("mc"), QStringLiteral("名称"));
    list.setCell(row, QStringLiteral("nosuchkey"), QStringLiteral("ignored"));
    list.setCell(nullptr, QStringLiteral("mc"), QStringLiteral("no row, no crash"));

    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(row->text(0), QStringLiteral("7"));
    QCOMPARE(row->text(5), QStringLiteral("magnet:?xt=urn:btih:abc"));
    QCOMPARE(row->text(1), QStringLiteral("名称"));
    QCOMPARE(list.cell(row, QStringLiteral("fhdz")), QStringLiteral("magnet:?xt=urn:btih:abc"));
    QCOMPARE(list.cell(row, QStringLiteral("xh")), QStringLiteral("7"));
    QCOMPARE(list.cell(row, QStringLiteral("nosuchkey")), QString());
    QCOMPARE(list.cellAt(row, 4), QString());     // never written
    QCOMPARE(list.cellAt(row, 6), QString());     // past the last column
    QCOMPARE(list.cellAt(row, -1), QString());
    QCOMPARE(list.cellAt(nullptr, 1), QString());
    QCOMPARE(list.columnOf(QStringLiteral("cl")), -1);   // cl is ListView19's key

    // The same key lands in a different position in another list.
    ResultList lv18(QStringLiteral("ListView18"));
    QTreeWidgetItem* r18 = lv18.addRow(QStringLiteral("1"));
    lv18.setCell(r18, QStringLiteral("dz"), QStringLiteral("http://board/1"));
    QCOMPARE(r18->text(2), QStringLiteral("http://board/1"));
    QCOMPARE(r18->text(3), QString());
}

void TestResultLists::selectedRowAndClear()
{
    ResultList list(QStringLiteral("ListView6"));
    QVERIFY(list.selectedRow() == nullptr);
    list.addRow(QStringLiteral("1"));
    QTreeWidgetItem* second = list.addRow(QStringLiteral("2"));
    QVERIFY(list.selectedRow() == nullptr);   // rows, but none chosen
    list.setCurrentItem(second);
    QCOMPARE(list.selectedRow(), second);
    QCOMPARE(list.selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(list.selectionBehavior(), QAbstractItemView::SelectRows);
    list.clearRows();
    QCOMPARE(list.rowCount(), 0);
    QVERIFY(list.selectedRow() == nullptr);
    QCOMPARE(list.columnCount(), 4);          // clearing keeps the columns
    QCOMPARE(list.headerItem()->text(3), QStringLiteral("电影地址"));
}

void TestResultLists::columnsCannotBeResized()
{
    // A control first: on an ordinary tree the simulated drag does resize,
    // so the checks below are not passing by accident.
    {
        QTreeWidget plain;
        plain.setColumnCount(3);
        plain.header()->setStretchLastSection(false);
        plain.resize(800, 300);
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        const int before = plain.columnWidth(0);
        dragDivider(plain.header(), 0, 40);
        QVERIFY(plain.columnWidth(0) != before);
    }

    for (const QString& name : {QStringLiteral("ListView1"), QStringLiteral("ListView17"),
                               QStringLiteral("ListView20")}) {
        ResultList list(name);
        list.resize(1200, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QHeaderView* h = list.header();
        QVERIFY(!h->stretchLastSection());
        QVERIFY(!h->sectionsMovable());
        QList<int> widths;
        for (int c = 0; c < list.columnCount(); ++c) {
            QCOMPARE(h->sectionResizeMode(c), QHeaderView::Fixed);
            widths << list.columnWidth(c);
        }
        for (int c = 0; c < list.columnCount(); ++c) {
            if (list.isColumnHidden(c))
                continue;
            list.addRow(QStringLiteral("a very long row text that would widen the column"));
            dragDivider(h, c, 60);
            dragDivider(h, c, -30);
            doubleClickDivider(h, c);
        }
        for (int c = 0; c < list.columnCount(); ++c)
            QCOMPARE(list.columnWidth(c), widths[c]);
        // The hidden address column is still hidden.
        const int last = list.columnCount() - 1;
        if (name != QLatin1String("ListView1")) {
            QVERIFY(list.isColumnHidden(last));
            QVERIFY(h->isSectionHidden(last));
        }
    }
}

void TestResultLists::rowsKeepTheirOrder()
{
    ResultList list(QStringLiteral("ListView19"));
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    for (const char* t : {"3", "1", "2", "10"})
        list.addRow(QString::fromLatin1(t));
    QVERIFY(!list.isSortingEnabled());
    // A click on a column header sorts nothing.
    QHeaderView* h = list.header();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(0) + 5, h->height() / 2));
    QStringList order;
    for (int i = 0; i < list.rowCount(); ++i)
        order << list.topLevelItem(i)->text(0);
    QCOMPARE(order, QStringList({"3", "1", "2", "10"}));
}

void TestResultLists::rowsCannotBeRenamed()
{
    ResultList list(QStringLiteral("ListView5"));
    list.resize(900, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QTreeWidgetItem* row = list.addRow(QStringLiteral("1"));
    list.setCell(row, QStringLiteral("mc"), QStringLiteral("名称"));
    QVERIFY(!(row->flags() & Qt::ItemIsEditable));
    const QRect r = list.visualItemRect(row);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, r.center());
    QTest::keyClick(&list, Qt::Key_F2);
    QVERIFY(list.findChildren<QLineEdit*>().isEmpty());   // no in-place editor
    QCOMPARE(row->text(1), QStringLiteral("名称"));
}

void TestResultLists::onlyTheRightButtonAsksForTheMenu()
{
    ResultList list(QStringLiteral("ListView12"));
    list.resize(700, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy right(&list, &ResultList::rightClicked);

    // Empty list: the right button still asks for the menu.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseClick(list.viewport(), Qt::MiddleButton, {}, QPoint(50, 50));
    QCOMPARE(right.count(), 0);
    QTest::mousePress(list.viewport(), Qt::RightButton, {}, QPoint(50, 50));
    QTest::mouseRelease(list.viewport(), Qt::RightButton, {}, QPoint(50, 50));
    QCOMPARE(right.count(), 1);
    QCOMPARE(right.at(0).at(0).toPoint(), list.viewport()->mapToGlobal(QPoint(50, 50)));

    // On a row, the row is selected before the menu is asked for, so the
    // menu's actions see it.
    QTreeWidgetItem* row = list.addRow(QStringLiteral("1"));
    QTreeWidgetItem* selectedWhenAsked = nullptr;
    connect(&list, &ResultList::rightClicked, this,
            [&] { selectedWhenAsked = list.selectedRow(); });
    QTest::mousePress(list.viewport(), Qt::RightButton, {}, list.visualItemRect(row).center());
    QCOMPARE(right.count(), 2);
    QCOMPARE(selectedWhenAsked, row);

    // Below the last row: still the menu.
    QTest::mousePress(list.viewport(), Qt::RightButton, {}, QPoint(50, 250));
    QCOMPARE(right.count(), 3);
}

void TestResultLists::statusLineIsReplaced()
{
    QLabel panel;
    StatusLine::attach(&panel);
    StatusLine::set(QStringLiteral("正在获取资源.."));
    StatusLine::set(QStringLiteral("搜索完毕.."));
    QCOMPARE(panel.text(), QStringLiteral("搜索完毕.."));
    QCOMPARE(StatusLine::text(), QStringLiteral("搜索完毕.."));
    StatusLine::set(QString());
    QCOMPARE(panel.text(), QString());
    {
        // A panel that goes away leaves the line usable.
        QLabel shortLived;
        StatusLine::attach(&shortLived);
    }
    StatusLine::set(QStringLiteral("地址已复制!"));
    QCOMPARE(StatusLine::text(), QStringLiteral("地址已复制!"));
    StatusLine::attach(nullptr);
}

void TestResultLists::mainWindowListsRefuseResizing()
{
    // The lists as the program builds them: every page's layout, the skin
    // and the start-up steps have had their say.
    int ends = 0;
    setProgramEndHook([&] { ++ends; });
    setOpenAddressHandler([](const QString&) {});
    lumorra::testing::ProgramWindow w;
    QVERIFY(w.isValid());
    QVERIFY(w.show());
    // Disabled lists would refuse every drag for the wrong reason.
    QVERIFY(w.waitUntilUnlocked());

    for (int i = 1; i <= 20; ++i) {
        const QString name = QStringLiteral("ListView%1").arg(i);
        ResultList* list = w->findChild<ResultList*>(name);
        QVERIFY2(list, qPrintable(name));
        bringForward(list);
        QTRY_VERIFY2(list->isVisible() && list->isEnabled(), qPrintable(name));
        QString why;
        QVERIFY2(survivesResizing(list, &why), qPrintable(why));
        const ListLayout* layout = listLayout(name);
        for (int c = 0; c < layout->columns.size(); ++c)
            QCOMPARE(list->isColumnHidden(c), layout->columns[c].width96 == 0);
    }
    QCOMPARE(ends, 0);
    w.destroy();
    setProgramEndHook(nullptr);
    setOpenAddressHandler(nullptr);
}

QTEST_MAIN(TestResultLists)
#include "test_result_lists.moc"
