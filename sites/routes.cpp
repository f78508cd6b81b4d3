#include "routes.h"

namespace lumorra {

void addAllRoutes(SiteRouter& r)
{
    addVendorRoutes(r);
    addEmuleRoutes(r);
    addCloudDiskRoutes(r);
    addTorrentRoutes(r);
    addLiveChannelRoutes(r);
    addMagnetRoutes(r);
    addShareRoutes(r);
    addVideoRoutes(r);
}

} // namespace lumorra
