// The search engine the cloud-disk search asks: /s?wd=site:HOST KEYWORD&pn=…
// answers a result page whose records stand as "title":"…" and "url":"…" in
// a JSON-like block of the page's script, the way the engine hands its
// results to its own page. A few demo keywords have shares on many of the
// services; any other keyword, host or page gets a page without records.
#include "page_html.h"
#include "routes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace lumorra {

namespace {

const char kRole[] = "CloudDiskSearch";

struct DiskSite {
    const char* host;
    const char* path;       // share path in front of the share id
    const char* titleForm;  // the page title the service gives a share; {} = share name
};

// The services' hosts, in the order of the program's service boxes, with
// the page titles each service gives its shares (as the engine indexed them).
const std::array<DiskSite, 24> kSites = {{
    {"pan.baidu.com", "/s/1", "{}_免费高速下载|百度网盘-分享无限制"},
    {"dl.dbank.com", "/c0", "{} - 华为网盘|资源共享平台"},
    {"kuai.xunlei.com", "/d/", "{} - 迅雷快传"},
    {"urlxf.qq.com", "/?", "{} - QQ旋风分享"},
    {"yunpan.cn", "/Q", "{} - 360云盘"},
    {"www.1000eb.com", "/", "{} - 1000eb网盘下载"},
    {"www.everbox.com", "/s/", "{} - 盛大网盘EverBox"},
    {"ishare.iask.sina.com.cn", "/f/", "{}_爱问共享资料"},
    {"download.csdn.net", "/detail/", "{}-CSDN下载"},
    {"www.kuaipan.cn", "/file/id_", "{} - 金山快盘"},
    {"www.qiannao.com", "/space/file/", "{} - 千脑网盘"},
    {"www.ctdisk.com", "/file/", "{} - 城通网盘"},
    {"www.400gb.com", "/file/", "{} - 400网盘免费下载"},
    {"www.namipan.com", "/d/", "{} - 纳米盘"},
    {"www.xunzai.com", "/file/", "{} - 迅载网盘"},
    {"www.gxp.cc", "/f/", "{} - 共享盘_网盘_网络硬盘"},
    {"www.yundisk.cn", "/s/", "{} - Yundisk.cn云盘分享"},
    {"wp.163.com", "/file/", "{} - 163网盘"},
    {"vdisk.weibo.com", "/s/", "{} - 微盘 VDISK.WEIBO.COM"},
    {"115.com", "/file/", "{} - 115网盘礼包"},
    {"www.126disk.com", "/fileview_", "{} - 126免费网络硬盘"},
    {"www.rayfile.com", "/zh-cn/files/", "{} - RayFile 下载"},
    {"www.kuniu.net", "/file/", "{} - 酷牛网盘"},
    {"pan.skycn.com", "/s/", "{} - 天空网盘"},
}};

// Second title forms, so a list shows the less common shapes a service's
// titles come in: Huawei's link page, a 1000eb share named by its Chinese
// name, and a weibo page that writes vdisk in lower case (no rule knows it,
// so the row takes the kind of the service it was found on).
const char* altTitleForm(size_t site)
{
    switch (site) {
    case 1: return "{}.rar 网盘|网盘资源|网盘外链|资源下载";
    case 5: return "{} - 千易网盘";
    case 18: return "{} | vdisk 新浪微盘";
    default: return nullptr;
    }
}

struct DemoKeyword {
    std::vector<std::string> keys;         // the keyword as typed (ASCII compared case-free)
    std::vector<int> sites;                // services that have shares of it
    std::vector<std::string> names;        // share names
};

const std::vector<DemoKeyword>& demoKeywords()
{
    static const std::vector<DemoKeyword> k = {
        {{"电影"},
         {0, 1, 2, 3, 4, 5, 7, 9, 11, 15, 16, 18, 19, 21},
         {"2013年度十大高分电影合集", "经典电影 1080P 蓝光原盘", "宫崎骏动画电影全集 国日双语",
          "电影配乐精选 无损音乐", "周星驰电影全集 国语中字", "漫威电影宇宙 观影顺序合集",
          "奥斯卡最佳影片 1929-2013", "法国电影新浪潮 十部"}},
        {{"教程"},
         {0, 1, 5, 7, 8, 10, 12, 13, 17, 19, 20, 22},
         {"Photoshop CS6 入门到精通视频教程", "Python 零基础教程 全套", "Excel 函数公式教程",
          "吉他入门教程 高清视频", "C语言程序设计教程 课件", "摄影后期教程 Lightroom",
          "华为手机刷机教程合集", "日语五十音图 入门教程"}},
        {{"ubuntu", "linux"},
         {0, 2, 6, 8, 9, 14, 16, 18, 21, 23},
         {"ubuntu-12.04-desktop-i386.iso", "ubuntu-13.04-server-amd64.iso",
          "Ubuntu 从入门到精通.pdf", "ubuntukylin-13.04-desktop-amd64.iso",
          "Ubuntu Linux 服务器配置手册.pdf", "鸟哥的Linux私房菜 基础篇.pdf"}},
    };
    return k;
}

std::string lowerAscii(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

const DemoKeyword* findKeyword(const std::string& keyword)
{
    const std::string lower = lowerAscii(keyword);
    for (const DemoKeyword& k : demoKeywords())
        for (const std::string& key : k.keys)
            if (lowerAscii(key) == lower)
                return &k;
    return nullptr;
}

int findSite(const std::string& host)
{
    for (size_t i = 0; i < kSites.size(); ++i)
        if (host == kSites[i].host)
            return int(i);
    return -1;
}

std::string fill(const char* form, const std::string& name)
{
    std::string out = form;
    const auto at = out.find("{}");
    if (at != std::string::npos)
        out.replace(at, 2, name);
    return out;
}

// A stable share id, so the same search always lists the same addresses.
std::string shareId(int site, const std::string& name, int page)
{
    std::uint32_t h = 2166136261u ^ std::uint32_t(site * 131 + page);
    for (unsigned char c : name)
        h = (h ^ c) * 16777619u;
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string id;
    for (int i = 0; i < 8; ++i) {
        id += digits[h % 36];
        h /= 36;
        if (h == 0)
            h = 2654435761u ^ std::uint32_t(i * 7 + site);
    }
    return id;
}

// For the echoed query inside the script block: no double quote may stand
// in it, so a typed keyword can never look like a record.
std::string escapeScript(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '"': out += "\\u0022"; break;
        case '\\': out += "\\\\"; break;
        case '<': out += "\\u003c"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

struct Record {
    std::string title;
    std::string url;
};

std::vector<Record> recordsFor(int site, const std::string& keyword, int page)
{
    std::vector<Record> out;
    const DemoKeyword* k = findKeyword(keyword);
    if (!k || site < 0 || page < 1 || page > 2)
        return out;
    if (std::find(k->sites.begin(), k->sites.end(), site) == k->sites.end())
        return out;
    const size_t n = k->names.size();
    // Every service has a few of the shares (the biggest one more); page 2
    // has the next ones.
    const size_t count = site == 0 ? 4 : 2 + size_t(site) % 3;
    const size_t first = size_t(site) * 3 + n - 2 + (page == 2 ? count : 0);
    for (size_t j = 0; j < count; ++j) {
        const std::string& name = k->names[(first + j) % n];
        const char* alt = altTitleForm(size_t(site));
        const char* form = (alt && j == 1) ? alt : kSites[size_t(site)].titleForm;
        out.push_back({fill(form, name),
                       "http://" + std::string(kSites[size_t(site)].host) + kSites[size_t(site)].path
                           + shareId(site, name, page)});
    }
    return out;
}

std::string resultPage(const std::string& query, int page, const std::vector<Record>& records)
{
    const std::string q = htmlEscape(query);
    std::string html =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
        "<title>" + q + "_搜索结果</title>\n"
        "<style>body{font:14px sans-serif;margin:20px 120px}.c-result{margin:14px 0}"
        ".c-result a{color:#2440b3}.c-showurl{color:#008000;font-size:13px}</style></head>\n<body>\n"
        "<form action=\"s\" method=\"get\"><input name=\"wd\" value=\"" + q + "\" size=\"60\">"
        "<input type=\"hidden\" name=\"ie\" value=\"utf-8\"> <button>搜索一下</button></form>\n"
        "<div id=\"content_left\">\n";
    if (records.empty()) {
        html += "<div class=\"nors\"><p>很抱歉，没有找到与<em>" + q
            + "</em>相关的网页。</p><p>温馨提示：请检查您的输入是否正确，或尝试其他关键词。</p></div>\n";
    } else {
        html += "<div class=\"nums\">为您找到相关结果约" + std::to_string(records.size()) + "个</div>\n";
        for (const Record& r : records)
            html += "<div class=\"c-result\"><h3><a href=\"" + htmlEscape(r.url) + "\" target=\"_blank\">"
                + htmlEscape(r.title) + "</a></h3><span class=\"c-showurl\">" + htmlEscape(r.url)
                + "</span></div>\n";
    }
    html += "</div>\n<script type=\"text/javascript\">\nvar bdsResult = {\"query\":\"" + escapeScript(query)
        + "\",\"pn\":" + std::to_string(page) + ",\"rn\":50,\"total\":" + std::to_string(records.size())
        + ",\"data\":[";
    for (size_t i = 0; i < records.size(); ++i) {
        html += i ? ",\n" : "\n";
        html += "{\"order\":" + std::to_string(i + 1) + ",\"title\":\"" + records[i].title + "\",\"url\":\""
            + records[i].url + "\",\"src\":\"disk\"}";
    }
    html += "]};\n</script>\n</body></html>\n";
    return html;
}

Answer searchAnswer(const SiteRequest& q)
{
    // wd is "site:HOST KEYWORD"; the keyword may hold blanks of its own.
    const std::string wd = q.param("wd");
    std::string host, keyword;
    if (wd.rfind("site:", 0) == 0) {
        const std::string rest = wd.substr(5);
        const auto space = rest.find(' ');
        host = rest.substr(0, space);
        if (space != std::string::npos)
            keyword = rest.substr(space + 1);
    } else {
        keyword = wd;
    }
    int page = 1;
    try {
        page = std::stoi(q.param("pn"));
    } catch (...) {
        page = 1;
    }
    return Answer::html(resultPage(wd, page, recordsFor(findSite(host), keyword, page)));
}

} // namespace

void addCloudDiskRoutes(SiteRouter& r)
{
    r.route(kRole, "/s", searchAnswer);
}

} // namespace lumorra
