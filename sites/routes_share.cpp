// The five share dialogs the settings window's share page opens: each shows
// what it was asked to share, as the real dialog would before the user
// confirms.
#include "page_html.h"
#include "routes.h"

namespace lumorra {

namespace {

const char kShare[] = "ShareEndpoint";

struct ShareDialog {
    const char* path;
    const char* service;
    const char* urlKey;
    bool titleIsUtf8;      // the forum service takes its title in GBK
};

const ShareDialog kDialogs[] = {
    {"/qzone/cgi-bin/qzshare/cgi_qzshare_onekey", "QQ空间", "url", true},
    {"/tqq/index.php", "腾讯微博", "url", true},
    {"/weibo/share/share.php", "新浪微博", "url", true},
    {"/renren/dialog/share", "人人网", "resourceUrl", true},
    {"/tieba/f/commit/share/openShareApi", "百度贴吧", "url", false},
};

} // namespace

void addShareRoutes(SiteRouter& r)
{
    for (const ShareDialog& d : kDialogs) {
        std::string pattern;
        for (const char* c = d.path; *c; ++c)
            pattern += (*c == '.') ? std::string("\\.") : std::string(1, *c);
        r.route(kShare, pattern, [d](const SiteRequest& q) {
            std::string body = "<h1>分享到" + std::string(d.service) + "</h1>\n";
            if (d.titleIsUtf8)
                body += "<p>标题：" + htmlEscape(q.param("title")) + "</p>\n";
            body += "<p>网址：" + htmlEscape(q.param(d.urlKey)) + "</p>\n"
                    "<p><button>分享</button></p>";
            return Answer::html(htmlPage(std::string("分享到") + d.service, body));
        });
    }
}

} // namespace lumorra
