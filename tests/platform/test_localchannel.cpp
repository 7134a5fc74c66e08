#include "platform/localchannel.h"
#include "platform/localpeer.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

// Collects what every client sends until it hangs up.
struct Collector
{
    QList<QByteArray> messages;
    int open = 0;

    void attach(LocalChannel *channel)
    {
        QObject::connect(channel, &LocalChannel::signal_NewPeer, channel, [this](LocalPeer *peer) {
            auto data = std::make_shared<QByteArray>();
            ++open;
            QObject::connect(peer, &LocalPeer::signal_ReadyRead, peer, [this, peer, data] {
                *data += peer->read(1 << 20);
                if (!peer->atEnd())
                    return;
                messages.append(*data);
                --open;
                peer->deleteLater();
            });
        });
    }
};

// Sends from a thread of its own, as another process would: send() blocks.
std::unique_ptr<QThread> sendLater(const QString &path, const QByteArray &bytes, bool *sent,
                                   int deadlineMs = 3000)
{
    std::unique_ptr<QThread> thread(
        QThread::create([=] { *sent = LocalChannel::send(path, bytes, deadlineMs); }));
    thread->start();
    return thread;
}

// What a killed owner leaves behind: a socket file nobody listens on.
bool leaveDeadSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::listen(fd, 1) == 0;
    ::close(fd);
    return bound;
}

} // namespace

class TestLocalChannel : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }

