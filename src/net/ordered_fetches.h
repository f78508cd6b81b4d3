#pragma once
// A batch of pages requested together and handed on strictly in request
// order: at most `inFlight` requests are on the way at once (each time-out
// runs from when its request is really sent), and page i is delivered as
// soon as it and every page before it are in. Starting a new batch, or
// cancel(), drops the running one: none of its pages is delivered after.
//
// Keep it as a member of the callbacks' context object.
#include "net/page_fetcher.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>

namespace lumorra {

class OrderedFetches {
public:
    using PageHandler = std::function<void(int index, const FetchResult& result)>;
    using DoneHandler = std::function<void()>;

    // What the HTTP client opens per host.
    static constexpr int kDefaultInFlight = 6;

    explicit OrderedFetches(int inFlight = kDefaultInFlight) : m_inFlight(inFlight > 0 ? inFlight : 1) {}
    OrderedFetches(const OrderedFetches&) = delete;
    OrderedFetches& operator=(const OrderedFetches&) = delete;
    ~OrderedFetches() { cancel(); }

    // Requests `urls`; `onPage(i, result)` runs for i = 0, 1, … in order on
    // `context`, then `onDone()` once. An empty batch ends at once (onDone
    // runs inside this call).
    void start(const QStringList& urls, FetchMode mode, const QObject* context, PageHandler onPage,
               DoneHandler onDone);
    void cancel();
    bool isRunning() const { return m_running; }
    quint64 generation() const { return m_generation; }

private:
    struct Request {
        QString url;
        QPointer<FetchJob> job;
        bool started = false;
        bool done = false;
        FetchResult result;
    };

    void sendQueued(quint64 generation);
    void deliverReady(quint64 generation);

    int m_inFlight;
    quint64 m_generation = 0;
    bool m_running = false;
    int m_next = 0;                 // first request not yet delivered
    std::deque<Request> m_requests;
    FetchMode m_mode = FetchMode::WithIfModifiedSince;
    const QObject* m_context = nullptr;
    PageHandler m_onPage;
    DoneHandler m_onDone;
};

} // namespace lumorra
