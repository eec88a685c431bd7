#include "TestHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

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
    QByteArray head = "HTTP/1.1 " + response.status + "\r\nConnection: close\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    if (response.pieces > 1) {
        socket->write(head + (response.unframed ? "\r\n" : "Transfer-Encoding: chunked\r\n\r\n"));
        send_in_pieces(socket, response);
        return;
    }
    socket->write(head + "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n\r\n" + response.body);
    socket->disconnectFromHost();
}

void TestHttpServer::send_in_pieces(QTcpSocket *socket, const Response &response)
{
    auto *timer = new QTimer(socket);
    const qsizetype size = (response.body.size() + response.pieces - 1) / response.pieces;
    const int last = response.stall ? response.pieces - 1 : response.pieces;
    auto sent = std::make_shared<int>(0);
    connect(timer, &QTimer::timeout, socket, [=] {
        if (*sent == last) {
            timer->stop();
            if (!response.stall) {
                if (!response.unframed)
                    socket->write("0\r\n\r\n");
                socket->disconnectFromHost();
            }
            return;
        }
        const QByteArray piece = response.body.mid(*sent * size, size);
        socket->write(response.unframed ? piece : QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n");
        ++*sent;
    });
    timer->start(response.interval);
}
