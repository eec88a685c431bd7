#include "TestHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

TestHttpServer::TestHttpServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    });
}

QString TestHttpServer::url(const QByteArray &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(QString::fromLatin1(path));
}

void TestHttpServer::answer(QTcpSocket *socket)
{
    const QByteArray received = socket->property("received").toByteArray() + socket->readAll();
    socket->setProperty("received", received);
    if (!received.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    const QByteArray path = received.split(' ').value(1);
    m_requested << path;
    const Response response = m_routes.value(path, { "404 Not Found", {}, "<html><body>Not here</body></html>" });
    if (response.silent)
        return;
    QByteArray reply = "HTTP/1.1 " + response.status + "\r\nContent-Length: " + QByteArray::number(response.body.size())
        + "\r\nConnection: close\r\n";
    for (const auto &[name, value] : response.headers)
        reply += name + ": " + value + "\r\n";
    socket->write(reply + "\r\n" + response.body);
    socket->disconnectFromHost();
}
