// The eight pages of the main window: every named control exists with the
// right kind and caption, and the page-local behaviours (page-number boxes,
// select-all, channel snap-back, keyword hint, reply controls) hold.
#include "ui/page_number_box.h"
#include "lists/result_list.h"
#include "app/pages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>

#include <map>
#include <memory>

using namespace lumorra;

namespace {

QString arr(const QString& array, int i) { return QStringLiteral("%1(%2)").arg(array).arg(i); }

// Qt class that stands for each kind of control of the window.
const char* classOf(const QString& kind)
{
    static const std::map<QString, const char*> kinds = {
        {"button", "QPushButton"},     {"text", "QLineEdit"},       {"memo", "QPlainTextEdit"},
        {"check", "QCheckBox"},        {"option", "QRadioButton"},  {"combo", "QComboBox"},
        {"listbox", "QListWidget"},    {"scroll", "QScrollBar"},    {"frame", "QGroupBox"},
        {"label", "QLabel"},           {"tabs", "QTabWidget"},      {"list", "lumorra::ResultList"},
        {"browser", "QWebEngineView"}, {"widget", "QWidget"},
    };
    auto it = kinds.find(kind);
    return it == kinds.end() ? "?" : it->second;
}

struct Control {
    int page;
    QString name;
    QString kind;
};

// Every control of the page table, by page.
QVector<Control> pageTable()
{
    QVector<Control> t;
    auto add = [&t](int page, const QString& name, const QString& kind) { t.push_back({page, name, kind}); };
    auto addArray = [&](int page, const QString& array, int from, int to, const QString& kind) {
        for (int i = from; i <= to; ++i)
            add(page, arr(array, i), kind);
    };

    // 0 网盘资源
    add(0, "Text1", "text");
    add(0, "Text3", "text");
    add(0, "HScroll1(0)", "scroll");
    add(0, "Command1", "button");
    addArray(0, "Check2", 0, 23, "check");
    add(0, "Check3", "check");
    add(0, "Picture1", "widget");
    add(0, "Label10", "label");
    add(0, "Frame5", "frame");
    add(0, "ListView1", "list");

    // 1 影音资源
    add(1, "SSTab2", "tabs");
    add(1, "SSTab5", "tabs");
    add(1, "Text2", "text");
    add(1, "Text4", "text");
    add(1, "HScroll1(1)", "scroll");
    addArray(1, "Command2", 0, 2, "button");
    add(1, "ListView2", "list");
    add(1, "Text8", "text");
    add(1, "ListView4", "list");
    addArray(1, "Command21", 0, 5, "button");
    add(1, "ListView6", "list");
    add(1, "Text21", "text");
    add(1, "Combo1", "combo");
    add(1, "ListView19", "list");
    add(1, "Text13", "text");
    add(1, "Text14", "text");
    add(1, "HScroll1(2)", "scroll");
    add(1, "List2", "listbox");
    add(1, "ListView13", "list");
    addArray(1, "Command14", 0, 5, "button");
    add(1, "List3", "listbox");
    add(1, "ListView5", "list");
    addArray(1, "Commandz3", 0, 2, "button");
    add(1, "Commandz3(4)", "button");
    add(1, "Text6", "text");
    add(1, "Text18", "text");
    add(1, "Label38", "label");
    add(1, "ListView16", "list");
    addArray(1, "Command3", 0, 2, "button");
    add(1, "ListView18", "list");
    addArray(1, "Command26", 0, 2, "button");
    add(1, "ListView7", "list");
    addArray(1, "Command41", 0, 2, "button");
    add(1, "ListView12", "list");
    add(1, "Text12", "text");
    add(1, "Command43", "button");
    add(1, "Command56", "button");
    add(1, "Picture2", "widget");

    // 2 … 5 eMule categories and searches
    addArray(2, "Command27", 0, 2, "button");
    add(2, "ListView8", "list");
    addArray(3, "Command27", 3, 5, "button");
    add(3, "ListView9", "list");
    addArray(4, "Command27", 6, 8, "button");
    add(4, "ListView10", "list");
    add(5, "SSTab4", "tabs");
    addArray(5, "Command27", 9, 13, "button");
    add(5, "ListView11", "list");
    add(5, "Text16", "text");
    add(5, "Text17", "text");
    add(5, "HScroll1(3)", "scroll");
    add(5, "ListView15", "list");
    add(5, "Text19", "text");
    add(5, "Text20", "text");
    add(5, "HScroll1(4)", "scroll");
    add(5, "ListView17", "list");

    // 6 online video
    add(6, "SSTab3", "tabs");
    addArray(6, "Command53", 3, 15, "button");
    add(6, "Image2", "widget");
    add(6, "Text7", "text");
    add(6, "Text9", "text");
    add(6, "Text10", "text");
    add(6, "Text11", "text");
    add(6, "Command48", "button");
    add(6, "Frame1(19)", "frame");
    add(6, "ListView3", "list");
    add(6, "Text15", "text");
    add(6, "Image3", "widget");
    addArray(6, "Command4", 0, 1, "button");
    add(6, "ListView14", "list");
    add(6, "Text22", "text");
    addArray(6, "Text23", 0, 1, "text");
    add(6, "ListView20", "list");
    add(6, "QvodCtrl1", "widget");
    add(6, "Label32", "label");
    add(6, "List1", "listbox");
    add(6, "WebBrowser1", "browser");
    add(6, "Check1", "check");

    // 7 关于程序
    for (const char* l : {"Label18", "Label31", "Label19", "Label21", "Label22", "Label37(3)", "Label37(4)"})
        add(7, l, "label");
    add(7, "subject", "combo");
    add(7, "txtMessage", "memo");
    add(7, "Check4", "check");
    add(7, "Text24", "text");
    add(7, "Option5", "option");
    add(7, "Option6", "option");
    add(7, "CmdSend", "button");
    return t;
}

QString captionOf(QObject* o)
{
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(o))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(o))
        return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(o))
        return e->text();
    return QStringLiteral("<no caption>");
}

