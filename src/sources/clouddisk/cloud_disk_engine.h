#pragma once
// The cloud-disk search as an engine: the ticked services (the request's
// services, box indices in box order) are asked together through the search
// engine's site: operator, and their pages are taken strictly in box order
// as each becomes available, so the first box's rows come as soon as its
// page is in while the others still load.
//
// A page is cut the moment it arrives, whatever its turn; only its rows
// wait for their turn and then for the cutting step (Timer17, 100 ms),
// which lists every page that came since its last tick. The not-found step
// (Timer18, 1000 ms) reports a search whose services answered without a
// record once every service is in. A service that did not answer (or
// answered an error page) is a problem of the run, named with its time and
// reason; the run fails only when no service answered, or when nothing was
// found and some did not answer.
#include "net/ordered_fetches.h"
#include "sources/clouddisk/cloud_disk_query.h"
#include "sources/engine/pacing.h"
#include "sources/engine/source_engine.h"

#include <QList>
#include <QString>

namespace lumorra {

class CloudDiskEngine : public SourceEngine {
    Q_OBJECT
public:
    // Requests on the way at once: what the HTTP client opens per host.
    static constexpr int kRequestsInFlight = OrderedFetches::kDefaultInFlight;

    explicit CloudDiskEngine(const Pacing& pacing, QObject* parent = nullptr);
    ~CloudDiskEngine() override;

    QString refusalOf(const SourceRequest& request) const override;

    // How each asked service of the running (or last) run answered, in box
    // order; pending ones while it runs.
    const QList<clouddisk::ServiceOutcome>& serviceOutcomes() const { return m_outcomes; }

    PacedStep* cutStep() const { return m_cutStep; }
    PacedStep* notFoundStep() const { return m_notFoundStep; }

signals:
    // The page of service `service` (a box index) was taken, in box order;
    // its rows follow on the next cutting step.
    void serviceTaken(int service);

protected:
    void begin(const SourceRequest& request) override;
    void halt() override;

private:
    struct Reply {
        clouddisk::ServiceAnswer answer;
        int httpStatus = 0;
    };

    void take(int order, Reply reply);
    void cutTick();
    void notFoundTick();
    // Ends the run once every service is in and every page is listed.
    void finishIfDone();
    void conclude();
    bool allHandled() const { return !m_requests.isRunning() && m_waiting.isEmpty(); }

    OrderedFetches m_requests{kRequestsInFlight};
    PacedStep* m_cutStep;
    PacedStep* m_notFoundStep;
    QList<int> m_services;                           // asked, in box order
    QList<clouddisk::ServiceOutcome> m_outcomes;     // one per asked service, same order
    QList<QList<clouddisk::CloudDiskRow>> m_waiting; // pages with records, waiting for the cut
    // Both outlive a run, as the window's own values always have: the
    // caption of the last service that answered and the kind of the last
    // row listed.
    QString m_serviceName;
    QString m_diskKind;
    int m_answered = 0;        // services whose page came
    int m_failed = 0;          // services that gave no usable page
    QString m_failure;         // why the last of them failed
    int m_failureStatus = 0;   // and its HTTP status, when one came
    int m_releaseHook = -1;
};

} // namespace lumorra
