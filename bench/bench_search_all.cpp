// The search over every keyword source against sample sites that each
// answer after their own delay (one server per site, so each has its own
// six connections, as separate hosts do), compared with each source alone;
// and the merging of many sources' rows.
//
// Printed: the whole search ÷ the slowest source alone (aim ≤ 1.1), the
// first merged rows ÷ the fastest source's first rows alone (aim ≤ 1.2),
// and merging 10 sources × 1,000 rows into the window's sorted table
// (aim ≤ 50 ms), with its cost per row
// at three times the rows beside it (linear: about the same).
//
//   bench_search_all [ROUNDS] [BASE_DELAY_MS]
#include "bench_result.h"
#include "delayed_sites.h"
#include "net/page_fetcher.h"
#include "sources/everywhere/merged_results.h"
#include "sources/everywhere/search_everywhere.h"
#include "sources/source_table.h"

#include "pages/everywhere/merged_results_model.h"

#include <QApplication>
#include "pages/everywhere/search_all_window.h"

#include <QTableView>
#include <QElapsedTimer>
#include <QEventLoop>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace lumorra;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct Timing {
    double wholeMs = 0;
    double firstRowsMs = -1;
    int rows = 0;
    int failed = 0;
};

Timing timeSearch(const QList<const SourceEntry*>& sources)
{
    SearchEverywhere search;
    QEventLoop loop;
    QElapsedTimer clock;
    Timing t;
    QObject::connect(&search, &SearchEverywhere::rowsAdded, [&] {
        if (t.firstRowsMs < 0)
            t.firstRowsMs = double(clock.nsecsElapsed()) / 1e6;
    });
    QObject::connect(&search, &SearchEverywhere::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    clock.start();
    search.start(QStringLiteral("ubuntu"), sources);
    loop.exec();
    t.wholeMs = double(clock.nsecsElapsed()) / 1e6;
    t.rows = search.results().size();
    t.failed = search.countIn(SourceRun::State::Failed);
    return t;
}

// `count` rows of one source, a third of them resources another source lists too.
QList<ListRow> syntheticRows(int sourceIndex, int count)
{
    QList<ListRow> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int resource = i % 3 == 0 ? i : sourceIndex * count + i;
        ListRow r(QString::number(i + 1));
        r.set(QStringLiteral("mc"), QStringLiteral("资源 %1 ubuntu-22.04.4-desktop-amd64.iso").arg(resource))
            .set(QStringLiteral("dx"), QStringLiteral("4.69 GB"))
            .set(QStringLiteral("fb"), QStringLiteral("2024-02-22"))
            .set(QStringLiteral("cl"), QStringLiteral("magnet:?xt=urn:btih:%1&amp;dn=x").arg(resource, 40, 16, QLatin1Char('0')));
        rows << r;
    }
    return rows;
}

// Merging `sources` × `rowsEach` rows, 100 rows a batch as engines send
// them, into the results window's table (sorted by name) until it is painted.
double timeMerging(const QList<const SourceEntry*>& sources, int rowsEach)
{
    std::vector<QList<ListRow>> batches;
    for (int s = 0; s < sources.size(); ++s) {
        const QList<ListRow> rows = syntheticRows(s, rowsEach);
        for (int at = 0; at < rows.size(); at += 100)
            batches.push_back(rows.mid(at, 100));
    }
    std::vector<double> runs;
    for (int round = 0; round < 5; ++round) {
        SearchAllWindow window;
        window.resize(1000, 640);
        window.show();
        auto* view = window.findChild<QTableView*>(QStringLiteral("searchAllResults"));
        view->sortByColumn(MergedResultsModel::Name, Qt::AscendingOrder);
        QCoreApplication::processEvents();
        SearchEverywhere& search = *window.everywhere();
        QElapsedTimer clock;
        clock.start();
        for (size_t b = 0; b < batches.size(); ++b)
            search.takeRows(*sources[int(b % size_t(sources.size()))], batches[b]);
        view->viewport()->repaint();
        QCoreApplication::processEvents();
        runs.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (view->model()->rowCount() == 0)
            std::fprintf(stderr, "no rows were shown\n");
    }
    return median(runs);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int baseDelay = argc > 2 ? std::atoi(argv[2]) : 150;
    PageFetcher::instance().setTimeoutMs(20000);

    QList<const SourceEntry*> sources;
    for (const SourceEntry& s : sourceTable())
        if (s.verb == SourceVerb::Search && s.create)
            sources << &s;

    QStringList roles;
    for (const SourceEntry* s : sources)
        if (!roles.contains(s->role))
            roles << s->role;
    bench::DelayedSites sites;
    if (!sites.start(roles, baseDelay, 40)) {
        std::fprintf(stderr, "cannot start a sample server\n");
        return 1;
    }

    double slowest = 0, fastestFirst = 1e18;
    QString slowestId, fastestId;
    for (const SourceEntry* s : sources) {
        std::vector<double> whole, first;
        Timing t;
        for (int r = 0; r < rounds; ++r) {
            t = timeSearch({s});
            whole.push_back(t.wholeMs);
            if (t.firstRowsMs >= 0)
                first.push_back(t.firstRowsMs);
        }
        const double w = median(whole);
        std::printf("%-14s alone: %7.1f ms, first rows %7.1f ms, %d rows%s\n", qPrintable(s->id), w,
                    first.empty() ? -1.0 : median(first), t.rows, t.failed ? " (failed)" : "");
        if (w > slowest) {
            slowest = w;
            slowestId = s->id;
        }
        if (!first.empty() && median(first) < fastestFirst) {
            fastestFirst = median(first);
            fastestId = s->id;
        }
    }
    std::vector<double> whole, first;
    Timing all;
    for (int r = 0; r < rounds; ++r) {
        all = timeSearch(sources);
        whole.push_back(all.wholeMs);
        first.push_back(all.firstRowsMs);
    }
    const double allMs = median(whole), allFirst = median(first);
    std::printf("every source : %7.1f ms, first rows %7.1f ms, %d merged rows, %d failed\n", allMs, allFirst,
                all.rows, all.failed);

    const double mergeMs = timeMerging(sources.mid(0, 10), 1000);
    const double mergeLargeMs = timeMerging(sources.mid(0, 10), 3000);
    std::printf("merging 10 x 1000 rows: %.2f ms; 10 x 3000 rows: %.2f ms\n", mergeMs, mergeLargeMs);

    bench::result("search all ÷ slowest source alone", allMs / slowest, 2, "ratio",
                  bench::format("%.0f / %.0f ms (%s); aim ≤ 1.1", allMs, slowest, qPrintable(slowestId)));
    bench::result("search all first rows ÷ fastest source's", allFirst / fastestFirst, 2, "ratio",
                  bench::format("%.0f / %.0f ms (%s); aim ≤ 1.2", allFirst, fastestFirst, qPrintable(fastestId)));
    bench::result("merging 10 sources x 1,000 rows, shown", mergeMs, 1, "ms",
                  bench::format("per row at 3,000 each ÷ at 1,000: %.2f; aim ≤ 50 ms, linear",
                                (mergeLargeMs / 30000) / (mergeMs / 10000)));
    return 0;
}
