#include "cli/saved_page_server.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace lumorra::cli {

namespace {

constexpr qsizetype kMostRequestBytes = 64 * 1024;

} // namespace

SavedPageServer::SavedPageServer(QByteArray page, bool hasPage, QObject* parent)
    : QObject(parent),
      m_server(new QTcpServer(this)),
      m_page(std::move(page)),
      m_hasPage(hasPage)
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

bool SavedPageServer::listen()
{
    return m_server->listen(QHostAddress::LocalHost, 0);
}

QString SavedPageServer::base() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server->serverPort());
}

void SavedPageServer::serve(QTcpSocket* socket)
{
    if (socket->property("answered").toBool())
        return;
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    if (!head.contains("\r\n\r\n")) {
        if (head.size() > kMostRequestBytes)
            socket->abort();
        else
            socket->setProperty("head", head);
        return;
    }
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    emit asked(QString::fromUtf8(requestLine.value(1)));
    // No charset named: the page is read by the definition's own.
    const QByteArray body = m_hasPage ? m_page : QByteArray("no saved page");
    QByteArray answer = m_hasPage ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n";
    answer += "Content-Type: text/html\r\nConnection: close\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    socket->write(answer);
    socket->disconnectFromHost();
}

} // namespace lumorra::cli
