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
    bool complete = true;
    while (complete && !source->atEnd()) {
        const QByteArray block = source->read(1 << 20);
        complete = !block.isEmpty() && entry.write(block) == block.size();
    }
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
