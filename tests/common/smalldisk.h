#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>

// A folder that takes at most 256 KiB: a tmpfs mounted over it, or, where
// mounting is refused, a file size limit on the whole process.
class SmallDisk
{
public:
    explicit SmallDisk(const QString &strPath)
        : path(strPath)
    {
        QDir().mkpath(path);
        mounted
            = ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, "size=256k") == 0;
    }
    ~SmallDisk()
    {
        fill(false);
        if (mounted)
            ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
    // Without a mount the limit applies only while filled, so that the test
    // can still write its own files.
    void fill(bool on)
    {
        if (mounted)
            return;
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = on ? 256 * 1024 : limit.rlim_max;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }

    QString path;

private:
    bool mounted = false;
};
