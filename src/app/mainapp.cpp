#include "mainapp.h"

#include "platform/filemutex.h"
#include "platform/localchannel.h"
#include "platform/localpeer.h"
#include "platform/terminationwatcher.h"
#include "singleinstancepaths.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

namespace {
// A second start may come while the first has the lock but does not listen yet.
constexpr int ConnectRetryMs = 3000;
} // namespace

MainApp::MainApp(int &argc, char **argv)
    : QApplication(argc, argv)
    , termination(new TerminationWatcher(this))
{
    strKey = QStringLiteral("%1 %2-%3")
                 .arg(organizationName(), applicationName(),
                      QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    const QStringList folders = SingleInstancePaths::folders();
    bool decided = false;
    for (const QString &folder : folders) {
        if ((decided = lockIn(folder)))
            break;
    }
    if (!decided) {
        marker.reset();
        qWarning().noquote() << "Unable to create single instance.";
        notices = { QStringLiteral("No single-instance lock could be made in %1, so starting "
                                   "Tavelmark again opens another copy."),
                    folders.join(QStringLiteral(", ")) };
    }
    setQuitOnLastWindowClosed(false);
}

MainApp::~MainApp() = default;

// True when this folder decided: the lock is ours, or a live holder's.
bool MainApp::lockIn(const QString &strFolder)
{
    QDir().mkpath(strFolder);
    const SingleInstancePaths paths(strKey, strFolder);
    socketPath = paths.socketFile();
    marker = std::make_unique<QLockFile>(paths.lockFile());
    marker->setStaleLockTime(0);
    const FileMutex oneAtATime(paths.lockFile() + QStringLiteral(".guard"));
    if (marker->tryLock(0)) {
        listen(socketPath);
        return true;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    if (marker->error() == QLockFile::LockFailedError
        && marker->getLockInfo(&pid, &host, &application)) {
        running = true;
        qDebug() << "Has one instance.";
        return true;
    }
    qDebug().noquote() << "Cannot lock" << paths.lockFile();
    return false;
}

void MainApp::startUnprotected()
{
    running = false;
    marker.reset();
    qWarning().noquote() << "The running instance did not answer.";
    notices = { QStringLiteral("Another Tavelmark holds the single-instance lock but did not "
                               "answer, so this one runs beside it.") };
}

void MainApp::listen(const QString &strSocket)
{
    channel = new LocalChannel(this);
    connect(channel, &LocalChannel::signal_NewPeer, this, &MainApp::readMessage);
    // Holding the lock, any socket file left behind is a crashed instance's.
    if (channel->listen(strSocket))
        qDebug().noquote() << "Listening:" << strSocket;
    else
        qDebug().noquote() << "Cannot listen:" << channel->errorString();
}

bool MainApp::sendMessage(const InstanceRequest &request)
{
    return running && LocalChannel::send(socketPath, request.encode(), ConnectRetryMs);
}

// Read as the bytes come, never waited for: the event loop stays free
// whatever a client does. A frame is acted on as soon as it is complete.
void MainApp::readMessage(LocalPeer *peer)
{
    auto data = std::make_shared<QByteArray>();
    auto *deadline = new QTimer(peer);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this, peer] { dropClient(peer, "too slow"); });
    connect(peer, &LocalPeer::signal_ReadyRead, this,
            [this, peer, data] { takeMessage(peer, data.get()); });
    deadline->start(MessageDeadlineMs);
}

void MainApp::takeMessage(LocalPeer *peer, QByteArray *data)
{
    *data += peer->read(MaxMessageBytes + 1 - data->size());
    const char *refusal = nullptr;
    const auto request = readFrame(*data, &refusal);
    if (refusal) {
        dropClient(peer, refusal);
    } else if (request) {
        release(peer);
        Q_EMIT signal_MessageAvailable(*request);
    } else if (peer->atEnd()) {
        dropClient(peer, "incomplete");
    }
}

// The request once data holds a whole frame; *refusal says why the client
// must go instead.
std::optional<InstanceRequest> MainApp::readFrame(const QByteArray &data, const char **refusal)
{
    const qint64 length = InstanceRequest::frameLength(data);
    if (length < 0) {
        *refusal = "not a request";
        return std::nullopt;
    }
    if (length > MaxMessageBytes || data.size() > MaxMessageBytes) {
        *refusal = "too long";
        return std::nullopt;
    }
    if (length == 0 || data.size() < length)
        return std::nullopt;
    auto request = InstanceRequest::decode(data.left(length));
    if (!request)
        *refusal = "not a request";
    return request;
}

void MainApp::dropClient(LocalPeer *peer, const char *why)
{
    qDebug() << "Message dropped:" << why;
    release(peer);
}

void MainApp::release(LocalPeer *peer)
{
    peer->disconnect(this);
    if (auto *deadline = peer->findChild<QTimer *>())
        deadline->stop();
    peer->close();
    peer->deleteLater();
}

QString MainApp::applyInstallationPath(const QString &strPath, const QString &strExeDir)
{
    if (strPath.isEmpty()) {
        QDir::setCurrent(strExeDir);
    } else {
        const QDir dir(strPath);
        if (dir.exists() && !dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            QDir::setCurrent(strPath);
    }
    return QDir::currentPath();
}
