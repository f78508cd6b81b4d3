// Live channels: ten channel pages the online-video page shows in its
// embedded browser. The real host serves a player object under these
// names; the sample pages are plain HTML so the embedded browser renders
// something meaningful at start.
#include "routes.h"

#include <array>

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

} // namespace

void addLiveChannelRoutes(SiteRouter& r)
{
    for (const Channel& c : kChannels)
        r.page("LiveChannelHost", c.path, Answer::html(channelPage(c.name)));
}

} // namespace lumorra
