#pragma once
class QWidget;

namespace lumorra {
// Connects every source family's handlers to the controls, lists and timers
// of the main window; called once, after the pages and row menus exist.
void installSources(QWidget* form1);
} // namespace lumorra
