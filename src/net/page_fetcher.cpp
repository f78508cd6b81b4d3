#include "net/page_fetcher.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <limits>

Q_LOGGING_CATEGORY(lcNet, "lumorra.net")

namespace lumorra {

QString fetchErrorText(FetchError e)
{
    switch (e) {
    case FetchError::None: return {};
    case FetchError::Timeout: return QStringLiteral("网络请求超时");
    case FetchError::Refused: return QStringLiteral("无法连接到服务器");
    case FetchError::TooLarge: return QStringLiteral("页面过大");
    case FetchError::BadUrl: return QStringLiteral("网址无效");
    case FetchError::Aborted: return QStringLiteral("网络请求已取消");
    case FetchError::Network: return QStringLiteral("网络请求失败");
    case FetchError::RedirectLoop: return QStringLiteral("网页重定向次数过多");
    }
    return QStringLiteral("网络请求失败");
}

QString pageFailureText(const FetchResult& r)
{
    if (!r.ok())
        return fetchErrorText(r.error);
    if (r.status >= 400)
        return QStringLiteral("服务器返回 HTTP %1").arg(r.status);
    if (r.text.isEmpty())
        return QStringLiteral("页面没有内容");
    return {};
}

QByteArray charsetOf(const QByteArray& contentType)
{
    // "type/subtype; name=value; charset=\"gbk\"": the media type comes first,
    // parameters follow, names compare case-insensitively.
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray param = parts[i].trimmed();
        const qsizetype eq = param.indexOf('=');
        if (eq <= 0)
            continue;
        if (param.left(eq).trimmed().toLower() != "charset")
            continue;
        QByteArray value = param.mid(eq + 1).trimmed();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
            && value.back() == value.front())
            value = value.mid(1, value.size() - 2).trimmed();
        return value;
    }
    return {};
}

namespace {

// Chinese sites routinely label GBK pages as gb2312 (and browsers read every
// such label as GBK); GB18030 is a superset of both, so it decodes them all
// without losing the characters GB2312 lacks.
QByteArray decoderName(const QByteArray& label)
{
    const QByteArray l = label.toLower();
    static const char* const gbkLabels[] = {
        "gbk", "gb2312", "x-gbk", "cp936", "ms936", "windows-936", "csgb2312",
        "chinese", "gb_2312-80", "gb_2312", "iso-ir-58", "csiso58gb231280", "euc-cn"};
    for (const char* g : gbkLabels)
        if (l == g)
            return QByteArrayLiteral("GB18030");
    return label;
}

} // namespace

