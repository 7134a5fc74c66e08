#include "mainapp.h"

#include "platform/terminationwatcher.h"
#include "singleinstancepaths.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

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
    const SingleInstancePaths paths(strKey);
    socketPath = paths.socketFile();
    marker = std::make_unique<QLockFile>(paths.lockFile());
    marker->setStaleLockTime(0);
    if (!marker->tryLock(0)) {
        if (marker->error() != QLockFile::LockFailedError) {
            qDebug() << "Unable to create single instance.";
            return;
        }
        running = true;
        qDebug() << "Has one instance.";
    } else {
        listen(socketPath);
    }
    setQuitOnLastWindowClosed(false);
}

MainApp::~MainApp() = default;

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

bool MainApp::sendMessage(const QString &strMessage)
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
    socket.write(strMessage.toUtf8());
    if (!socket.waitForBytesWritten(WaitMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

void MainApp::slot_SetWindowsLevel() { }

void MainApp::slot_ReceiveMessage()
{
    QLocalSocket *socket = server->nextPendingConnection();
    if (!socket)
        return;
    if (!socket->bytesAvailable() && !socket->waitForReadyRead(WaitMs))
        return;
    QByteArray data = socket->readAll();
    // The sender disconnects once everything is written.
    while (socket->state() == QLocalSocket::ConnectedState && socket->waitForReadyRead(WaitMs))
        data += socket->readAll();
    Q_EMIT signal_MessageAvailable(QString::fromUtf8(data));
    socket->disconnectFromServer();
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
