// The sites.ini reader: any bytes load what they can and report the rest.
#include "fuzz_input.h"

#include "net/site_config.h"

#include <QByteArray>
#include <QStringList>

using namespace lumorra;
using lumorra::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QStringList problems;
    const SiteConfig config = SiteConfig::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), &problems);
    require(config.fetchTimeoutSeconds() > 0);
    for (const QString& role : SiteConfig::roles()) {
        // A base URL is kept without its trailing slash.
        const QString base = config.base(role);
        require(!base.endsWith(u'/'));
    }
    (void)config.unsetRoles();
    (void)config.mail().isComplete();
    return 0;
}
