#include "localchannel.h"

#include "localpeer.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace {
// A start sees the first instance's lock before that one listens.
constexpr int RetryPauseMs = 20;
// Out of descriptors: accepting waits this long, or until a peer goes.
constexpr int NoDescriptorPauseMs = 100;
} // namespace

#ifdef Q_OS_WIN
#include <QLocalServer>
#include <QLocalSocket>

LocalChannel::LocalChannel(QObject *pParent)
    : QObject(pParent)
{
}

LocalChannel::~LocalChannel() = default;

bool LocalChannel::listen(const QString &strPath)
{
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, this, &LocalChannel::acceptPending);
    QLocalServer::removeServer(strPath);
    return server->listen(strPath) || fail(server->errorString());
}

void LocalChannel::acceptPending()
{
    while (peers < MaxPeers) {
        QLocalSocket *socket = server->nextPendingConnection();
        if (!socket)
            return;
        adopt(new LocalPeer(socket, this));
    }
}

// The server keeps the waiting connections; they are taken as peers go.
void LocalChannel::pauseAccepting(bool bPaused)
{
    if (!bPaused)
        acceptPending();
}

bool LocalChannel::send(const QString &strPath, const QByteArray &bytes, int deadlineMs)
{
    QLocalSocket socket;
    const QDeadlineTimer deadline(deadlineMs);
    for (;;) {
        socket.connectToServer(strPath, QIODevice::WriteOnly);
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(RetryPauseMs);
    }
    socket.write(bytes);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
        return false;
    socket.disconnectFromServer();
    return true;
}
#else
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool toAddress(const QByteArray &path, sockaddr_un *address)
{
    *address = {};
    address->sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, path.constData(), size_t(path.size()));
    return true;
}

bool sameFile(const QByteArray &path, quint64 device, quint64 inode)
{
    struct stat info = {};
    return ::lstat(path.constData(), &info) == 0 && quint64(info.st_dev) == device
        && quint64(info.st_ino) == inode;
}

// Waits until fd may be written to; false at the deadline or on an error.
bool waitWritable(int fd, const QDeadlineTimer &deadline)
{
    pollfd entry = { fd, POLLOUT, 0 };
    for (;;) {
        const int n = ::poll(&entry, 1, int(deadline.remainingTime()));
        if (n > 0)
            return (entry.revents & POLLOUT) != 0;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

bool sendAll(int fd, const QByteArray &bytes, const QDeadlineTimer &deadline)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        // MSG_NOSIGNAL: a listener that hung up must not end this process.
        const ssize_t n
            = ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        const bool interrupted = n < 0 && errno == EINTR;
        const bool busy = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        if (n > 0)
            done += n;
        else if (!interrupted && !(busy && waitWritable(fd, deadline)))
            return false;
    }
    return true;
}

// A connected socket, or -1 when no one listens at path (yet).
int connectTo(const QByteArray &path)
{
    sockaddr_un address;
    if (!toAddress(path, &address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    int result;
    do
        result = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    while (result != 0 && errno == EINTR);
    if (result == 0)
        return fd;
    ::close(fd);
    return -1;
}

} // namespace

LocalChannel::LocalChannel(QObject *pParent)
    : QObject(pParent)
{
}

LocalChannel::~LocalChannel()
{
    if (fd < 0)
        return;
    delete notifier;
    ::close(fd);
    if (sameFile(boundPath, boundDevice, boundInode))
        ::unlink(boundPath.constData());
}

bool LocalChannel::listen(const QString &strPath)
{
    const QByteArray target = QFile::encodeName(strPath);
    sockaddr_un address;
    if (fd >= 0)
        return fail(QStringLiteral("already listening"));
    if (!toAddress(target, &address))
        return fail(QStringLiteral("the path is too long for a socket"));
    fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!bindPrivately(target)) {
        ::close(fd);
        fd = -1;
        return false;
    }
    notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &LocalChannel::acceptPending);
    return true;
}

// Bound in a fresh folder only the user can enter, made the user's alone,
// then moved into place over whatever was there (a crashed owner's file):
// no one else can connect at any moment.
bool LocalChannel::bindPrivately(const QByteArray &target)
{
    QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath())
        + "/.tavelmark-XXXXXX";
    if (!::mkdtemp(folder.data()))
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    const QByteArray temporary = folder + "/s";
    sockaddr_un address;
    bool bound = toAddress(temporary, &address);
    const char *why = bound ? nullptr : "the path is too long for a socket";
    if (bound
        && (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
            || ::listen(fd, SOMAXCONN) != 0 || ::chmod(temporary.constData(), 0600) != 0
            || ::rename(temporary.constData(), target.constData()) != 0)) {
        bound = false;
        why = std::strerror(errno);
    }
    ::unlink(temporary.constData());
    ::rmdir(folder.constData());
    struct stat info = {};
    if (bound && ::lstat(target.constData(), &info) == 0) {
        boundPath = target;
        boundDevice = quint64(info.st_dev);
        boundInode = quint64(info.st_ino);
    }
    return bound || fail(QString::fromLocal8Bit(why));
}

void LocalChannel::acceptPending()
{
    while (peers < MaxPeers) {
        const int client = ::accept4(fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client >= 0) {
            adopt(new LocalPeer(client, this));
        } else if (errno == EMFILE || errno == ENFILE) {
            // Spent elsewhere in the process: the queue waits instead of
            // waking the event loop again at once.
            pauseAccepting(true);
            QTimer::singleShot(NoDescriptorPauseMs, this, [this] { pauseAccepting(false); });
            return;
        } else if (errno != EINTR && errno != ECONNABORTED) {
            return;
        }
    }
    pauseAccepting(true);
}

// The queue stays with the system while paused: its clients are told
// nothing and are taken in order when there is room.
void LocalChannel::pauseAccepting(bool bPaused)
{
    if (notifier)
        notifier->setEnabled(!bPaused && peers < MaxPeers);
}

bool LocalChannel::send(const QString &strPath, const QByteArray &bytes, int deadlineMs)
{
    const QByteArray path = QFile::encodeName(strPath);
    const QDeadlineTimer deadline(deadlineMs);
    for (;;) {
        const int fd = connectTo(path);
        if (fd >= 0) {
            const bool sent = sendAll(fd, bytes, deadline);
            ::close(fd);
            return sent;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(RetryPauseMs);
    }
}
#endif

void LocalChannel::adopt(LocalPeer *peer)
{
    ++peers;
    connect(peer, &QObject::destroyed, this, &LocalChannel::peerGone);
    Q_EMIT signal_NewPeer(peer);
}

void LocalChannel::peerGone()
{
    --peers;
    pauseAccepting(false);
}

bool LocalChannel::fail(const QString &strWhat)
{
    error = strWhat;
    return false;
}
