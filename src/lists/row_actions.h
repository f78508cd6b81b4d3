#pragma once
// The popup menus of the result lists and the row actions they share: the
// selection guard, copy a cell, open an address.
#include <QString>
#include <functional>

class QWidget;
class QMenu;
class QAction;
class QTreeWidgetItem;

namespace lumorra {

class ResultList;

// Finds ListView1 … ListView20 under form1, attaches the thirteen popup menus
// (QMenu objectName = menu name, title = caption; QAction objectName = item
// name, text = caption), their copy/open handlers and ListView17's double
// click. Items that belong to later features exist and do nothing until a
// handler is bound with bindRowAction().
void installRowActions(QWidget* form1);

// Binds the behaviour of a menu item by its item name ("dcsj", "kctqzz",
// "dkbtxz", kParseFilmItem, "jdydbf", …). May be called before or after
// installRowActions(); a later binding replaces an earlier one. An empty
// function unbinds the item.
void bindRowAction(QWidget* form1, const QString& itemName, std::function<void()> handler);

// The item "解析影视种子" of menu filmmenu has no name of its own in the
// design; this is the objectName it gets.
inline constexpr const char* kParseFilmItem = "jxyszz";

// Look-ups under form1; nullptr when absent.
ResultList* findResultList(QWidget* form1, const QString& listName);
QMenu* findRowMenu(QWidget* form1, const QString& menuName);
QAction* findRowAction(QWidget* form1, const QString& itemName);

// The selection guard: the list's selected row, or nullptr after showing
// "请先查询再进行操作!" in the status line (no list, no row, empty row text).
QTreeWidgetItem* guardedSelection(ResultList* list);

// Clears the clipboard, then puts `text` on it as plain text.
void copyText(const QString& text);

// Opens an address that came from a page (a list cell, a detail page's
// link): an allowed one trimmed, through openAddress(); an empty one as
// openAddress() opens it, which is nothing. Any other is not opened, and the
// status line says which address was refused. False when refused.
bool openPageAddress(const QString& address);

// The text of the selection guard.
QString selectionGuardText();

} // namespace lumorra
