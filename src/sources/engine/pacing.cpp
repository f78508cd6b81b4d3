#include "sources/engine/pacing.h"

#include <QTimer>

namespace lumorra {

Pacing Pacing::window(TimerLookup lookup)
{
    Pacing p;
    p.m_keepsTimers = true;
    p.m_lookup = std::move(lookup);
    return p;
}

QTimer* Pacing::timer(QObject* owner, const QString& name, int intervalMs) const
{
    if (m_lookup)
        if (QTimer* t = m_lookup(name))
            return t;
    auto* t = new QTimer(owner);
    t->setObjectName(name);
    t->setInterval(intervalMs);
    return t;
}

PacedStep::PacedStep(const Pacing& pacing, const QString& timerName, int intervalMs, QObject* owner,
                     std::function<void()> tick)
    : QObject(owner), m_name(timerName), m_tick(std::move(tick))
{
    setObjectName(timerName + QStringLiteral("Step"));
    if (pacing.keepsTimers()) {
        m_timer = pacing.timer(this, timerName, intervalMs);
        connect(m_timer, &QTimer::timeout, this, &PacedStep::tickNow);
    }
}

void PacedStep::arm()
{
    if (m_timer) {
        m_armed = true;
        if (!m_timer->isActive())
            m_timer->start();
        return;
    }
    if (m_armed)
        return;
    m_armed = true;
    // Queued calls to one object arrive in the order they were posted, so
    // steps armed one after another tick in that order.
    QMetaObject::invokeMethod(this, [this, arming = ++m_arming] {
        if (m_armed && arming == m_arming)
            tickNow();
    }, Qt::QueuedConnection);
}

void PacedStep::disarm()
{
    if (m_timer) {
        // A timer two engines share (one list, two sites) is stopped only
        // by the step that armed it.
        if (m_armed)
            m_timer->stop();
        m_armed = false;
        return;
    }
    m_armed = false;
    ++m_arming;
}

bool PacedStep::isArmed() const
{
    return m_timer ? m_armed && m_timer->isActive() : m_armed;
}

void PacedStep::tickNow()
{
    if (m_timer) {
        // The window's timer ticks for whichever step armed it.
        if (m_armed)
            m_tick();
        return;
    }
    // Like a timer its tick left enabled, a step that neither disarmed nor
    // re-armed itself ticks again.
    const quint64 arming = m_arming;
    m_tick();
    if (m_armed && arming == m_arming) {
        m_armed = false;
        arm();
    }
}

} // namespace lumorra
