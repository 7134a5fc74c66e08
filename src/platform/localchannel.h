#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class LocalPeer;
class QLocalServer;
class QSocketNotifier;

// A local stream socket at a path in the file system that clients of the
// same user connect to, and the client side that hands it one message. On
// Unix it is a plain AF_UNIX socket watched by the event loop, so that no
// network library is loaded for it; on Windows a named pipe.
class LocalChannel : public QObject
{
    Q_OBJECT
public:
    // Clients held at once. While that many are connected no more are
    // accepted: the others wait in the system's queue until one goes, so a
    // flood of clients never takes the process's descriptors.
    static constexpr int MaxPeers = 32;

    explicit LocalChannel(QObject *pParent = nullptr);
    // Stops listening and removes the socket file, if it is still this one's.
    ~LocalChannel() override;

    // Listens at strPath, for this user only. Whatever lies there already is
    // replaced: the caller makes sure no one else listens there.
    bool listen(const QString &strPath);
    QString errorString() const { return error; }

    // Connects to the channel at strPath, trying again until the deadline
    // (its owner may not listen yet), and sends all of bytes. False when no
    // one took them in time.
    static bool send(const QString &strPath, const QByteArray &bytes, int deadlineMs);

    // Clients connected and not yet deleted.
    int peerCount() const { return peers; }

Q_SIGNALS:
    // A client connected. The peer is the channel's child until the receiver
    // takes it; it is the receiver's to delete, which makes room for the next.
    void signal_NewPeer(LocalPeer *peer);

private:
    bool fail(const QString &strWhat);
    void acceptPending();
    void adopt(LocalPeer *peer);
    void peerGone();
    void pauseAccepting(bool bPaused);

    int peers = 0;

#ifdef Q_OS_WIN
    QLocalServer *server = nullptr;
#else
    bool bindPrivately(const QByteArray &target);
    int fd = -1;
    QSocketNotifier *notifier = nullptr;
    QByteArray boundPath;
    quint64 boundDevice = 0;
    quint64 boundInode = 0;
#endif
    QString error;
};
