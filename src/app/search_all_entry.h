#pragma once
// The main window's way into the search over every source: the box and
// button in the navigation bar open (or raise) the results window and start
// the search; the window's play requests go to the player.
class QWidget;

namespace lumorra {

class NavigationBar;
class SearchAllWindow;

// Puts the box and button into `bar` and returns them (the window enables
// them with its pages).
QWidget* installSearchAll(QWidget* form1, NavigationBar* bar);

// The results window of form1, made on first use.
SearchAllWindow* searchAllWindow(QWidget* form1);

} // namespace lumorra