// The version overlay (and what it holds) deliberately covers ListView1.
bool overlaysList(QWidget* a, QWidget* b)
{
    if (b->objectName() != QLatin1String("ListView1"))
        return false;
    for (QWidget* w = a; w; w = w->parentWidget())
        if (w->objectName() == QLatin1String("Picture1"))
            return true;
    return false;
}

// Selects, in every tab control that holds `w`, the page that holds it.
void bringToFront(QWidget* w)
{
    for (QWidget* a = w->parentWidget(); a; a = a->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(a))
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i)->isAncestorOf(w))
                    tabs->setCurrentIndex(i);
}

QStringList tabCaptions(QTabWidget* tabs)
{
    QStringList out;
    for (int i = 0; i < tabs->count(); ++i)
        out << tabs->tabText(i);
    return out;
}

} // namespace

class TestPages : public QObject {
    Q_OBJECT

    std::vector<std::unique_ptr<QWidget>> m_pages;

    QWidget* page(int i) { return m_pages.at(i).get(); }

    template <class T = QWidget>
    T* find(int pageIndex, const QString& name)
    {
        auto* w = page(pageIndex)->findChild<T*>(name);
        if (!w)
            qWarning("no %s on page %d", qPrintable(name), pageIndex);
        return w;
    }

private slots:
    void initTestCase()
    {
        for (int i = 0; i < kMainPageCount; ++i) {
            m_pages.emplace_back(createMainPage(i, nullptr));
            QVERIFY2(m_pages.back(), qPrintable(QString::number(i)));
        }
        QVERIFY(createMainPage(8, nullptr) == nullptr);
        QVERIFY(createMainPage(-1, nullptr) == nullptr);
    }

    void pageCaptions()
    {
        const QStringList expected = {"网盘资源", "影音资源", "软件资源", "书籍资源",
                                      "教育资源", "综合资源", "",         "关于程序"};
        for (int i = 0; i < kMainPageCount; ++i) {
            if (i == 6)
                QVERIFY(!mainPageCaption(6).isEmpty());
            else
                QCOMPARE(mainPageCaption(i), expected.at(i));
        }
        QVERIFY(mainPageCaption(8).isEmpty());
    }

    void everyControlExists_data()
    {
        QTest::addColumn<int>("pageIndex");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        for (const Control& c : pageTable())
            QTest::addRow("%s", qPrintable(c.name)) << c.page << c.name << c.kind;
    }

    void everyControlExists()
    {
        QFETCH(int, pageIndex);
        QFETCH(QString, name);
        QFETCH(QString, kind);
        const auto found = page(pageIndex)->findChildren<QObject*>(name);
        QCOMPARE(found.size(), 1);
        QVERIFY2(found.first()->inherits(classOf(kind)),
                 qPrintable(name + " is a " + found.first()->metaObject()->className()));
    }

