#pragma once
// Page fetcher: every page, detail page and vendor file comes through here.
//
// Nothing waits for a page. A caller starts a request and goes on in a
// callback bound to a context object; the callback runs on the context's
// thread when the request ends, and is dropped when the context is gone:
//
//     GetBody(url, this, [this](const FetchResult& r) { ... });
//
// A list that shows one page at a time keeps a LatestFetch, so a newer
// request supersedes an older one and the list shows the latest click.
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QByteArray>
#include <QList>

#include <functional>
#include <utility>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

Q_DECLARE_LOGGING_CATEGORY(lcNet)

namespace lumorra {

enum class FetchError {
    None,       // a body arrived (whatever its status code)
    Timeout,    // no complete answer within the time-out
    Refused,    // connection refused / host not found / dropped
    TooLarge,   // body exceeded the cap
    BadUrl,     // the URL cannot be requested
    Aborted,    // the request was aborted
    Network,    // any other network failure
    RedirectLoop  // redirected again and again
};

// Short Chinese reason for a status line ("网络请求超时" …); empty for None.
QString fetchErrorText(FetchError e);

struct FetchResult {
    QString url;               // as requested
    QString text;              // decoded body; empty on failure
    QByteArray body;           // the raw bytes (pictures); empty on failure
    QByteArray contentType;    // the Content-Type header as it came
    FetchError error = FetchError::None;
    int status = 0;            // HTTP status, 0 when none arrived
    qint64 elapsedMs = 0;      // from the request's start to its end
    bool ok() const { return error == FetchError::None; }
    // A body arrived with a success status (below 400): the steps that read
    // a page as a value (a version text, an announcement file) want this.
    bool okStatus() const { return ok() && status < 400; }
    // The site's page came: a body with a success status. An error page
    // (404, 500 …) is the server's own page, never one of the site's pages,
    // and an empty body holds nothing to read.
    bool hasPage() const { return okStatus() && !text.isEmpty(); }
};

// Why `r` holds no page of the site, for a status line: the fetch error
// ("网络请求超时" …), the error status ("服务器返回 HTTP 404"), or "页面没有内容"
// for an empty body. Empty when r.hasPage().
QString pageFailureText(const FetchResult& r);

enum class FetchMode {
    WithIfModifiedSince,  // GetBody: header "If-Modified-Since: 0"
    Plain                 // GetBodyPlain and the transfer fetch
};

using FetchCallback = std::function<void(const FetchResult&)>;

// The charset named by a Content-Type header value ("text/html; charset=gbk"
// → "gbk"); empty when none is named.
QByteArray charsetOf(const QByteArray& contentType);
// Decodes a body by the charset of its Content-Type: UTF-8 where none is
// named or the name is unknown; invalid bytes become U+FFFD.
QString decodeBody(const QByteArray& body, const QByteArray& contentType);

// One started request. Emits finished() exactly once (never when abandoned
// by a shutdown); result() is valid from then on. The job deletes itself
// after finished() has been delivered; hold it in a QPointer.
class FetchJob : public QObject {
    Q_OBJECT
public:
    ~FetchJob() override;

    QString url() const { return m_url; }
    FetchMode mode() const { return m_mode; }
    bool isFinished() const { return m_finished; }
    const FetchResult& result() const { return m_result; }

    // Ends the request now with Aborted: finished() is emitted at once.
    void abort();

signals:
    void finished();

private:
    friend class PageFetcher;
    FetchJob(const QString& url, FetchMode mode, QObject* parent);
    void begin(QNetworkAccessManager* nam, int timeoutMs, qint64 maxBytes);
    void finishEarly(FetchError e);       // result now, signal queued
    void onMetaDataChanged();
    void onReadyRead();
    void onReplyFinished();
    void onReplyDestroyed();
    void fail(FetchError e);
    void releaseReply();
    void finish(FetchResult r);
    // Ends the request without telling anybody (the program is ending).
    void abandon();

    QString m_url;
    FetchMode m_mode;
    QPointer<QNetworkReply> m_reply;
    QTimer* m_timer = nullptr;
    QElapsedTimer m_clock;
    QByteArray m_body;
    qint64 m_maxBytes = 0;
    bool m_finished = false;
    FetchResult m_result;
};

class PageFetcher : public QObject {
    Q_OBJECT
public:
    // The process-wide fetcher. Created on first use; lives on the
    // application's thread and ends with the application object.
    static PageFetcher& instance();

    void setTimeoutSeconds(int seconds);       // default 30; whole request
    int timeoutSeconds() const { return int((qint64(m_timeoutMs) + 999) / 1000); }
    // The same, finer: a test's stalled server need not hold it a second.
    void setTimeoutMs(int ms);
    int timeoutMs() const { return m_timeoutMs; }
    void setMaxBodyBytes(qint64 bytes);        // default 32 MiB
    qint64 maxBodyBytes() const { return m_maxBodyBytes; }

    // Starts a request; `onDone` runs on `context` when it ends (always
    // later, never inside this call), unless `context` is gone by then.
    // Returns the job, to abort it; null once the fetcher is shut down, and
    // then `onDone` never runs.
    QPointer<FetchJob> get(const QString& url, FetchMode mode, const QObject* context, FetchCallback onDone);

    // Starts a request and returns its job; finished() tells the end. Null
    // once the fetcher is shut down.
    FetchJob* start(const QString& url, FetchMode mode);

    // The program is ending: every pending request is dropped without its
    // callback running, and later requests are never sent. Called when the
    // user confirmed the exit and on QCoreApplication::aboutToQuit.
    void shutdown();
    bool isShuttingDown() const { return m_shuttingDown; }
    // Lets fetches run again after shutdown() (tests that carry on).
    void reopen();
    // Requests on the way now.
    int pendingCount() const;

private:
    PageFetcher();

    QNetworkAccessManager* m_nam = nullptr;
    QList<QPointer<FetchJob>> m_active;
    int m_timeoutMs = 30000;
    qint64 m_maxBodyBytes = 32LL * 1024 * 1024;
    bool m_shuttingDown = false;
};

// The program's three ways to read a page, each continuing in `onDone`.
// GetBody sends "If-Modified-Since: 0"; GetBodyPlain and the transfer fetch
// send a plain GET.
QPointer<FetchJob> GetBody(const QString& url, const QObject* context, FetchCallback onDone);
QPointer<FetchJob> GetBodyPlain(const QString& url, const QObject* context, FetchCallback onDone);
QPointer<FetchJob> TransferFetch(const QString& url, const QObject* context, FetchCallback onDone);

// The fetch behind one list, page or box that shows one answer at a time:
// starting a request supersedes the pending one, whose answer is then never
// delivered, so what is shown always belongs to the latest request. Keep it
// as a member of the callback's context object.
class LatestFetch {
public:
    LatestFetch() = default;
    LatestFetch(const LatestFetch&) = delete;
    LatestFetch& operator=(const LatestFetch&) = delete;
    ~LatestFetch() { cancel(); }

    void get(const QString& url, FetchMode mode, const QObject* context, FetchCallback onDone);
    // Drops the pending request, if any; its answer is never delivered.
    void cancel();
    bool isPending() const { return !m_job.isNull(); }
    // Counts the requests started, for checks that a request is still the
    // one in force (a step that runs later, on a timer).
    quint64 generation() const { return m_generation; }

private:
    QPointer<FetchJob> m_job;
    quint64 m_generation = 0;
};

} // namespace lumorra
