#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTcpServer>

#include <chrono>

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
        // More than one: the body goes in that many chunks without a length,
        // one every `interval`; with `stall` the last one never comes.
        int pieces = 1;
        std::chrono::milliseconds interval { 0 };
        bool stall = false;
        // With pieces, no chunk framing: closing the connection ends the body.
        bool unframed = false;
    };

    TestHttpServer();

    void serve(const QByteArray &path, const Response &response) { m_routes.insert(path, response); }
    QString url(const QByteArray &path) const;
    // Paths requested so far, in order.
    const QList<QByteArray> &requested() const { return m_requested; }

private:
    void answer(QTcpSocket *socket);
    static void send_in_pieces(QTcpSocket *socket, const Response &response);

    QTcpServer m_server;
    QHash<QByteArray, Response> m_routes;
    QList<QByteArray> m_requested;
};
