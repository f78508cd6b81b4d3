#pragma once
// Page scaffolding the sample sites share: the plain UTF-8 page most of them
// serve, keywords echoed back as text, GBK pages and the 404 pages.
#include "sample_sites.h"

#include <string>

namespace lumorra {

// A UTF-8 HTML page with `title` in its head and `body` as its body.
std::string htmlPage(const std::string& title, const std::string& body);

// A keyword or name as a site shows it back: as text, never as markup.
std::string htmlEscape(const std::string& s);

// `html` (written here in UTF-8) sent as GBK bytes under the charset label the
// site uses ("gbk", "gb2312").
Answer gbkAnswer(const std::string& html, const std::string& charsetLabel);

// A 404 page whose heading repeats its title above one line of reason.
Answer missingPage(const std::string& title, const std::string& reason);

// The catch-all 404 page of a site: "页面不存在".
Answer pageNotFound();

// A stable 40-digit hex digest of a name, for the info hashes and Qvod
// hashes of sample records; upper- or lower-case hex.
std::string sampleDigest(const std::string& name, bool upperCase);

} // namespace lumorra
