#pragma once
// When an engine's later steps run. In the window a source cuts and judges
// on the window's named timers (Timer3 at 100 ms, Timer4 at 1000 ms …), so
// a list fills as it always has; elsewhere (the command line, the searches
// over every source) the same steps run one after another without delay,
// in the order they were armed, and give the same rows.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

namespace lumorra {

// A window timer a source's step runs on.
struct StepTimer {
    QString name;        // "Timer3"
    int intervalMs = 0;
};

class Pacing {
public:
    // The window's timer of that name, or null when the window has none.
    using TimerLookup = std::function<QTimer*(const QString& name)>;

    static Pacing immediate() { return Pacing(); }
    static Pacing window(TimerLookup lookup);

    bool keepsTimers() const { return m_keepsTimers; }
    // The window's timer `name`; a stand-alone one of that name and
    // interval (owned by `owner`) when the window has none.
    QTimer* timer(QObject* owner, const QString& name, int intervalMs) const;

private:
    bool m_keepsTimers = false;
    TimerLookup m_lookup;
};

// One timer-driven step of a source ("Timer3_Timer"). Armed, it ticks like
// the timer it stands for: again and again until the step disarms itself.
// Arming an armed step keeps its next tick where it was.
class PacedStep : public QObject {
    Q_OBJECT
public:
    PacedStep(const Pacing& pacing, const QString& timerName, int intervalMs, QObject* owner,
              std::function<void()> tick);

    void arm();
    void disarm();
    bool isArmed() const;
    QString timerName() const { return m_name; }
    // The timer behind it (window pacing), for tests that shorten it.
    QTimer* timer() const { return m_timer; }

private:
    void tickNow();

    QString m_name;
    std::function<void()> m_tick;
    QPointer<QTimer> m_timer;   // window pacing
    bool m_armed = false;       // this step armed it (and, immediate, its tick is posted)
    quint64 m_arming = 0;       // immediate pacing: the posted tick still in force
};

} // namespace lumorra
