// The torrent index site (keyword search, one table row per torrent, an
// information page per torrent), the torrent RSS site (one feed per keyword,
// torrent files behind the enclosures) and the film resource site (a keyword
// search listing films with their update date and region, a detail page per
// film with its two Qvod links, one of them in an href and repeated at the
// foot, served in GBK as such sites are).
//
// Demo keywords
//   torrent index: ubuntu (pages 1-3), 电影 (page 1), linux (pages 1-2)
//   torrent RSS:   ubuntu, 电影
//   film resource: 电影 (announces 45 films: 30 on page 1, 15 on page 2),
//                  星际 (3 films), anything else: "没有符合属性的影片"
#include "page_html.h"
#include "routes.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace lumorra {

namespace {

const char kIndex[] = "TorrentIndexSite";
const char kRss[] = "TorrentRssSite";
const char kFilm[] = "FilmResourceSite";

// ------------------------------------------------------------ torrent index

struct Torrent {
    const char* name;
    const char* date;
    const char* size;
};

// keyword -> pages -> torrents
const std::map<std::string, std::vector<std::vector<Torrent>>>& torrentIndexBook()
{
    static const std::map<std::string, std::vector<std::vector<Torrent>>> book = {
        {"ubuntu",
         {{{"ubuntu-22.04.4-desktop-amd64.iso", "2024-02-22", "4.69 GB"},
           {"ubuntu-22.04.4-live-server-amd64.iso", "2024-02-22", "2.04 GB"},
           {"ubuntu-23.10.1-desktop-amd64.iso", "2023-10-13", "5.05 GB"},
           {"ubuntu-20.04.6-desktop-amd64.iso", "2023-03-23", "4.05 GB"},
           {"ubuntu-24.04-beta-desktop-amd64.iso", "2024-04-11", "5.71 GB"}},
          {{"kubuntu-22.04.4-desktop-amd64.iso", "2024-02-22", "4.12 GB"},
           {"xubuntu-22.04.4-desktop-amd64.iso", "2024-02-22", "3.05 GB"},
           {"lubuntu-22.04.4-desktop-amd64.iso", "2024-02-22", "2.88 GB"},
           {"ubuntu-mate-22.04.4-desktop-amd64.iso", "2024-02-22", "3.91 GB"},
           {"ubuntu-budgie-22.04.4-desktop-amd64.iso", "2024-02-22", "3.76 GB"}},
          {{"ubuntu-18.04.6-desktop-amd64.iso", "2021-09-17", "2.37 GB"},
           {"ubuntu-16.04.7-desktop-amd64.iso", "2020-08-13", "1.61 GB"},
           {"ubuntustudio-22.04.4-dvd-amd64.iso", "2024-02-22", "5.33 GB"}}}},
        {"电影",
         {{{"流浪地球2.2023.HD1080P.国语中字.mp4", "2023-04-05", "3.21 GB"},
           {"满江红.2023.HD1080P.国语中字.mp4", "2023-04-12", "2.86 GB"},
           {"独行月球.2022.HD1080P.国语中字.mkv", "2022-10-08", "2.52 GB"},
           {"长津湖.2021.HD1080P.国语中字.mkv", "2021-12-01", "4.37 GB"}}}},
        {"linux",
         {{{"debian-12.5.0-amd64-DVD-1.iso", "2024-02-10", "3.72 GB"},
           {"Fedora-Workstation-Live-x86_64-39.iso", "2023-11-07", "2.13 GB"},
           {"archlinux-2024.03.01-x86_64.iso", "2024-03-01", "1.04 GB"}},
          {{"linuxmint-21.3-cinnamon-64bit.iso", "2024-01-10", "2.86 GB"},
           {"openSUSE-Leap-15.5-DVD-x86_64.iso", "2023-06-07", "4.03 GB"}}}},
    };
    return book;
}

std::string torrentIndexRow(const std::string& site, const Torrent& t)
{
    const std::string hash = sampleDigest(t.name, false);
    return "<tr>\n<td class=\"name\">" + std::string(t.name) + "</td>\n<td class=\"date\">" + t.date
        + "</td>\n<td class=\"size\">" + t.size + "</td>\n<td class=\"link\"><a href=\"" + site
        + "/information/" + hash + "\" target=\"_blank\">详情</a> <a href=\"magnet:?xt=urn:btih:"
        + hash + "\">磁力链接</a></td>\n</tr>\n";
}

std::string torrentIndexPage(const std::string& site, const std::string& rawKeyword,
                             const std::vector<Torrent>* torrents, size_t page, size_t pages)
{
    const std::string keyword = htmlEscape(rawKeyword);
    std::string body = "<h1>种子搜索</h1>\n<p class=\"kw\">关键字：" + keyword + "</p>\n";
    if (!torrents || torrents->empty()) {
        body += "<p class=\"empty\">没有找到与“" + keyword + "”相关的种子，请更换关键字重试。</p>\n";
        return htmlPage("种子搜索 - " + keyword, body);
    }
    body += "<table class=\"result\">\n<tr><th>名称</th><th>日期</th><th>大小</th><th>链接</th></tr>\n";
    for (const Torrent& t : *torrents)
        body += torrentIndexRow(site, t);
    body += "</table>\n<p class=\"pages\">第 " + std::to_string(page) + " 页，共 " + std::to_string(pages)
        + " 页</p>\n";
    return htmlPage("种子搜索 - " + keyword, body);
}

const Torrent* findTorrent(const std::string& hash)
{
    for (const auto& [kw, pages] : torrentIndexBook())
        for (const auto& page : pages)
            for (const Torrent& t : page)
                if (sampleDigest(t.name, false) == hash)
                    return &t;
    return nullptr;
}

void addTorrentIndexRoutes(SiteRouter& r)
{
    r.route(kIndex, R"(/search/([^/]+)/([^/]*))", [](const SiteRequest& q) {
        const std::string keyword = q.capture(1);
        const auto& book = torrentIndexBook();
        const auto it = book.find(keyword);
        size_t page = 0;
        const std::string p = q.capture(2);
        if (!p.empty() && p.size() < 4 && p.find_first_not_of("0123456789") == std::string::npos)
            page = std::stoul(p);
        const std::vector<Torrent>* torrents = nullptr;
        size_t pages = 0;
        if (it != book.end()) {
            pages = it->second.size();
            if (page >= 1 && page <= pages)
                torrents = &it->second[page - 1];
        }
        return Answer::html(torrentIndexPage(q.siteUrl(), keyword, torrents, page, pages));
    });

    r.route(kIndex, R"(/information/([0-9a-f]{40}))", [](const SiteRequest& q) {
        const std::string hash = q.capture(1);
        const Torrent* t = findTorrent(hash);
        if (!t)
            return missingPage("种子不存在", "该种子已删除或不存在。");
        const std::string body = "<h1>" + std::string(t->name) + "</h1>\n<ul>\n<li>大小：" + t->size
            + "</li>\n<li>日期：" + t->date + "</li>\n<li>特征码：" + hash
            + "</li>\n</ul>\n<p><a href=\"magnet:?xt=urn:btih:" + hash + "\">磁力链接</a></p>\n";
        return Answer::html(htmlPage(t->name, body));
    });

    r.route(kIndex, ".*", [](const SiteRequest&) {
        return pageNotFound();
    });
}

// -------------------------------------------------------------- torrent RSS

struct RssItem {
    const char* title;
    const char* size;
    const char* date;
};

const std::map<std::string, std::vector<RssItem>>& rssBook()
{
    static const std::map<std::string, std::vector<RssItem>> book = {
        {"ubuntu",
         {{"Ubuntu 22.04.4 LTS Desktop amd64", "4.69 GB", "Thu, 22 Feb 2024 18:20:00 +0000"},
          {"Ubuntu 23.10.1 Desktop amd64", "5.05 GB", "Fri, 13 Oct 2023 09:45:00 +0000"},
          {"Ubuntu 22.04.4 LTS Server amd64", "2.04 GB", "Thu, 22 Feb 2024 18:25:00 +0000"},
          {"Ubuntu 20.04.6 LTS Desktop amd64", "4.05 GB", "Thu, 23 Mar 2023 11:10:00 +0000"}}},
        {"电影",
         {{"流浪地球2 (2023) 1080P 国语中字", "3.21 GB", "Wed, 05 Apr 2023 08:00:00 +0800"},
          {"满江红 (2023) 1080P 国语中字", "2.86 GB", "Wed, 12 Apr 2023 08:00:00 +0800"},
          {"独行月球 (2022) 1080P 国语中字", "2.52 GB", "Sat, 08 Oct 2022 08:00:00 +0800"}}},
    };
    return book;
}

std::string rssFeed(const std::string& site, const std::string& rawKeyword)
{
    const std::string keyword = htmlEscape(rawKeyword);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\">\n<channel>\n"
                      "<title>种子订阅 - " + keyword + "</title>\n<link>" + site + "/</link>\n"
                      "<description>关键字“" + keyword + "”的种子</description>\n";
    const auto it = rssBook().find(rawKeyword);
    if (it != rssBook().end()) {
        for (const RssItem& item : it->second) {
            const std::string hash = sampleDigest(item.title, false);
            out += "<item>\n<title><![CDATA[" + std::string(item.title) + "]]></title>\n"
                   "<description><![CDATA[<b>Size: " + item.size + "</b> 种子特征码：" + hash + "]]></description>\n"
                   "<enclosure url=\"" + site + "/torrent/" + hash + ".torrent\" length=\"20480\" "
                   "type=\"application/x-bittorrent\" />\n<pubDate>" + item.date + "</pubDate>\n</item>\n";
        }
    }
    out += "</channel>\n</rss>\n";
    return out;
}

void addTorrentRssRoutes(SiteRouter& r)
{
    r.route(kRss, R"(/rss/([^/]+)/)", [](const SiteRequest& q) {
        return Answer::bytes(rssFeed(q.siteUrl(), q.capture(1)), "application/rss+xml; charset=utf-8");
    });

    // A small single-file torrent (bencoded) behind each enclosure.
    r.route(kRss, R"(/torrent/([0-9a-f]{40})\.torrent)", [](const SiteRequest& q) {
        const std::string name = q.capture(1) + ".iso";
        const std::string info = "d6:lengthi20480e4:name" + std::to_string(name.size()) + ":" + name
            + "12:piece lengthi16384e6:pieces40:" + std::string(40, 'x') + "e";
        const std::string announce = q.siteUrl() + "/announce";
        return Answer::bytes("d8:announce" + std::to_string(announce.size()) + ":" + announce + "4:info"
                                 + info + "e",
                             "application/x-bittorrent");
    });

    r.route(kRss, ".*", [](const SiteRequest&) {
        return pageNotFound();
    });
}

// ------------------------------------------------------------ film resource

struct Film {
    std::string title;
    std::string date;
    int region;
    int id;
};

const char* const kRegions[] = {"大陆", "香港", "台湾", "美国", "韩国", "日本"};
constexpr int kRegionCount = int(sizeof kRegions / sizeof kRegions[0]);

// keyword -> (announced count, films in site order, 30 per page)
struct FilmSearch {
    int announced;
    std::vector<Film> films;
};

const std::map<std::string, FilmSearch>& filmBook()
{
    static const std::map<std::string, FilmSearch> book = [] {
        std::map<std::string, FilmSearch> b;
        static const char* const names[] = {
            "流浪地球2", "满江红", "独行月球", "长津湖", "你好，李焕英", "我和我的祖国", "八佰",
            "中国机长", "误杀", "人生大事", "奇迹·笨小孩", "万里归途", "隐入尘烟", "消失的她",
            "封神第一部"};
        static const char* const cuts[] = {"", "(国语版)", "(蓝光高清)"};
        FilmSearch movies;
        movies.announced = 45;
        for (int i = 0; i < 45; ++i) {
            char date[16];
            std::snprintf(date, sizeof date, "2024-03-%02d", 28 - (i % 28));
            movies.films.push_back({std::string(names[i % 15]) + cuts[i / 15], date, i % kRegionCount,
                                    800 + i});
        }
        b["电影"] = movies;
        FilmSearch stars;
        stars.announced = 3;
        stars.films = {{"星际穿越", "2024-02-18", 3, 901}, {"星际迷航", "2024-01-06", 3, 902},
                       {"星际宝贝", "2023-12-24", 3, 903}};
        b["星际"] = stars;
        return b;
    }();
    return book;
}

constexpr size_t kFilmsPerPage = 30;

const Film* findFilm(int id)
{
    for (const auto& [kw, search] : filmBook())
        for (const Film& f : search.films)
            if (f.id == id)
                return &f;
    return nullptr;
}

std::string filmPage(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html>\n<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
           "charset=gb2312\"><title>"
        + title + " - 影视资源网</title></head>\n<body>\n" + body + "\n</body></html>\n";
}

// The film site labels its GBK pages gb2312.
Answer filmAnswer(const std::string& html)
{
    return gbkAnswer(html, "gb2312");
}

std::string filmNoResultPage(const std::string& keyword)
{
    return filmPage("搜索结果", "<div class=\"search\">搜索“" + htmlEscape(keyword)
                                    + "”：</div>\n<div class=\"none\">对不起，没有符合属性的影片！</div>");
}

std::string filmResultPage(const std::string& keyword, const FilmSearch& search, size_t page)
{
    std::string body = "<div class=\"search\">搜索“" + htmlEscape(keyword) + "”：共有 " + std::to_string(search.announced)
        + " 部影片，第 " + std::to_string(page) + " 页</div>\n<table class=\"list\">\n";
    const size_t first = (page - 1) * kFilmsPerPage;
    for (size_t i = first; i < search.films.size() && i < first + kFilmsPerPage; ++i) {
        const Film& f = search.films[i];
        body += "<tr>\n<td class=\"l1\"><a href=\"detail.asp?ID=" + std::to_string(f.id)
            + "\" target=\"_blank\" title=\"" + f.title + "\">" + f.title + "</a></td>\n<td class=\"l6 \">"
            + f.date + "</td>\n<td class=\"l4\"><a href=\"index.asp?RegionID=" + std::to_string(f.region + 1)
            + "\">" + kRegions[f.region] + "</a></td>\n</tr>\n";
    }
    body += "</table>";
    return filmPage("搜索结果", body);
}

std::string filmDetailPage(const Film& f)
{
    // As the site writes them: the first part's anchor repeats its link in
    // the href, the second part's anchor does not, and the download box at
    // the foot repeats the first part's link.
    std::string links[2];
    for (int part = 1; part <= 2; ++part)
        links[part - 1] = "qvod://" + std::to_string(700000000 + f.id * 10 + part) + "|"
            + sampleDigest(f.title + std::to_string(part), false) + "|" + f.title + "_" + std::to_string(part) + ".rmvb|";
    std::string body = "<h1>" + f.title + "</h1>\n<p>更新时间：" + f.date + "　地区：" + kRegions[f.region]
        + "</p>\n<ul class=\"qvod\">\n";
    body += "<li><a href=\"" + links[0] + "\" class=\"play\">" + links[0] + "</a></li>\n";
    body += "<li><a href=\"#\" class=\"play\">" + links[1] + "</a></li>\n";
    body += "</ul>\n<div class=\"down\">下载地址：<a href=\"#\">" + links[0] + "</a></div>";
    return filmPage(f.title, body);
}

void addFilmResourceRoutes(SiteRouter& r)
{
    r.route(kFilm, R"(/index\.asp)", [](const SiteRequest& q) {
        const std::string keyword = q.param("keyword");
        if (!q.param("RegionID").empty() && keyword.empty())
            return filmAnswer(filmPage("地区分类", "<div class=\"none\">对不起，没有符合属性的影片！</div>"));
        const std::string p = q.param("page");
        size_t page = 0;
        if (!p.empty() && p.size() < 4 && p.find_first_not_of("0123456789") == std::string::npos)
            page = std::stoul(p);
        const auto it = filmBook().find(keyword);
        if (it == filmBook().end() || page < 1 || (page - 1) * kFilmsPerPage >= it->second.films.size())
            return filmAnswer(filmNoResultPage(keyword));
        return filmAnswer(filmResultPage(keyword, it->second, page));
    });

    r.route(kFilm, R"(/detail\.asp)", [](const SiteRequest& q) {
        // The program's detail addresses end in a blank after the id.
        std::string id = q.param("ID");
        while (!id.empty() && id.back() == ' ')
            id.pop_back();
        const Film* f = nullptr;
        if (!id.empty() && id.size() < 6 && id.find_first_not_of("0123456789") == std::string::npos)
            f = findFilm(std::stoi(id));
        if (!f) {
            Answer a = filmAnswer(filmPage("影片不存在", "<div class=\"none\">影片不存在或已删除。</div>"));
            a.status = 404;
            return a;
        }
        return filmAnswer(filmDetailPage(*f));
    });

    r.route(kFilm, ".*", [](const SiteRequest&) {
        Answer a = filmAnswer(filmPage("页面不存在", "<div class=\"none\">您访问的页面不存在。</div>"));
        a.status = 404;
        return a;
    });
}

} // namespace

void addTorrentRoutes(SiteRouter& r)
{
    addTorrentIndexRoutes(r);
    addTorrentRssRoutes(r);
    addFilmResourceRoutes(r);
}

} // namespace lumorra
