// The announcement file of the vendor endpoint, read as the rotation reads it.
#include "fuzz_input.h"

#include "core/announcements.h"

using namespace lumorra;
using lumorra::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    in.byte();
    const QString text = in.text();
    const int count = announcementCount(text);
    require(count >= 0 && count <= kMaxAnnouncements);
    int shown = 0;
    for (int step = 0; step <= count + 1; ++step) {
        shown = nextAnnouncementNumber(shown, count);
        const Announcement a = announcementAt(text, shown);
        require(a.color.startsWith(u'#') && a.color.size() == 7);
    }
    return 0;
}