    // Later code finds controls by name across the whole window: a name of
    // the table must not turn up on a second page.
    void namesAreUniqueAcrossPages()
    {
        for (const Control& c : pageTable()) {
            int count = 0;
            for (int i = 0; i < kMainPageCount; ++i)
                count += page(i)->findChildren<QObject*>(c.name).size();
            QVERIFY2(count == 1, qPrintable(c.name));
        }
    }

    void nestedTabCaptions()
    {
        QCOMPARE(tabCaptions(find<QTabWidget>(1, "SSTab2")),
                 QStringList({"番号资源", "BT资源", "云点播资源", "影视资源①", "影视资源②",
                              "影视资源③", "影视资源④", "音乐资源", "动漫资源", "Tessaly云点播"}));
        QCOMPARE(tabCaptions(find<QTabWidget>(1, "SSTab5")),
                 QStringList({"资源①", "资源②（支持自定义搜索）"}));
        QCOMPARE(tabCaptions(find<QTabWidget>(5, "SSTab4")),
                 QStringList({"综合资源①", "综合资源②", "综合资源③"}));
        auto* sstab3 = find<QTabWidget>(6, "SSTab3");
        QCOMPARE(sstab3->count(), 5);
        for (const QString& c : tabCaptions(sstab3))
            QVERIFY(!c.isEmpty());
    }

    // Each control lives on the sub-page that the page table names.
    void controlsSitOnTheirSubPage_data()
    {
        QTest::addColumn<QString>("tabs");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("name");
        QTest::newRow("Text4") << "SSTab2" << 0 << "Text4";
        QTest::newRow("Command2(1)") << "SSTab2" << 1 << "Command2(1)";
        QTest::newRow("ListView6") << "SSTab5" << 0 << "ListView6";
        QTest::newRow("Combo1") << "SSTab5" << 1 << "Combo1";
        QTest::newRow("List2") << "SSTab2" << 3 << "List2";
        QTest::newRow("List3") << "SSTab2" << 4 << "List3";
        QTest::newRow("Text18") << "SSTab2" << 5 << "Text18";
        QTest::newRow("ListView18") << "SSTab2" << 6 << "ListView18";
        QTest::newRow("Command26(2)") << "SSTab2" << 7 << "Command26(2)";
        QTest::newRow("ListView12") << "SSTab2" << 8 << "ListView12";
        QTest::newRow("Text12") << "SSTab2" << 9 << "Text12";
        QTest::newRow("Command27(11)") << "SSTab4" << 0 << "Command27(11)";
        QTest::newRow("Text17") << "SSTab4" << 1 << "Text17";
        QTest::newRow("ListView17") << "SSTab4" << 2 << "ListView17";
        QTest::newRow("Text11") << "SSTab3" << 0 << "Text11";
        QTest::newRow("Command4(1)") << "SSTab3" << 1 << "Command4(1)";
        QTest::newRow("Text23(0)") << "SSTab3" << 2 << "Text23(0)";
        QTest::newRow("QvodCtrl1") << "SSTab3" << 3 << "QvodCtrl1";
        QTest::newRow("WebBrowser1") << "SSTab3" << 4 << "WebBrowser1";
    }

    void controlsSitOnTheirSubPage()
    {
        QFETCH(QString, tabs);
        QFETCH(int, tab);
        QFETCH(QString, name);
        QTabWidget* control = nullptr;
        for (int i = 0; i < kMainPageCount && !control; ++i)
            control = page(i)->findChild<QTabWidget*>(tabs);
        QVERIFY(control);
        QVERIFY2(control->widget(tab)->findChild<QWidget*>(name), qPrintable(name));
    }

