#include "net/ordered_fetches.h"

#include <utility>

namespace lumorra {

void OrderedFetches::start(const QStringList& urls, FetchMode mode, const QObject* context,
                           PageHandler onPage, DoneHandler onDone)
{
    cancel();
    const quint64 generation = m_generation;
    m_running = true;
    m_next = 0;
    m_mode = mode;
    m_context = context;
    m_onPage = std::move(onPage);
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
    m_onPage = nullptr;
    m_onDone = nullptr;
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
            Request& done = m_requests[size_t(index)];
            done.done = true;
            done.result = result;
            done.job = nullptr;
            sendQueued(generation);
            deliverReady(generation);
        });
        if (!r.job) {
            // The fetcher is shut down: nothing more will be delivered.
            r.done = true;
            r.result.url = r.url;
            r.result.error = FetchError::Aborted;
        }
    }
}

void OrderedFetches::deliverReady(quint64 generation)
{
    // A page handler may cancel the batch or start a new one: the
    // generation check ends this delivery then.
    while (generation == m_generation && size_t(m_next) < m_requests.size() && m_requests[size_t(m_next)].done) {
        const int index = m_next++;
        const FetchResult result = std::exchange(m_requests[size_t(index)].result, {});
        if (m_onPage)
            m_onPage(index, result);
    }
    if (generation == m_generation && m_running && size_t(m_next) == m_requests.size()) {
        m_running = false;
        m_requests.clear();
        DoneHandler done = std::exchange(m_onDone, nullptr);
        m_onPage = nullptr;
        if (done)
            done();
    }
}

} // namespace lumorra