QString decodeBody(const QByteArray& body, const QByteArray& contentType)
{
    const QByteArray charset = charsetOf(contentType);
    QStringDecoder decoder;
    if (!charset.isEmpty())
        decoder = QStringDecoder(decoderName(charset).constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The body is complete, but the ICU-backed decoders hold back a sequence
    // cut off at the end, waiting for more input. A NUL after it makes the
    // cut sequence invalid (one replacement character); the NUL itself, when
    // it comes out on its own, is removed again.
    QString text = decoder.decode(body + '\0');
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

namespace {

bool isAnswerWithStatus(QNetworkReply::NetworkError e)
{
    // Errors Qt derives from the status code alone: the body is still the
    // server's page and is returned like any other.
    return (e >= QNetworkReply::ContentAccessDenied && e <= QNetworkReply::UnknownContentError)
        || e == QNetworkReply::ProtocolInvalidOperationError
        || (e >= QNetworkReply::InternalServerError && e <= QNetworkReply::UnknownServerError);
}

FetchError mapError(QNetworkReply::NetworkError e, int status)
{
    if (e == QNetworkReply::NoError)
        return FetchError::None;
    if (status > 0 && isAnswerWithStatus(e))
        return FetchError::None;
    switch (e) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::RemoteHostClosedError:
        return FetchError::Refused;
    case QNetworkReply::TimeoutError:
        return FetchError::Timeout;
    case QNetworkReply::OperationCanceledError:
        return FetchError::Aborted;
    case QNetworkReply::ProtocolUnknownError:
        return FetchError::BadUrl;
    case QNetworkReply::TooManyRedirectsError:
        return FetchError::RedirectLoop;
    default:
        return FetchError::Network;
    }
}

bool isFetchableUrl(const QUrl& u)
{
    if (!u.isValid() || u.host().isEmpty())
        return false;
    const QString scheme = u.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace

// ---------------------------------------------------------------- FetchJob

FetchJob::FetchJob(const QString& url, FetchMode mode, QObject* parent)
    : QObject(parent), m_url(url), m_mode(mode)
{
    m_result.url = url;
    m_clock.start();
    // Whoever listens has had the signal by the time this runs.
    connect(this, &FetchJob::finished, this, &QObject::deleteLater, Qt::QueuedConnection);
}

FetchJob::~FetchJob()
{
    releaseReply();
    if (m_timer) {
        // The job may be deleted from a slot of its own time-out; the timer
        // must outlive that emission.
        m_timer->stop();
        m_timer->deleteLater();
    }
}

void FetchJob::begin(QNetworkAccessManager* nam, int timeoutMs, qint64 maxBytes)
{
    m_maxBytes = maxBytes;

    QNetworkRequest request{QUrl(m_url)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    if (m_mode == FetchMode::WithIfModifiedSince)
        request.setRawHeader("If-Modified-Since", "0");

    m_timer = new QTimer;
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] { fail(FetchError::Timeout); });
    m_timer->start(timeoutMs);

    QNetworkReply* reply = nam->get(request);
    // Back-pressure: without a bound the client's network thread reads a
    // fast endless body into memory as quickly as it can and floods us.
    reply->setReadBufferSize(256 * 1024);
    m_reply = reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, &FetchJob::onMetaDataChanged);
    connect(reply, &QIODevice::readyRead, this, &FetchJob::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &FetchJob::onReplyFinished);
    connect(reply, &QObject::destroyed, this, &FetchJob::onReplyDestroyed);
}

void FetchJob::finishEarly(FetchError e)
{
    m_finished = true;
    m_result.error = e;
    m_result.elapsedMs = m_clock.elapsed();
    // Queued: the caller hears of it after start() has returned, like any
    // other ending.
    QMetaObject::invokeMethod(this, [this] { emit finished(); }, Qt::QueuedConnection);
}

void FetchJob::onMetaDataChanged()
{
    if (m_finished || !m_reply)
        return;
    // A declared length over the cap is refused before any byte is read
    // (a redirect's own body is never read, so its length does not count).
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > m_maxBytes) {
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status < 300 || status >= 400)
            fail(FetchError::TooLarge);
    }
}

void FetchJob::onReadyRead()
{
    if (m_finished || !m_reply)
        return;
    m_body += m_reply->readAll();
    if (m_body.size() > m_maxBytes)
        fail(FetchError::TooLarge);
}

void FetchJob::onReplyFinished()
{
    if (m_finished || !m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_body += reply->readAll();
    if (m_body.size() > m_maxBytes) {
        fail(FetchError::TooLarge);
        return;
    }
    FetchResult r;
    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.error = mapError(reply->error(), r.status);
    if (r.error == FetchError::None) {
        r.body = m_body;
        r.contentType = reply->rawHeader("Content-Type");
        r.text = decodeBody(m_body, r.contentType);
    }
    m_body.clear();
    releaseReply();
    finish(std::move(r));
}

void FetchJob::onReplyDestroyed()
{
    // The manager went away under us (application teardown).
    m_reply = nullptr;
    if (!m_finished)
        fail(FetchError::Aborted);
}

void FetchJob::fail(FetchError e)
{
    if (m_finished)
        return;
    FetchResult r;
    r.error = e;
    if (m_reply)
        r.status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_body.clear();
    releaseReply();
    finish(std::move(r));
}

void FetchJob::releaseReply()
{
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    // Disconnect first: abort() emits finished() synchronously.
    disconnect(reply, nullptr, this, nullptr);
    if (reply->isRunning())
        reply->abort();
    reply->deleteLater();
}

void FetchJob::finish(FetchResult r)
{
    if (m_finished)
        return;
    m_finished = true;
    r.url = m_url;
    r.elapsedMs = m_clock.elapsed();
    m_result = std::move(r);
    if (m_timer)
        m_timer->stop();
    if (!m_result.ok() && m_result.error != FetchError::Aborted)
        qCWarning(lcNet).noquote() << "fetch failed:" << m_url << fetchErrorText(m_result.error)
                                   << "after" << m_clock.elapsed() << "ms";
    else if (m_result.status >= 400)
        qCInfo(lcNet).noquote() << "HTTP" << m_result.status << "for" << m_url << "after"
                                << m_clock.elapsed() << "ms";
    emit finished();
}

void FetchJob::abort()
{
    fail(FetchError::Aborted);
}

void FetchJob::abandon()
{
    if (m_finished)
        return;
    m_finished = true;
    m_result.error = FetchError::Aborted;
    m_body.clear();
    releaseReply();
    if (m_timer)
        m_timer->stop();
    deleteLater();
}

// ------------------------------------------------------------- PageFetcher

PageFetcher::PageFetcher()
{
    m_nam = new QNetworkAccessManager(this);
    m_nam->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &PageFetcher::shutdown);
}

