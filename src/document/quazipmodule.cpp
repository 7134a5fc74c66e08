#include "quazipmodule.h"

#include "quazipreader.h"
#include "quazipwriter.h"

#include <zlib.h>

std::unique_ptr<ZipReader> QuaZipModule::reader(const QString &path)
{
    auto zip = std::make_unique<QuaZipReader>(path);
    if (!zip->isOpen())
        return nullptr;
    return zip;
}

std::unique_ptr<ZipWriter> QuaZipModule::writer(QIODevice *device)
{
    auto zip = std::make_unique<QuaZipWriter>(device);
    if (!zip->isOpen())
        return nullptr;
    return zip;
}

// A raw deflate stream ended by a flush to a byte boundary rather than a
// last block: it refers to nothing before it, so pieces may follow each other.
ZipPiece QuaZipModule::deflate(const QByteArray &data, int level)
{
    z_stream stream {};
    if (deflateInit2(&stream, qBound(1, level, 9), Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY)
        != Z_OK)
        return {};
    constexpr uLong FlushMarkBytes = 16;
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size())) + FlushMarkBytes),
                   Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const bool whole = ::deflate(&stream, Z_SYNC_FLUSH) == Z_OK && stream.avail_in == 0;
    out.resize(out.size() - qsizetype(stream.avail_out));
    deflateEnd(&stream);
    if (!whole)
        return {};
    const quint32 crc
        = quint32(crc32(0, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
    return { out, crc, data.size() };
}
