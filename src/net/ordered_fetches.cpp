#include "net/ordered_fetches.h"

#include <utility>

namespace lumorra {

void OrderedFetches::start(const QStringList& urls, FetchMode mode, const QObject* context,
                           PageHandler onPage, DoneHandler onDone)
{
    startBatch(urls, mode, context, nullptr, std::move(onPage), nullptr, std::move(onDone));
}

void OrderedFetches::startBatch(const QStringList& urls, FetchMode mode, const QObject* context,
    ArrivalHandler onArrival, PageHandler onPage, TurnHandler onTurn, DoneHandler onDone)
{
    cancel();
    const quint64 generation = m_generation;
    m_running = true;
    m_next = 0;
    m_mode = mode;
    m_context = context;
    m_onArrival = std::move(onArrival);
    m_onPage = std::move(onPage);
    m_onTurn = std::move(onTurn);
    m_onDone = std::move(onDone);
    for (const QString& url : urls)
        m_requests.push_back({url, nullptr, false, false, {}});
    sendQueued(generation);
    deliverReady(generation);
}

void OrderedFetches::cancel()
{
    ++m_generation;
    m_running = false;
    std::deque<Request> requests;
    requests.swap(m_requests);
    for (Request& r : requests)
        if (FetchJob* job = r.job.data())
            job->abort();   // its answer sees a newer generation and is dropped
    m_onArrival = nullptr;
    m_onPage = nullptr;
    m_onTurn = nullptr;
    m_onDone = nullptr;
}

qint64 OrderedFetches::heldBodyBytes() const
{
    qint64 bytes = 0;
    for (size_t i = size_t(m_next); i < m_requests.size(); ++i) {
        const FetchResult& r = m_requests[i].result;
        bytes += qint64(r.text.size()) * qint64(sizeof(QChar)) + r.body.size();
    }
    return bytes;
}

void OrderedFetches::arrived(quint64 generation, int index, FetchResult result)
{
    if (m_onArrival) {
        // A copy: the step may start a new batch, which replaces the handler.
        const ArrivalHandler cut = m_onArrival;
        cut(index, result);
        if (generation != m_generation)
            return;
        // What the step needed of the page it has taken: only the page's
        // place in the order is held.
        result.text = QString();
        result.body = QByteArray();
    }
    Request& done = m_requests[size_t(index)];
    done.done = true;
    done.result = std::move(result);
    done.job = nullptr;
}

void OrderedFetches::sendQueued(quint64 generation)
{
    int onTheWay = 0;
    for (size_t i = size_t(m_next); i < m_requests.size(); ++i) {
        Request& r = m_requests[i];
        if (r.started) {
            if (!r.done)
                ++onTheWay;
            continue;
        }
        if (onTheWay >= m_inFlight)
            break;
        r.started = true;
        ++onTheWay;
        const int index = int(i);
        r.job = PageFetcher::instance().get(r.url, m_mode, m_context,
                                            [this, generation, index](const FetchResult& result) {
            if (generation != m_generation)
                return;
            arrived(generation, index, result);
            if (generation != m_generation)
                return;
            sendQueued(generation);
            deliverReady(generation);
        });
        if (!r.job) {
            // The fetcher is shut down: nothing more will be delivered.
            FetchResult aborted;
            aborted.url = r.url;
            aborted.error = FetchError::Aborted;
            arrived(generation, index, std::move(aborted));
            if (generation != m_generation)
                return;
        }
    }
}

void OrderedFetches::deliverReady(quint64 generation)
{
    // A page handler may cancel the batch or start a new one: the
    // generation check ends this delivery then, and the handlers are called
    // through copies so that a replaced one is not destroyed while it runs.
    while (generation == m_generation && size_t(m_next) < m_requests.size() && m_requests[size_t(m_next)].done) {
        const int index = m_next++;
        const FetchResult result = std::exchange(m_requests[size_t(index)].result, {});
        if (m_onTurn) {
            const TurnHandler turn = m_onTurn;
            turn(index);
        } else if (m_onPage) {
            const PageHandler page = m_onPage;
            page(index, result);
        }
    }
    if (generation == m_generation && m_running && size_t(m_next) == m_requests.size()) {
        m_running = false;
        m_requests.clear();
        DoneHandler done = std::exchange(m_onDone, nullptr);
        m_onArrival = nullptr;
        m_onPage = nullptr;
        m_onTurn = nullptr;
        if (done)
            done();
    }
}

} // namespace lumorra
