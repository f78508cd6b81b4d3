#pragma once
// Sends one composed mail over SMTP (libcurl) on a thread of its own, so the
// window stays usable while a slow server answers. AUTH as the server offers
// it (PLAIN, LOGIN, …); the connection as MailSettings::transport() says, so
// an account's password never crosses a plain connection unless the user
// chose so. The outcome comes back on the sender's thread.
#include "net/site_config.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

namespace lumorra {

// The user's words for why a send failed, followed by libcurl's own detail
// in parentheses. `curlCode` is a CURLcode.
QString mailErrorDescription(int curlCode, const QString& detail);

class MailSender : public QObject {
    Q_OBJECT
public:
    explicit MailSender(QObject* parent = nullptr);
    // A send still under way is aborted; the destructor waits until its
    // thread has let go (libcurl looks at the abort at least once a second).
    ~MailSender() override;

    // Starts sending `message` with `settings`. False, and nothing started,
    // while an earlier send is still under way.
    bool send(const MailSettings& settings, const QByteArray& message);
    bool isBusy() const { return m_busy; }

signals:
    // `description` is empty on success, mailErrorDescription() otherwise.
    void finished(bool ok, const QString& description);

private:
    struct Outcome {
        bool ok = false;
        QString description;
    };
    static Outcome transfer(const MailSettings& settings, const QByteArray& message,
                            const std::atomic<bool>& abort);
    void collect(const Outcome& outcome);

    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_abort;
    bool m_busy = false;
};

} // namespace lumorra
