#include "localpeer.h"

#ifdef Q_OS_WIN
#include <QLocalSocket>

LocalPeer::LocalPeer(QLocalSocket *pSocket, QObject *pParent)
    : QObject(pParent)
    , socket(pSocket)
{
    socket->setParent(this);
    connect(socket, &QLocalSocket::readyRead, this, &LocalPeer::signal_ReadyRead);
    connect(socket, &QLocalSocket::disconnected, this, &LocalPeer::signal_ReadyRead);
}

LocalPeer::~LocalPeer() = default;

QByteArray LocalPeer::read(qint64 maxBytes)
{
    return socket->read(maxBytes);
}

bool LocalPeer::atEnd() const
{
    return socket->state() != QLocalSocket::ConnectedState && socket->bytesAvailable() == 0;
}

void LocalPeer::close()
{
    socket->disconnect(this);
    socket->abort();
}
#else
#include <QSocketNotifier>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

LocalPeer::LocalPeer(int iSocket, QObject *pParent)
    : QObject(pParent)
    , fd(iSocket)
    , notifier(new QSocketNotifier(iSocket, QSocketNotifier::Read, this))
{
    connect(notifier, &QSocketNotifier::activated, this, &LocalPeer::signal_ReadyRead);
}

LocalPeer::~LocalPeer()
{
    close();
}

QByteArray LocalPeer::read(qint64 maxBytes)
{
    QByteArray data;
    char chunk[4096];
    while (fd >= 0 && !ended && data.size() < maxBytes) {
        const size_t wanted = size_t(qMin<qint64>(sizeof chunk, maxBytes - data.size()));
        const ssize_t n = ::recv(fd, chunk, wanted, 0);
        if (n > 0) {
            data.append(chunk, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        } else {
            // Closed by the client, or broken: the end either way.
            ended = true;
            notifier->setEnabled(false);
        }
    }
    return data;
}

bool LocalPeer::atEnd() const
{
    return ended || fd < 0;
}

void LocalPeer::close()
{
    if (fd < 0)
        return;
    notifier->setEnabled(false);
    ::close(fd);
    fd = -1;
}
#endif
