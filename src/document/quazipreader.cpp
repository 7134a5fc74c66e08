#include "quazipreader.h"

#include <quazip/quazipfile.h>

#include <limits>

QuaZipReader::QuaZipReader(const QString &path)
    : zip(path)
{
    open = zip.open(QuaZip::mdUnzip);
}

QStringList QuaZipReader::names()
{
    return zip.getFileNameList();
}

qint64 QuaZipReader::declaredSize(const QString &name)
{
    QuaZipFileInfo64 info;
    if (!zip.setCurrentFile(name, QuaZip::csSensitive) || !zip.getCurrentFileInfo(&info))
        return -1;
    return info.uncompressedSize > quint64(std::numeric_limits<qint64>::max())
        ? std::numeric_limits<qint64>::max()
        : qint64(info.uncompressedSize);
}

bool QuaZipReader::read(const QString &name, const Sink &sink)
{
    return zip.setCurrentFile(name, QuaZip::csSensitive) && readCurrent(sink);
}

bool QuaZipReader::readEvery(const EntrySink &sink)
{
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        if (!readCurrent([&](const QByteArray &block) { return sink(name, block); }))
            return false;
    }
    return zip.getZipError() == UNZ_OK;
}

// The checksum is compared when the entry closes, so an entry counts as read
// only after that.
bool QuaZipReader::readCurrent(const Sink &sink)
{
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly))
        return false;
    while (!entry.atEnd()) {
        const QByteArray block = entry.read(1 << 20);
        if (block.isEmpty() || !sink(block))
            return false;
    }
    entry.close();
    return entry.getZipError() == UNZ_OK;
}