private Q_SLOTS:
    // A message far larger than the socket's buffer comes whole, however the
    // kernel cuts it; a second client is served as well.
    void messagesArriveWhole()
    {
        LocalChannel channel;
        QVERIFY2(channel.listen(path("whole")), qPrintable(channel.errorString()));
        Collector collector;
        collector.attach(&channel);
        QByteArray big(4 << 20, '\0');
        for (int i = 0; i < big.size(); ++i)
            big[i] = char(i * 7 + i / 4096);
        bool sent = false;
        auto thread = sendLater(path("whole"), big, &sent);
        QTRY_COMPARE_WITH_TIMEOUT(collector.messages.size(), 1, 10000);
        QVERIFY(thread->wait(5000));
        QVERIFY(sent);
        QVERIFY(collector.messages.at(0) == big);
        thread = sendLater(path("whole"), "second", &sent);
        QTRY_COMPARE(collector.messages.size(), 2);
        QVERIFY(thread->wait(5000));
        QCOMPARE(collector.messages.at(1), QByteArray("second"));
        QCOMPARE(collector.open, 0);
    }

    // A running instance of an older make speaks through Qt's local sockets:
    // each side understands the other.
    void otherLocalSocketsUnderstandIt()
    {
        LocalChannel channel;
        QVERIFY(channel.listen(path("older-client")));
        Collector collector;
        collector.attach(&channel);
        QLocalSocket client;
        client.connectToServer(path("older-client"), QIODevice::WriteOnly);
        QVERIFY(client.waitForConnected(3000));
        client.write("from an older start");
        QVERIFY(client.waitForBytesWritten(3000));
        client.disconnectFromServer();
        QTRY_COMPARE(collector.messages.size(), 1);
        QCOMPARE(collector.messages.at(0), QByteArray("from an older start"));

        QLocalServer older;
        older.setSocketOptions(QLocalServer::UserAccessOption);
        QVERIFY(older.listen(path("older-server")));
        bool sent = false;
        auto thread = sendLater(path("older-server"), "to an older instance", &sent);
        QVERIFY(older.waitForNewConnection(5000));
        QLocalSocket *socket = older.nextPendingConnection();
        QByteArray received;
        while (socket->waitForReadyRead(3000) || socket->bytesAvailable() > 0)
            received += socket->readAll();
        QVERIFY(thread->wait(5000));
        QVERIFY(sent);
        QCOMPARE(received, QByteArray("to an older instance"));
    }

    // A crashed owner's socket file is taken over; the new one is the user's
    // alone, and is gone when the channel closes.
    void staleSocketIsTakenOver()
    {
        const QString stale = path("stale");
        QVERIFY(leaveDeadSocket(stale));
        QVERIFY(!LocalChannel::send(stale, "nobody", 200));
        {
            LocalChannel channel;
            QVERIFY2(channel.listen(stale), qPrintable(channel.errorString()));
            struct stat info = {};
            QCOMPARE(::stat(QFile::encodeName(stale).constData(), &info), 0);
            QVERIFY(S_ISSOCK(info.st_mode));
            QCOMPARE(info.st_mode & 0777, mode_t(0600));
            Collector collector;
            collector.attach(&channel);
            bool sent = false;
            auto thread = sendLater(stale, "taken over", &sent);
            QTRY_COMPARE(collector.messages.size(), 1);
            QVERIFY(thread->wait(5000));
            QCOMPARE(collector.messages.at(0), QByteArray("taken over"));
            // Nothing of the private binding is left beside it.
            QCOMPARE(QDir(dir.path())
                         .entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                    | QDir::NoDotAndDotDot),
                     QStringList(QStringLiteral("stale")));
        }
        QVERIFY(!QFileInfo::exists(stale));
    }

    // A sender waits for an owner that has the lock but does not listen yet,
    // and gives up at its deadline when none comes.
    void sendWaitsForTheListenerUntilItsDeadline()
    {
        bool sent = false;
        auto thread = sendLater(path("late"), "late", &sent);
        QThread::msleep(300); // the owner is busy starting: nothing to wait on
        LocalChannel channel;
        QVERIFY(channel.listen(path("late")));
        Collector collector;
        collector.attach(&channel);
        QTRY_COMPARE(collector.messages.size(), 1);
        QVERIFY(thread->wait(5000));
        QVERIFY(sent);

        // Nobody comes: the send gives up instead of hanging.
        QVERIFY(!LocalChannel::send(path("nobody"), "lost", 300));
    }

    // Closing a peer hangs up on the client; a path too long for a socket is
    // refused with a reason.
    void peersHangUpAndBadPathsAreRefused()
    {
        LocalChannel channel;
        QVERIFY(channel.listen(path("hangup")));
        LocalPeer *accepted = nullptr;
        connect(&channel, &LocalChannel::signal_NewPeer, this,
                [&accepted](LocalPeer *peer) { accepted = peer; });
        QLocalSocket client;
        client.connectToServer(path("hangup"));
        QVERIFY(client.waitForConnected(3000));
        QTRY_VERIFY(accepted);
        QVERIFY(!accepted->atEnd());
        QVERIFY(accepted->read(100).isEmpty());
        accepted->close();
        QVERIFY(accepted->atEnd());
        QVERIFY(client.state() == QLocalSocket::UnconnectedState
                || client.waitForDisconnected(3000));

        LocalChannel tooLong;
        QVERIFY(!tooLong.listen(dir.filePath(QString(200, QLatin1Char('x')))));
        QVERIFY(!tooLong.errorString().isEmpty());
        LocalChannel nowhere;
        QVERIFY(!nowhere.listen(path("no/such/folder/s")));
        QVERIFY(!nowhere.errorString().isEmpty());
    }

    // A flood of clients used to be taken all at once, each with a
    // descriptor, until the process had none left. The channel holds at most
    // MaxPeers; the rest wait in the queue and are taken, in order, as peers go.
    void floodsWaitInTheQueue()
    {
        LocalChannel channel;
        QVERIFY(channel.listen(path("flood")));
        QList<LocalPeer *> peers;
        connect(&channel, &LocalChannel::signal_NewPeer, this,
                [&peers](LocalPeer *peer) { peers.append(peer); });
        const QByteArray name = QFile::encodeName(path("flood"));
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        std::vector<int> clients;
        for (int i = 0; i < 3 * LocalChannel::MaxPeers; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            QVERIFY(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
            clients.push_back(fd);
        }
        // Every client is queued before the channel reads its socket again.
        QTRY_VERIFY(!peers.isEmpty());
        QCOMPARE(peers.size(), LocalChannel::MaxPeers);
        QCOMPARE(channel.peerCount(), LocalChannel::MaxPeers);
        delete peers.takeFirst();
        QTRY_COMPARE(peers.size(), LocalChannel::MaxPeers);
        QCOMPARE(channel.peerCount(), LocalChannel::MaxPeers);
        int taken = LocalChannel::MaxPeers + 1;
        while (taken < int(clients.size())) {
            qDeleteAll(peers);
            peers.clear();
            QTRY_VERIFY(!peers.isEmpty());
            QVERIFY(peers.size() <= LocalChannel::MaxPeers);
            taken += int(peers.size());
        }
        QCOMPARE(taken, int(clients.size()));
        qDeleteAll(peers);
        QCOMPARE(channel.peerCount(), 0);
        for (int fd : clients)
            ::close(fd);
    }
};

QTEST_GUILESS_MAIN(TestLocalChannel)
#include "test_localchannel.moc"
