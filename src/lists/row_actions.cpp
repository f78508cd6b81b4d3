#include "lists/row_actions.h"

#include "lists/result_list.h"
#include "lists/status_line.h"
#include "net/address_check.h"
#include "platform/open_address.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QWidget>

namespace lumorra {

namespace {

const char* const kRegistryName = "RowActionRegistry";
const char* const kSeparator = "-";

struct MenuItemSpec {
    const char* name;     // objectName of the QAction; "-" for a separator
    const char* caption;
};

struct MenuSpec {
    const char* name;
    const char* caption;
    const char* list;
    QVector<MenuItemSpec> items;
};

const QVector<MenuSpec>& menuTable()
{
    static const QVector<MenuSpec> t = {
        {"menu", "程序菜单", "ListView1",
         {{"fzxx", "复制信息"}, {kSeparator, ""}, {"fz", "复制链接"}, {kSeparator, ""},
          {"dk", "打开链接"}, {kSeparator, ""}, {"dcsj", "导出数据"}}},
        {"fhcd", "番号菜单", "ListView2",
         {{"fhxz", "复制种子地址"}, {kSeparator, ""}, {"fhbf", "复制磁力链接"}}},
        {"btcd", "BT菜单", "ListView4",
         {{"fzbtdz", "复制种子地址"}, {kSeparator, ""}, {"dkbtxz", "下载视频种子"}}},
        {"filmmenu", "电影资源", "ListView5",
         {{"fzysdz22", "复制影视地址"}, {kSeparator, ""}, {kParseFilmItem, "解析影视种子"}}},
        {"jdkc", "经典库存", "ListView6",
         {{"kcfzdz", "复制地址"}, {kSeparator, ""}, {"ckdklj", "打开链接"}, {kSeparator, ""},
          {"kctqzz", "提取种子"}, {kSeparator, ""}, {"jdydbf", "云端播放"}}},
        {"yymenu", "音乐资源", "ListView7",
         {{"yydzfz", "复制地址"}, {kSeparator, ""}, {"yydklj", "打开链接"}, {kSeparator, ""},
          {"yytqzz", "提取种子"}}},
        {"dmmenu", "动漫菜单", "ListView12",
         {{"fzdzdm", "复制地址"}, {kSeparator, ""}, {"dkljdm", "打开链接"}}},
        {"rjmenu", "软件菜单", "ListView8",
         {{"fzdzrj", "复制地址"}, {kSeparator, ""}, {"dkljrj", "打开链接"}, {kSeparator, ""},
          {"tqzzrj", "提取种子"}}},
        {"tsmenu", "图书菜单", "ListView9",
         {{"fzdzts", "复制地址"}, {kSeparator, ""}, {"dkljts", "打开链接"}, {kSeparator, ""},
          {"tqzzts", "提取种子"}}},
        {"jymenu", "教育菜单", "ListView10",
         {{"fzdzjy", "复制地址"}, {kSeparator, ""}, {"dlljjy", "打开链接"}, {kSeparator, ""},
          {"tqzzjy", "提取种子"}}},
        {"zhmenu", "综合菜单", "ListView11",
         {{"fzdzzh", "复制地址"}, {kSeparator, ""}, {"dkljzh", "打开链接"}, {kSeparator, ""},
          {"tqzzzh", "提取种子"}}},
        {"dvzycd", "电驴资源", "ListView15",
         {{"dvfz", "复制地址"}, {kSeparator, ""}, {"dkdv", "打开链接"}, {kSeparator, ""},
          {"tqdv", "提取种子"}}},
        {"ydbmenu", "云点播", "ListView19",
         {{"ybfz", "复制磁力链接"}, {kSeparator, ""}, {"ydydbf", "在线云端播放"}}},
    };
    return t;
}

enum class ActionKind { Copy, Open, CopyInfo };

// The copy and open items: one list, one cell, one status text each. The
// status text is empty for the open items, which report nothing.
struct RowActionEntry {
    const char* item;
    const char* list;
    int subItem;
    ActionKind kind;
    const char* status;
};

const QVector<RowActionEntry>& rowActionTable()
{
    static const QVector<RowActionEntry> t = {
        {"fz", "ListView1", 2, ActionKind::Copy, "链接地址已复制!"},
        {"fzxx", "ListView1", 0, ActionKind::CopyInfo, "信息已复制!"},
        {"dk", "ListView1", 2, ActionKind::Open, ""},
        {"fhxz", "ListView2", 4, ActionKind::Copy, "下载地址已复制!"},
        {"fhbf", "ListView2", 5, ActionKind::Copy, "磁力链接已复制!"},
        {"fzbtdz", "ListView4", 4, ActionKind::Copy, "种子已复制!"},
        {"kcfzdz", "ListView6", 3, ActionKind::Copy, "地址已复制!"},
        {"ckdklj", "ListView6", 3, ActionKind::Open, ""},
        {"yydzfz", "ListView7", 3, ActionKind::Copy, "地址已复制!"},
        {"yydklj", "ListView7", 3, ActionKind::Open, ""},
        {"fzdzrj", "ListView8", 3, ActionKind::Copy, "地址已复制!"},
        {"dkljrj", "ListView8", 3, ActionKind::Open, ""},
        {"fzdzts", "ListView9", 3, ActionKind::Copy, "地址已复制!"},
        {"dkljts", "ListView9", 3, ActionKind::Open, ""},
        {"fzdzjy", "ListView10", 3, ActionKind::Copy, "地址已复制!"},
        {"dlljjy", "ListView10", 3, ActionKind::Open, ""},
        {"fzdzzh", "ListView11", 3, ActionKind::Copy, "地址已复制!"},
        {"dkljzh", "ListView11", 3, ActionKind::Open, ""},
        {"fzdzdm", "ListView12", 3, ActionKind::Copy, "地址已复制!"},
        {"dkljdm", "ListView12", 3, ActionKind::Open, ""},
        {"dvfz", "ListView15", 3, ActionKind::Copy, "地址已复制!"},
        {"dkdv", "ListView15", 3, ActionKind::Open, ""},
        {"ybfz", "ListView19", 4, ActionKind::Copy, "磁力链接已复制!"},
    };
    return t;
}

const RowActionEntry* rowActionEntry(const QString& item)
{
    static const QHash<QString, int> byItem = [] {
        QHash<QString, int> h;
        const auto& t = rowActionTable();
        for (int i = 0; i < t.size(); ++i)
            h.insert(QString::fromLatin1(t[i].item), i);
        return h;
    }();
    const auto it = byItem.constFind(item);
    return it == byItem.constEnd() ? nullptr : &rowActionTable()[*it];
}

// Handlers bound later by the features that own them, kept on form1 so that
// each window has its own.
class RowActionRegistry : public QObject {
public:
    explicit RowActionRegistry(QObject* parent) : QObject(parent)
    {
        setObjectName(QString::fromLatin1(kRegistryName));
    }
    QHash<QString, std::function<void()>> handlers;
};

RowActionRegistry* registryOf(QWidget* form1, bool create)
{
    if (!form1)
        return nullptr;
    const auto children = form1->findChildren<QObject*>(QString::fromLatin1(kRegistryName),
                                                        Qt::FindDirectChildrenOnly);
    for (QObject* c : children)
        if (auto* r = dynamic_cast<RowActionRegistry*>(c))
            return r;
    return create ? new RowActionRegistry(form1) : nullptr;
}

void runRowAction(QWidget* form1, const RowActionEntry& entry)
{
    ResultList* list = findResultList(form1, QString::fromLatin1(entry.list));
    QTreeWidgetItem* row = guardedSelection(list);
    if (!row)
        return;
    switch (entry.kind) {
    case ActionKind::Copy:
        copyText(list->cellAt(row, entry.subItem));
        break;
    case ActionKind::CopyInfo:
        copyText(QStringLiteral("名称：") + list->cellAt(row, 1) + QStringLiteral("\r\n")
                 + QStringLiteral("链接地址：") + list->cellAt(row, 2));
        break;
    case ActionKind::Open: openPageAddress(list->cellAt(row, entry.subItem)); break;
    }
    if (*entry.status)
        StatusLine::set(QString::fromUtf8(entry.status));
}

void dispatchItem(QWidget* form1, const QString& item)
{
    if (const RowActionEntry* entry = rowActionEntry(item)) {
        runRowAction(form1, *entry);
        return;
    }
    if (RowActionRegistry* reg = registryOf(form1, false)) {
        const auto it = reg->handlers.constFind(item);
        if (it != reg->handlers.constEnd() && *it) {
            // Copy first: the handler may rebind items while it runs.
            const std::function<void()> handler = *it;
            handler();
        }
    }
}

void ListView17_DblClick(QWidget* form1)
{
    ResultList* list = findResultList(form1, QStringLiteral("ListView17"));
    QTreeWidgetItem* row = guardedSelection(list);
    if (!row)
        return;
    openPageAddress(list->cellAt(row, 3));
}

} // namespace

QString selectionGuardText()
{
    return QStringLiteral("请先查询再进行操作!");
}

bool openPageAddress(const QString& address)
{
    if (address.trimmed().isEmpty()) {
        openAddress(address);
        return true;
    }
    if (!isAllowedAddress(address, AddressUse::Open)) {
        StatusLine::set(refusedAddressText(address));
        return false;
    }
    openAddress(address.trimmed());
    return true;
}

QTreeWidgetItem* guardedSelection(ResultList* list)
{
    QTreeWidgetItem* row = list ? list->selectedRow() : nullptr;
    if (!row || row->text(0).isEmpty()) {
        StatusLine::set(selectionGuardText());
        return nullptr;
    }
    return row;
}

void copyText(const QString& text)
{
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb)
        return;
    cb->clear();
    cb->setText(text);
}

