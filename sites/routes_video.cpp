// The online-video sites: the Qvod film site (channel pages of 25 films, a
// detail page per film with its poster and four play addresses), the Qvod
// search site (category pages, a keyword search over one or several result
// pages, a detail page per film with its Qvod address) and the torrent tag
// site (a page per tag, a page per torrent quoting its info hash).
//
// Demo data
//   Qvod film site:   channel pages 1 and 2 list 25 films, page 3 lists 7,
//                     later pages none; every fifth film's page has no QQ
//                     block, film 107's page has no poster, films 102 and
//                     103 give the sample clip as their Qvod address.
//   Qvod search site: category pages 1-3 (3, 3 and 2 films); keywords
//                     功夫 (3 results on one page), 星际 (8 results over
//                     three pages), anything else "没有搜索到"; the detail
//                     page of film 208 offers no address any more.
//   Torrent tag site: tags ubuntu (3 torrents) and 电影 (2 torrents), any
//                     other tag lists nothing; the page of the torrent
//                     "ubuntu-16.04.7-desktop-amd64.iso" is empty.
#include "page_html.h"
#include "routes.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace lumorra {

namespace {

const char kFilmSite[] = "QvodFilmSite";
const char kSearchSite[] = "QvodSearchSite";
const char kTagSite[] = "TorrentTagSite";

bool isSmallNumber(const std::string& s)
{
    return !s.empty() && s.size() < 6 && s.find_first_not_of("0123456789") == std::string::npos;
}

void put16(std::string& out, unsigned v)
{
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A 120 x 160 poster as a 24-bit BMP: a two-colour gradient with a light
// band, its colours taken from `seed`, so each film has its own.
Answer posterAnswer(int seed)
{
    const int w = 120, h = 160;
    const int rowBytes = w * 3;   // a multiple of four already
    const std::uint32_t pixelBytes = std::uint32_t(rowBytes * h);
    std::string bmp;
    bmp.reserve(54 + pixelBytes);
    bmp += "BM";
    put32(bmp, 54 + pixelBytes);
    put32(bmp, 0);
    put32(bmp, 54);
    put32(bmp, 40);
    put32(bmp, w);
    put32(bmp, h);
    put16(bmp, 1);
    put16(bmp, 24);
    put32(bmp, 0);
    put32(bmp, pixelBytes);
    put32(bmp, 2835);
    put32(bmp, 2835);
    put32(bmp, 0);
    put32(bmp, 0);
    const int r0 = (seed * 53) % 200 + 30, g0 = (seed * 97) % 200 + 30, b0 = (seed * 151) % 200 + 30;
    for (int y = 0; y < h; ++y) {          // bottom row first
        for (int x = 0; x < w; ++x) {
            const bool band = y > 20 && y < 44;
            const int shade = y * 60 / h;
            bmp += char(band ? 235 : (b0 + shade) % 256);
            bmp += char(band ? 235 : (g0 + x / 4) % 256);
            bmp += char(band ? 235 : (r0 + shade) % 256);
        }
    }
    return Answer::bytes(bmp, "image/bmp");
}

const char* const kFilmNames[] = {
    "龙门飞甲", "画皮2", "人再囧途之泰囧", "一九四二", "十二生肖", "太极侠", "北京遇上西雅图", "中国合伙人",
    "致我们终将逝去的青春", "西游降魔篇", "小时代", "警察故事2013", "厨子戏子痞子", "天机富春山居图",
    "大闹天竺", "白日焰火", "归来", "心花路放", "智取威虎山",
};
constexpr int kFilmNameCount = int(sizeof kFilmNames / sizeof kFilmNames[0]);

// ------------------------------------------------------------- Qvod film site

constexpr int kChannelFirstId = 101;
constexpr int kChannelFilms = 57;   // 25 + 25 + 7
constexpr int kChannelPageSize = 25;

std::string channelFilmName(int id)
{
    const int i = id - kChannelFirstId;
    std::string name = kFilmNames[i % kFilmNameCount];
    if (i >= kFilmNameCount)
        name += i >= 2 * kFilmNameCount ? " 蓝光版" : " 高清版";
    return name;
}

std::string channelPage(int page)
{
    std::string body = "<div class=\"nav\"><a href=\"/\">首页</a> &gt; 最新电影 第" + std::to_string(page)
        + "页</div>\n<div class=\"mlist\"> <ul>\n";
    const int first = kChannelFirstId + (page - 1) * kChannelPageSize;
    for (int id = first; page >= 1 && id < first + kChannelPageSize && id < kChannelFirstId + kChannelFilms; ++id) {
        const std::string link = "/content/detail_" + std::to_string(id) + ".html";
        body += "<li><div class=\"c_pic\"><a href=\"" + link + "\"><img src=\"/poster/" + std::to_string(id)
            + ".bmp\"></a></div><div class=\"c_contentcj\"><a href=\"" + link + "\" target=\"_blank\">"
            + channelFilmName(id) + "</a></div></li>\n";
    }
    body += "</ul></div>\n<div class=\"pages\">第" + std::to_string(page) + "页</div>";
    return htmlPage("最新电影 - 快播电影网", body);
}

std::string addressBlock(const std::string& comment, const std::string& address)
{
    return comment + "<table cellpadding=\"0\" cellspacing=\"0\" border=\"0\"><tr><td>" + address
        + "</td></tr></table>\n";
}

std::string channelDetailPage(int id, const std::string& clipUrl)
{
    const std::string name = channelFilmName(id);
    const std::string hash = sampleDigest(name, true);
    std::string body = "<h1>" + name + "</h1>\n";
    if (id != 107)
        body += "<!--海报开始--><img src=\"/poster/" + std::to_string(id) + ".bmp\" alt=\"" + name + "\"><!--海报结束-->\n";
    body += addressBlock("<!--迅播高清1地址开始-->", "thunder://QUFmdHA6Ly9keS5zYW1wbGUvJyArIG5hbWVaWg==" + std::to_string(id));
    if (id % 5 != 0)
        body += addressBlock("<!--ＱＱ影音2地址开始-->", "qqlive://" + hash.substr(0, 16) + "|" + name + ".rmvb");
    body += addressBlock("<!--百度影音5地址开始-->", "bdhd://" + std::to_string(300000000 + id) + "|" + hash.substr(0, 32)
                                                      + "|" + name + ".rmvb");
    // Films 102 and 103 play out of the box: their Qvod box holds the sample
    // clip; the others hold Qvod links as the site gives them.
    const std::string qvod = (id == 102 || id == 103) && !clipUrl.empty()
        ? clipUrl
        : "qvod://" + std::to_string(400000000 + id) + "|" + hash + "|" + name + ".rmvb|";
    body += addressBlock("<!--快播资源4地址开始-->", qvod);
    return htmlPage(name + " - 快播电影网", body);
}

// The sample clip on the same server (the on-demand service serves it).
std::string clipAddress(const SiteRequest& q)
{
    const std::string site = q.siteUrl();
    const std::string prefix = SampleSites::prefixFor(kFilmSite);
    if (site.size() < prefix.size() || site.compare(site.size() - prefix.size(), prefix.size(), prefix) != 0)
        return {};
    return site.substr(0, site.size() - prefix.size()) + SampleSites::prefixFor("OnDemandService")
        + "/clip/sample.webm";
}

void addQvodFilmRoutes(SiteRouter& r)
{
    r.route(kFilmSite, R"(/channel/list_0_(\d+)\.html)", [](const SiteRequest& q) {
        const std::string p = q.capture(1);
        return Answer::html(channelPage(isSmallNumber(p) ? std::stoi(p) : 0));
    });
    r.route(kFilmSite, R"(/content/detail_(\d+)\.html)", [](const SiteRequest& q) {
        const std::string id = q.capture(1);
        const int n = isSmallNumber(id) ? std::stoi(id) : 0;
        if (n < kChannelFirstId || n >= kChannelFirstId + kChannelFilms)
            return missingPage("影片不存在", "该影片已删除或不存在。");
        return Answer::html(channelDetailPage(n, clipAddress(q)));
    });
    r.route(kFilmSite, R"(/poster/(\d+)\.bmp)", [](const SiteRequest& q) {
        const std::string id = q.capture(1);
        return posterAnswer(isSmallNumber(id) ? std::stoi(id) : 0);
    });
    r.route(kFilmSite, ".*", [](const SiteRequest&) { return pageNotFound(); });
}

// ----------------------------------------------------------- Qvod search site

struct SearchFilm {
    int id;
    const char* name;
    const char* section;
    const char* region;
    const char* date;
};

const std::vector<SearchFilm>& searchFilms()
{
    static const std::vector<SearchFilm> films = {
        {201, "功夫", "喜剧片", "香港", "2013-11-02"},       {202, "功夫熊猫2", "动画片", "美国", "2013-10-21"},
        {203, "功夫之王", "动作片", "美国", "2013-09-30"},   {204, "星际穿越", "科幻片", "美国", "2014-11-12"},
        {205, "星际迷航：暗黑无界", "科幻片", "美国", "2013-06-08"}, {206, "星际传奇3", "科幻片", "美国", "2013-12-01"},
        {207, "星际宝贝", "动画片", "美国", "2012-05-17"},   {208, "星际争霸", "科幻片", "美国", "2012-03-09"},
        {209, "星际之门", "科幻片", "美国", "2011-08-15"},   {210, "星际旅行", "科幻片", "美国", "2011-02-27"},
        {211, "星际追踪", "纪录片", "英国", "2010-07-01"},
    };
    return films;
}

const SearchFilm* findSearchFilm(int id)
{
    for (const SearchFilm& f : searchFilms())
        if (f.id == id)
            return &f;
    return nullptr;
}

// Category pages list the films in site order, three to a page.
std::vector<const SearchFilm*> categoryFilms(int page)
{
    std::vector<const SearchFilm*> out;
    const std::vector<int> ids = page == 1 ? std::vector<int>{201, 204, 202}
        : page == 2                        ? std::vector<int>{205, 203, 206}
        : page == 3                        ? std::vector<int>{207, 209}
                                           : std::vector<int>{};
    for (int id : ids)
        out.push_back(findSearchFilm(id));
    return out;
}

std::string searchRow(const std::string& rowColour, const SearchFilm& f)
{
    return "<tr bgcolor=\"" + rowColour + "\"><td height=\"22\"><a href=\"/vod-detail-id-" + std::to_string(f.id)
        + ".html\" target=\"_blank\">" + f.name + "</a></td><td><a href=\"/vod-type-id-1.html\">" + f.section
        + "</a></td><td><font color=\"#3D709E\">" + f.region + "</font></td><td><font color=\"#008000\">" + f.date
        + "</font></td></tr>\n";
}

std::string categoryPage(int page)
{
    std::string body = "<h2>最新影片 第" + std::to_string(page) + "页</h2>\n<table class=\"vod\">\n"
                       "<tr><th>影片名称</th><th>栏目分类</th><th>地区</th><th>更新日期</th></tr>\n";
    for (const SearchFilm* f : categoryFilms(page))
        body += searchRow("#f5fef7", *f);
    body += "</table>";
    return htmlPage("最新影片 - 快播搜索", body);
}

// keyword -> result pages as the program requests them: "" the first page,
// then "2", "1", "0" for the further pages of a three-page search.
struct KeywordSearch {
    int total;
    int pages;
    std::map<std::string, std::vector<int>> byPage;
};

const std::map<std::string, KeywordSearch>& keywordBook()
{
    static const std::map<std::string, KeywordSearch> book = {
        {"功夫", {3, 1, {{"", {201, 202, 203}}}}},
        {"星际", {8, 3, {{"", {204, 205, 206}}, {"2", {207, 208, 209}}, {"1", {210, 211}}, {"0", {}}}}},
    };
    return book;
}

std::string keywordPage(const std::string& rawKeyword, const std::string& pageKey)
{
    const std::string keyword = htmlEscape(rawKeyword);
    const auto it = keywordBook().find(rawKeyword);
    if (it == keywordBook().end())
        return htmlPage("搜索结果 - 快播搜索", "<div class=\"msg\">对不起，没有搜索到与“" + keyword
                                                    + "”相关的影片，请更换关键字。</div>");
    const KeywordSearch& s = it->second;
    // Further pages count down from the last one.
    const int shown = pageKey.empty() || !isSmallNumber(pageKey) ? 1 : std::min(s.pages, s.pages - std::stoi(pageKey) + 1);
    std::string body = "<div class=\"info\">搜索“" + keyword + "”：共 " + std::to_string(s.total)
        + " 部影片</div>\n<table class=\"vod\">\n";
    const auto page = s.byPage.find(pageKey);
    if (page != s.byPage.end())
        for (int id : page->second)
            body += searchRow("#F5FAFE", *findSearchFilm(id));
    body += "</table>\n<div class=\"pages\">当前:" + std::to_string(shown) + "/" + std::to_string(s.pages)
        + "页</div>";
    return htmlPage("搜索结果 - 快播搜索", body);
}

std::string searchDetailPage(const SearchFilm& f, const std::string& site)
{
    const std::string address = f.id == 208 ? std::string()
        : "qvod://" + std::to_string(500000000 + f.id) + "|" + sampleDigest(f.name, true) + "|" + f.name + ".rmvb|";
    std::string body = "<div class=\"top\"><img src=\"" + site + "/images/logo.bmp\"> <img src=\"" + site
        + "/images/banner.bmp\"></div>\n<div class=\"pic\"><img src=\"" + site + "/poster/" + std::to_string(f.id)
        + ".bmp\" alt=\"" + f.name + "\"></div>\n<h1>" + f.name + "</h1>\n<form name=\"play\">\n"
        "<input type=\"hidden\" name=\"id\" value=\"" + std::to_string(f.id) + "\">\n"
        "<input type=\"hidden\" name=\"from\" value=\"qvod\">\n"
        "<input type=\"hidden\" name=\"server\" value=\"1\">\n"
        "<input type=\"hidden\" name=\"part\" value=\"1\">\n"
        "<input type=\"text\" name=\"url\" size=\"80\" value=\"" + address + "\">\n</form>";
    return htmlPage(std::string(f.name) + " - 快播搜索", body);
}

void addQvodSearchRoutes(SiteRouter& r)
{
    r.page(kSearchSite, "/vod-show-p.html", Answer::html(categoryPage(1)));
    r.route(kSearchSite, R"(/vod-show-p-(\d+)\.html)", [](const SiteRequest& q) {
        const std::string p = q.capture(1);
        return Answer::html(categoryPage(isSmallNumber(p) ? std::stoi(p) : 0));
    });
    r.route(kSearchSite, R"(/vod-search-wd-(.*)-p(?:-(\d+))?\.html)", [](const SiteRequest& q) {
        return Answer::html(keywordPage(q.capture(1), q.capture(2)));
    });
    r.route(kSearchSite, R"(/vod-detail-id-(\d+)\.html)", [](const SiteRequest& q) {
        const std::string id = q.capture(1);
        const SearchFilm* f = isSmallNumber(id) ? findSearchFilm(std::stoi(id)) : nullptr;
        if (!f)
            return missingPage("影片不存在", "该影片已删除或不存在。");
        return Answer::html(searchDetailPage(*f, q.siteUrl()));
    });
    r.route(kSearchSite, R"(/(?:poster|images)/(\w+)\.bmp)", [](const SiteRequest& q) {
        const std::string id = q.capture(1);
        return posterAnswer(isSmallNumber(id) ? std::stoi(id) : int(id.size()));
    });
    r.route(kSearchSite, ".*", [](const SiteRequest&) { return pageNotFound(); });
}

// ----------------------------------------------------------- torrent tag site

struct TaggedTorrent {
    const char* name;
    const char* size;
};

const std::map<std::string, std::vector<TaggedTorrent>>& tagBook()
{
    static const std::map<std::string, std::vector<TaggedTorrent>> book = {
        {"ubuntu",
         {{"ubuntu-22.04.4-desktop-amd64.iso", "4.69 GB"},
          {"ubuntu-16.04.7-desktop-amd64.iso", "0 B"},
          {"ubuntu-release-notes.txt", "10 B"}}},
        {"电影", {{"流浪地球2.2023.HD1080P.国语中字.mp4", "3.21 GB"}, {"满江红.2023.HD1080P.国语中字.mp4", "2.86 GB"}}},
    };
    return book;
}

const TaggedTorrent* findTagged(const std::string& hash)
{
    for (const auto& [tag, torrents] : tagBook())
        for (const TaggedTorrent& t : torrents)
            if (sampleDigest(t.name, true) == hash)
                return &t;
    return nullptr;
}

std::string tagPage(const std::string& site, const std::string& rawTag)
{
    const std::string tag = htmlEscape(rawTag);
    const auto it = tagBook().find(rawTag);
    if (it == tagBook().end())
        return htmlPage("标签：" + tag, "<div class=\"empty\">标签“" + tag + "”下暂无种子。</div>");
    std::string body = "<h2>标签：" + tag + "</h2>\n<table class=\"torrents\">\n";
    for (const TaggedTorrent& t : it->second) {
        body += "<tr><td class=\"subject\"><a href=\"" + site + "/torrent/" + sampleDigest(t.name, true) + ".html\" title=\""
            + t.name + "\">" + t.name + "</a> <span style=\"color:#FF6347\">" + t.size
            + "</span></td><td class=\"added\">2014-03-01</td></tr>\n";
    }
    body += "</table>";
    return htmlPage("标签：" + tag, body);
}

void addTorrentTagRoutes(SiteRouter& r)
{
    r.route(kTagSite, R"(/tags/([^/]+)/)", [](const SiteRequest& q) {
        return Answer::html(tagPage(q.siteUrl(), q.capture(1)));
    });
    r.route(kTagSite, R"(/torrent/([0-9A-F]{40})\.html)", [](const SiteRequest& q) {
        const std::string hash = q.capture(1);
        const TaggedTorrent* t = findTagged(hash);
        if (!t)
            return missingPage("种子不存在", "该种子已删除或不存在。");
        // A torrent the site has withdrawn answers with an empty page.
        if (std::string(t->name) == "ubuntu-16.04.7-desktop-amd64.iso")
            return Answer::html(std::string());
        return Answer::html(htmlPage(t->name, "<h1>" + std::string(t->name) + "</h1>\n<p>大小：" + t->size
                                                  + "</p>\n<div class=\"hash\">种子特征码：<blockquote><p>" + hash
                                                  + "</p></blockquote></div>"));
    });
    r.route(kTagSite, ".*", [](const SiteRequest&) { return pageNotFound(); });
}

} // namespace

void addVideoRoutes(SiteRouter& r)
{
    addQvodFilmRoutes(r);
    addQvodSearchRoutes(r);
    addTorrentTagRoutes(r);
}

} // namespace lumorra
