#pragma once

#include "instancerequest.h"

#include <QApplication>
#include <QLockFile>

#include <memory>
#include <optional>

class LocalChannel;
class LocalPeer;
class TerminationWatcher;

// The application object. It makes sure one instance runs per user: the first
// start holds a lock file and listens on a local socket; a second start finds
// the lock held, sends a message through the socket (which wakes the first)
// and exits. The lock, not the socket, decides: a crashed holder's lock is
// seen as stale at once, so a crash never prevents a later start. A lock
// that cannot be taken or read (a folder in its place, someone else's file)
// sends the start to the next folder; when none works, or the holder does not
// answer, the start goes on and notice() tells the user why.
class MainApp : public QApplication
{
    Q_OBJECT
public:
    MainApp(int &argc, char **argv);
    ~MainApp() override;

    // A request frame past either limit is dropped, as is anything that is
    // not a frame of ours.
    static constexpr qint64 MaxMessageBytes = InstanceRequest::MaxFrameBytes;
    static constexpr int MessageDeadlineMs = 2000;

    // Another instance holds the lock; sendMessage() tells whether it answers.
    bool isRunning() const { return running; }
    // Why single-instance protection is off for this start (an English
    // message and what fills it), or empty.
    QStringList notice() const { return notices; }
    // Goes on beside a holder that did not answer.
    void startUnprotected();
    QString key() const { return strKey; }
    // Reports requests to end the process; watched from the start so that
    // none is lost while the window is being built.
    TerminationWatcher *terminationWatcher() const { return termination; }
    // Second instance only: hands the request to the first. False when no
    // first instance answered.
    bool sendMessage(const InstanceRequest &request);

    // Applies the per-installation "Path" rule to the working directory and
    // returns the resulting application path.
    static QString applyInstallationPath(const QString &strPath, const QString &strExeDir);

Q_SIGNALS:
    void signal_MessageAvailable(InstanceRequest request);

private:
    bool lockIn(const QString &strFolder);
    void listen(const QString &strSocket);
    void readMessage(LocalPeer *peer);
    void takeMessage(LocalPeer *peer, QByteArray *data);
    void dropClient(LocalPeer *peer, const char *why);
    void release(LocalPeer *peer);
    static std::optional<InstanceRequest> readFrame(const QByteArray &data, const char **refusal);

    QString strKey;
    bool running = false;
    std::unique_ptr<QLockFile> marker;
    LocalChannel *channel = nullptr;
    TerminationWatcher *termination = nullptr;
    QString socketPath;
    QStringList notices;
};
