#include "partfilelock.h"

#include <QFile>

#ifdef Q_OS_WIN
// Windows does not remove a file another process holds open.
bool PartFileLock::hold(QFileDevice &, const QString &)
{
    return true;
}

bool PartFileLock::removeIfAbandoned(const QString &strPath)
{
    return QFile::remove(strPath);
}
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether path still names the file open as fd.
bool namesOpenFile(const QByteArray &path, int fd)
{
    struct stat named = {};
    struct stat open = {};
    return ::lstat(path.constData(), &named) == 0 && ::fstat(fd, &open) == 0
        && named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

} // namespace

bool PartFileLock::hold(QFileDevice &file, const QString &strPath)
{
    const int fd = file.handle();
    if (fd < 0)
        return false;
    // Where the file system has no locks, nobody can take this one from us
    // either: the file is written unlocked and never removed as stale.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return false;
    return namesOpenFile(QFile::encodeName(strPath), fd);
}

bool PartFileLock::removeIfAbandoned(const QString &strPath)
{
    const QByteArray path = QFile::encodeName(strPath);
    // Never through a link, and never waiting on a pipe planted there.
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info = {};
    const bool removed = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
        && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && namesOpenFile(path, fd)
        && ::unlink(path.constData()) == 0;
    ::close(fd);
    return removed;
}
#endif
