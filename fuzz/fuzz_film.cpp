// The film listing cutter, a film's download link and the BT board post
// read into the film detail window.
#include "fuzz_input.h"

#include "sources/film/film_detail_parse.h"
#include "sources/film/film_list_parse.h"
#include "text/cut.h"

using namespace lumorra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const uint8_t choice = in.byte() & 0x7f;
    const int number = in.byte();
    const QString text = in.text();

    switch (choice % 3) {
    case 0:
        (void)cutFilmListRows(CutPage(text), QStringLiteral("http://site"), number % (kFilmCategoryCount + 2) - 1);
        break;
    case 1:
        (void)filmDownloadLink(text);
        break;
    default:
        (void)isReadable(cutFilmDetail(text));
        break;
    }
    return 0;
}
