// The cloud-disk result cutter and the classification of titles.
#include "fuzz_input.h"

#include "sources/clouddisk/cloud_disk_parse.h"

using namespace lumorra;
using lumorra::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    in.byte();
    const int service = int(in.byte() % 26) - 1;   // one beyond each end too
    const QString page = in.text();
    const int count = clouddisk::countRecords(page);
    const QList<clouddisk::CloudDiskRow> rows = clouddisk::cutRecords(page, service);
    // Rows only for records that exist.
    require(count >= 0 && rows.size() <= count);
    for (const clouddisk::CloudDiskRow& r : rows)
        (void)clouddisk::classifyTitle(r.title);
    (void)clouddisk::classifyTitle(page);
    return 0;
}
