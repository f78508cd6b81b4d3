#pragma once
// The bundled sample sites: one small HTTP server (cpp-httplib, its own
// thread, loopback only) that serves every site role under its own path
// prefix, with pages shaped as each source expects. The program starts it in
// demo mode; tests start it on a free port and program answers per case.
//
// Adding a source family's pages
// ------------------------------
// 1. Write sites/routes_<family>.cpp with one function
//        void add<Family>Routes(SiteRouter& r);
//    that registers the family's pages, each relative to its role's prefix:
//        r.page("EmuleIndexSite", "/index.html", Answer::html(...));
//        r.route("EmuleIndexSite", R"(/search/([^/]+)/(\d+)\.html)",
//                [](const SiteRequest& q) { return book.pick(q.capture(1)); });
//    A route's pattern is an ECMAScript regex matched against the whole path
//    after the prefix; its groups arrive as q.capture(1..), query parameters
//    (already %-decoded, UTF-8 bytes) as q.param("kw"). A keyword or page
//    number selects a sample page; keep the pages in a PageBook whose
//    noResult is the site's own "nothing found" page. Pages may be C++ raw
//    strings in the routes file; page_html.h has the shared page frame,
//    keyword escaping, GBK answers and 404 pages.
// 2. Declare the function in sites/routes.h and call it from addAllRoutes()
//    in sites/routes.cpp (one line each). Routes are tried in registration
//    order; a family may end with a catch-all route for its own 404 page.
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include <functional>

namespace lumorra {

// What the server answers. Besides a plain page it can misbehave on purpose:
// wait first, stream without end, announce a huge body, or drop the
// connection without any answer.
struct Answer {
    int status = 200;
    std::string body;                                   // bytes as sent
    std::string contentType = "text/html; charset=utf-8";
    int delayMs = 0;              // wait before answering (ends early on stop)
    bool endless = false;         // chunked body that never ends
    size_t oversizedBytes = 0;    // a body of this many bytes (Content-Length set)
    size_t streamedBytes = 0;     // a chunked body of this many bytes, no length announced
    bool drop = false;            // close the connection without an answer
    std::vector<std::pair<std::string, std::string>> headers;  // extra headers

    static Answer html(std::string body, int status = 200);        // UTF-8 HTML
    static Answer text(std::string body, int status = 200);        // UTF-8 plain text
    static Answer bytes(std::string body, std::string contentType, int status = 200);
    static Answer redirect(const std::string& location, int status = 302);
};

// A request as a route handler sees it.
struct SiteRequest {
    std::string method;
    std::string host;            // Host header ("127.0.0.1:8080")
    std::string prefix;          // the role's prefix ("/vendor")
    std::string path;            // %-decoded path after the prefix, starts with '/'
    std::string query;           // raw query string, without '?'
    std::multimap<std::string, std::string> params;   // decoded query parameters
    std::vector<std::string> captures;                 // [0] whole match, then groups

    std::string param(const std::string& key) const;   // first value, or empty
    std::string capture(size_t i) const;               // empty when absent
    // Absolute address of this role's root on this server, as the client
    // reached it ("http://127.0.0.1:8080/vendor"): for links inside pages.
    std::string siteUrl() const;
};

using RouteHandler = std::function<Answer(const SiteRequest&)>;

// Sample pages picked by a key taken from the request (a keyword, a page
// number); any other key gets the site's own no-result page.
struct PageBook {
    std::map<std::string, Answer> pages;
    Answer noResult;
    const Answer& pick(const std::string& key) const;
};

class SiteRouter {
public:
    // pattern: ECMAScript regex over the whole path after the role's prefix.
    void route(const std::string& role, const std::string& pattern, RouteHandler handler);
    // A fixed page at an exact path after the role's prefix.
    void page(const std::string& role, const std::string& path, Answer answer);

    // The answer for a full request path, or none when no route matches.
    // Fills req.prefix, req.path and req.captures.
    std::optional<Answer> dispatch(const std::string& fullPath, SiteRequest& req) const;

private:
    struct Route {
        std::string prefix;
        std::regex pattern;
        RouteHandler handler;
    };
    std::vector<Route> m_routes;
};

// One request as the server received it.
struct LoggedRequest {
    std::string method;
    std::string path;            // %-decoded
    std::string query;           // raw, without '?'
    std::string target;          // raw path and query as sent
    std::vector<std::pair<std::string, std::string>> headers;
    std::multimap<std::string, std::string> params;   // decoded query parameters

    bool hasHeader(const std::string& name) const;           // case-insensitive
    std::string header(const std::string& name) const;       // first value, or empty
    std::string param(const std::string& key) const;
};

class SiteHooks {
public:
    virtual ~SiteHooks() = default;
    // Every request, before it is answered (on a server thread).
    virtual void received(const LoggedRequest& request) = 0;
    // An answer in the site's place, or none.
    virtual std::optional<Answer> instead(const LoggedRequest& request) = 0;
    // The answer to send instead of `normal` (the site's, or instead()'s),
    // or none to send it as it is. A delay it adds ends early on
    // SampleSites::endFilteredDelays().
    virtual std::optional<Answer> filtered(const Answer& normal, const LoggedRequest& request) = 0;
};

class SampleSites {
public:
    SampleSites();
    virtual ~SampleSites();                // stops the server
    SampleSites(const SampleSites&) = delete;
    SampleSites& operator=(const SampleSites&) = delete;

    // Listens on 127.0.0.1:port (0 = a free port) in its own thread; false
    // when the port cannot be bound. Starting a running server does nothing.
    bool start(int port = 0);
    // Ends pending delays and endless bodies, closes the port, joins the thread.
    void stop();
    bool isRunning() const;
    int port() const;                      // 0 when not running
    std::string baseUrl() const;           // "http://127.0.0.1:PORT"
    std::string roleUrl(const std::string& role) const;  // baseUrl() + prefixFor(role)

    // Every role the program knows, and the path prefix each is served under
    // ("/clouddisk", "/emule-index", … "/vendor"); empty for an unknown role.
    static const std::vector<std::string>& roles();
    static std::string prefixFor(const std::string& role);

    // What a test server adds (sites/testing): it sees every request and
    // may answer in a site's place. The program's own sample sites have none.
    void setHooks(std::shared_ptr<SiteHooks> hooks);
    // Ends, at once, the delays of answers the hooks filtered until now.
    void endFilteredDelays();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// UTF-8 text re-encoded in a named charset ("GBK", "Big5", …) for sample
// pages served in that charset; characters it lacks become '?'.
std::string encodeText(std::string_view utf8, const char* charset);

} // namespace lumorra
