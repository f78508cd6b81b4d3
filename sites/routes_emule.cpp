// The two eMule sites.
//
// EmuleIndexSite: seven category listings (/emule/<category>/<page>), 30
// records a page on pages 1 to 3, a short page 4 and empty pages after it;
// a keyword search (/emule/search/<keyword>/<page>) whose result pages share
// the listing layout and whose no-result page says "没能为您找到"; detail
// pages (/<category>/<id>.html) carrying one or two ed2k links.
//
// EmuleSearchSite (served in GBK): result tables (/FileList.asp?SearchWord=
// …&PageIndex=k) and detail pages (/ShowFile.asp?FileID=n).
//
// Demo keywords: 电影, 音乐, 动漫, 教程 on both sites (three result pages
// each, the last one short); any other keyword finds nothing.
#include "page_html.h"
#include "routes.h"

#include <array>
#include <cstdio>

namespace lumorra {

namespace {

const char kIndex[] = "EmuleIndexSite";
const char kSearch[] = "EmuleSearchSite";

// How many records a run of result pages holds: full pages, one short page,
// then empty pages.
struct Paging {
    int pageSize;
    int fullPages;
    int lastPageSize;

    int recordsOn(int page) const
    {
        if (page >= 1 && page <= fullPages)
            return pageSize;
        if (page == fullPages + 1)
            return lastPageSize;
        return 0;
    }
};

constexpr Paging kListingPages{30, 3, 7};
constexpr Paging kSearchPages{20, 2, 6};

struct Category {
    const char* slug;      // path word of the listing and of the detail pages
    const char* label;
    const char* ext;       // file type of its ed2k links
    std::array<const char*, 10> titles;
};

const std::array<Category, 7> kCategories = {{
    {"movie", "电影", "rmvb",
     {"山河故人", "海上钢琴师", "寻龙诀", "大鱼海棠", "一代宗师", "让子弹飞", "无间道", "霸王别姬", "活着",
      "卧虎藏龙"}},
    {"music", "音乐", "mp3",
     {"经典老歌五百首", "华语金曲榜", "古典音乐精选", "民谣合集", "钢琴曲集", "校园歌曲", "摇滚年代", "影视原声",
      "轻音乐精选", "儿歌大全"}},
    {"software", "软件", "iso",
     {"办公套件专业版", "图像处理工具", "视频剪辑大师", "系统维护工具箱", "压缩解压工具", "输入法合集",
      "杀毒软件", "数据恢复工具", "编程开发环境", "网络下载工具"}},
    {"book", "书籍", "pdf",
     {"红楼梦", "三国演义", "西游记", "水浒传", "围城", "平凡的世界", "白鹿原", "边城", "骆驼祥子", "子夜"}},
    {"edu", "教育", "avi",
     {"高中数学精讲", "大学英语四级", "考研政治辅导", "初中物理实验", "书法入门教程", "摄影基础课程",
      "会计从业资格", "计算机二级", "日语入门", "吉他自学教程"}},
    {"datum", "综合", "rar",
     {"中国地图集", "百科全书", "历史纪录片", "自然风光图库", "家常菜谱大全", "旅游攻略合集", "健身教程",
      "摄影素材包", "字体大全", "手机壁纸合集"}},
    {"cartoon", "动漫", "mkv",
     {"大闹天宫", "哪吒闹海", "葫芦兄弟", "黑猫警长", "宝莲灯", "天书奇谭", "三个和尚", "小蝌蚪找妈妈",
      "阿凡提的故事", "舒克和贝塔"}},
}};

// GBK page for the search site (its <meta> says so too).
Answer gbkPage(const std::string& title, const std::string& body)
{
    return gbkAnswer("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">"
                     "<title>" + title + "</title></head>\n<body>\n" + body + "\n</body></html>\n",
                     "gbk");
}

const Category* categoryBySlug(const std::string& slug)
{
    for (const Category& c : kCategories)
        if (slug == c.slug)
            return &c;
    return nullptr;
}

// A page number or id as the request wrote it; -1 unless plain digits.
int toInt(const std::string& digits)
{
    if (digits.empty() || digits.size() > 6)
        return -1;
    int v = 0;
    for (char ch : digits) {
        if (ch < '0' || ch > '9')
            return -1;
        v = v * 10 + (ch - '0');
    }
    return v;
}

// Record n (from 1) of a category: its name and the remark line.
std::string recordName(const Category& c, int n)
{
    const int k = (n - 1) % int(c.titles.size());
    const int round = (n - 1) / int(c.titles.size());
    std::string name = c.titles[size_t(k)];
    if (round > 0)
        name += " 第" + std::to_string(round + 1) + "辑";
    return name;
}

std::string recordRemark(int n)
{
    char date[32];
    std::snprintf(date, sizeof date, "2013-%02d-%02d", 1 + (n * 7) % 12, 1 + (n * 11) % 28);
    std::string remark = std::string(date) + " 更新 " + std::to_string(100 + (n * 37) % 900) + "MB";
    // The site marks some records with a bold word inside the remark.
    if (n % 7 == 0)
        remark = "<b>推荐</b> " + remark;
    return remark;
}

std::string hash32(int n)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string h;
    unsigned v = 2166136261u ^ unsigned(n);
    for (int i = 0; i < 32; ++i) {
        v = v * 16777619u + 0x9E3779B9u;
        h += hex[(v >> 11) & 15];
    }
    return h;
}

std::string percentEscaped(const std::string& utf8)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char ch : utf8) {
        if (ch < 0x80) {
            out += char(ch);
        } else {
            out += '%';
            out += hex[ch >> 4];
            out += hex[ch & 15];
        }
    }
    return out;
}

