// The two magnet search sites. MagnetSiteA lists each hit as a file list
// followed by a metadata line (size, creation date, magnet link), with CRLF
// line ends as that site writes them. MagnetSiteB lists hits that link to
// detail pages; the magnet link of a hit is on its detail page.
//
// Demo keywords
//   MagnetSiteA: ubuntu (page 1: 3 hits, page 2: 2 hits, the second without
//                any "&" in its link), zero ("<strong>0</strong>个结果"),
//                anything else or a later page: "没有找到任何结果"
//   MagnetSiteB: ubuntu (page 1: 3 hits, one name wholly inside a font
//                element; page 2: 2 hits), linux (3 hits: the second detail
//                page answers after 1.5 s, the third drops the connection),
//                anything else or a later page: "<strong>0</strong>个结果"
#include "page_html.h"
#include "routes.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace lumorra {

namespace {

const char kSiteA[] = "MagnetSiteA";
const char kSiteB[] = "MagnetSiteB";

// A stable 40-digit info hash for a sample name.
std::string hashOf(const std::string& name)
{
    std::uint64_t h = 14695981039346656037ULL;
    std::string out;
    for (int round = 0; out.size() < 40; ++round) {
        for (unsigned char c : name) {
            h ^= c;
            h *= 1099511628211ULL;
        }
        h += std::uint64_t(round + 7) * 0x9E3779B97F4A7C15ULL;
        char buf[17];
        std::snprintf(buf, sizeof buf, "%016llX", static_cast<unsigned long long>(h));
        out += buf;
    }
    return out.substr(0, 40);
}

size_t pageNumber(const std::string& text)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::stoul(text);
}

std::string resultCount(size_t n)
{
    return "<div class=\"count\">共找到<strong>" + std::to_string(n) + "</strong>个结果</div>\r\n";
}

// ------------------------------------------------------------- MagnetSiteA

struct HitA {
    const char* name;
    const char* size;
    const char* created;
    bool trackers;   // the link carries "&dn=…&tr=…"
};

const std::map<std::string, std::vector<std::vector<HitA>>>& siteABook()
{
    static const std::map<std::string, std::vector<std::vector<HitA>>> book = {
        {"ubuntu",
         {{{"ubuntu-22.04.4-desktop-amd64.iso", "4.69 GB", "2024-02-22", true},
           {"ubuntu-23.10.1-desktop-amd64.iso", "5.05 GB", "2023-10-13", true},
           {"ubuntu-20.04.6-live-server-amd64.iso", "1.45 GB", "2023-03-23", true}},
          {{"kubuntu-22.04.4-desktop-amd64.iso", "4.12 GB", "2024-02-22", true},
           {"xubuntu-22.04.4-desktop-amd64.iso", "3.05 GB", "2024-02-22", false}}}},
    };
    return book;
}

std::string siteAHit(const HitA& h)
{
    const std::string hash = hashOf(h.name);
    std::string link = "magnet:?xt=urn:btih:" + hash;
    if (h.trackers)
        link += "&dn=" + std::string(h.name) + "&tr=udp://tracker.example.org:6969";
    return "<li class=\"m-item\">\r\n<ul class=\"m-files-ul\">\r\n<li>" + std::string(h.name)
        + "<span class=\"m-file-size\">" + h.size + "</span></li>\r\n<li>README.txt<span class=\"m-file-size\">1 KB"
          "</span></li>\r\n</ul>\r\n<p class=\"m-meta\">大小: " + h.size + "&nbsp;&nbsp;创建时间: " + h.created
        + "&nbsp;&nbsp;<a href=\"" + link + "\">磁力链接</a></p>\r\n</li>\r\n";
}

std::string siteAPage(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"><title>" + title
        + " - 磁力搜索</title></head>\r\n<body>\r\n" + body + "\r\n</body></html>\r\n";
}

void addSiteARoutes(SiteRouter& r)
{
    r.route(kSiteA, "/", [](const SiteRequest& q) {
        const std::string keyword = q.param("s");
        const std::string shown = htmlEscape(keyword);
        if (keyword == "zero")
            return Answer::html(siteAPage(shown, resultCount(0) + "<p>请尝试其他关键字。</p>"));
        const auto it = siteABook().find(keyword);
        const size_t page = pageNumber(q.param("p"));
        if (it == siteABook().end() || page < 1 || page > it->second.size())
            return Answer::html(siteAPage(shown, "<div class=\"m-none\">没有找到任何结果</div>"));
        size_t total = 0;
        for (const auto& p : it->second)
            total += p.size();
        std::string body = resultCount(total) + "<ul class=\"m-list\">\r\n";
        for (const HitA& h : it->second[page - 1])
            body += siteAHit(h);
        body += "</ul>\r\n<div class=\"m-page\">第" + std::to_string(page) + "页</div>";
        return Answer::html(siteAPage(shown, body));
    });

    r.route(kSiteA, ".*", [](const SiteRequest&) {
        return pageNotFound();
    });
}

