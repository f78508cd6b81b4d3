#pragma once
// Page fetcher: every page, detail page and vendor file comes through here.
// A fetch waits in a local event loop, so window events and timers keep
// running (and may start nested fetches) while a page loads. The wait is
// event-driven: nothing polls, no processor time is spent while waiting.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QByteArray>
#include <QList>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace lumorra {

enum class FetchError {
    None,       // a body arrived (whatever its status code)
    Timeout,    // no complete answer within the time-out
    Refused,    // connection refused / host not found / dropped
    TooLarge,   // body exceeded the cap
    BadUrl,     // the URL cannot be requested
    Aborted,    // the application is quitting (or the job was aborted)
    Network     // any other network failure
};

// Short Chinese reason for a status line ("网络请求超时" …); empty for None.
QString fetchErrorText(FetchError e);

struct FetchResult {
    QString text;              // decoded body; empty on failure
    QByteArray body;           // the raw bytes (pictures); empty on failure
    FetchError error = FetchError::None;
    int status = 0;            // HTTP status, 0 when none arrived
    bool ok() const { return error == FetchError::None; }
};

enum class FetchMode {
    WithIfModifiedSince,  // GetBody: header "If-Modified-Since: 0"
    Plain                 // GetBodyPlain and the transfer fetch
};

// The charset named by a Content-Type header value ("text/html; charset=gbk"
// → "gbk"); empty when none is named.
QByteArray charsetOf(const QByteArray& contentType);
// Decodes a body by the charset of its Content-Type: UTF-8 where none is
// named or the name is unknown; invalid bytes become U+FFFD.
QString decodeBody(const QByteArray& body, const QByteArray& contentType);

// One started request. Emits finished() exactly once; result() is valid from
// then on (isFinished() may already be true before the signal arrives, when a
// job could not even start: bad URL, fetcher shut down).
//
// Ownership: the caller owns the job and deletes it when done (deleteLater()
// from a slot connected to finished()). Jobs started on the fetcher's thread
// are parented to the fetcher, so a forgotten job is freed with it.
class FetchJob : public QObject {
    Q_OBJECT
public:
    ~FetchJob() override;

    QString url() const { return m_url; }
    FetchMode mode() const { return m_mode; }
    bool isFinished() const { return m_finished; }
    const FetchResult& result() const { return m_result; }

    // Waits (event-driven, in a local event loop) until finished and returns
    // the result. Returns at once when already finished or when the
    // application is quitting; a job deleted during the wait gives Aborted.
    FetchResult wait();
    // Ends the request now with Aborted (nothing happens once finished).
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

    QString m_url;
    FetchMode m_mode;
    QPointer<QNetworkReply> m_reply;
    QTimer* m_timer = nullptr;
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
    int timeoutSeconds() const { return m_timeoutSeconds; }
    void setMaxBodyBytes(qint64 bytes);        // default 32 MiB
    qint64 maxBodyBytes() const { return m_maxBodyBytes; }

    // Starts a request now and returns at once (see FetchJob for ownership).
    // Several jobs may run together; each delivers its own page.
    FetchJob* start(const QString& url, FetchMode mode);

    // Starts and waits. The error of the most recent completed blocking
    // fetch is kept for callers that only got a text back.
    FetchResult fetch(const QString& url, FetchMode mode);
    FetchError lastError() const { return m_lastError; }

    // Ends every pending wait at once (Aborted) and makes every later fetch
    // return empty immediately: the program is ending. Called on
    // QCoreApplication::aboutToQuit, and when a wait is ended by the
    // application leaving its event loops.
    void shutdown();
    bool isShuttingDown() const { return m_shuttingDown; }
    // Lets fetches run again after shutdown() (tests that quit an event loop
    // and carry on).
    void reopen();

private:
    PageFetcher();

    QNetworkAccessManager* m_nam = nullptr;
    QList<QPointer<FetchJob>> m_active;
    int m_timeoutSeconds = 30;
    qint64 m_maxBodyBytes = 32LL * 1024 * 1024;
    FetchError m_lastError = FetchError::None;
    bool m_shuttingDown = false;
};

// The program's three ways to read a page; each returns the body as text,
// or an empty text on failure (ask PageFetcher::instance().lastError()).
QString GetBody(const QString& url);        // GET with "If-Modified-Since: 0"
QString GetBodyPlain(const QString& url);   // plain GET
QString TransferFetch(const QString& url);  // plain GET (the transfer fetch)

} // namespace lumorra
