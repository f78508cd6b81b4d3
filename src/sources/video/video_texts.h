#pragma once
// Texts the online-video sources share.
#include "net/page_fetcher.h"

#include <QString>

namespace lumorra {

// A listing or search page that did not arrive (fetch error, error status,
// empty body).
QString videoListingFailedText(const FetchResult& result);
// A detail page that did not arrive.
QString videoDetailFailedText(const FetchResult& result);
// A keyword search that listed what came, but `missed` of its further pages
// did not come; `reason` is why the first of them did not.
QString qvodSearchMissedPagesText(int missed, const QString& reason);
// The tag search found nothing: "抱歉!未找到任何资源..", followed by why no
// page came when `reason` is not empty.
QString torrentTagNothingFoundText(const QString& reason);
// A listing page that arrived without any record.
QString videoEmptyListingText();

// The message of a detail page that no longer offers its resource.
QString videoResourceGoneText();   // "抱歉!该资源已失效,请您获取其他资源"

// A film resource detail page read for its Qvod links: done, or not come.
QString filmResourceLinksDoneText();   // "种子提取完毕.."
QString filmResourceLinksFailedText(FetchError error);
QString filmResourceLinksFailedText(const FetchResult& result);

} // namespace lumorra
