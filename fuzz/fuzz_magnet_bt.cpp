// The magnet search cutters of both channels, the BT board and the BT film
// pages with their magnet link.
#include "fuzz_input.h"

#include "sources/torrent/bt_board_parse.h"
#include "sources/torrent/bt_film_parse.h"
#include "sources/torrent/magnet_search_parse.h"
#include "text/cut.h"

using namespace lumorra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const uint8_t choice = in.byte() & 0x7f;
    const int number = in.byte();
    const CutPage page(in.text());
    const QString base = QStringLiteral("http://site");

    switch (choice % 5) {
    case 0:
    case 1: {
        const auto channel = MagnetChannel(choice % 2);
        (void)isMagnetNoResult(channel, page.text());
        const int hits = number & 1 ? countMagnetHits(channel, page.text()) : number * 131;
        if (channel == MagnetChannel::SiteA)
            (void)cutMagnetSiteARows(page, hits);
        else
            for (const MagnetSiteBHit& hit : cutMagnetSiteBHits(page, base, hits))
                (void)magnetSiteBRow(hit, page.text());
        break;
    }
    case 2:
        (void)magnetSiteBDetailLink(page.text());
        break;
    case 3:
        (void)cutBoardPosts(page, base);
        break;
    default:
        (void)cutBtFilms(page, base);
        (void)cutBtFilmMagnet(page.text());
        break;
    }
    return 0;
}
