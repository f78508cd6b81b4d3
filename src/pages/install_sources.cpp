#include "pages/install_sources.h"

#include "lists/ed2k_extraction.h"
#include "pages/clouddisk/cloud_disk_search.h"
#include "pages/emule/emule_handlers.h"
#include "pages/film/film_detail.h"
#include "pages/film/film_listings.h"
#include "pages/torrent/bt_sources.h"
#include "pages/torrent/film_resource_detail.h"
#include "pages/torrent/magnet_search.h"
#include "pages/torrent/torrent_download.h"
#include "pages/torrent/torrent_search.h"
#include "pages/video/online_video_handlers.h"

namespace lumorra {

void installSources(QWidget* form1)
{
    installCloudDiskSearch(form1);
    installEmuleSources(form1);
    installEd2kExtraction(form1);
    installTorrentSearches(form1);
    installMagnetSearch(form1);
    installFilmResourceDetail(form1);
    installTorrentDownload(form1);
    installBtSources(form1);
    installFilmListings(form1);
    installFilmDetailView(form1);
    installOnlineVideo(form1);
}

} // namespace lumorra
