#include "filewriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr qint64 CopyBlock = 1 << 20;

bool writeAll(QSaveFile &file, const char *data, qint64 size)
{
    qint64 written = 0;
    while (written < size) {
        const qint64 n = file.write(data + written, size - written);
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

// Keeps the old file: a cancelled QSaveFile commits nothing.
bool finish(QSaveFile &file, bool complete)
{
    if (!complete || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

} // namespace

bool FileWriter::isWriteProtected(const QString &strPath)
{
    const QFileInfo info(strPath);
    constexpr auto anyWrite
        = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.exists() && (!info.isWritable() || !(info.permissions() & anyWrite));
}

bool FileWriter::write(const QString &strPath, const QByteArray &data,
                       QFileDevice::Permissions permissions)
{
    if (isWriteProtected(strPath))
        return false;
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (permissions)
        file.setPermissions(permissions);
    return finish(file, writeAll(file, data.constData(), data.size()));
}

bool FileWriter::copy(const QString &strSource, const QString &strTarget,
                      QFileDevice::Permissions permissions)
{
    QFile source(strSource);
    if (isWriteProtected(strTarget) || !source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile file(strTarget);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (permissions)
        file.setPermissions(permissions);
    bool complete = true;
    while (complete && !source.atEnd()) {
        const QByteArray block = source.read(CopyBlock);
        complete = !block.isEmpty() && writeAll(file, block.constData(), block.size());
    }
    return finish(file, complete && source.error() == QFileDevice::NoError);
}