ResultList* findResultList(QWidget* form1, const QString& listName)
{
    return form1 ? form1->findChild<ResultList*>(listName) : nullptr;
}

QMenu* findRowMenu(QWidget* form1, const QString& menuName)
{
    return form1 ? form1->findChild<QMenu*>(menuName) : nullptr;
}

QAction* findRowAction(QWidget* form1, const QString& itemName)
{
    return form1 ? form1->findChild<QAction*>(itemName) : nullptr;
}

void bindRowAction(QWidget* form1, const QString& itemName, std::function<void()> handler)
{
    if (RowActionRegistry* reg = registryOf(form1, true)) {
        if (handler)
            reg->handlers.insert(itemName, std::move(handler));
        else
            reg->handlers.remove(itemName);
    }
}

void installRowActions(QWidget* form1)
{
    if (!form1)
        return;
    registryOf(form1, true);
    QPointer<QWidget> owner(form1);
    for (const MenuSpec& m : menuTable()) {
        const QString menuName = QString::fromLatin1(m.name);
        if (findRowMenu(form1, menuName))
            continue;   // already installed
        auto* menu = new QMenu(QString::fromUtf8(m.caption), form1);
        menu->setObjectName(menuName);
        for (const MenuItemSpec& it : m.items) {
            if (qstrcmp(it.name, kSeparator) == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(it.caption));
            const QString itemName = QString::fromLatin1(it.name);
            action->setObjectName(itemName);
            QObject::connect(action, &QAction::triggered, form1, [owner, itemName] {
                if (owner)
                    dispatchItem(owner, itemName);
            });
        }
        if (ResultList* list = findResultList(form1, QString::fromLatin1(m.list))) {
            // The menu comes up for the right button only, whatever the list
            // holds: an empty list gets it too, and its items then answer with
            // the selection guard.
            QPointer<QMenu> guard(menu);
            QObject::connect(list, &ResultList::rightClicked, menu, [guard](const QPoint& pos) {
                if (guard)
                    guard->exec(pos);
            });
        }
    }
    if (ResultList* lv17 = findResultList(form1, QStringLiteral("ListView17"))) {
        if (!lv17->property("lumorraOpenOnDoubleClick").toBool()) {
            lv17->setProperty("lumorraOpenOnDoubleClick", true);
            QObject::connect(lv17, &ResultList::listDoubleClicked, form1, [owner] {
                if (owner)
                    ListView17_DblClick(owner);
            });
        }
    }
}

} // namespace lumorra
