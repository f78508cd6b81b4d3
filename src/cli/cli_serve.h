#pragma once
// "serve": the Torznab feed of the sources until SIGTERM or SIGINT.
#include <QString>

namespace lumorra::cli {

struct ServeOptions {
    QString host = QStringLiteral("127.0.0.1");   // loopback unless --listen names another
    int port = 9119;                              // 0: a free one (printed)
    QString apiKey;                               // empty: the kept one
    bool agreementAccepted = false;
};

// "HOST:PORT", "[v6]:PORT" or ":PORT" (loopback) into *out; false on anything else.
bool parseListen(const QString& text, ServeOptions* out);

// Listens, prints the feed's address and key on stdout, logs every answer
// on stderr, and returns the exit status once a signal ends it.
int runFeedServer(const ServeOptions& options);

} // namespace lumorra::cli