// The ed2k anchors of a detail page. Every second file has a second link;
// file names come raw, %-escaped, or with an &amp; as the site writes them.
std::string ed2kLinks(const std::string& name, const std::string& ext, int n)
{
    const std::string size = std::to_string(104857600 + n * 7340033);
    std::string file = name + ".国语中字." + ext;
    if (n % 3 == 1)
        file = percentEscaped(file);
    else if (n % 5 == 0)
        file = name + "&amp;花絮." + ext;
    auto anchor = [&](const std::string& f, const std::string& sz, int salt) {
        return "<li><a href=\"ed2k://|file|" + f + "|" + sz + "|" + hash32(n * 31 + salt)
            + "|h=" + hash32(n * 17 + salt).substr(0, 20) + "|/\">" + f + "</a></li>\n";
    };
    std::string out = anchor(file, size, 0);
    if (n % 2 == 0)
        out += anchor(name + ".高清版." + ext, std::to_string(209715200 + n * 1048583), 1);
    return out;
}

// ---- index site ------------------------------------------------------------

std::string thumbRecord(const Category& c, int n)
{
    const std::string name = recordName(c, n);
    return "<div class=\"thumb\"><a href=\"/" + std::string(c.slug) + "/" + std::to_string(n) + ".html\" title=\""
        + name + "\"><img src=\"/img/" + c.slug + "/" + std::to_string(n) + ".jpg\" alt=\"" + name
        + "\"></a><p><a href=\"/emule/" + c.slug + "/1\">" + c.label + "</a> | " + recordRemark(n)
        + "</p></div>\n";
}

Answer listingPage(const Category& c, int page)
{
    std::string body = "<div class=\"nav\"><a href=\"/\">首页</a> &gt; " + std::string(c.label) + "资源</div>\n"
                       "<div class=\"list\">\n";
    const int count = kListingPages.recordsOn(page);
    for (int i = 1; i <= count; ++i)
        body += thumbRecord(c, (page - 1) * kListingPages.pageSize + i);
    if (count == 0)
        body += "<p class=\"empty\">本页暂无资源</p>\n";
    body += "</div>\n<div class=\"pages\">第" + std::to_string(page) + "页</div>";
    return Answer::html(htmlPage(std::string(c.label) + "资源 - 第" + std::to_string(page) + "页", body));
}

Answer detailPage(const Category& c, int n)
{
    const std::string name = recordName(c, n);
    std::string body = "<h1>" + name + "</h1>\n<p class=\"info\">分类：" + c.label + " | " + recordRemark(n)
        + "</p>\n<p>资源简介：" + name + "，高清资源，欢迎下载。</p>\n";
    // One record in thirty has been taken down: its page keeps no link.
    if (n % kListingPages.pageSize == 29)
        body += "<p class=\"gone\">该资源已下架。</p>\n";
    else
        body += "<ul class=\"ed2k\">\n" + ed2kLinks(name, c.ext, n) + "</ul>\n";
    return Answer::html(htmlPage(name + " - 电驴资源", body));
}

// The keywords both sites know, and the category each one draws from.
const Category* categoryForKeyword(const std::string& keyword)
{
    static const std::array<std::pair<const char*, const char*>, 4> known = {{
        {"电影", "movie"}, {"音乐", "music"}, {"动漫", "cartoon"}, {"教程", "edu"},
    }};
    for (const auto& k : known)
        if (keyword == k.first)
            return categoryBySlug(k.second);
    return nullptr;
}

