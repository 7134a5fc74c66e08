#include "quazipreader.h"

#include <quazip/quazipfile.h>
#include <quazip/unzip.h>

#include <zlib.h>

#include <limits>

namespace {

constexpr qint64 BlockBytes = 1 << 20;

} // namespace

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
        const qint64 got = entry.read(block(), BlockBytes);
        if (got <= 0 || !sink(QByteArray::fromRawData(buffer.constData(), got)))
            return false;
    }
    entry.close();
    return entry.getZipError() == UNZ_OK;
}

// The entry reader takes 16 KiB at a time with a seek before each; a stored
// entry is checked from the file itself instead.
bool QuaZipReader::checkEvery()
{
    QFile file(zip.getZipName());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info))
            return false;
        const bool right = info.method == 0 ? checkStored(&file, info)
                                            : readCurrent([](const QByteArray &) { return true; });
        if (!right)
            return false;
    }
    return zip.getZipError() == UNZ_OK;
}

bool QuaZipReader::checkStored(QFile *file, const QuaZipFileInfo64 &info)
{
    QuaZipFile entry(&zip);
    int method = 0, level = 0;
    // Opened, the entry tells where its bytes begin.
    if (!entry.open(QIODevice::ReadOnly, &method, &level, true))
        return false;
    const ZPOS64_T at = unzGetCurrentFileZStreamPos64(zip.getUnzFile());
    entry.close();
    if (info.compressedSize != info.uncompressedSize || !file->seek(qint64(at)))
        return false;
    uLong crc = crc32(0, nullptr, 0);
    for (qint64 left = qint64(info.compressedSize); left > 0;) {
        const qint64 got = file->read(block(), qMin(left, BlockBytes));
        if (got <= 0)
            return false;
        crc = crc32_z(crc, reinterpret_cast<const Bytef *>(buffer.constData()), size_t(got));
        left -= got;
    }
    return crc == info.crc;
}

// One buffer for every block: fresh memory for each would cost a page fault
// per page.
char *QuaZipReader::block()
{
    if (buffer.isEmpty())
        buffer.resize(BlockBytes);
    return buffer.data();
}
