#pragma once
// Addresses and cuts of the playback side of the online-video page: the
// cloud on-demand URL, the live channel pages, the forum-address page and
// the player's state texts.
#include <QString>
#include <QStringList>

#include <optional>

namespace lumorra {

// base + "/api.php?ed=1&url=" + link, the link appended as it is (the
// service reads it unescaped). The one place an on-demand address is built.
QString onDemandUrl(const QString& base, const QString& link);

// The ten live channels of List1, in list order.
inline constexpr int kLiveChannelCount = 10;
// base + the channel's page path; empty for an index outside 0 … 9.
QString liveChannelUrl(const QString& base, int index);
// A live page whose location names the provider's own live portal.
bool isLivePortalAddress(const QString& location);

// base + "/url.html".
QString forumAddressPageUrl(const QString& base);
// Links 2 … 7 of the forum-address page (the first is the page's own
// banner), six entries in all; an entry the page does not hold is empty.
QStringList forumAddressLinks(const QString& page);

// The player's state as the status label words it ("正在播放中.." for 3);
// nothing for a number outside 0 … 11.
std::optional<QString> playerStateText(int state);

} // namespace lumorra
