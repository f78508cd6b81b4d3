#include "page_html.h"

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

} // namespace lumorra
