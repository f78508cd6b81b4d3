#include "page_html.h"

#include <cstdint>
#include <cstdio>

namespace lumorra {

std::string htmlPage(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title
        + "</title></head>\n<body>\n" + body + "\n</body></html>\n";
}

std::string htmlEscape(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

Answer gbkAnswer(const std::string& html, const std::string& charsetLabel)
{
    return Answer::bytes(encodeText(html, "GBK"), "text/html; charset=" + charsetLabel);
}

Answer missingPage(const std::string& title, const std::string& reason)
{
    return Answer::html(htmlPage(title, "<h1>" + title + "</h1><p>" + reason + "</p>"), 404);
}

Answer pageNotFound()
{
    return missingPage("页面不存在", "您访问的页面不存在。");
}

std::string sampleDigest(const std::string& name, bool upperCase)
{
    std::uint64_t h = 1469598103934665603ULL;
    std::string out;
    for (int round = 0; out.size() < 40; ++round) {
        for (unsigned char c : name) {
            h ^= c;
            h *= 1099511628211ULL;
        }
        h ^= std::uint64_t(round + 1) * 0x9E3779B97F4A7C15ULL;
        char buf[17];
        std::snprintf(buf, sizeof buf, upperCase ? "%016llX" : "%016llx", static_cast<unsigned long long>(h));
        out += buf;
    }
    return out.substr(0, 40);
}

} // namespace lumorra
