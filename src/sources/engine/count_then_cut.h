#pragma once
// The scheme of the sources that count first and cut later: the fetch
// handler counts a page's records into a 16-bit pending count (hx) and arms
// the cutting step when it found some and the not-found step always; the
// cutting step cuts that many and disarms itself; the not-found step ends
// the search, whatever the count came to. The steps keep the window's timer
// names and intervals (see Pacing).
#include "sources/engine/pacing.h"

#include <QString>
#include <QtGlobal>

#include <functional>

namespace lumorra {

class CountThenCut : public QObject {
    Q_OBJECT
public:
    using Cut = std::function<void(int pending)>;
    using Judge = std::function<void()>;

    CountThenCut(const Pacing& pacing, const StepTimer& cutTimer, const StepTimer& notFoundTimer, QObject* owner,
                 Cut cut, Judge judge);

    // hx: `hits` records more are waiting to be cut.
    void counted(int hits);
    qint16 pending() const { return m_pending; }
    // Disarms both steps and forgets the count (a new search, an ending).
    void stop();
    // A step is still to run.
    bool isWaiting() const { return m_cutStep->isArmed() || m_notFoundStep->isArmed(); }
    // The memory release stops every window timer; a search that is still
    // waiting for its steps gets them back (else it would never end).
    void rearm();

    PacedStep* cutStep() const { return m_cutStep; }
signals:
    // A page was counted: `pending` records wait for the cutting step.
    void hitsCounted(qint16 pending);

public:
    PacedStep* notFoundStep() const { return m_notFoundStep; }

private:
    void cutTick();
    void notFoundTick();

    PacedStep* m_cutStep;
    PacedStep* m_notFoundStep;
    Cut m_cut;
    Judge m_judge;
    qint16 m_pending = 0;
    bool m_waitingForCut = false;
    bool m_waitingForJudge = false;
};

} // namespace lumorra
