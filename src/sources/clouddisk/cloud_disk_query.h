#pragma once
// The query side of the cloud-disk search: the input checks and the search
// engine address asked for each ticked service.
#include <QString>

namespace lumorra::clouddisk {

// The status text that stops a search before anything is cleared, in the
// order the checks are made (keyword present, at least two 16-bit units, at
// least one service ticked); empty when the search may start.
QString inputProblem(const QString& keyword, bool anyTicked);

// "正在为您搜索[" + keyword as typed + "]相关资源..".
QString searchingText(const QString& keyword);

// base + "/s?wd=site%3A" + host + "%20" + encodedKeyword + "&pn=" + pageText
// + "&rn=50&ie=utf-8&rsv_page=1". The host and the page number go in as they
// are; the keyword must already be encoded with encodeKeyword.
QString searchUrl(const QString& base, const QString& host, const QString& encodedKeyword,
                  const QString& pageText);

} // namespace lumorra::clouddisk
