#include "filemutex.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
// Windows removes a lock file only when no process has it open, so there is
// no race to guard against.
FileMutex::FileMutex(const QString &, int) { }

FileMutex::~FileMutex() = default;
#else
FileMutex::FileMutex(const QString &strPath, int timeoutMs)
{
    const QByteArray path = QFile::encodeName(strPath);
    fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    // Polled rather than blocking, so that a process holding the file
    // forever cannot stop every start.
    const QDeadlineTimer deadline(timeoutMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || deadline.hasExpired()) {
            ::close(fd);
            fd = -1;
            return;
        }
        QThread::msleep(5);
    }
}

FileMutex::~FileMutex()
{
    if (fd >= 0)
        ::close(fd);
}
#endif
