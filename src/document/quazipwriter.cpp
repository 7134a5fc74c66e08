#include "quazipwriter.h"

#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

namespace {

// Without a mode unzip tools extract files nobody may read.
QuaZipNewInfo entryInfo(const QString &name)
{
    QuaZipNewInfo info(name);
    info.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return info;
}

} // namespace

QuaZipWriter::QuaZipWriter(QIODevice *device)
    : zip(device)
{
    open = zip.open(QuaZip::mdCreate);
}

bool QuaZipWriter::add(const QString &name, const QByteArray &data, int level)
{
    const int clamped = qBound(0, level, 9);
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::WriteOnly, entryInfo(name), nullptr, 0, clamped > 0 ? Z_DEFLATED : 0,
                    clamped))
        return false;
    const bool complete = entry.write(data) == data.size();
    entry.close();
    return complete && entry.getZipError() == ZIP_OK;
}

bool QuaZipWriter::addFrom(const QString &name, QIODevice *source)
{
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::WriteOnly, entryInfo(name), nullptr, 0, 0, 0))
        return false;
    if (buffer.isEmpty())
        buffer.resize(1 << 20);
    bool complete = true;
    while (complete && !source->atEnd()) {
        const qint64 got = source->read(buffer.data(), buffer.size());
        complete = got > 0 && entry.write(buffer.constData(), got) == got;
    }
    entry.close();
    return complete && entry.getZipError() == ZIP_OK;
}

// The pieces are written as they are, ended by an empty last block; the
// entry's checksum is combined from theirs.
bool QuaZipWriter::addDeflated(const QString &name, const QList<ZipPiece> &pieces)
{
    uLong crc = crc32(0, nullptr, 0);
    qint64 size = 0;
    for (const ZipPiece &piece : pieces) {
        if (piece.size < 0)
            return false;
        crc = crc32_combine(crc, piece.crc, z_off_t(piece.size));
        size += piece.size;
    }
    QuaZipNewInfo info = entryInfo(name);
    info.uncompressedSize = quint64(size);
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::WriteOnly, info, nullptr, quint32(crc), Z_DEFLATED, 1, true))
        return false;
    bool complete = true;
    for (const ZipPiece &piece : pieces)
        complete = complete && entry.write(piece.deflated) == piece.deflated.size();
    static const char LastBlock[] = { 0x03, 0x00 };
    complete = complete && entry.write(LastBlock, sizeof LastBlock) == qint64(sizeof LastBlock);
    entry.close();
    return complete && entry.getZipError() == ZIP_OK;
}

bool QuaZipWriter::finish()
{
    if (!zip.isOpen())
        return false;
    zip.close();
    return zip.getZipError() == ZIP_OK;
}