    void captions_data()
    {
        QTest::addColumn<int>("pageIndex");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        auto row = [](int p, const char* n, const QString& c) { QTest::newRow(n) << p << QString(n) << c; };
        row(0, "Command1", "搜索");
        row(0, "Check3", "全选");
        row(0, "Check2(0)", "百度网盘");
        row(0, "Check2(3)", "QQ旋风");
        row(0, "Check2(15)", "GXP 网盘");
        row(0, "Check2(18)", "Vdisk盘");
        row(0, "Check2(23)", "天空网盘");
        row(0, "Label10", "正在检测程序最新版本..");
        row(0, "Frame5", "资源列表");
        row(0, "Text3", "1");
        row(1, "Text4", "1");
        row(1, "Text14", "1");
        row(1, "Text13", "请您输入关键字..");
        row(1, "Command2(0)", "开始搜索");
        row(1, "Command2(1)", "开始搜索");
        row(1, "Command2(2)", "获取资源");
        row(1, "Command21(0)", "获取资源");
        row(1, "Command21(2)", "上一页");
        row(1, "Command21(3)", "开始搜索");
        row(1, "Command21(4)", "下一页");
        row(1, "Command14(0)", "综合最新电影");
        row(1, "Command14(3)", "华语电视剧");
        row(1, "Command14(5)", "动漫资源");
        row(1, "Commandz3(4)", "在线云点播");
        row(1, "Commandz3(1)", "下一页");
        row(1, "Command3(0)", "获取资源");
        row(1, "Command41(1)", "下一页");
        row(1, "Label38", "更新日期：NONE");
        row(1, "Command43", "在线云点播");
        row(1, "Command56", "粘贴地址");
        row(2, "Command27(0)", "获取资源");
        row(3, "Command27(4)", "下一页");
        row(4, "Command27(8)", "上一页");
        row(5, "Command27(12)", "获取资源");
        row(5, "Command27(13)", "获取资源");
        row(5, "Text17", "1");
        row(5, "Text20", "1");
        row(6, "Command53(6)", "其他功能");
        row(6, "Command53(10)", "开始搜索");
        row(6, "Command53(11)", "输入地址进行播放");
        row(6, "Command53(12)", "暂停");
        row(6, "Command53(13)", "停止");
        row(6, "Command53(14)", "下载快播");
        row(6, "Command53(15)", "开始搜索");
        row(6, "Command4(0)", "复制地址");
        row(6, "Command4(1)", "在线播放");
        row(6, "Command48", "在线播放");
        row(6, "Frame1(19)", "双击列表可解析种子地址");
        row(6, "Label32", "播放器状态：未播放");
        row(6, "Check1", "阅读并同意遵守使用协议");
        row(7, "Label19", "Lumorra2014");
        row(7, "Label18", "版本号：2.3.837");
        row(7, "Check4", "是否接受作者的回复反馈?[请选择联系的方式]");
        row(7, "Option5", "QQ");
        row(7, "Option6", "E-mail");
        row(7, "CmdSend", "发送反馈");
    }

    void captions()
    {
        QFETCH(int, pageIndex);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QObject* o = find<QObject>(pageIndex, name);
        QVERIFY(o);
        QCOMPARE(captionOf(o), caption);
    }

    void initialStates()
    {
        // Paging of the magnet search waits for a first search.
        QVERIFY(!find(1, "Command21(4)")->isEnabled());
        QVERIFY(!find(1, "Command21(5)")->isEnabled());
        QVERIFY(find(1, "Command21(3)")->isEnabled());
        // No reply is asked for at first.
        QVERIFY(!find<QCheckBox>(7, "Check4")->isChecked());
        QVERIFY(!find(7, "Text24")->isEnabled());
        QVERIFY(!find(7, "Option5")->isEnabled());
        QVERIFY(!find<QCheckBox>(6, "Check1")->isChecked());
        QVERIFY(find<QLabel>(7, "Label31")->text().startsWith(QStringLiteral("最后更新：")));
        for (int i = 0; i < 24; ++i)
            QVERIFY(!find<QCheckBox>(0, arr("Check2", i))->isChecked());
        // The overlay lies over the result list, in the same place.
        QWidget* overlay = find(0, "Picture1");
        QWidget* list = find(0, "ListView1");
        QCOMPARE(overlay->parentWidget(), list->parentWidget());
        QVERIFY(overlay->isVisibleTo(page(0)));
    }

