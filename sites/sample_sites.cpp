#include "sample_sites.h"
#include "routes.h"

#include "net/site_config.h"

#include <httplib.h>

#include <QString>
#include <QStringEncoder>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <pthread.h>
#include <signal.h>
#include <strings.h>
#include <sys/socket.h>
#include <cstdlib>

namespace lumorra {

// ------------------------------------------------------------------ Answer

Answer Answer::html(std::string body, int status)
{
    return bytes(std::move(body), "text/html; charset=utf-8", status);
}

Answer Answer::text(std::string body, int status)
{
    return bytes(std::move(body), "text/plain; charset=utf-8", status);
}

Answer Answer::bytes(std::string body, std::string contentType, int status)
{
    Answer a;
    a.status = status;
    a.body = std::move(body);
    a.contentType = std::move(contentType);
    return a;
}

Answer Answer::redirect(const std::string& location, int status)
{
    Answer a;
    a.status = status;
    a.headers.emplace_back("Location", location);
    return a;
}

// ------------------------------------------------------- request helpers

namespace {

std::string firstValue(const std::multimap<std::string, std::string>& m, const std::string& key)
{
    auto it = m.find(key);
    return it == m.end() ? std::string() : it->second;
}

std::multimap<std::string, std::string> toMap(const httplib::Params& params)
{
    return {params.begin(), params.end()};
}

} // namespace

std::string SiteRequest::param(const std::string& key) const
{
    return firstValue(params, key);
}

std::string SiteRequest::capture(size_t i) const
{
    return i < captures.size() ? captures[i] : std::string();
}

std::string SiteRequest::siteUrl() const
{
    return "http://" + host + prefix;
}

const Answer& PageBook::pick(const std::string& key) const
{
    auto it = pages.find(key);
    return it == pages.end() ? noResult : it->second;
}

bool LoggedRequest::hasHeader(const std::string& name) const
{
    return std::any_of(headers.begin(), headers.end(), [&](const auto& h) {
        return strcasecmp(h.first.c_str(), name.c_str()) == 0;
    });
}

std::string LoggedRequest::header(const std::string& name) const
{
    for (const auto& h : headers)
        if (strcasecmp(h.first.c_str(), name.c_str()) == 0)
            return h.second;
    return {};
}

std::string LoggedRequest::param(const std::string& key) const
{
    return firstValue(params, key);
}

// -------------------------------------------------------------- SiteRouter

namespace {

std::string escapeRegex(const std::string& s)
{
    static const std::string special = R"(\^$.|?*+()[]{})";
    std::string out;
    for (char c : s) {
        if (special.find(c) != std::string::npos)
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

void SiteRouter::route(const std::string& role, const std::string& pattern, RouteHandler handler)
{
    m_routes.push_back({SampleSites::prefixFor(role), std::regex(pattern, std::regex::ECMAScript),
                        std::move(handler)});
}

void SiteRouter::page(const std::string& role, const std::string& path, Answer answer)
{
    route(role, escapeRegex(path), [answer = std::move(answer)](const SiteRequest&) { return answer; });
}

std::optional<Answer> SiteRouter::dispatch(const std::string& fullPath, SiteRequest& req) const
{
    for (const Route& r : m_routes) {
        if (r.prefix.empty() || fullPath.compare(0, r.prefix.size(), r.prefix) != 0)
            continue;
        std::string rest = fullPath.substr(r.prefix.size());
        if (!rest.empty() && rest.front() != '/')
            continue;                         // "/vendorx" is not under "/vendor"
        if (rest.empty())
            rest = "/";
        std::smatch m;
        if (!std::regex_match(rest, m, r.pattern))
            continue;
        req.prefix = r.prefix;
        req.path = rest;
        req.captures.assign(m.begin(), m.end());
        return r.handler(req);
    }
    return std::nullopt;
}

// ------------------------------------------------------------- SampleSites

namespace {


const char kNotFoundPage[] =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>404 Not Found</title></head>\n"
    "<body><h1>404 Not Found</h1><p>The requested page does not exist on this server.</p>"
    "</body></html>\n";

constexpr int kMaxDelayMs = 120000;          // a programmed delay never exceeds this
constexpr size_t kChunk = 64 * 1024;

// Closes the server side of the connection a request arrived on, so the
// client sees the connection end without any answer. The handler has no
// socket of its own, so find it by its two ports.
void dropConnection(const httplib::Request& req)
{
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return;
    while (dirent* e = readdir(dir)) {
        char* end = nullptr;
        const long fd = std::strtol(e->d_name, &end, 10);
        if (end == e->d_name || *end != '\0' || fd == dirfd(dir))
            continue;
        sockaddr_in peer{}, local{};
        socklen_t len = sizeof peer;
        if (getpeername(int(fd), reinterpret_cast<sockaddr*>(&peer), &len) != 0 || peer.sin_family != AF_INET)
            continue;
        len = sizeof local;
        if (getsockname(int(fd), reinterpret_cast<sockaddr*>(&local), &len) != 0)
            continue;
        if (ntohs(peer.sin_port) == req.remote_port && ntohs(local.sin_port) == req.local_port) {
            ::shutdown(int(fd), SHUT_RDWR);
            break;
        }
    }
    closedir(dir);
}

} // namespace

struct SampleSites::Impl {
    SiteRouter router;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = 0;

    mutable std::mutex hooksMutex;
    std::shared_ptr<SiteHooks> hooks;
    // Raised by endFilteredDelays(): the delays of filtered answers end.
    std::atomic<unsigned> filterGeneration{0};

    std::mutex stopMutex;
    std::condition_variable stopCv;
    std::atomic<bool> stopping{false};

    // Sleeps up to ms; false when the server is stopping, or when
    // `generation` is given and the filters have been taken away meanwhile.
    bool pause(int ms, std::optional<unsigned> generation = std::nullopt)
    {
        std::unique_lock<std::mutex> lock(stopMutex);
        return !stopCv.wait_for(lock, std::chrono::milliseconds(std::min(ms, kMaxDelayMs)), [&] {
            return stopping.load() || (generation && *generation != filterGeneration.load());
        });
    }

    std::shared_ptr<SiteHooks> currentHooks() const
    {
        std::lock_guard<std::mutex> lock(hooksMutex);
        return hooks;
    }

    static LoggedRequest describe(const httplib::Request& req)
    {
        LoggedRequest entry;
        entry.method = req.method;
        entry.path = req.path;
        entry.target = req.target;
        const auto q = req.target.find('?');
        if (q != std::string::npos)
            entry.query = req.target.substr(q + 1);
        entry.headers.assign(req.headers.begin(), req.headers.end());
        entry.params = toMap(req.params);
        return entry;
    }

    void handle(const httplib::Request& req, httplib::Response& res)
    {
        const std::shared_ptr<SiteHooks> siteHooks = currentHooks();
        std::optional<LoggedRequest> seen;
        std::optional<Answer> answer;
        if (siteHooks) {
            seen = describe(req);
            siteHooks->received(*seen);
            answer = siteHooks->instead(*seen);
        }
        if (!answer) {
            SiteRequest site;
            site.method = req.method;
            site.host = req.get_header_value("Host");
            if (site.host.empty())
                site.host = "127.0.0.1:" + std::to_string(req.local_port);
            const auto q = req.target.find('?');
            if (q != std::string::npos)
                site.query = req.target.substr(q + 1);
            site.params = toMap(req.params);
            answer = router.dispatch(req.path, site);
        }
        if (!answer)
            answer = Answer::html(kNotFoundPage, 404);
        std::optional<unsigned> generation;
        if (siteHooks) {
            const unsigned before = filterGeneration.load();
            if (std::optional<Answer> filtered = siteHooks->filtered(*answer, *seen)) {
                generation = before;
                answer = std::move(filtered);
            }
        }
        serve(*answer, req, res, generation);
    }

    void serve(const Answer& a, const httplib::Request& req, httplib::Response& res,
               std::optional<unsigned> generation)
    {
        if (a.delayMs > 0 && !pause(a.delayMs, generation)) {
            res.status = 503;
            return;
        }
        if (a.drop) {
            dropConnection(req);
            res.status = 500;          // never reaches the client
            return;
        }
        res.status = a.status;
        for (const auto& h : a.headers)
            res.set_header(h.first, h.second);
        if (a.endless) {
            res.set_chunked_content_provider(a.contentType, [this](size_t, httplib::DataSink& sink) {
                static const std::string chunk(kChunk, 'x');
                // Ends when the client goes away (the write fails) or on stop.
                return !stopping.load() && sink.write(chunk.data(), chunk.size());
            });
            return;
        }
        if (a.streamedBytes > 0) {
            const size_t total = a.streamedBytes;
            res.set_chunked_content_provider(a.contentType, [this, total](size_t offset, httplib::DataSink& sink) {
                static const std::string chunk(kChunk, 'x');
                if (offset >= total) {
                    sink.done();
                    return true;
                }
                return !stopping.load() && sink.write(chunk.data(), std::min(total - offset, kChunk));
            });
            return;
        }
        if (a.oversizedBytes > 0) {
            res.set_content_provider(a.oversizedBytes, a.contentType,
                                     [this](size_t, size_t length, httplib::DataSink& sink) {
                static const std::string chunk(kChunk, 'x');
                return !stopping.load() && sink.write(chunk.data(), std::min(length, kChunk));
            });
            return;
        }
        res.set_content(a.body, a.contentType);
    }
};

SampleSites::SampleSites() : d(std::make_unique<Impl>())
{
    addAllRoutes(d->router);
}

SampleSites::~SampleSites()
{
    stop();
}

bool SampleSites::start(int port)
{
    if (d->server)
        return true;
    d->stopping = false;
    auto server = std::make_unique<httplib::Server>();
    // One request per connection: no idle keep-alive connection can hold up
    // stop(), and no connection outlives its fetch.
    server->set_keep_alive_max_count(1);
    server->set_keep_alive_timeout(1);
    server->set_read_timeout(2);
    server->set_write_timeout(2);
    // Answers go out as the bytes programmed: never compressed, whatever the
    // client accepts. (The server's own gzip takes seconds for a few MiB, and
    // a body that shrinks to kilobytes on the wire tests nothing about size.)
    server->set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
        // The request is the server's own, handed over as const.
        const_cast<httplib::Request&>(req).headers.erase("Accept-Encoding");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    auto handler = [this](const httplib::Request& req, httplib::Response& res) { d->handle(req, res); };
    server->Get(".*", handler);
    server->Post(".*", handler);
    // httplib refuses a query that holds a second '?' (a link passed on
    // unescaped: "url=magnet:?xt=…"), which web servers take; the sample
    // sites serve it like any other request.
    server->set_error_handler(httplib::Server::HandlerWithResponse(
        [this](const httplib::Request& req, httplib::Response& res) {
            const auto q = req.target.find('?');
            if (res.status != 400 || req.method.empty() || q == std::string::npos
                || req.target.find('?', q + 1) == std::string::npos)
                return httplib::Server::HandlerResponse::Unhandled;
            httplib::Request whole = req;
            whole.path = httplib::detail::decode_url(req.target.substr(0, q), false);
            whole.params.clear();
            httplib::detail::parse_query_text(req.target.substr(q + 1), whole.params);
            whole.local_port = d->port;
            d->handle(whole, res);
            return httplib::Server::HandlerResponse::Handled;
        }));

    int bound = 0;
    if (port == 0)
        bound = server->bind_to_any_port("127.0.0.1");
    else
        bound = server->bind_to_port("127.0.0.1", port) ? port : -1;
    if (bound <= 0)
        return false;

    d->server = std::move(server);
    d->port = bound;
    httplib::Server* raw = d->server.get();
    d->thread = std::thread([raw] {
        // A client that goes away mid-answer must not kill the process with
        // SIGPIPE; the worker threads inherit this mask.
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &set, nullptr);
        raw->listen_after_bind();
    });
    // stop() is only heard once the server loop runs.
    for (int i = 0; i < 2000 && !raw->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void SampleSites::stop()
{
    if (!d->server)
        return;
    {
        std::lock_guard<std::mutex> lock(d->stopMutex);
        d->stopping = true;
    }
    d->stopCv.notify_all();
    d->server->stop();
    if (d->thread.joinable())
        d->thread.join();
    d->server.reset();
    d->port = 0;
}

bool SampleSites::isRunning() const
{
    return d->server && d->server->is_running();
}

int SampleSites::port() const
{
    return d->port;
}

std::string SampleSites::baseUrl() const
{
    return d->port ? "http://127.0.0.1:" + std::to_string(d->port) : std::string();
}

std::string SampleSites::roleUrl(const std::string& role) const
{
    return baseUrl() + prefixFor(role);
}

const std::vector<std::string>& SampleSites::roles()
{
    static const std::vector<std::string> list = [] {
        std::vector<std::string> v;
        for (const QString& role : SiteConfig::roles())
            v.push_back(role.toStdString());
        return v;
    }();
    return list;
}

std::string SampleSites::prefixFor(const std::string& role)
{
    return SiteConfig::samplePrefix(QString::fromStdString(role)).toStdString();
}

void SampleSites::setHooks(std::shared_ptr<SiteHooks> hooks)
{
    std::lock_guard<std::mutex> lock(d->hooksMutex);
    d->hooks = std::move(hooks);
}

void SampleSites::endFilteredDelays()
{
    {
        std::lock_guard<std::mutex> lock(d->stopMutex);
        ++d->filterGeneration;
    }
    d->stopCv.notify_all();
}

std::string encodeText(std::string_view utf8, const char* charset)
{
    QStringEncoder encoder(charset);
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    if (!encoder.isValid())
        return std::string(utf8);
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), size_t(bytes.size()));
}

} // namespace lumorra
