#pragma once
// The one place the start-up code gets its main window from, so the
// bootstrap does not depend on the window's own header.
class QWidget;

namespace lumorra {

// Builds the main window (not yet shown). The caller owns it.
QWidget* createMainWindow();

} // namespace lumorra
