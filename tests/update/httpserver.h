#pragma once

#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// A tiny HTTP server on the loopback address answering each path with fixed
// bytes. A response can stop after `holdAfter` bytes, then either wait for
// release(), close the connection there (`cut`) or trickle the rest one byte
// every `dripMs`.
class HttpServer : public QTcpServer
{
public:
    struct Response
    {
        QByteArray bytes;
        int holdAfter = -1;
        bool cut = false;
        int dripMs = 0;
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
    void release()
    {
        if (held) {
            held->write(rest);
            held->disconnectFromHost();
        }
    }

    int requests = 0;

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &request = buffers[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        ++requests;
        const Response r = routes.value(request.split(' ').value(1), { http(404, "missing") });
        socket->write(r.bytes.left(r.holdAfter < 0 ? r.bytes.size() : r.holdAfter));
        if (r.holdAfter < 0 || r.cut) {
            socket->disconnectFromHost();
            return;
        }
        if (r.dripMs > 0) {
            auto *drip = new QTimer(socket);
            connect(drip, &QTimer::timeout, socket,
                    [socket, rest = r.bytes.mid(r.holdAfter)]() mutable {
                        socket->write(rest.left(1));
                        rest.remove(0, 1);
                    });
            drip->start(r.dripMs);
            return;
        }
        held = socket;
        rest = r.bytes.mid(r.holdAfter);
    }

    QHash<QByteArray, Response> routes;
    QHash<QTcpSocket *, QByteArray> buffers;
    QPointer<QTcpSocket> held;
    QByteArray rest;
};
