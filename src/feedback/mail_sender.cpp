#include "feedback/mail_sender.h"

#include <QMetaObject>

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace lumorra {

namespace {

void initialiseCurlOnce()
{
    // Not thread-safe in libcurl; the first send runs it on the GUI thread
    // before any worker exists.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Upload {
    const QByteArray* bytes = nullptr;
    qsizetype at = 0;
};

size_t readMessage(char* buffer, size_t size, size_t count, void* userData)
{
    auto* upload = static_cast<Upload*>(userData);
    const qsizetype left = upload->bytes->size() - upload->at;
    const qsizetype n = std::min<qsizetype>(left, qsizetype(size * count));
    if (n > 0) {
        std::memcpy(buffer, upload->bytes->constData() + upload->at, size_t(n));
        upload->at += n;
    }
    return size_t(n);
}

int checkAbort(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const std::atomic<bool>*>(userData)->load() ? 1 : 0;
}

QByteArray serverUrl(const MailSettings& s)
{
    QString host = s.host;
    if (host.contains(u':') && !host.startsWith(u'['))
        host = u'[' + host + u']';     // an IPv6 address
    const QString scheme
        = s.transport() == MailTransport::ImplicitTls ? QStringLiteral("smtps") : QStringLiteral("smtp");
    return QStringLiteral("%1://%2:%3").arg(scheme, host).arg(s.port).toUtf8();
}

long curlUseSsl(MailTransport transport)
{
    switch (transport) {
    case MailTransport::ImplicitTls:
    case MailTransport::StartTlsRequired:
        // Without STARTTLS libcurl ends the session before AUTH.
        return CURLUSESSL_ALL;
    case MailTransport::StartTlsIfOffered: return CURLUSESSL_TRY;
    case MailTransport::Plain: return CURLUSESSL_NONE;
    }
    return CURLUSESSL_ALL;
}

QByteArray angleAddress(const QString& address)
{
    return "<" + address.toUtf8() + ">";
}

} // namespace

QString mailErrorDescription(int curlCode, const QString& detail)
{
    QString words;
    switch (CURLcode(curlCode)) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        words = QStringLiteral("邮件服务器的地址有误");
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
        words = QStringLiteral("找不到邮件服务器,请检查网络连接");
        break;
    case CURLE_COULDNT_CONNECT:
        words = QStringLiteral("无法连接到邮件服务器,请检查网络连接");
        break;
    case CURLE_OPERATION_TIMEDOUT:
        words = QStringLiteral("邮件服务器长时间没有回应");
        break;
    case CURLE_LOGIN_DENIED:
        words = QStringLiteral("邮件服务器拒绝登录,帐号或密码有误");
        break;
    case CURLE_USE_SSL_FAILED:
        // Only a required STARTTLS ends this way, before anything secret or
        // the mail itself has gone out.
        words = QStringLiteral("邮件服务器不提供加密连接(STARTTLS),邮件未发送");
        break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
        words = QStringLiteral("无法与邮件服务器建立安全连接");
        break;
    case CURLE_SEND_ERROR:
        // libcurl names a refused command ("MAIL failed: 550", "RCPT
        // failed: …"); anything else is a connection that broke.
        words = detail.contains(QStringLiteral("failed:"))
                    ? QStringLiteral("邮件服务器拒绝了这封邮件")
                    : QStringLiteral("与邮件服务器的连接中断");
        break;
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        words = QStringLiteral("与邮件服务器的连接中断");
        break;
    case CURLE_WEIRD_SERVER_REPLY:
        words = QStringLiteral("邮件服务器拒绝了这封邮件");
        break;
    case CURLE_ABORTED_BY_CALLBACK:
        words = QStringLiteral("发送已取消");
        break;
    default:
        words = QStringLiteral("邮件发送出错");
        break;
    }
    const QString shown = detail.isEmpty() ? QString::fromUtf8(curl_easy_strerror(CURLcode(curlCode)))
                                           : detail;
    return words + QStringLiteral("(") + shown + QStringLiteral(")");
}

MailSender::MailSender(QObject* parent) : QObject(parent) {}

MailSender::~MailSender()
{
    if (m_abort)
        m_abort->store(true);
    if (m_worker.joinable())
        m_worker.join();
}

bool MailSender::send(const MailSettings& settings, const QByteArray& message)
{
    if (m_busy)
        return false;
    if (m_worker.joinable())
        m_worker.join();   // finished already; its outcome has been collected
    initialiseCurlOnce();
    m_busy = true;
    m_abort = std::make_shared<std::atomic<bool>>(false);
    m_worker = std::thread([this, settings, message, abort = m_abort] {
        const Outcome outcome = transfer(settings, message, *abort);
        // Queued to this object: dropped if it is gone by then (and it can
        // only go after this thread has been joined).
        QMetaObject::invokeMethod(this, [this, outcome] { collect(outcome); }, Qt::QueuedConnection);
    });
    return true;
}

void MailSender::collect(const Outcome& outcome)
{
    if (m_worker.joinable())
        m_worker.join();
    m_busy = false;
    emit finished(outcome.ok, outcome.description);
}

MailSender::Outcome MailSender::transfer(const MailSettings& settings, const QByteArray& message,
                                         const std::atomic<bool>& abort)
{
    CURL* curl = curl_easy_init();
    if (!curl)
        return {false, mailErrorDescription(CURLE_FAILED_INIT, QString())};

    const QByteArray url = serverUrl(settings);
    const QByteArray from = angleAddress(settings.from);
    const QByteArray to = angleAddress(settings.to);
    const QByteArray user = settings.user.toUtf8();
    const QByteArray password = settings.password.toUtf8();
    const QByteArray caFile = settings.caFile.toLocal8Bit();
    curl_slist* recipients = curl_slist_append(nullptr, to.constData());
    Upload upload{&message, 0};
    char errorBuffer[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(curl, CURLOPT_USE_SSL, curlUseSsl(settings.transport()));
    if (!caFile.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));
    // A server that takes the connection and then says nothing must not
    // hold the send forever.
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long(std::max(1, settings.timeoutMs)));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, checkAbort);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&abort));
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);

    const CURLcode code = curl_easy_perform(curl);
    curl_slist_free_all(recipients);
    curl_easy_cleanup(curl);
    if (code == CURLE_OK)
        return {true, QString()};
    return {false, mailErrorDescription(code, QString::fromUtf8(errorBuffer).trimmed())};
}

} // namespace lumorra
