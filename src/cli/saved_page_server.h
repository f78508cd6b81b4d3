#pragma once
// A loopback HTTP server that answers every request with one saved page
// (or 404 without one), so `site test` runs a source's own engine on a page
// a user saved from the site, without the network.
#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace lumorra::cli {

class SavedPageServer : public QObject {
    Q_OBJECT
public:
    explicit SavedPageServer(QByteArray page, bool hasPage, QObject* parent = nullptr);
    bool listen();
    // "http://127.0.0.1:PORT"
    QString base() const;

signals:
    // A request came for `target` (its path and query, as sent).
    void asked(const QString& target);

private:
    void serve(QTcpSocket* socket);

    QTcpServer* m_server;
    QByteArray m_page;
    bool m_hasPage;
};

} // namespace lumorra::cli
