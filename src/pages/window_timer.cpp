#include "pages/window_timer.h"

#include <QTimer>
#include <QWidget>

namespace lumorra {

QTimer* windowTimer(QWidget* form1, QObject* owner, const QString& name, int intervalMs)
{
    if (auto* t = form1->findChild<QTimer*>(name))
        return t;
    auto* t = new QTimer(owner);
    t->setObjectName(name);
    t->setInterval(intervalMs);
    return t;
}

void enableTimer(QTimer* timer)
{
    if (timer && !timer->isActive())
        timer->start();
}

void disableTimer(QTimer* timer)
{
    if (timer)
        timer->stop();
}

} // namespace lumorra
