// The film sites.
//
// BtBoardSite: eight boards (/list.php?BoardID=1 … 8), posts in a table, one
// post link per row; board 1 has 52 posts, board 5 is short (12 posts), the
// others 50; any other board id is a board without posts. Each post
// (/display.php?BoardID=b&ID=n) follows one of the two layouts the program
// reads: "片名:" fields with a "剧情简介" heading, or "◎译　　名" style fields
// with "◎简　　介"; every tenth post is a plain forum note without fields. A
// post's poster (/poster/n.png) is a small PNG drawn here; its download links
// go through /jump.php?url=… (the first with "http://", the second without,
// some posts have only one).
//
// EmuleIndexSite BT films: /Download/bt/dianying (page 1) and
// /Download/bt/dianying/n, 35 films on pages 1 to 3, 13 on page 4, none after
// it; each film's download page /Download/xiazai/<id>.html carries its update
// date and its magnet link in a text area.
//
// FilmListSite (served in GB2312): the six category index pages
// (/html/gndy/dyzz/index.html …), 30 films each (the cartoons 9), one table
// row per film; each film's detail page has its download link in the cell
// with the background #fdfddf. The western films are filed under the newest
// films' path, as the real site does.
#include "page_html.h"
#include "routes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace lumorra {

namespace {

const char kBoard[] = "BtBoardSite";
const char kEmule[] = "EmuleIndexSite";
const char kFilmList[] = "FilmListSite";

int toInt(const std::string& s)
{
    if (s.empty() || s.size() > 6 || s.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoi(s);
}

const std::array<const char*, 24> kTitles = {
    "长夜将尽", "北方的河", "雾中灯塔", "海风来信", "山城往事", "最后的列车", "秋日漫长", "无声的雪",
    "远方来客", "星河旅人", "南城旧梦", "边境线上", "月光奏鸣", "寂静之海", "逆风而行", "归途如虹",
    "天台上的猫", "沙漠玫瑰", "第七个夏天", "城市之光", "少年与海", "白夜追踪", "云端之上", "风起时分",
};

std::string titleOf(int n)
{
    return kTitles[size_t(n) % kTitles.size()];
}

std::string yearOf(int n)
{
    return std::to_string(2008 + n % 7);
}

// "%E9%95%BF…": a name inside a magnet link.
std::string percentEncode(const std::string& s)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-') {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string hashOf(int n)
{
    std::uint64_t h = 1469598103934665603ULL ^ std::uint64_t(n) * 0x9E3779B97F4A7C15ULL;
    std::string out;
    while (out.size() < 40) {
        h ^= h >> 29;
        h *= 1099511628211ULL;
        char buf[17];
        std::snprintf(buf, sizeof buf, "%016llX", static_cast<unsigned long long>(h));
        out += buf;
    }
    return out.substr(0, 40);
}

// ------------------------------------------------------------------ posters

std::uint32_t crc32Of(const std::string& bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putBigEndian(std::string& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((v >> shift) & 0xFF);
}

void putChunk(std::string& png, const char* type, const std::string& data)
{
    putBigEndian(png, std::uint32_t(data.size()));
    const std::string typed = std::string(type, 4) + data;
    png += typed;
    putBigEndian(png, crc32Of(typed));
}

// An RGB picture as a PNG file, its pixels stored without compression.
std::string pngOf(int width, int height, const std::vector<std::uint8_t>& rgb)
{
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0';   // no filter
        raw.append(reinterpret_cast<const char*>(rgb.data()) + size_t(y) * size_t(width) * 3, size_t(width) * 3);
    }
    std::string zlib = "\x78\x01";
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        zlib += char(at + n >= raw.size() ? 1 : 0);
        zlib += char(n & 0xFF);
        zlib += char(n >> 8);
        zlib += char(~n & 0xFF);
        zlib += char((~n >> 8) & 0xFF);
        zlib.append(raw, at, n);
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(zlib, (b << 16) | a);

    std::string header;
    putBigEndian(header, std::uint32_t(width));
    putBigEndian(header, std::uint32_t(height));
    header += char(8);        // bits per sample
    header += char(2);        // RGB
    header.append(3, '\0');   // deflate, adaptive filters, no interlace

    std::string png = "\x89PNG\r\n\x1a\n";
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", {});
    return png;
}

// A poster: a colour running from top to bottom, a light frame and a dark
// band where a title would stand; the colour follows the post number.
std::string posterOf(int n)
{
    constexpr int w = 120, h = 168;
    const int r0 = 40 + (n * 53) % 160, g0 = 40 + (n * 97) % 160, b0 = 40 + (n * 31) % 160;
    std::vector<std::uint8_t> rgb(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &rgb[(size_t(y) * w + x) * 3];
            const bool frame = x < 4 || y < 4 || x >= w - 4 || y >= h - 4;
            const bool band = y >= 120 && y < 140 && x >= 12 && x < w - 12;
            const int shade = y * 60 / h;
            p[0] = std::uint8_t(frame ? 235 : band ? 30 : std::min(255, r0 + shade));
            p[1] = std::uint8_t(frame ? 235 : band ? 30 : std::min(255, g0 + shade));
            p[2] = std::uint8_t(frame ? 225 : band ? 40 : std::min(255, b0 + shade));
        }
    }
    return pngOf(w, h, rgb);
}

// ---------------------------------------------------------------- BT board

struct Board {
    const char* name;
    int posts;
};

const std::array<Board, 8> kBoards = {{
    {"最新电影", 52}, {"高清电影", 50}, {"欧美电影", 50}, {"亚洲电影", 50},
    {"华语电影", 12}, {"动画电影", 50}, {"纪录片", 50}, {"经典老片", 50},
}};

const Board* boardOf(int id)
{
    return id >= 1 && id <= int(kBoards.size()) ? &kBoards[size_t(id - 1)] : nullptr;
}

std::string postTitle(int board, int k)
{
    return titleOf(board * 7 + k) + "." + yearOf(k) + ".BD1080P.国语中字";
}

std::string boardRow(int board, int k)
{
    const int id = board * 100 + k;
    char size[16];
    std::snprintf(size, sizeof size, "%d.%02dGB", 1 + k % 4, (k * 37) % 100);
    const std::string boardId = std::to_string(board);
    return "<TR><TD class=tablebody2 width=32><img src=\"pic/topic.gif\"></TD>"
           "<TD class=tablebody1>&nbsp;<A href=\"display.php?BoardID=" + boardId + "&ID=" + std::to_string(id) + "\">"
           + postTitle(board, k) + "</A></TD><TD class=tablebody2 align=center>影迷" + std::to_string(k % 9 + 1)
           + "</TD><TD class=tablebody1 align=center>" + size + "</TD><TD class=tablebody2 align=center>"
           + std::to_string((k * 13) % 97) + "</TD><TD class=tablebody1 align=center><a href=\"list.php?BoardID="
           + boardId + "\"><span class=\"fl\">" + kBoards[size_t(board - 1)].name + "</span></a></TD></TR>\n";
}

Answer boardPage(int board)
{
    const Board* b = boardOf(board);
    std::string body = "<h1>BT电影论坛</h1>\n";
    if (!b) {
        body += "<p>本版块不存在或暂无帖子。</p>\n";
        return Answer::html(htmlPage("BT电影论坛", body));
    }
    body += "<h2>" + std::string(b->name) + "</h2>\n<TABLE cellspacing=1 class=tableborder1>\n"
            "<TR><TH>状态</TH><TH>主题</TH><TH>作者</TH><TH>大小</TH><TH>回复</TH><TH>分类</TH></TR>\n";
    for (int k = 1; k <= b->posts; ++k)
        body += boardRow(board, k);
    body += "</TABLE>\n";
    return Answer::html(htmlPage(std::string(b->name) + " - BT电影论坛", body));
}

std::string jumpLinks(const SiteRequest& q, int id, bool both)
{
    const std::string site = q.siteUrl();
    std::string links = "<a href=\"jump.php?url=" + site + "/down/" + std::to_string(id)
        + "-1.torrent\" target=\"_blank\">下载地址①</a>";
    if (both) {
        // The site writes its mirror without the scheme.
        const std::string bare = site.substr(std::string("http://").size());
        links += "<br /><a href=\"jump.php?url=" + bare + "/down/" + std::to_string(id)
            + "-2.torrent\" target=\"_blank\">下载地址②</a>";
    }
    return links;
}

std::string synopsisOf(int id)
{
    const std::string title = titleOf(id);
    return "这是一部关于《" + title + "》的故事。一个普通人在平凡的日子里，&nbsp;遇见了改变一生的人和事；"
           "导演用克制的镜头讲述了离别、坚守&amp;重逢。";
}

Answer postPage(const SiteRequest& q, int board, int id)
{
    const Board* b = boardOf(board);
    const int k = id - board * 100;
    if (!b || k < 1 || k > b->posts)
        return missingPage("帖子不存在", "该帖子已被删除或不存在。");
    const std::string title = postTitle(board, k);
    const std::string poster = "[IMG]" + q.siteUrl() + "/poster/" + std::to_string(id) + ".png[/IMG]";
    const bool both = k % 4 != 1;
    std::string post;
    if (k % 10 == 7) {
        post = "<p>" + title + "</p><br />这部片子的资料还在整理中，先放出下载，喜欢的朋友请自取。<br />"
            + jumpLinks(q, id, both);
    } else if (k % 3 == 0) {
        post = poster + "<br />◎译　　名　" + titleOf(id + 5) + "<br />◎片　　名　" + titleOf(id)
            + "<br />◎年　　代　" + yearOf(k) + "<br />◎国　　家　" + b->name
            + "<br />◎类　　别　剧情/爱情<br />◎语　　言　国语<br />◎片　　长　" + std::to_string(90 + k)
            + "分钟<br />◎简　　介<br />　　" + synopsisOf(id) + "<br />◎影片截图<br />" + jumpLinks(q, id, both);
    } else {
        post = poster + "<br />片名:" + titleOf(id) + "<br />年代:" + yearOf(k) + "<br />国家:" + b->name
            + "<br />类别:剧情/悬疑<br />语言:国语<br />片长:" + std::to_string(90 + k)
            + "分钟<br />导演:佚名&nbsp;(Anonymous)<br />剧情简介<br />" + synopsisOf(id)
            + "<br />◎影片截图<br />" + jumpLinks(q, id, both);
    }
    return Answer::html(htmlPage(title, "<h1>" + title + "</h1>\n<div class=\"post\">" + post + "</div>\n"));
}

void addBoardRoutes(SiteRouter& r)
{
    r.route(kBoard, "/list.php", [](const SiteRequest& q) { return boardPage(toInt(q.param("BoardID"))); });
    r.route(kBoard, "/display.php", [](const SiteRequest& q) {
        return postPage(q, toInt(q.param("BoardID")), toInt(q.param("ID")));
    });
    r.route(kBoard, R"(/poster/(\d+)\.png)", [](const SiteRequest& q) {
        return Answer::bytes(posterOf(toInt(q.capture(1))), "image/png");
    });
    r.route(kBoard, "/jump.php", [](const SiteRequest& q) {
        const std::string to = q.param("url");
        return Answer::redirect(to.rfind("http://", 0) == 0 ? to : "http://" + to);
    });
    r.route(kBoard, R"(/down/(\d+)-(\d)\.torrent)", [](const SiteRequest& q) {
        const std::string name = q.capture(1) + "-" + q.capture(2) + ".mkv";
        return Answer::bytes("d4:infod6:lengthi1048576e4:name" + std::to_string(name.size()) + ":" + name
                                 + "12:piece lengthi262144eee",
                             "application/x-bittorrent");
    });
    r.route(kBoard, ".*", [](const SiteRequest&) { return pageNotFound(); });
}

// ----------------------------------------------------------------- BT films

constexpr int kFilmsPerPage = 35;
constexpr int kFullFilmPages = 3;
constexpr int kLastFilmPageSize = 13;

int filmsOnPage(int page)
{
    if (page >= 1 && page <= kFullFilmPages)
        return kFilmsPerPage;
    return page == kFullFilmPages + 1 ? kLastFilmPageSize : 0;
}

int filmId(int page, int k)
{
    return 5000 + (page - 1) * kFilmsPerPage + k;
}

std::string btFilmTitle(int id)
{
    return titleOf(id) + "[" + yearOf(id) + "]";
}

std::string btFilmDate(int id)
{
    char date[16];
    std::snprintf(date, sizeof date, "2013-%02d-%02d", 1 + id % 12, 1 + id % 28);
    return date;
}

Answer btFilmPage(int page)
{
    std::string body = "<h1>BT电影</h1>\n";
    const int films = filmsOnPage(page);
    if (films == 0) {
        body += "<p>暂无资源。</p>\n";
        return Answer::html(htmlPage("BT电影", body));
    }
    body += "<ul class=\"list\">\n";
    for (int k = 1; k <= films; ++k) {
        const int id = filmId(page, k);
        const std::string title = btFilmTitle(id);
        body += "<li><a href=\"/Download/xiazai/" + std::to_string(id) + ".html\" title=\"" + title + "\">" + title
            + "</a><span>" + btFilmDate(id) + "</span></li>\n";
    }
    body += "</ul>\n<p class=\"pages\">第" + std::to_string(page) + "页</p>\n";
    return Answer::html(htmlPage("BT电影 - 第" + std::to_string(page) + "页", body));
}

Answer btFilmDownloadPage(int id)
{
    const int first = filmId(1, 1);
    const int last = filmId(kFullFilmPages + 1, kLastFilmPageSize);
    if (id < first || id > last)
        return missingPage("资源不存在", "该资源已删除或不存在。");
    const std::string title = btFilmTitle(id);
    const std::string body = "<h1>" + title + "</h1>\n<div class=\"info\"><span>文件更新时间：" + btFilmDate(id)
        + "</span></div>\n<p>磁力链接（点击全选后复制）：</p>\n<textarea rows=\"3\" cols=\"80\" onclick=\"this.select()\">"
          "magnet:?xt=urn:btih:" + hashOf(id) + "&amp;dn=" + percentEncode(title) + "</textarea>\n";
    return Answer::html(htmlPage(title, body));
}

void addBtFilmRoutes(SiteRouter& r)
{
    r.route(kEmule, "/Download/bt/dianying", [](const SiteRequest&) { return btFilmPage(1); });
    r.route(kEmule, R"(/Download/bt/dianying/(\d+))", [](const SiteRequest& q) {
        return btFilmPage(toInt(q.capture(1)));
    });
    r.route(kEmule, R"(/Download/xiazai/(\d+)\.html)", [](const SiteRequest& q) {
        return btFilmDownloadPage(toInt(q.capture(1)));
    });
}

// ---------------------------------------------------------------- film list

struct FilmCategory {
    const char* index;    // index page path
    const char* files;    // where its films are filed
    const char* label;
    int films;
};

const std::array<FilmCategory, 6> kFilmCategories = {{
    {"/html/gndy/dyzz/index.html", "gndy/dyzz", "最新电影", 30},
    {"/html/gndy/china/index.html", "gndy/china", "国内电影", 30},
    {"/html/gndy/oumei/index.html", "gndy/dyzz", "欧美电影", 30},
    {"/html/tv/hytv/index.html", "tv/hytv", "华语电视剧", 30},
    {"/html/tv/rihantv/index.html", "tv/rihantv", "日韩电视剧", 30},
    {"/html/dongman/index.html", "dongman", "动漫", 9},
}};

// Films are numbered per category: 1000 × (category + 1) + k.
int listedFilmId(size_t category, int k)
{
    return 1000 * int(category + 1) + k;
}

std::string listedFilmTitle(int id)
{
    return titleOf(id / 1000 * 5 + id % 1000) + "(" + yearOf(id) + ")";
}

std::string filmPath(size_t category, int id)
{
    return std::string("/html/") + kFilmCategories[category].files + "/2013" + (id % 2 ? "0412" : "0503") + "/"
        + std::to_string(id) + ".html";
}

Answer filmIndexPage(size_t category)
{
    const FilmCategory& c = kFilmCategories[category];
    std::string body = "<div class=\"co_content8\"><ul>\n";
    for (int k = 1; k <= c.films; ++k) {
        const int id = listedFilmId(category, k);
        body += "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" class=\"tbspan\">\n"
                "<tr><td height=\"1\" colspan=\"2\"></td></tr>\n"
                "<tr><td width=\"5%\"><img src=\"/images/item.gif\"></td>"
                "<td height=\"26\"><b><a href=\"" + filmPath(category, id) + "\" class=\"ulink\">"
            + listedFilmTitle(id) + "</a></b></td><td style=\"padding-left:3px\">&nbsp;</td></tr>\n"
                "<tr><td colspan=\"2\" style=\"padding-left:3px\">日期：2013-05-0" + std::to_string(1 + k % 9)
            + "</td></tr>\n</table>\n";
    }
    body += "</ul></div>\n";
    return gbkAnswer(htmlPage(std::string(c.label) + " - 电影天地", body), "gb2312");
}

Answer filmDetailPage(const std::string& files, int id)
{
    const size_t category = size_t(id / 1000 - 1);
    const int k = id % 1000;
    if (id < 1000 || category >= kFilmCategories.size() || k < 1 || k > kFilmCategories[category].films
        || files != kFilmCategories[category].files)
        return missingPage("页面不存在", "您访问的影片不存在。");
    const std::string title = listedFilmTitle(id);
    const std::string link = "ftp://dy:dy@ftp.film-list.sample:21/" + std::to_string(id) + "/" + title + ".rmvb";
    const std::string body = "<h1>" + title + "</h1>\n<div id=\"Zoom\">◎片　　名　" + title
        + "<br />◎简　　介　影片讲述了一段平凡而动人的经历。<br /><table><tbody><tr>"
          "<td style=\"WORD-WRAP: break-word\" bgcolor=\"#fdfddf\"><a href=\"" + link + "\">" + link
        + "</a></td></tr></tbody></table></div>\n";
    return gbkAnswer(htmlPage(title, body), "gb2312");
}

void addFilmListRoutes(SiteRouter& r)
{
    for (size_t i = 0; i < kFilmCategories.size(); ++i)
        r.page(kFilmList, kFilmCategories[i].index, filmIndexPage(i));
    r.route(kFilmList, R"(/html/(gndy/dyzz|gndy/china|tv/hytv|tv/rihantv|dongman)/\d{8}/(\d+)\.html)",
            [](const SiteRequest& q) { return filmDetailPage(q.capture(1), toInt(q.capture(2))); });
    r.route(kFilmList, ".*", [](const SiteRequest&) { return pageNotFound(); });
}

} // namespace

void addFilmRoutes(SiteRouter& r)
{
    addBoardRoutes(r);
    addBtFilmRoutes(r);
    addFilmListRoutes(r);
}

} // namespace lumorra