PageFetcher& PageFetcher::instance()
{
    // The fetcher serves the application's thread only; it ends with the
    // application object.
    static QPointer<PageFetcher> s_instance;
    if (!s_instance) {
        auto* fetcher = new PageFetcher();
        if (QCoreApplication* app = QCoreApplication::instance())
            fetcher->setParent(app);
        s_instance = fetcher;
    }
    return *s_instance;
}

void PageFetcher::setTimeoutSeconds(int seconds)
{
    // The timer counts milliseconds in an int: a longer time-out would wrap
    // to a negative interval, the timer would not start, and a stalled
    // request would then wait for ever.
    constexpr int kLongestSeconds = std::numeric_limits<int>::max() / 1000;
    m_timeoutMs = seconds > 0 ? std::min(seconds, kLongestSeconds) * 1000 : 30000;
}

void PageFetcher::setTimeoutMs(int ms)
{
    m_timeoutMs = ms > 0 ? ms : 30000;
}

void PageFetcher::setMaxBodyBytes(qint64 bytes)
{
    m_maxBodyBytes = bytes > 0 ? bytes : 32LL * 1024 * 1024;
}

FetchJob* PageFetcher::start(const QString& url, FetchMode mode)
{
    if (m_shuttingDown)
        return nullptr;
    auto* job = new FetchJob(url, mode, this);
    if (!isFetchableUrl(QUrl(url))) {
        qCWarning(lcNet).noquote() << "fetch failed:" << url << fetchErrorText(FetchError::BadUrl);
        job->finishEarly(FetchError::BadUrl);
        return job;
    }
    m_active.removeAll(QPointer<FetchJob>());
    m_active.append(job);
    job->begin(m_nam, m_timeoutMs, m_maxBodyBytes);
    return job;
}

QPointer<FetchJob> PageFetcher::get(const QString& url, FetchMode mode, const QObject* context,
                                    FetchCallback onDone)
{
    FetchJob* job = start(url, mode);
    if (!job)
        return nullptr;
    connect(job, &FetchJob::finished, context, [job, onDone = std::move(onDone)] {
        if (onDone)
            onDone(job->result());
    });
    return job;
}

int PageFetcher::pendingCount() const
{
    int n = 0;
    for (const QPointer<FetchJob>& job : m_active)
        if (job && !job->isFinished())
            ++n;
    return n;
}

void PageFetcher::shutdown()
{
    m_shuttingDown = true;
    const QList<QPointer<FetchJob>> active = std::exchange(m_active, {});
    for (const QPointer<FetchJob>& job : active)
        if (job)
            job->abandon();
}

void PageFetcher::reopen()
{
    m_shuttingDown = false;
}

QPointer<FetchJob> GetBody(const QString& url, const QObject* context, FetchCallback onDone)
{
    return PageFetcher::instance().get(url, FetchMode::WithIfModifiedSince, context, std::move(onDone));
}

QPointer<FetchJob> GetBodyPlain(const QString& url, const QObject* context, FetchCallback onDone)
{
    return PageFetcher::instance().get(url, FetchMode::Plain, context, std::move(onDone));
}

QPointer<FetchJob> TransferFetch(const QString& url, const QObject* context, FetchCallback onDone)
{
    return PageFetcher::instance().get(url, FetchMode::Plain, context, std::move(onDone));
}

// ------------------------------------------------------------- LatestFetch

void LatestFetch::get(const QString& url, FetchMode mode, const QObject* context, FetchCallback onDone)
{
    cancel();
    const quint64 generation = ++m_generation;
    m_job = PageFetcher::instance().get(url, mode, context,
                                        [this, generation, onDone = std::move(onDone)](const FetchResult& r) {
        if (generation != m_generation)
            return;   // superseded by a newer request of the same list
        m_job = nullptr;
        onDone(r);
    });
}

void LatestFetch::cancel()
{
    ++m_generation;
    if (FetchJob* job = m_job.data()) {
        m_job = nullptr;
        job->abort();
    }
}

} // namespace lumorra
