#pragma once
// Addresses of the maker's files and pages that the shell uses. Each one is
// a role's base URL (sites.ini) followed by a fixed path, so the bundled
// sample sites can serve every one of them.
#include <QString>

namespace lumorra {

// VendorEndpoint + "/version/gx.txt": the name of the current release.
QString versionFileAddress();
// VendorEndpoint + "/data/gg.txt": the announcement file.
QString announcementFileAddress();
// MakerHomePage + "/": the maker's home page (status panel 6, the logo, the
// new-version notice).
QString makerHomePageAddress();
// VendorEndpoint + "/qun.html": the chat group's join page (panel 3).
QString chatGroupPageAddress();
// VendorEndpoint + "/jc.html": the settings tutorial.
QString tutorialPageAddress();
// VendorEndpoint + "/soft/brenn.html": the product page the share buttons
// recommend.
QString productPageAddress();
// LiveChannelHost + "/tb/tvpage.swf": the "同步跟播" channel shown at start.
QString startLiveChannelAddress();

// The release this build is, as the version file names it.
QString releaseName();          // "V2.3"
// major.minor.revision of the executable ("2.3.837").
QString versionNumberText();

} // namespace lumorra
