// The maker's endpoint: the version file the start-up check reads, the
// announcement file the news line rotates through, the pages its items link
// to, and the maker's own pages (home, forum, tutorial, chat group, product)
// that link labels open.
#include "page_html.h"
#include "routes.h"

#include <array>

namespace lumorra {

namespace {

const char kVendor[] = "VendorEndpoint";
const char kMaker[] = "MakerHomePage";

struct NewsItem {
    const char* title;
    const char* color;
    const char* body;
};

// Five items, as the news line expects. The second url and the third colour
// carry spaces around them, which the reader trims.
const std::array<NewsItem, 5> kNews = {{
    {"Brenn系列软件V2.3正式发布，欢迎下载使用", "red",
     "<p>V2.3 新增网盘资源分类与影视资源搜索，修复若干问题。</p>"},
    {"网盘搜索支持二十四家网盘，资源更全面", "blue",
     "<p>勾选需要的网盘，输入关键字即可一次搜索多家网盘的公开分享。</p>"},
    {"影视资源每日更新，精彩不断", "green",
     "<p>电影、电视剧、动漫资源每日更新，欢迎关注。</p>"},
    {"官方论坛改版上线，欢迎交流使用心得", "red",
     "<p>论坛新增软件交流与问题反馈版块。</p>"},
    {"使用教程：三步找到想要的资源", "blue",
     "<p>输入关键字、选择来源、点击搜索，右键结果即可复制或打开链接。</p>"},
}};

std::string announcementFile(const std::string& siteUrl)
{
    std::string out;
    for (size_t i = 0; i < kNews.size(); ++i) {
        const std::string url = siteUrl + "/news/" + std::to_string(i + 1) + ".html";
        const std::string color = kNews[i].color;
        out += "title:" + std::string(kNews[i].title) + "|";
        out += (i == 1) ? "url: " + url + " |" : "url:" + url + "|";
        out += (i == 2) ? "color: " + color + " |" : "color:" + color + "|";
        out += "\r\n";
    }
    return out;
}

struct MakerPage {
    const char* pattern;
    const char* title;
    const char* body;
};

const std::array<MakerPage, 5> kMakerPages = {{
    {R"(/(index\.html)?)", "Tessaly - Brenn系列软件",
     "<h1>Tessaly</h1><p>Brenn系列软件官方网站。</p>"
     "<ul><li><a href=\"{site}/soft/brenn.html\">Brenn系列软件下载</a></li>"
     "<li><a href=\"{site}/bbs/\">官方论坛</a></li><li><a href=\"{site}/jc.html\">视频教程</a></li>"
     "<li><a href=\"{site}/qun.html\">加入交流群</a></li></ul>"},
    {R"(/bbs(/|/index\.html)?)", "Tessaly官方论坛",
     "<h1>Tessaly官方论坛</h1><p>软件交流 · 问题反馈 · 资源分享</p>"},
    {R"(/jc\.html)", "Brenn系列软件视频教程",
     "<h1>视频教程</h1><p>三步找到想要的资源：输入关键字、选择来源、点击搜索。</p>"},
    {R"(/qun\.html)", "加入Tessaly交流群",
     "<h1>交流群</h1><p>欢迎加入Tessaly软件交流群，与大家分享使用心得。</p>"},
    {R"(/soft/brenn\.html)", "Brenn系列软件V2.3下载",
     "<h1>Brenn系列软件 V2.3</h1><p>免费下载，绿色安全。</p>"},
}};

} // namespace

void addVendorRoutes(SiteRouter& r)
{
    // The whole file is the version's name: no line break after it.
    r.page(kVendor, "/version/gx.txt", Answer::text("V2.3"));

    // Links point back at this server as the client reached it.
    r.route(kVendor, "/data/gg.txt",
            [](const SiteRequest& q) { return Answer::text(announcementFile(q.siteUrl())); });

    r.route(kVendor, R"(/news/(\d+)\.html)", [](const SiteRequest& q) {
        const std::string n = q.capture(1);
        for (size_t i = 0; i < kNews.size(); ++i)
            if (n == std::to_string(i + 1))
                return Answer::html(htmlPage(kNews[i].title,
                    "<h1>" + std::string(kNews[i].title) + "</h1>\n" + kNews[i].body));
        return missingPage("页面不存在", "该公告已删除或不存在。");
    });

    for (const char* role : {kVendor, kMaker})
        for (const MakerPage& p : kMakerPages)
            r.route(role, p.pattern, [p](const SiteRequest& q) {
                std::string body = p.body;
                for (size_t at; (at = body.find("{site}")) != std::string::npos;)
                    body.replace(at, 6, q.siteUrl());
                return Answer::html(htmlPage(p.title, body));
            });

    for (const char* role : {kVendor, kMaker})
        r.route(role, ".*", [](const SiteRequest&) { return pageNotFound(); });
}

} // namespace lumorra