// ------------------------------------------------------------- MagnetSiteB

enum class Detail { Normal, Slow, Dropped };

struct HitB {
    const char* name;        // as the anchor holds it (may hold font elements)
    const char* plainName;   // the name as text
    const char* published;
    Detail detail;
};

const std::map<std::string, std::vector<std::vector<HitB>>>& siteBBook()
{
    static const std::map<std::string, std::vector<std::vector<HitB>>> book = {
        {"ubuntu",
         {{{"<font color=\"red\">ubuntu</font>-22.04.4-desktop-amd64.iso", "ubuntu-22.04.4-desktop-amd64.iso",
            "2024-02-22", Detail::Normal},
           {"<font color=\"red\">ubuntu</font>", "ubuntu", "2024-01-09", Detail::Normal},
           {"Ubuntu 23.10 合集", "Ubuntu 23.10 合集", "2023-10-13", Detail::Normal}},
          {{"k<font color=\"red\">ubuntu</font>-22.04.4.iso", "kubuntu-22.04.4.iso", "2024-02-22", Detail::Normal},
           {"x<font color=\"red\">ubuntu</font>-22.04.4.iso", "xubuntu-22.04.4.iso", "2024-02-22", Detail::Normal}}}},
        {"linux",
         {{{"<font color=\"red\">linux</font>-6.8.tar.xz", "linux-6.8.tar.xz", "2024-03-10", Detail::Normal},
           {"<font color=\"red\">linux</font>-mint-21.3.iso", "linux-mint-21.3.iso", "2024-01-10", Detail::Slow},
           {"arch<font color=\"red\">linux</font>-2024.03.01.iso", "archlinux-2024.03.01.iso", "2024-03-01",
            Detail::Dropped}}}},
    };
    return book;
}

const HitB* findHitB(const std::string& hash)
{
    for (const auto& [kw, pages] : siteBBook())
        for (const auto& page : pages)
            for (const HitB& h : page)
                if (hashOf(h.plainName) == hash)
                    return &h;
    return nullptr;
}

std::string siteBPage(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title
        + " - 种子搜索</title></head>\n<body>\n" + body + "\n</body></html>\n";
}

std::string siteBHit(const HitB& h)
{
    return "<div class=\"search-item\">\n<div class=\"name\"><font class=\"type\">[文件]</font><a href=\"/detail/"
        + hashOf(h.plainName) + ".html\" target=\"_blank\">" + h.name
        + "</a></div>\n<div class=\"info\"><p>发布:" + h.published
        + "</p><p>热度:12</p></div>\n</div>\n";
}

void addSiteBRoutes(SiteRouter& r)
{
    r.route(kSiteB, R"(/search/([^/]+))", [](const SiteRequest& q) {
        const std::string keyword = q.capture(1);
        const std::string shown = htmlEscape(keyword);
        const auto it = siteBBook().find(keyword);
        const size_t page = pageNumber(q.param("page"));
        if (it == siteBBook().end() || page < 1 || page > it->second.size())
            return Answer::html(siteBPage(shown, resultCount(0) + "<p>换个关键字试试。</p>"));
        size_t total = 0;
        for (const auto& p : it->second)
            total += p.size();
        std::string body = resultCount(total);
        for (const HitB& h : it->second[page - 1])
            body += siteBHit(h);
        return Answer::html(siteBPage(shown, body));
    });

    r.route(kSiteB, R"(/detail/([0-9A-F]{40})\.html)", [](const SiteRequest& q) {
        const std::string hash = q.capture(1);
        const HitB* h = findHitB(hash);
        if (!h)
            return missingPage("资源不存在", "该资源已删除或不存在。");
        Answer a;
        if (h->detail == Detail::Dropped) {
            a.drop = true;
            return a;
        }
        const std::string body = "<h1>" + htmlEscape(h->plainName) + "</h1>\n<p>发布:" + h->published
            + "</p>\n<div class=\"download\"><a class=\"bnt-0 resource-download-name\"  data-download-type=\"1\" "
              "target='blank' href=\"magnet:?xt=urn:btih:"
            + hash + "&dn=" + h->plainName + "\">磁力下载</a></div>\n";
        a = Answer::html(siteBPage(htmlEscape(h->plainName), body));
        if (h->detail == Detail::Slow)
            a.delayMs = 1500;
        return a;
    });

    r.route(kSiteB, ".*", [](const SiteRequest&) {
        return pageNotFound();
    });
}

} // namespace

void addMagnetRoutes(SiteRouter& r)
{
    addSiteARoutes(r);
    addSiteBRoutes(r);
}

} // namespace lumorra
