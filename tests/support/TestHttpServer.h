#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTcpServer>

class QTcpSocket;

// A web server on 127.0.0.1 answering GET requests from a table of paths, in the calling
// thread's event loop (which the reader keeps running while it waits for a page).
class TestHttpServer final : public QObject
{
public:
    struct Response
    {
        QByteArray status = "200 OK";
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        bool silent = false; // accept the request and never answer
    };

    TestHttpServer();

    void serve(const QByteArray &path, const Response &response) { m_routes.insert(path, response); }
    QString url(const QByteArray &path) const;
    // Paths requested so far, in order.
    const QList<QByteArray> &requested() const { return m_requested; }

private:
    void answer(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QByteArray, Response> m_routes;
    QList<QByteArray> m_requested;
};
