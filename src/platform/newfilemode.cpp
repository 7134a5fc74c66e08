#include "newfilemode.h"

#include <QFile>

#include <utility>

namespace {

constexpr int FallbackUmask = 022;

// Reading the umask through umask() would change it for a moment under
// every other thread's feet; the kernel also reports it here.
int currentUmask()
{
#if defined(Q_OS_LINUX)
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (!line.startsWith("Umask:"))
                continue;
            bool ok = false;
            const int mask = line.mid(6).trimmed().toInt(&ok, 8);
            if (ok && mask >= 0 && mask <= 0777)
                return mask;
        }
    }
#endif
    return FallbackUmask;
}

} // namespace

QFileDevice::Permissions NewFileMode::permissions()
{
    return fromUmask(currentUmask());
}

QFileDevice::Permissions NewFileMode::fromUmask(int umask)
{
    const int mode = 0666 & ~umask;
    QFileDevice::Permissions p;
    const std::pair<int, QFileDevice::Permissions> bits[] = {
        { 0400, QFileDevice::ReadOwner | QFileDevice::ReadUser },
        { 0200, QFileDevice::WriteOwner | QFileDevice::WriteUser },
        { 0040, QFileDevice::ReadGroup },
        { 0020, QFileDevice::WriteGroup },
        { 0004, QFileDevice::ReadOther },
        { 0002, QFileDevice::WriteOther },
    };
    for (const auto &[bit, permission] : bits)
        if (mode & bit)
            p |= permission;
    return p;
}
