#pragma once
// Every source family registers its sample pages here, one function per
// family, each in its own routes_<family>.cpp (see sample_sites.h).
#include "sample_sites.h"

namespace lumorra {

void addVendorRoutes(SiteRouter& r);   // VendorEndpoint, MakerHomePage
void addEmuleRoutes(SiteRouter& r);    // EmuleIndexSite, EmuleSearchSite
void addCloudDiskRoutes(SiteRouter& r);   // CloudDiskSearch
void addTorrentRoutes(SiteRouter& r);   // TorrentIndexSite, TorrentRssSite, FilmResourceSite
void addLiveChannelRoutes(SiteRouter& r);   // LiveChannelHost, OnDemandService, ForumAddressPage
void addVideoRoutes(SiteRouter& r);   // QvodFilmSite, QvodSearchSite, TorrentTagSite
void addMagnetRoutes(SiteRouter& r);   // MagnetSiteA, MagnetSiteB
void addShareRoutes(SiteRouter& r);   // ShareEndpoint
void addFilmRoutes(SiteRouter& r);   // BtBoardSite, FilmListSite, EmuleIndexSite's BT films

// All of them, in order; called once per SampleSites.
void addAllRoutes(SiteRouter& r);

} // namespace lumorra