Answer indexSearchPage(const std::string& word, int page)
{
    const Category* c = categoryForKeyword(word);
    const std::string keyword = htmlEscape(word);
    const int count = c ? kSearchPages.recordsOn(page) : 0;
    if (count == 0)
        return Answer::html(htmlPage("搜索结果", "<div class=\"search\"><p>没能为您找到与“" + keyword
                                                      + "”相关的资源，请换个关键字试试。</p></div>"));
    std::string body = "<div class=\"search\"><p>与“" + keyword + "”相关的资源：</p>\n";
    for (int i = 1; i <= count; ++i)
        body += thumbRecord(*c, 100 + (page - 1) * kSearchPages.pageSize + i);
    body += "</div>";
    return Answer::html(htmlPage(keyword + " - 搜索结果", body));
}

// ---- search site -------------------------------------------------------------

// File ids of the search site: category slot * 1000 + serial.
int fileIdOf(const Category& c, int n)
{
    return int(&c - kCategories.data()) * 1000 + n;
}

const Category* categoryOfFileId(int id, int* n)
{
    const int slot = id / 1000;
    *n = id % 1000;
    if (id < 0 || slot >= int(kCategories.size()) || *n == 0)
        return nullptr;
    return &kCategories[size_t(slot)];
}

Answer fileListPage(const std::string& word, int page)
{
    const Category* c = categoryForKeyword(word);
    const std::string keyword = htmlEscape(word);
    const int count = c ? kSearchPages.recordsOn(page) : 0;
    std::string body = "<form action=\"FileList.asp\">关键字：<input name=\"SearchWord\" value=\"" + keyword
        + "\"></form>\n<table class=\"filelist\">\n<tr><th>文件</th><th>大小</th></tr>\n";
    for (int i = 1; i <= count; ++i) {
        const int n = (page - 1) * kSearchPages.pageSize + i;
        body += "<tr><td>[<a href=\"FileList.asp?Category=" + std::string(c->slug) + "\">" + c->label
            + "</a>] <a href=\"ShowFile.asp?FileID=" + std::to_string(fileIdOf(*c, n)) + "\">"
            + recordName(*c, n) + "</a></td><td>" + std::to_string(100 + (n * 37) % 900) + "MB</td></tr>\n";
        // The second page carries the site's notice row, which names no file.
        if (page == 2 && i == 3)
            body += "<tr><td>[公告] 本站资源均来自网友分享</td><td></td></tr>\n";
    }
    body += "</table>\n";
    if (count == 0)
        body += "<p>对不起，没有找到相关文件。</p>\n";
    else
        body += "<p class=\"pages\">第" + std::to_string(page) + "页</p>\n";
    return gbkPage(keyword + " - 文件搜索", body);
}

Answer showFilePage(int id)
{
    int n = 0;
    const Category* c = categoryOfFileId(id, &n);
    if (!c)
        return gbkPage("文件不存在", "<p>文件不存在或已被删除。</p>");
    const std::string name = recordName(*c, n);
    return gbkPage(name, "<h1>" + name + "</h1>\n<p>分类：" + c->label + "</p>\n<ul class=\"ed2k\">\n"
                             + ed2kLinks(name, c->ext, n) + "</ul>\n");
}

} // namespace

void addEmuleRoutes(SiteRouter& r)
{
    r.route(kIndex, R"(/emule/(movie|music|software|book|edu|datum|cartoon)/(\d+))", [](const SiteRequest& q) {
        const int page = toInt(q.capture(2));
        return page < 0 ? pageNotFound() : listingPage(*categoryBySlug(q.capture(1)), page);
    });
    r.route(kIndex, R"(/emule/search/(.+)/(\d+))", [](const SiteRequest& q) {
        const int page = toInt(q.capture(2));
        return page < 0 ? pageNotFound() : indexSearchPage(q.capture(1), page);
    });
    r.route(kIndex, R"(/(movie|music|software|book|edu|datum|cartoon)/(\d+)\.html)", [](const SiteRequest& q) {
        const int n = toInt(q.capture(2));
        return n < 1 ? pageNotFound() : detailPage(*categoryBySlug(q.capture(1)), n);
    });
    r.route(kIndex, ".*", [](const SiteRequest&) { return pageNotFound(); });

    r.route(kSearch, R"(/FileList\.asp)", [](const SiteRequest& q) {
        const std::string k = q.param("PageIndex");
        const int page = k.empty() ? 1 : toInt(k);
        return fileListPage(q.param("SearchWord"), page);
    });
    r.route(kSearch, R"(/ShowFile\.asp)", [](const SiteRequest& q) { return showFilePage(toInt(q.param("FileID"))); });
    r.route(kSearch, ".*", [](const SiteRequest&) { return pageNotFound(); });
}

} // namespace lumorra
