#pragma once
// The sources drive their cutting and not-found steps from the main window's
// named timers (Timer3, Timer15, …).
#include <QString>

class QObject;
class QTimer;
class QWidget;

namespace lumorra {

// The timer named `name` under form1; when the window has none (a bare page
// in a test), a stand-alone one owned by `owner` with the window's interval,
// so the source runs all the same.
QTimer* windowTimer(QWidget* form1, QObject* owner, const QString& name, int intervalMs);

// "Enabling" a timer that already runs leaves its next tick where it was.
void enableTimer(QTimer* timer);
void disableTimer(QTimer* timer);

} // namespace lumorra
