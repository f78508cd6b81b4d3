// The eMule category and search cutters and the ed2k link of a detail page.
#include "fuzz_input.h"

#include "sources/emule/ed2k_link_parse.h"
#include "sources/emule/emule_category_parse.h"
#include "sources/emule/emule_search_parse.h"
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

    switch (choice % 4) {
    case 0: {
        const int count = countCategoryRecords(page);
        const QList<EmuleRecord> records = cutCategoryRecords(page, base, number);
        require(records.size() <= qMax(count, 0));
        break;
    }
    case 1:
        for (int i = -1; i <= number % 40; ++i)
            (void)cutCategoryRecord(page, i, base);
        (void)isIndexSearchNotFound(page.text());
        break;
    case 2: {
        // The count as the program keeps it (16 bits), or a larger one.
        const int hits = number & 1 ? countSearchSiteRecords(page) : number * 131;
        (void)cutSearchSiteRows(page, base, hits);
        break;
    }
    default:
        if (const std::optional<QString> link = firstEd2kLink(page.text()))
            require(link->startsWith(QStringLiteral("ed2k://")) && link->size() > 7);
        break;
    }
    return 0;
}
