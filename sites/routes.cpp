#include "routes.h"

namespace lumorra {

void addAllRoutes(SiteRouter& r)
{
    addVendorRoutes(r);
    addFilmRoutes(r);   // before the eMule index site's catch-all page
    addEmuleRoutes(r);
    addCloudDiskRoutes(r);
    addTorrentRoutes(r);
    addLiveChannelRoutes(r);
    addMagnetRoutes(r);
    addShareRoutes(r);
    addVideoRoutes(r);
}

} // namespace lumorra
