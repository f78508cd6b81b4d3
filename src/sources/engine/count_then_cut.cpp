#include "sources/engine/count_then_cut.h"

#include "text/number_text.h"

namespace lumorra {

CountThenCut::CountThenCut(const Pacing& pacing, const StepTimer& cutTimer, const StepTimer& notFoundTimer,
                           QObject* owner, Cut cut, Judge judge)
    : QObject(owner),
      m_cutStep(new PacedStep(pacing, cutTimer.name, cutTimer.intervalMs, this, [this] { cutTick(); })),
      m_notFoundStep(new PacedStep(pacing, notFoundTimer.name, notFoundTimer.intervalMs, this,
                                   [this] { notFoundTick(); })),
      m_cut(std::move(cut)),
      m_judge(std::move(judge))
{
}

void CountThenCut::counted(int hits)
{
    m_pending = addPendingHits(m_pending, hits);
    if (hits > 0) {
        m_waitingForCut = true;
        m_cutStep->arm();
    }
    m_waitingForJudge = true;
    m_notFoundStep->arm();
    emit hitsCounted(m_pending);
}

void CountThenCut::stop()
{
    m_cutStep->disarm();
    m_notFoundStep->disarm();
    m_pending = 0;
    m_waitingForCut = false;
    m_waitingForJudge = false;
}

void CountThenCut::rearm()
{
    if (m_waitingForCut)
        m_cutStep->arm();
    if (m_waitingForJudge)
        m_notFoundStep->arm();
}

void CountThenCut::cutTick()
{
    const int n = m_pending;
    m_waitingForCut = false;
    m_cutStep->disarm();
    m_cut(n);
    m_pending = qint16(m_pending - n);
}

void CountThenCut::notFoundTick()
{
    m_waitingForJudge = false;
    m_notFoundStep->disarm();
    m_judge();
}

} // namespace lumorra
