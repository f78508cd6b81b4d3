// The torrent index, RSS and film-resource cutters and the Qvod links of a
// film-resource detail page.
#include "fuzz_input.h"

#include "sources/torrent/film_resource_detail_parse.h"
#include "sources/torrent/film_resource_parse.h"
#include "sources/torrent/torrent_index_parse.h"
#include "sources/torrent/torrent_rss_parse.h"
#include "text/cut.h"

#include <QSet>

using namespace lumorra;
using lumorra::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const uint8_t choice = in.byte() & 0x7f;
    const int number = in.byte();
    const CutPage page(in.text());
    const QString base = QStringLiteral("http://site");

    switch (choice % 4) {
    case 0: {
        const int hits = number & 1 ? countTorrentIndexHits(page.text()) : number * 131;
        (void)cutTorrentIndexRows(page, base, hits);
        break;
    }
    case 1: {
        const int hits = number & 1 ? countTorrentRssHits(page.text()) : number * 131;
        (void)cutTorrentRssRows(page, hits);
        break;
    }
    case 2: {
        (void)isFilmResourceNoResult(page.text());
        const int announced = announcedFilmCount(page);
        (void)cutFilmResourceRows(page, base, number & 1 ? announced : number * 131);
        break;
    }
    default: {
        const QStringList links = collectQvodLinks(page.text());
        for (const QString& l : links)
            require(l.startsWith(QStringLiteral("qvod://")));
        require(links.size() == QSet<QString>(links.begin(), links.end()).size());
        break;
    }
    }
    return 0;
}
