// Cutting five fields per record from pages of growing size. With every
// marker indexed once per page the time per 1000 records should stay flat
// as N grows; a quadratic cut would multiply it by ten at each step.
//
// Printed: the best of several rounds per size.
//
// The same page is then cut through the torrent index's site definition
// (the interpreted chains the program runs) beside the compiled chain above,
// which is exactly the cutter the program had before its sites became data;
// and the first reading of every shipped definition is timed, as start-up
// pays it once.
//
// Usage: bench_cutting [--plain]   (--plain adds the unindexed Cut(page)
// scan for the small pages, to show what the index saves)
#include "bench_result.h"
#include "sources/definitions/site_definitions.h"
#include "sources/torrent/torrent_index_parse.h"
#include "text/cut.h"

#include <QCoreApplication>
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

// The torrent index's cutter as it was compiled before its site became a
// definition: the same guards, the same chains, the same rows.
QList<lumorra::TorrentIndexRow> compiledRows(const CutPage& page, const QString& base, int hits)
{
    const QString name = QStringLiteral("<td class=\"name\">"), date = QStringLiteral("<td class=\"date\">"),
                  size = QStringLiteral("<td class=\"size\">"), info = QStringLiteral("/information/"),
                  magnet = QStringLiteral("magnet:");
    auto cell = [&](const QString& marker, int i) -> QString {
        return page.hasPiece(marker, i) ? page.piece(marker, i).upToFirstCharOf(u"</td>").erase(u'<').str() : QString();
    };
    auto link = [&](const QString& marker, int i, const QString& prefix) -> QString {
        return page.hasPiece(marker, i) ? page.piece(marker, i).upToFirstCharOf(u"\"").erase(u'"').prefix(prefix).str()
                                        : QString();
    };
    QList<lumorra::TorrentIndexRow> rows;
    hits = int(qMin<qsizetype>(hits, page.count(u"magnet:?")));
    rows.reserve(hits);
    const QString infoPrefix = base + info;
    for (int i = 1; i <= hits; ++i) {
        lumorra::TorrentIndexRow r;
        r.name = cell(name, i);
        r.date = cell(date, i);
        r.size = cell(size, i);
        r.infoUrl = link(info, i, infoPrefix);
        r.magnet = link(magnet, i, magnet);
        rows.append(std::move(r));
    }
    return rows;
}

// Best of `rounds` of cutting every record of `text` by the compiled cutter
// or through the definition.
double rowsMs(bool byDefinition, const QString& text, int records, int rounds, qint64* checksum)
{
    const lumorra::SiteDefinition& def = lumorra::siteDefinition(QStringLiteral("torrent-index"));
    const QString base = QStringLiteral("http://site");
    double best = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer t;
        t.start();
        const CutPage page(text);
        const QList<lumorra::TorrentIndexRow> rows = byDefinition ? lumorra::cutTorrentIndexRows(def, page, base, records)
                                                                  : compiledRows(page, base, records);
        qint64 sum = 0;
        for (const lumorra::TorrentIndexRow& r : rows)
            sum += r.name.size() + r.date.size() + r.size.size() + r.infoUrl.size() + r.magnet.size();
        const double ms = t.nsecsElapsed() / 1e6;
        best = round == 0 ? ms : std::min(best, ms);
        *checksum = sum;
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    const bool plain = argc > 1 && QByteArray(argv[1]) == "--plain";
    QCoreApplication app(argc, argv);   // the definitions' folder is found beside the program
    {
        // Before anything else reads them: the cold first reading.
        QElapsedTimer t;
        t.start();
        const qsizetype sites = lumorra::SiteDefinitions::current().all().size();
        const double ms = t.nsecsElapsed() / 1e6;
        std::printf("reading %lld site definitions: %.2f ms\n", static_cast<long long>(sites), ms);
        lumorra::bench::result("reading every site definition (once, at start-up)", ms, 2, "ms", "aim: within 20 ms");
    }
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
    for (int n : {1000, 10000}) {
        qint64 compiledSum = 0, definedSum = 0;
        const QString text = buildPage(n);
        const int rounds = n <= 1000 ? 40 : 10;
        // Alternated, so a busy moment of the machine weighs on both alike.
        double compiled = 0, defined = 0;
        for (int k = 0; k < 3; ++k) {
            const double c = rowsMs(false, text, n, rounds, &compiledSum) / (n / 1000.0);
            const double d = rowsMs(true, text, n, rounds, &definedSum) / (n / 1000.0);
            compiled = k == 0 ? c : std::min(compiled, c);
            defined = k == 0 ? d : std::min(defined, d);
        }
        std::printf("%10d rows: compiled %.3f ms/1000, by definition %.3f ms/1000 (%s)\n", n, compiled, defined,
                    compiledSum == definedSum ? "same rows" : "ROWS DIFFER");
        lumorra::bench::result(n == 1000 ? "torrent rows 1k, compiled cutter: per 1000" : "torrent rows 10k, compiled cutter: per 1000",
                               compiled, 3, "ms", "today's cutter, for the row below");
        lumorra::bench::result(n == 1000 ? "torrent rows 1k, by definition: per 1000" : "torrent rows 10k, by definition: per 1000",
                               defined, 3, "ms",
                               lumorra::bench::format("%.2f x the compiled cutter (aim <= 1.2)", defined / compiled));
    }
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
