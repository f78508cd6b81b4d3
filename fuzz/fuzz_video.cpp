// The online-video cutters: Qvod film and search sites, torrent tags, and
// the forum-address page of the player area.
#include "fuzz_input.h"

#include "sources/video/playback_parse.h"
#include "sources/video/qvod_film_parse.h"
#include "sources/video/qvod_search_parse.h"
#include "sources/video/torrent_tag_parse.h"
#include "text/cut.h"

using namespace lumorra;
using lumorra::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const uint8_t choice = in.byte() & 0x7f;
    const int number = in.byte();
    const CutPage page(in.text());
    const QString base = QStringLiteral("http://site");

    switch (choice % 6) {
    case 0:
        (void)cutQvodFilmRows(page, base, number * 131);
        (void)cutQvodFilmDetail(page.text(), base);
        break;
    case 1: {
        const int hits = number & 1 ? countQvodSearchCategoryHits(page.text()) : number * 131;
        (void)cutQvodSearchRows(page, qvodSearchCategoryRowMarker(), base, hits);
        break;
    }
    case 2: {
        // The keyword search: the pages it announces are asked for one by
        // one, and the total decides how many rows are cut.
        (void)isQvodSearchNoResult(page.text());
        const int total = qvodSearchAnnouncedTotal(page);
        (void)qvodSearchFurtherPages(qvodSearchAnnouncedPages(page));
        (void)cutQvodSearchRows(page, qvodSearchKeywordRowMarker(), base, total);
        break;
    }
    case 3:
        (void)cutQvodSearchDetail(page.text());
        break;
    case 4: {
        (void)hasTorrentTagRecords(page.text());
        const int hits = number & 1 ? countTorrentTagHits(page.text()) : number * 131;
        for (const TorrentTagRow& r : cutTorrentTagRows(page, hits))
            (void)torrentTagSize(r.size);
        (void)torrentTagSize(page.text());
        const QString hash = cutTorrentInfoHash(page.text());
        (void)magnetOfInfoHash(hash);
        break;
    }
    default:
        (void)forumAddressLinks(page.text());
        (void)isLivePortalAddress(page.text());
        break;
    }
    return 0;
}
