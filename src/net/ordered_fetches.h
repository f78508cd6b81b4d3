#pragma once
// A batch of pages requested together and handed on strictly in request
// order: at most `inFlight` requests are on the way at once (each time-out
// runs from when its request is really sent), and page i is delivered as
// soon as it and every page before it are in. Starting a new batch, or
// cancel(), drops the running one: none of its pages is delivered after.
//
// A page that is in but not yet due is held until every page before it is
// in, and a stalled first request can hold all the others. Where only a cut
// of each page is wanted (its rows, how it answered), startCutting() cuts
// each page the moment it arrives and holds just that cut, never the body.
//
// Keep it as a member of the callbacks' context object.
#include "net/page_fetcher.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

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

    // Requests `urls`; `cut(i, result)` runs for each page as soon as it is
    // in, in whatever order they arrive, and only its return value is held;
    // `onCut(i, cut)` then runs for i = 0, 1, … in order, then `onDone()`.
    template <typename Cut>
    void startCutting(const QStringList& urls, FetchMode mode, const QObject* context,
        std::function<Cut(int index, const FetchResult& result)> cut,
        std::function<void(int index, Cut cut)> onCut, DoneHandler onDone);

    void cancel();
    bool isRunning() const { return m_running; }
    quint64 generation() const { return m_generation; }

    // Bytes of page bodies (decoded text and raw bytes) that are in and held
    // for their turn.
    qint64 heldBodyBytes() const;

private:
    using ArrivalHandler = std::function<void(int index, const FetchResult& result)>;
    using TurnHandler = std::function<void(int index)>;

    struct Request {
        QString url;
        QPointer<FetchJob> job;
        bool started = false;
        bool done = false;
        FetchResult result;
    };

    // The one engine behind both kinds of start: with `onArrival`, a page is
    // handed to it on arrival and its result is held without its body.
    void startBatch(const QStringList& urls, FetchMode mode, const QObject* context, ArrivalHandler onArrival,
        PageHandler onPage, TurnHandler onTurn, DoneHandler onDone);
    void arrived(quint64 generation, int index, FetchResult result);
    void sendQueued(quint64 generation);
    void deliverReady(quint64 generation);

    int m_inFlight;
    quint64 m_generation = 0;
    bool m_running = false;
    int m_next = 0;                 // first request not yet delivered
    std::deque<Request> m_requests;
    FetchMode m_mode = FetchMode::WithIfModifiedSince;
    const QObject* m_context = nullptr;
    ArrivalHandler m_onArrival;
    PageHandler m_onPage;
    TurnHandler m_onTurn;
    DoneHandler m_onDone;
};

template <typename Cut>
void OrderedFetches::startCutting(const QStringList& urls, FetchMode mode, const QObject* context,
    std::function<Cut(int index, const FetchResult& result)> cut,
    std::function<void(int index, Cut cut)> onCut, DoneHandler onDone)
{
    // Owned by the handlers, so a batch started from inside onCut gets its
    // own and this one's goes with its handlers.
    auto cuts = std::make_shared<std::vector<std::optional<Cut>>>(size_t(urls.size()));
    startBatch(
        urls, mode, context,
        [cuts, cut = std::move(cut)](
            int index, const FetchResult& result) { (*cuts)[size_t(index)].emplace(cut(index, result)); },
        nullptr,
        [cuts, onCut = std::move(onCut)](int index) {
            std::optional<Cut> taken = std::exchange((*cuts)[size_t(index)], std::nullopt);
            if (taken)
                onCut(index, std::move(*taken));
        },
        std::move(onDone));
}

} // namespace lumorra
