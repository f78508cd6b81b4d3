#pragma once
// The player layer of the main window: the player's handlers, the on-demand
// entries, the live channels and the forum-address window, wired to the
// online-video page's buttons.
class QWidget;

namespace lumorra {

// Calling it again on the same window does nothing.
void installPlayer(QWidget* form1);

} // namespace lumorra