    void listColumns_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("columns");
        const int counts[] = {3, 6, 3, 5, 3, 4, 4, 4, 4, 4, 4, 4, 5, 5, 4, 3, 4, 5, 5, 4};
        for (int i = 0; i < 20; ++i)
            QTest::addRow("ListView%d", i + 1) << QStringLiteral("ListView%1").arg(i + 1) << counts[i];
    }

    void listColumns()
    {
        QFETCH(QString, name);
        QFETCH(int, columns);
        ResultList* list = nullptr;
        for (int i = 0; i < kMainPageCount && !list; ++i)
            list = page(i)->findChild<ResultList*>(name);
        QVERIFY(list);
        QCOMPARE(list->columnCount(), columns);
        QCOMPARE(list->columnOf(QStringLiteral("xh")), 0);
    }

    void pageBoxKeepsANumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("zero") << "0" << "1";
        QTest::newRow("letters") << "abc" << "1";
        QTest::newRow("emptied") << "" << "1";
        QTest::newRow("blank") << " " << "1";
        QTest::newRow("seven") << "7" << "7";
        QTest::newRow("decimal") << "2.5" << "2.5";
        QTest::newRow("beyond the bar") << "150" << "150";
        QTest::newRow("zero with blank") << " 0" << " 0";
        QTest::newRow("double zero") << "00" << "00";
    }

    // The rule holds for every one of the five boxes, each on its own page.
    void pageBoxKeepsANumber()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        const std::pair<int, const char*> boxes[] = {
            {0, "Text3"}, {1, "Text4"}, {1, "Text14"}, {5, "Text17"}, {5, "Text20"}};
        for (auto [p, name] : boxes) {
            auto* box = find<QLineEdit>(p, name);
            QVERIFY(box);
            box->setText(QStringLiteral("5"));
            box->setText(typed);
            QVERIFY2(box->text() == kept, name);
        }
    }

    void typingIntoPageBox()
    {
        auto* box = find<QLineEdit>(1, "Text4");
        box->setText(QStringLiteral("12"));
        box->setCursorPosition(2);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("1"));
        QTest::keyClick(box, Qt::Key_Backspace);   // emptied -> back to "1"
        QCOMPARE(box->text(), QStringLiteral("1"));
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("x"));
        QCOMPARE(box->text(), QStringLiteral("1"));
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("37"));
        QCOMPARE(box->text(), QStringLiteral("37"));
    }

    void barsWriteTheirBox()
    {
        const std::pair<int, const char*> boxes[] = {
            {0, "Text3"}, {1, "Text4"}, {1, "Text14"}, {5, "Text17"}, {5, "Text20"}};
        for (int i = 0; i < 5; ++i) {
            auto* bar = find<QScrollBar>(boxes[i].first, arr("HScroll1", i));
            auto* box = find<QLineEdit>(boxes[i].first, boxes[i].second);
            QVERIFY(bar && box);
            QCOMPARE(bar->minimum(), 1);
            QCOMPARE(bar->maximum(), 99);
            bar->setValue(bar->maximum());
            QCOMPARE(box->text(), QStringLiteral("99"));
            bar->setValue(1);
            QCOMPARE(box->text(), QStringLiteral("1"));
        }
        // Each bar feeds only its own box.
        find<QScrollBar>(1, "HScroll1(2)")->setValue(7);
        QCOMPARE(find<QLineEdit>(1, "Text14")->text(), QStringLiteral("7"));
        QCOMPARE(find<QLineEdit>(1, "Text4")->text(), QStringLiteral("1"));
        // Stepping the bar with the keyboard also writes the box.
        auto* bar = find<QScrollBar>(5, "HScroll1(3)");
        bar->setValue(1);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(find<QLineEdit>(5, "Text17")->text(), QStringLiteral("2"));
    }

    void selectAllServices()
    {
        auto* all = find<QCheckBox>(0, "Check3");
        QVector<QCheckBox*> boxes;
        for (int i = 0; i < 24; ++i)
            boxes << find<QCheckBox>(0, arr("Check2", i));
        // Start-up keeps the service boxes disabled; select-all still reaches them.
        boxes.at(5)->setEnabled(false);
        boxes.at(7)->setChecked(true);
        all->click();
        QVERIFY(all->isChecked());
        for (QCheckBox* b : boxes)
            QVERIFY2(b->isChecked(), qPrintable(b->objectName()));
        boxes.at(3)->setChecked(false);   // a single box may still be unticked by hand
        QVERIFY(all->isChecked());
        all->click();
        for (QCheckBox* b : boxes)
            QVERIFY2(!b->isChecked(), qPrintable(b->objectName()));
        boxes.at(5)->setEnabled(true);
    }

    void channelSnapsBack()
    {
        auto* combo = find<QComboBox>(1, "Combo1");
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0), QStringLiteral("搜索渠道①"));
        QCOMPARE(combo->itemText(1), QStringLiteral("搜索渠道②"));
        QCOMPARE(combo->itemText(2), QStringLiteral("即将添加更多渠道"));
        QCOMPARE(combo->currentIndex(), 0);
        combo->setCurrentIndex(1);
        QCOMPARE(combo->currentIndex(), 1);
        combo->setCurrentIndex(2);
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(combo->currentText(), QStringLiteral("搜索渠道①"));
        // From the second channel too, and through the keyboard.
        combo->setCurrentIndex(1);
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentIndex(), 0);
    }

    void keywordHint()
    {
        const QString hint = QStringLiteral("请您输入关键字..");
        QWidget* media = page(1);
        auto* tabs = find<QTabWidget>(1, "SSTab2");
        tabs->setCurrentIndex(3);
        media->show();
        media->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(media));
        auto* text13 = find<QLineEdit>(1, "Text13");
        auto* other = find<QLineEdit>(1, "Text14");
        QCOMPARE(text13->text(), hint);

        text13->setFocus();
        QTRY_VERIFY(text13->hasFocus());
        QCOMPARE(text13->text(), QString());
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(text13->text(), hint);

        // A keyword of the user's stays in both directions.
        text13->setFocus();
        QTRY_VERIFY(text13->hasFocus());
        text13->insert(QStringLiteral("泰坦尼克"));
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(text13->text(), QStringLiteral("泰坦尼克"));
        text13->setFocus();
        QTRY_VERIFY(text13->hasFocus());
        QCOMPARE(text13->text(), QStringLiteral("泰坦尼克"));

        // A text that only resembles the hint is a keyword too.
        text13->setText(hint + QLatin1Char(' '));
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        text13->setFocus();
        QTRY_VERIFY(text13->hasFocus());
        QCOMPARE(text13->text(), hint + QLatin1Char(' '));
        media->hide();
    }

    void replyControlsFollowCheck4()
    {
        auto* check4 = find<QCheckBox>(7, "Check4");
        auto* qq = find<QRadioButton>(7, "Option5");
        auto* mail = find<QRadioButton>(7, "Option6");
        auto* contact = find<QLineEdit>(7, "Text24");
        check4->click();
        QVERIFY(qq->isEnabled() && mail->isEnabled() && contact->isEnabled());
        QVERIFY(qq->isChecked());
        mail->setChecked(true);
        check4->click();
        QVERIFY(!qq->isEnabled() && !mail->isEnabled() && !contact->isEnabled());
        QVERIFY(mail->isChecked());   // the choice is kept while disabled
        check4->click();
        QVERIFY(qq->isChecked());     // ticking again proposes QQ
        check4->click();
    }

    // The pages fit the window's page area down to the smallest window the
    // shell allows (about 940x450 once navigation and status bars are off)
    // and up to a 1280x800 window, and at both no two visible controls of a
    // page cover each other (the version overlay over ListView1 excepted) or
    // stick out of the page.
    void pagesFitAndDoNotOverlap_data()
    {
        QTest::addColumn<QSize>("area");
        QTest::newRow("smallest window") << QSize(940, 450);
        QTest::newRow("1280x800 window") << QSize(1260, 640);
    }

    void pagesFitAndDoNotOverlap()
    {
        QFETCH(QSize, area);
        for (int i = 0; i < kMainPageCount; ++i) {
            QWidget* p = page(i);
            const QSize min = p->minimumSizeHint();
            QVERIFY2(min.width() <= area.width() && min.height() <= area.height(),
                     qPrintable(QStringLiteral("page %1 needs %2x%3").arg(i).arg(min.width()).arg(min.height())));
            p->resize(area);
            p->show();
            auto named = [](QWidget* w) {
                return w->isVisible() && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_");
            };
            auto check = [&] {
                QApplication::processEvents();
                const auto all = p->findChildren<QWidget*>();
                for (QWidget* a : all) {
                    if (!named(a))
                        continue;
                    const QRect ra(a->mapTo(p, QPoint(0, 0)), a->size());
                    QVERIFY2(p->rect().contains(ra), qPrintable(a->objectName()));
                    for (QWidget* b : all) {
                        if (a >= b || !named(b) || a->isAncestorOf(b) || b->isAncestorOf(a)
                            || overlaysList(a, b) || overlaysList(b, a))
                            continue;
                        const QRect rb(b->mapTo(p, QPoint(0, 0)), b->size());
                        QVERIFY2(!ra.intersects(rb), qPrintable(a->objectName() + "/" + b->objectName()));
                    }
                }
            };
            check();
            // Every sub-page of every tab control, nested ones brought to the front.
            for (QTabWidget* t : p->findChildren<QTabWidget*>()) {
                for (int k = 0; k < t->count(); ++k) {
                    bringToFront(t);
                    t->setCurrentIndex(k);
                    check();
                    if (QTest::currentTestFailed())
                        return;
                }
                t->setCurrentIndex(0);
            }
            p->hide();
        }
    }
};

QTEST_MAIN(TestPages)
#include "test_pages.moc"
