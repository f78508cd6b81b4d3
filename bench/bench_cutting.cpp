// Cutting five fields per record from pages of growing size. With every
// marker indexed once per page the time per 1000 records should stay flat
// as N grows; a quadratic cut would multiply it by ten at each step.
//
// Printed: the best of several rounds per size.
//
// Usage: bench_cutting [--plain]   (--plain adds the unindexed Cut(page)
// scan for the small pages, to show what the index saves)
#include "bench_result.h"
#include "text/cut.h"

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <map>

using lumorra::Cut;
using lumorra::CutPage;

namespace {

QString buildPage(int records)
{
    QString page;
    page.reserve(qsizetype(records) * 260 + 64);
    page += u"<html><body><table>\n";
    for (int i = 0; i < records; ++i) {
        const QString n = QString::number(i);
        page += u"<tr><td class=\"name\">Ubuntu 12.04 desktop <b>";
        page += n;
        page += u"</b></td><td class=\"date\">2012-04-";
        page += QString::number(i % 28 + 1);
        page += u"</td><td class=\"size\">";
        page += QString::number(100 + i % 900);
        page += u" MB</td><td><a href=\"/information/";
        page += n;
        page += u"\">info</a><a href=\"magnet:?xt=urn:btih:";
        page += n;
        page += u"&dn=ubuntu\">m</a></td></tr>\n";
    }
    page += u"</table></body></html>\n";
    return page;
}

struct Row {
    QString name, date, size, info, magnet;
};

// Returns the total length of the cut fields, so the work cannot be
// optimised away and a wrong cut shows as an odd chars/record figure.
template <typename Page>
qint64 cutAll(const Page& page, int records)
{
    qint64 sum = 0;
    for (int i = 1; i <= records; ++i) {
        Row r;
        r.name = page.piece(u"<td class=\"name\">", i).upToFirstCharOf(u"</td>").erase(u'<');
        r.date = page.piece(u"<td class=\"date\">", i).upToFirstCharOf(u"</td>").erase(u'<');
        r.size = page.piece(u"<td class=\"size\">", i).upToFirstCharOf(u"</td>").erase(u'<');
        r.info = page.piece(u"/information/", i).upToFirstCharOf(u"\"").erase(u'"').prefix(u"http://site/information/");
        r.magnet = page.piece(u"magnet:", i).upToFirstCharOf(u"\"").erase(u'"').prefix(u"magnet:");
        sum += r.name.size() + r.date.size() + r.size.size() + r.info.size() + r.magnet.size();
    }
    return sum;
}

} // namespace

int main(int argc, char** argv)
{
    const bool plain = argc > 1 && QByteArray(argv[1]) == "--plain";
    std::printf("%10s %12s %14s %12s %14s\n", "records", "page chars", "indexed ms", "ms/1000", "chars/record");
    std::map<int, double> perThousand;
    for (int n : {1000, 10000, 100000}) {
        const QString text = buildPage(n);
        // The best of several rounds (more for the quick small pages): the
        // machine may be busy with other work.
        const int rounds = n <= 1000 ? 20 : n <= 10000 ? 6 : 3;
        double ms = 0;
        qint64 checksum = 0, records = 0;
        for (int round = 0; round < rounds; ++round) {
            QElapsedTimer t;
            t.start();
            const CutPage page(text);   // fresh page: indexing is part of the cost
            checksum = cutAll(page, n);
            const double roundMs = t.nsecsElapsed() / 1e6;
            ms = round == 0 ? roundMs : std::min(ms, roundMs);
            records = page.count(u"magnet:?");
        }
        std::printf("%10d %12lld %14.2f %12.3f %14lld\n", n, static_cast<long long>(text.size()), ms,
                    ms / (n / 1000.0), static_cast<long long>(checksum / n));
        perThousand[n] = ms / (n / 1000.0);
        if (records != n)
            std::printf("  unexpected record count %lld\n", static_cast<long long>(records));
    }
    const double growth = perThousand[100000] / perThousand[1000];
    lumorra::bench::result("cutting 1k records: per 1000", perThousand[1000], 3, "ms", "the reference for the two below");
    lumorra::bench::result("cutting 10k records: per 1000", perThousand[10000], 3, "ms",
                           lumorra::bench::format("%.2f x the 1k figure", perThousand[10000] / perThousand[1000]));
    lumorra::bench::result("cutting 100k records: per 1000", perThousand[100000], 3, "ms",
                           lumorra::bench::format("%.2f x the 1k figure (aim ~1: linear)", growth));
    if (plain) {
        std::printf("\nunindexed Cut(page).piece for comparison:\n");
        for (int n : {1000, 3000}) {
            const QString text = buildPage(n);
            QElapsedTimer t;
            t.start();
            cutAll(Cut(text), n);
            const double ms = t.nsecsElapsed() / 1e6;
            std::printf("%10d %12lld %14.2f %12.3f\n", n, static_cast<long long>(text.size()), ms, ms / (n / 1000.0));
        }
    }
    return 0;
}
