// Resident memory of the real main window before and after many searches on
// the sample sites.
//
//   bench_memory [searches=100] [warm-up=12]
//
// The searches rotate through four sources, each driven through its button
// as the user does and awaited on its controller's end signal: the torrent
// index site (5 rows), the eMule keyword search, magnet site A (3 rows) and
// the cloud-disk search over all 24 services. Magnet site A's cutting step
// waits 3 s in the window; here its timer runs at 20 ms so the run stays
// short (the same work, sooner).
//
// Figures (VmRSS of this process; the sample server runs in it too, its
// request log emptied after every search; the web engine's renderer
// processes are not counted):
//  - after start: once the version gate has opened the window;
//  - baseline: after the warm-up searches (every source has run a few times,
//    so caches, fonts, connection pools and the allocator's arenas have
//    reached their working size) and one second of idle time;
//  - after N more searches and the same idle second. The growth that counts
//    is against the baseline (aim: at most 5 %); growth against "after
//    start" is printed too.
#include "bench_window.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "pages/clouddisk/cloud_disk_search.h"
#include "pages/emule/emule_handlers.h"
#include "pages/torrent/magnet_search.h"
#include "pages/torrent/torrent_search.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace lumorra;

namespace {

constexpr int kSearchTimeoutMs = 20000;
constexpr int kSettleMs = 1000;

struct Source {
    const char* name;
    const char* list;             // its result list
    std::function<bool()> search; // clicks and waits; false on a time-out
    int searches = 0;
    int lastRows = -1;
};

template <typename T>
T* child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

} // namespace

int main(int argc, char** argv)
{
    bench::prepareWindowProcess();
    QApplication app(argc, argv);
    const int searches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int warmUp = argc > 2 ? std::max(0, std::atoi(argv[2])) : 12;

    bench::BenchWindow bench;
    if (!bench.startSites()) {
        std::fprintf(stderr, "cannot start the sample server\n");
        return 1;
    }
    QWidget* w = bench.build();
    if (!bench.waitUntilUnlocked()) {
        std::fprintf(stderr, "the version gate did not open the window\n");
        return 1;
    }
    bench::runEventsFor(kSettleMs);
    const long afterStart = bench::residentKiB();

    auto* torrent = w->findChild<TorrentSearches*>();
    auto* emule = EmuleSources::of(w);
    auto* magnet = w->findChild<MagnetSearch*>();
    auto* cloud = w->findChild<CloudDiskSearch*>();
    auto* timer24 = child<QTimer>(w, "Timer24");
    if (!torrent || !emule || !magnet || !cloud || !timer24) {
        std::fprintf(stderr, "the window lacks a source controller\n");
        return 1;
    }
    timer24->setInterval(20);
    child<QLineEdit>(w, "Text2")->setText(QStringLiteral("ubuntu"));
    child<QLineEdit>(w, "Text4")->setText(QStringLiteral("1"));
    child<QLineEdit>(w, "Text16")->setText(QStringLiteral("电影"));
    child<QLineEdit>(w, "Text17")->setText(QStringLiteral("1"));
    child<QComboBox>(w, "Combo1")->setCurrentIndex(0);
    child<QLineEdit>(w, "Text21")->setText(QStringLiteral("ubuntu"));
    child<QLineEdit>(w, "Text1")->setText(QStringLiteral("电影"));
    child<QCheckBox>(w, "Check3")->setChecked(true);

    auto clickAndWait = [](QPushButton* button, auto* sender, auto signal) {
        if (!button || !button->isEnabled())
            return false;
        QEventLoop loop;
        bool ended = false;
        auto c = QObject::connect(sender, signal, &loop, [&] {
            ended = true;
            loop.quit();
        });
        QTimer::singleShot(kSearchTimeoutMs, &loop, &QEventLoop::quit);
        button->click();
        if (!ended)
            loop.exec();
        QObject::disconnect(c);
        return ended;
    };
    std::vector<Source> sources = {
        {"torrent index", "ListView2",
            [&] {
                return clickAndWait(
                    child<QPushButton>(w, "Command2(0)"), torrent, &TorrentSearches::searchEnded);
            }},
        {"eMule search", "ListView15",
            [&] {
                return clickAndWait(
                    child<QPushButton>(w, "Command27(12)"), emule, &EmuleSources::searchEnded);
            }},
        {"magnet site A", "ListView19",
            [&] {
                return clickAndWait(
                    child<QPushButton>(w, "Command21(3)"), magnet, &MagnetSearch::searchEnded);
            }},
        {"cloud disk (24 services)", "ListView1",
            [&] {
                return clickAndWait(child<QPushButton>(w, "Command1"), cloud, &CloudDiskSearch::searchEnded);
            }},
    };
    int failures = 0;
    auto runSearches = [&](int count) {
        for (int i = 0; i < count; ++i) {
            Source& s = sources[size_t(i) % sources.size()];
            if (!s.search())
                ++failures;
            // The sample server keeps a log of every request for tests;
            // it lives in this process and is no part of the program.
            bench.sites().clearRequests();
            ++s.searches;
            if (ResultList* list = findResultList(w, QLatin1String(s.list)))
                s.lastRows = list->rowCount();
        }
    };

    runSearches(warmUp);
    bench::runEventsFor(kSettleMs);
    const long baseline = bench::residentKiB();

    // The trend shows whether growth goes on with every search (a leak) or
    // levels off (working size reached).
    QElapsedTimer clock;
    clock.start();
    std::vector<long> trend;
    const int step = std::max(1, searches / 4);
    for (int done = 0; done < searches; done += step) {
        runSearches(std::min(step, searches - done));
        trend.push_back(bench::residentKiB());
    }
    const double seconds = double(clock.elapsed()) / 1000.0;
    bench::runEventsFor(kSettleMs);
    const long after = bench::residentKiB();

    const double growth = 100.0 * double(after - baseline) / double(baseline);
    const double growthFromStart = 100.0 * double(after - afterStart) / double(afterStart);
    for (const Source& s : sources)
        std::printf(
            "  %-26s %3d searches, %3d rows in its list after the last\n", s.name, s.searches, s.lastRows);
    std::printf("resident every %d searches (MiB):", step);
    for (long kib : trend)
        std::printf(" %.1f", kib / 1024.0);
    std::printf("\n");
    std::printf("searches that did not end in %d s: %d\n", kSearchTimeoutMs / 1000, failures);
    std::printf("resident after start:                 %7.1f MiB\n", afterStart / 1024.0);
    std::printf("resident after %3d warm-up searches:  %7.1f MiB  (baseline)\n", warmUp, baseline / 1024.0);
    std::printf("resident after %3d more searches:     %7.1f MiB  (%.1f s of searching)\n", searches,
        after / 1024.0, seconds);
    std::printf("growth against the baseline:          %+7.2f %%  (aim <= 5 %%)\n", growth);
    std::printf("growth against after start:           %+7.2f %%\n", growthFromStart);

    bench::result("memory: resident after start", afterStart / 1024.0, 1, "MiB", "window unlocked, 1 s idle");
    bench::result("memory: resident after warm-up (baseline)", baseline / 1024.0, 1, "MiB",
        bench::format("after %d searches", warmUp));
    bench::result("memory: resident after more searches", after / 1024.0, 1, "MiB",
        bench::format("%d searches; %+.2f %% vs baseline (aim <= 5 %%); %+.2f %% vs start%s", searches,
            growth, growthFromStart, failures ? "; SOME SEARCHES FAILED" : ""));
    return failures ? 1 : 0;
}
