// The cutting toolkit and the small text helpers. An indexed page must cut
// exactly what a plain scan cuts, piece by piece.
#include "fuzz_input.h"

#include "text/cut.h"
#include "text/fixed_length.h"
#include "text/number_text.h"
#include "text/preg.h"

using namespace lumorra;
using lumorra::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const uint8_t choice = in.byte() & 0x7f;
    const uint8_t number = in.byte();
    auto [marker, text] = in.twoTexts();

    switch (choice % 4) {
    case 0: {
        // Pieces of an indexed page against a plain scan, including the ones
        // just past the last occurrence.
        const CutPage page(text);
        const qsizetype count = page.count(marker);
        const QList<qsizetype> at = findOccurrences(text, marker);
        require(at.size() == count);
        for (qsizetype i = 1; i < at.size(); ++i)
            require(at[i] >= at[i - 1] + marker.size());
        for (qsizetype i = -1; i <= count + 1 && i < 64; ++i) {
            const Cut a = page.piece(marker, i);
            const Cut b = Cut(text).piece(marker, i);
            require(a.found() == b.found());
            require(a.view() == b.view());
        }
        break;
    }
    case 1: {
        // A chain as the sources write it.
        const Cut c = Cut(text).piece(marker, number).upToFirstCharOf(marker.right(2)).erase(u'<')
                          .replace(marker.left(1), u"x").trimSpaces().prefix(u"p").suffix(u"s");
        require(c.str().startsWith(u'p'));
        (void)Cut(text).before(marker).after(marker.left(number % 4)).before(QChar(number)).str();
        break;
    }
    case 2:
        // A pattern from the page's side of things: never a crash, whatever
        // it says.
        (void)preg(text, marker, QStringLiteral("$1"));
        break;
    default: {
        const int width = number * 3 - 20;
        const QString fixed = SetStringFixedLength(text, width);
        (void)ansiDisplayWidth(fixed);
        (void)leadingNumber(text);
        (void)isNumericText(text);
        break;
    }
    }
    return 0;
}
