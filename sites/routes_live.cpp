// Playback pages: the ten live channels the online-video page shows in its
// embedded browser (plain HTML here, where the real host serves a player
// object), the provider's live portal page, the cloud on-demand service
// (a page that plays the sample clip for any link) with the clip itself,
// and the forum-address page (seven links; three under /short for the
// short case).
#include "page_html.h"
#include "routes.h"
#include "sample_media.h"

#include <array>
#include <cctype>
#include <string>

namespace lumorra {

namespace {

struct Channel {
    const char* path;
    const char* name;
};

const std::array<Channel, 10> kChannels = {{
    {"/qxk/tvpage.swf", "抢先看"},
    {"/dsj/tvpage.swf", "电视剧"},
    {"/tb/tvpage.swf", "同步跟播"},
    {"/zy/tvpage.swf", "综艺频道"},
    {"/dm/tvpage.swf", "动漫频道"},
    {"/music/tvpage.swf", "音乐频道"},
    {"/sp/tvpage.swf", "在线视频"},
    {"/gx/tvpage.swf", "搞笑频道"},
    {"/xp/tvpage.swf", "小品频道"},
    {"/vip/1.swf", "VIP免费频道"},
}};

std::string channelPage(const std::string& name)
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + name
        + "</title><style>body{margin:0;font-family:sans-serif;background:#111;color:#eee}"
          "header{padding:10px 16px;background:#2a6ebb;font-size:18px}"
          "main{padding:24px 16px}li{margin:6px 0}</style></head>\n<body>\n<header>" + name
        + " · 直播</header>\n<main><p>正在播放：" + name
        + "精选节目</p><ul><li>19:30 精彩推荐</li><li>21:00 热播剧场</li>"
          "<li>23:00 午夜影院</li></ul></main>\n</body></html>\n";
}

// The on-demand service's player page: it names the link it was given and
// plays the sample clip in its place.
std::string onDemandPage(const std::string& link, const std::string& clipUrl)
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Tessaly云点播</title>"
           "<style>body{margin:0;background:#000;color:#ddd;font-family:sans-serif}"
           "p{margin:8px 12px;word-break:break-all}video{display:block;width:100%;max-height:480px}</style>"
           "</head>\n<body>\n<p>正在云点播：<span id=\"link\">" + htmlEscape(link) + "</span></p>\n"
           "<video id=\"player\" src=\"" + clipUrl + "\" autoplay muted controls></video>\n</body></html>\n";
}

// The link of an on-demand request: everything after "url=" (the program
// appends the link unescaped, so it may hold '?', '&' and '='), with the
// browser's %XX escapes undone.
std::string onDemandLink(const std::string& query)
{
    const std::string key = "url=";
    size_t at = std::string::npos;
    if (query.compare(0, key.size(), key) == 0) {
        at = key.size();
    } else if (const size_t amp = query.find("&" + key); amp != std::string::npos) {
        at = amp + 1 + key.size();
    }
    if (at == std::string::npos)
        return {};
    std::string out;
    for (size_t i = at; i < query.size(); ++i) {
        const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
        if (query[i] == '%' && i + 2 < query.size() && hex(query[i + 1]) && hex(query[i + 2])) {
            out += char(std::stoi(query.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += query[i];
        }
    }
    return out;
}

std::string forumPage(int links)
{
    std::string body = "<p><a href=\"http://203.0.113.10/\">Tessaly论坛</a></p>\n<ul>\n";
    for (int i = 2; i <= links; ++i)
        body += "<li><a href=\"http://203.0.113." + std::to_string(10 + i) + ":8080/\">论坛地址" + std::to_string(i - 1)
            + "</a></li>\n";
    body += "</ul>";
    return htmlPage("论坛最新地址", body);
}

} // namespace

void addLiveChannelRoutes(SiteRouter& r)
{
    for (const Channel& c : kChannels)
        r.page("LiveChannelHost", c.path, Answer::html(channelPage(c.name)));
    r.page("LiveChannelHost", "/zhibo.html", Answer::html(htmlPage("直播频道", "<h1>直播频道</h1><p>更多精彩直播。</p>")));

    r.route("OnDemandService", "/api.php", [](const SiteRequest& q) {
        return Answer::html(onDemandPage(onDemandLink(q.query), q.siteUrl() + "/clip/sample.webm"));
    });
    r.page("OnDemandService", "/clip/sample.webm", Answer::bytes(std::string(sampleClipBytes()), "video/webm"));

    r.page("ForumAddressPage", "/url.html", Answer::html(forumPage(7)));
    r.page("ForumAddressPage", "/short/url.html", Answer::html(forumPage(3)));
}

} // namespace lumorra
