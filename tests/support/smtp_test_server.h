#pragma once
// A real SMTP server for feedback tests: aiosmtpd (Debian's python3-aiosmtpd)
// run by /usr/bin/python3 on a free loopback port, AUTH required; without
// TLS, with STARTTLS required, or TLS from the first byte (a throw-away
// self-signed certificate), or a server that takes the connection and never
// says a word. Every mail it accepts is kept with its envelope, and every
// command it acts on is logged; both can be read back.
#include "net/site_config.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace lumorra::testing {

class SmtpTestServer {
public:
    enum class Mode { Plain, StartTls, ImplicitTls, Silent };

    explicit SmtpTestServer(Mode mode = Mode::Plain);
    ~SmtpTestServer();

    // Starts the server and waits for its port; false with the reason in
    // `error` (no aiosmtpd, no openssl, …).
    bool start(QString* error);
    int port() const { return m_port; }

    // The account the server takes.
    static QString user() { return QStringLiteral("feedback"); }
    static QString password() { return QStringLiteral("pa55-word"); }
    // Settings that reach this server with that account: Security as the
    // server needs it (none for Plain, whose AUTH goes in plain text), the
    // certificate trusted through CaFile.
    MailSettings settings() const;

    struct Mail {
        QByteArray mailFrom;
        QList<QByteArray> rcptTos;
        QByteArray content;          // the DATA as received, dot-stuffing undone
        bool tls = false;            // the session had switched to TLS
        QByteArray login;            // the account it authenticated with
        QByteArray mechanism;        // the AUTH mechanism used
    };
    // Every mail accepted so far, in order.
    QList<Mail> received() const;

    struct Command {
        QByteArray verb;  // "EHLO", "STARTTLS", "AUTH PLAIN", "MAIL", …
        bool tls = false; // the session was TLS when it arrived
    };
    // Every command acted on so far, across sessions, in order.
    QList<Command> commands() const;

private:
    Mode m_mode;
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

} // namespace lumorra::testing
