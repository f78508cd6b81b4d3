#pragma once
// Page fetcher: every page, detail page and vendor file comes through here.
// A fetch waits in a local event loop, so window events and timers keep
// running (and may start nested fetches) while a page loads.
#include <QObject>
#include <QString>
#include <QByteArray>

class QNetworkAccessManager;
class QNetworkReply;

namespace lumorra {

enum class FetchError {
    None,       // a body arrived (whatever its status code)
    Timeout,    // no complete answer within the time-out
    Refused,    // connection refused / host not found / dropped
    TooLarge,   // body exceeded the cap
    BadUrl,     // the URL cannot be requested
    Aborted,    // the application is quitting
    Network     // any other network failure
};

// Short Chinese reason for a status line ("网络连接超时" …); empty for None.
QString fetchErrorText(FetchError e);

struct FetchResult {
    QString text;              // decoded body; empty on failure
    FetchError error = FetchError::None;
    int status = 0;            // HTTP status, 0 when none arrived
    bool ok() const { return error == FetchError::None; }
};

enum class FetchMode {
    WithIfModifiedSince,  // GetBody: header "If-Modified-Since: 0"
    Plain                 // GetBodyPlain and the transfer fetch
};

// One started request. Emits finished() exactly once; result() is valid then.
class FetchJob : public QObject {
    Q_OBJECT
public:
    bool isFinished() const { return m_finished; }
    const FetchResult& result() const { return m_result; }
    // Waits (event-driven, in a local event loop) until finished, and returns
    // the result. Returns at once when already finished or when quitting.
    const FetchResult& wait();
    void abort();
signals:
    void finished();
private:
    friend class PageFetcher;
    explicit FetchJob(QObject* parent) : QObject(parent) {}
    void finish(FetchResult r);
    QNetworkReply* m_reply = nullptr;
    QByteArray m_body;
    bool m_finished = false;
    FetchResult m_result;
    class QTimer* m_timer = nullptr;
};

class PageFetcher : public QObject {
    Q_OBJECT
public:
    static PageFetcher& instance();

    void setTimeoutSeconds(int seconds);       // default 30
    int timeoutSeconds() const { return m_timeoutSeconds; }
    void setMaxBodyBytes(qint64 bytes);        // default 32 MiB
    qint64 maxBodyBytes() const { return m_maxBodyBytes; }

    // Starts a request now; the caller owns nothing (the job deletes itself
    // later via deleteLater once finished and its owner let go of it; owners
    // that keep it should parent it or hold a QPointer).
    FetchJob* start(const QString& url, FetchMode mode);

    // Starts and waits. The error of the most recent completed blocking
    // fetch is kept for callers that only got a text back.
    FetchResult fetch(const QString& url, FetchMode mode);
    FetchError lastError() const { return m_lastError; }

    // Ends every pending wait at once and makes every later fetch return
    // empty immediately (the program is ending).
    void shutdown();
    bool isShuttingDown() const { return m_shuttingDown; }

private:
    PageFetcher();
    QNetworkAccessManager* m_nam = nullptr;
    int m_timeoutSeconds = 30;
    qint64 m_maxBodyBytes = 32LL * 1024 * 1024;
    FetchError m_lastError = FetchError::None;
    bool m_shuttingDown = false;
};

// The program's three ways to read a page; each returns the body as text,
// or an empty text on failure (ask PageFetcher::instance().lastError()).
QString GetBody(const QString& url);
QString GetBodyPlain(const QString& url);
QString TransferFetch(const QString& url);

} // namespace lumorra
