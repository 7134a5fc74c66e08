#include "mainapp.h"

#include "platform/filemutex.h"
#include "platform/terminationwatcher.h"
#include "singleinstancepaths.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <memory>

namespace {
constexpr int WaitMs = 1000;
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
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, this, &MainApp::slot_ReceiveMessage);
    // Holding the lock, any socket file left behind is a crashed instance's.
    QLocalServer::removeServer(strSocket);
    if (server->listen(strSocket))
        qDebug().noquote() << "Listening:" << strSocket;
    else
        qDebug().noquote() << "Cannot listen:" << server->errorString();
}

bool MainApp::sendMessage(const InstanceRequest &request)
{
    if (!running)
        return false;
    QLocalSocket socket;
    const QDeadlineTimer deadline(ConnectRetryMs);
    for (;;) {
        socket.connectToServer(socketPath, QIODevice::WriteOnly);
        if (socket.waitForConnected(WaitMs))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    socket.write(request.encode());
    if (!socket.waitForBytesWritten(WaitMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

void MainApp::slot_SetWindowsLevel() { }

void MainApp::slot_ReceiveMessage()
{
    while (QLocalSocket *socket = server->nextPendingConnection())
        readMessage(socket);
}

// Read as the bytes come, never waited for: the event loop stays free
// whatever a client does. A frame is acted on as soon as it is complete.
void MainApp::readMessage(QLocalSocket *socket)
{
    auto data = std::make_shared<QByteArray>();
    auto *deadline = new QTimer(socket);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this, socket] { dropClient(socket, "too slow"); });
    // True once the client is dealt with, one way or the other.
    const auto take = [this, socket, data] {
        *data += socket->read(MaxMessageBytes + 1 - data->size());
        const char *refusal = nullptr;
        const auto request = readFrame(*data, &refusal);
        if (refusal)
            dropClient(socket, refusal);
        if (!request)
            return refusal != nullptr;
        socket->disconnect(this);
        socket->disconnectFromServer();
        socket->deleteLater();
        Q_EMIT signal_MessageAvailable(*request);
        return true;
    };
    connect(socket, &QLocalSocket::readyRead, this, take);
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, take] {
        if (!take())
            dropClient(socket, "incomplete");
    });
    deadline->start(MessageDeadlineMs);
    if (socket->bytesAvailable() > 0 || socket->state() != QLocalSocket::ConnectedState) {
        if (!take() && socket->state() != QLocalSocket::ConnectedState)
            dropClient(socket, "incomplete");
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

void MainApp::dropClient(QLocalSocket *socket, const char *why)
{
    qDebug() << "Message dropped:" << why;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
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
