#pragma once

#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A tiny HTTP server on the loopback address answering each path with a
// fixed response. A response can be held back after `holdAfter` bytes until
// release() is called, or cut there when `cut` is set.
class HttpServer : public QTcpServer
{
public:
    struct Response
    {
        QByteArray bytes;
        int holdAfter = -1;
        bool cut = false;
    };

    HttpServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
    }

    static QByteArray http(int code, const QByteArray &body, const QByteArray &headers = {})
    {
        return "HTTP/1.1 " + QByteArray::number(code)
            + " Status\r\nContent-Length: " + QByteArray::number(body.size())
            + "\r\nConnection: close\r\n" + headers + "\r\n" + body;
    }

    QString base() const
    {
        return QStringLiteral("http://127.0.0.1:%1/tavelmark").arg(serverPort());
    }

    void answer(const QByteArray &path, const Response &response) { routes.insert(path, response); }
    void answer(const QByteArray &path, const QByteArray &bytes)
    {
        answer(path, Response { bytes });
    }

    // Sends the rest of a held response.
    void release()
    {
        if (held)
            held->write(rest);
        if (held)
            held->disconnectFromHost();
    }

    int requests = 0;

private:
    void serve(QTcpSocket *socket)
    {
        buffers[socket] += socket->readAll();
        const QByteArray request = buffers.value(socket);
        if (!request.contains("\r\n\r\n"))
            return;
        ++requests;
        const QByteArray path = request.split(' ').value(1);
        const Response response = routes.value(path, Response { http(404, "missing") });
        if (response.holdAfter < 0) {
            socket->write(response.bytes);
            socket->disconnectFromHost();
            return;
        }
        socket->write(response.bytes.left(response.holdAfter));
        if (response.cut) {
            socket->disconnectFromHost();
            return;
        }
        held = socket;
        rest = response.bytes.mid(response.holdAfter);
    }

    QHash<QByteArray, Response> routes;
    QHash<QTcpSocket *, QByteArray> buffers;
    QPointer<QTcpSocket> held;
    QByteArray rest;
};
