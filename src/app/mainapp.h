#pragma once

#include <QApplication>
#include <QLockFile>

#include <memory>

class QLocalServer;
class TerminationWatcher;

// The application object. It makes sure one instance runs per user: the first
// start holds a lock file and listens on a local socket; a second start finds
// the lock held, sends a message through the socket (which wakes the first)
// and exits. The lock, not the socket, decides: a crashed holder's lock is
// seen as stale at once, so a crash never prevents a later start.
class MainApp : public QApplication
{
    Q_OBJECT
public:
    MainApp(int &argc, char **argv);
    ~MainApp() override;

    bool isRunning() const { return running; }
    QString key() const { return strKey; }
    // Reports requests to end the process; watched from the start so that
    // none is lost while the window is being built.
    TerminationWatcher *terminationWatcher() const { return termination; }
    // Second instance only: hands strMessage to the first. False when no first
    // instance answered.
    bool sendMessage(const QString &strMessage);

    // Applies the per-installation "Path" rule to the working directory and
    // returns the resulting application path.
    static QString applyInstallationPath(const QString &strPath, const QString &strExeDir);

Q_SIGNALS:
    void signal_MessageAvailable(QString strMessage);

public Q_SLOTS:
    void slot_SetWindowsLevel();
    void slot_ReceiveMessage();

private:
    void listen(const QString &strSocket);

    QString strKey;
    bool running = false;
    std::unique_ptr<QLockFile> marker;
    QLocalServer *server = nullptr;
    TerminationWatcher *termination = nullptr;
    QString socketPath;
};
