#pragma once

#include <QByteArray>
#include <QObject>

class QLocalSocket;
class QSocketNotifier;

// One client of a LocalChannel. It reads only when asked and never waits, so
// a client that sends slowly, too much or nothing never holds the event loop.
// Whoever answers signal_ReadyRead must read (or close): the signal repeats
// while bytes wait.
class LocalPeer : public QObject
{
    Q_OBJECT
public:
#ifdef Q_OS_WIN
    LocalPeer(QLocalSocket *pSocket, QObject *pParent);
#else
    LocalPeer(int iSocket, QObject *pParent);
#endif
    ~LocalPeer() override;

    // What has arrived, at most maxBytes; empty when nothing waits.
    QByteArray read(qint64 maxBytes);
    // The client closed its end or the connection broke: nothing more comes.
    bool atEnd() const;
    // Hangs up; the client sees its connection closed.
    void close();

Q_SIGNALS:
    // Bytes arrived, or the client closed its end.
    void signal_ReadyRead();

private:
#ifdef Q_OS_WIN
    QLocalSocket *socket;
#else
    int fd;
    QSocketNotifier *notifier;
    bool ended = false;
#endif
};
