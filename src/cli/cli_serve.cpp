#include "cli/cli_serve.h"

#include "cli/cli_output.h"
#include "cli/console_run.h"
#include "feed/api_key.h"
#include "feed/feed_server.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace lumorra::cli {

namespace {

int g_signalPipe[2] = {-1, -1};

extern "C" void onStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

void write(std::FILE* to, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}

} // namespace

bool parseListen(const QString& text, ServeOptions* out)
{
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon < 0)
        return false;
    QString host = text.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    if (host.isEmpty())
        host = QStringLiteral("127.0.0.1");
    bool ok = false;
    const int port = text.mid(colon + 1).toInt(&ok);
    if (!ok || port < 0 || port > 65535 || QHostAddress(host).isNull())
        return false;
    out->host = host;
    out->port = port;
    return true;
}

int runFeedServer(const ServeOptions& options)
{
    QString key = options.apiKey;
    if (key.isEmpty()) {
        QString problem;
        key = feed::keptApiKey(&problem);
        if (key.isEmpty()) {
            write(stderr, QStringLiteral("lumorra-cli: serve: ") + problem + u'\n');
            return kExitFetchFailed;
        }
    }
    feed::FeedServerOptions serverOptions;
    serverOptions.apiKey = key;
    serverOptions.agreementAccepted = options.agreementAccepted;
    feed::FeedServer server(serverOptions);
    QObject::connect(&server, &feed::FeedServer::logLine, &server,
                     [](const QString& line) { write(stderr, QStringLiteral("lumorra-cli: serve: ") + stderrText(line) + u'\n'); });
    const QHostAddress address(options.host);
    const quint16 port = server.listen(address, quint16(options.port));
    if (port == 0) {
        write(stderr, QStringLiteral("lumorra-cli: serve: cannot listen on %1:%2\n").arg(options.host).arg(options.port));
        return kExitFetchFailed;
    }

    // A signal ends the event loop; the server closes its port as it goes.
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        write(stderr, QStringLiteral("lumorra-cli: serve: no signal pipe\n"));
        return kExitFetchFailed;
    }
    QSocketNotifier stop(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &stop, [] {
        char byte;
        while (::read(g_signalPipe[0], &byte, 1) > 0) {
        }
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);

    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol ? u'[' + options.host + u']' : options.host;
    write(stdout, QStringLiteral("Torznab feed: http://%1:%2%3\nAPI key: %4\n")
                      .arg(host)
                      .arg(port)
                      .arg(feed::FeedServer::feedPath(QStringLiteral("all")), key));
    const int status = QCoreApplication::exec();
    write(stderr, QStringLiteral("lumorra-cli: serve: stopped\n"));
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    return status;
}

} // namespace lumorra::cli
